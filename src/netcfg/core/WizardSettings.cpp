// Saving the page records to a settings file and loading them back.

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "netcfg/core/Dialog.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/core/ReadSettings.h"
#include "netcfg/core/SettingsFile.h"
#include "netcfg/pages/EncryptQuestionDlg.h"
#include "netcfg/pages/LEAPDlg.h"
#include "netcfg/pages/NetworkDlg.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WEPDlg.h"
#include "netcfg/pages/WEPkeyDlg.h"
#include "netcfg/pages/WEPphraseDlg.h"
#include "netcfg/pages/WPADlg.h"
#include "netcfg/pages/WiredDlg.h"
#include "netcfg/pages/WirelessDlg.h"
#include "netcfg/pages/WirelessQuestionDlg.h"
#include "platform/CodePage.h"
#include "platform/FileReplace.h"

namespace netcfg {

using foundation::JoinLines;

namespace {

// A typed text that goes into a page record (slot), or the file password (-1).
struct Entry {
    int slot;
    std::string name;
    const std::string& text;
};

// The typed texts the records hold as the pages stand, as the record writers
// choose them.
std::vector<Entry> typedEntries(QuillonModule& m) {
    std::vector<Entry> out;
    auto& port = m.PortSelectForm();
    if (port.PortTCP.value()) out.push_back({0, "Printer Port Selection: IP Address", port.IPAddr.text()});
    if (port.PortFile.value())
        out.push_back({0, "Printer Port Selection: Full Path and File Name", port.FileName.text()});

    auto& choices = m.QuestionDlgForm();
    // The wired record is kept while its item is not chosen; its texts came
    // from this page.
    WiredDlg* wired = choices.Check1[0].value() != 0 ? &m.WiredDlgForm() : m.WiredDlgForm.loaded();
    if (wired && !wired->useAutoIP.value() && (choices.Check1[0].value() != 0 || !m.CurrentSettings[2].empty())) {
        out.push_back({2, "IP Address Assignment: IP Address", wired->IPAddr.text()});
        out.push_back({2, "IP Address Assignment: Subnet Mask", wired->SubMask.text()});
        out.push_back({2, "IP Address Assignment: Gateway", wired->Gateway.text()});
    }
    if (choices.Check1[5].value() == 1) {
        auto& n = m.NetworkDlgForm();
        out.push_back({3, "Network Settings: Number of packets", n.Packet.text()});
        out.push_back({3, "Network Settings: Time Period (min)", n.Period.text()});
    }

    auto& radio = m.WirelessQuestionDlgForm();
    if (radio.check[0].value() == 1)
        out.push_back({5, "Wireless Network Settings: SSID", m.WirelessDlgForm().SSID.text()});
    if (radio.EncryptionCB.value() == 1) {
        auto& e = m.EncryptQuestionDlgForm();
        if (!e.click[0].value() && e.click[1].value()) {
            const bool text = m.WEPDlgForm().Phrase.value();
            const ui::ComboBox& defaultKey = text ? m.WEPphraseDlgForm().DefaultKey : m.WEPkeyDlgForm().DefaultKey;
            const auto& keys = text ? m.WEPphraseDlgForm().KeyText : m.WEPkeyDlgForm().KeyText;
            if (defaultKey.listIndex() != 0)
                for (int k = 0; k <= 3; ++k)
                    out.push_back({7, "WEP Encryption Configuration: Key " + std::to_string(k + 1), keys[k].text()});
        } else if (!e.click[0].value() && e.click[2].value()) {
            if (e.WPA.value() == 1)
                out.push_back({7, "WPA Encryption Configuration: Passphrase", m.WPADlgForm().PassPhrase.text()});
            if (e.EAP.value() == 1) {
                auto& l = m.LEAPDlgForm();
                out.push_back({7, "EAP Configuration: EAP User Name", l.UserName.text()});
                out.push_back({7, "EAP Configuration: EAP Password", l.Password.text()});
            }
        }
    }
    out.push_back({-1, "Save Wizard Settings: File Password", m.DialogForm().Password.text()});
    return out;
}

// The groups of the records, for a record too long without a typed text to name.
const char* const GroupNames[] = {"Printer Port Selection",
                                  "Network Settings",
                                  "IP Address Assignment",
                                  "Network Settings",
                                  "Wireless Network Settings",
                                  "Wireless Network Settings",
                                  "Wireless Network Authentication Setting",
                                  "Wireless Network Authentication Setting"};

// Coded, a text takes two bytes per character.
constexpr std::size_t MaxCodedChars = 65535 / 2;

std::string refusal(const std::string& name, const std::string& fault) {
    return "Unable to save the settings: \"" + name + "\" " + fault + "\r\n";
}

// Why the records cannot be saved as they stand; nothing when they can.
std::optional<std::string> unsavable(QuillonModule& m) {
    const auto entries = typedEntries(m);
    for (const Entry& e : entries) {
        if (e.slot >= 0 && e.text.find_first_of("|\r\n") != std::string::npos)
            return refusal(e.name, "contains \"|\" or a line break, which a settings file cannot hold.");
        if (!platform::isAnsi(e.text)) return refusal(e.name, "contains a character that a settings file cannot hold.");
    }
    for (int slot = -1; slot < QuillonModule::RecordCount; ++slot) {
        const std::string& text = slot < 0 ? entries.back().text : m.CurrentSettings[static_cast<std::size_t>(slot)];
        const auto bytes = platform::toAnsi(text);
        if (bytes && bytes->size() <= MaxCodedChars) continue;
        // Named by its longest typed text.
        const Entry* longest = nullptr;
        for (const Entry& e : entries)
            if (e.slot == slot && (!longest || e.text.size() > longest->text.size())) longest = &e;
        const std::string name = longest ? longest->name : GroupNames[slot];
        return refusal(name, bytes ? "is too long for a settings file."
                                   : "contains a character that a settings file cannot hold.");
    }
    return std::nullopt;
}

}  // namespace

bool QuillonModule::SaveWizardSettings(const std::string& path) {
    BuildNicSettings(*this);
    if (const auto why = unsavable(*this)) {
        ShowNotice(*why);
        return false;
    }
    const auto bytes = WriteSettingsFile(DialogForm().Password.text(), CurrentSettings);
    if (!bytes) {
        ShowNotice(refusal("Save Wizard Settings", "is too long for a settings file."));
        return false;
    }
    if (FileExists(path) && !ConfirmOverwrite()) return false;
    if (!platform::ReplaceFile(path, *bytes)) {
        ShowNotice(JoinLines({"Error Writing File", "Unable to save the settings in " + path, ""}));
        return false;
    }
    SavedSettings = CurrentSettings;
    ShowNotice("Settings successfully saved in " + path + "\r\n");
    return true;
}

bool QuillonModule::LoadWizardSettings(const std::string& path) {
    // A notice leaves the focus in the box of the settings dialog to put right.
    auto refuse = [this](const std::string& text, ui::TextBox& box) {
        ShowNotice(text);
        box.setFocus();
        return false;
    };
    Dialog& dialog = DialogForm();
    if (!FileExists(path)) return refuse("File not found. Please select another file.", dialog.FileName);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return refuse(
            JoinLines({"Error Reading File", "Unable to open the file", "Unable to load the saved settings", ""}),
            dialog.FileName);
    auto file = ReadSettingsFile(in, dialog.Password.text());
    switch (file.status) {
        case SettingsFileStatus::Loaded:
            break;
        case SettingsFileStatus::Incompatible:
            return refuse(JoinLines({"Error Reading File", "Incompatible File Type Detected",
                                     "Unable to load the saved settings", ""}),
                          dialog.FileName);
        case SettingsFileStatus::WrongPassword:
            return refuse(JoinLines({"Error Invalid Password.", "Unable to load the saved settings", ""}),
                          dialog.Password);
        case SettingsFileStatus::Damaged:
            return refuse(JoinLines({"Error Reading File", "The file is incomplete or damaged",
                                     "Unable to load the saved settings", ""}),
                          dialog.FileName);
    }
    in.close();
    CurrentSettings = file.records;
    InitialSettings = file.records;
    BaselineTaken = true;
    ApplySettings(*this);
    return true;
}

}  // namespace netcfg
