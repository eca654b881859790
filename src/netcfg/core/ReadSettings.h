#pragma once
// The page records: every page group read into one text of CR LF lines and
// "|"-separated fields, and the network card's command lines made from the
// same readings. The records live in the module's CurrentSettings and
// InitialSettings, the command block in NicCommands.
//
// Slots: 0 output port, 1 network choices, 2 wired IP, 3 Ethernet services,
// 4 wireless choices, 5 wireless radio, 6 security choice, 7 security.

#include <cstdint>
#include <string>

namespace netcfg {

class QuillonModule;

// The writers' flag: ToBaseline stores into InitialSettings, any other value
// into CurrentSettings.
constexpr std::int16_t ToBaseline = -1;
constexpr std::int16_t ToCurrent = 0;

// Slot 0; also returns the record.
std::string ReadPortSettings(QuillonModule& m, std::int16_t flag);
// Slot 1.
void ReadNetworkChoices(QuillonModule& m, std::int16_t flag);
// Slot 2, only while the IP address item is chosen; returns the address
// commands.
std::string ReadWiredSettings(QuillonModule& m, std::int16_t flag);
// Slot 3; returns the Ethernet services commands (an empty line in place of
// the speed when the speed item is not chosen).
std::string ReadNetworkSettings(QuillonModule& m, std::int16_t flag);
// Slot 4.
void ReadWirelessChoices(QuillonModule& m, std::int16_t flag);
// Slot 5; returns the wireless radio commands.
std::string ReadWirelessSettings(QuillonModule& m, std::int16_t flag);
// Slot 6.
void ReadEncryptionChoices(QuillonModule& m, std::int16_t flag);
// Slot 7; returns the security commands.
std::string ReadSecuritySettings(QuillonModule& m, std::int16_t flag);

// Reads every page group into InitialSettings and marks the baseline taken.
void StoreInitialSettings(QuillonModule& m);
// Reads every page group into CurrentSettings and rebuilds NicCommands.
void BuildNicSettings(QuillonModule& m);
// Whether any slot of CurrentSettings differs from InitialSettings.
bool SettingsDiffer(const QuillonModule& m);

// Writes the records of CurrentSettings back into the pages' controls, as a
// user would change them; values that have no place on a page are skipped.
void ApplySettings(QuillonModule& m);

}  // namespace netcfg
