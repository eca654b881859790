#pragma once
// The end of the time a program the wizard starts may spend on the print
// server. The wizard hands it over in the program's environment; the program
// gives up on the server by then, and says so by its exit code.

#include <chrono>
#include <optional>
#include <string>
#include <utility>

namespace platform {

// Milliseconds on the monotonic clock, which every process of the machine shares.
constexpr const char* ServerDeadlineVariable = "QUILL_SERVER_DEADLINE";

// The exit code of a program that gave up because the print server did not
// answer by the deadline, or could not be reached.
constexpr int ServerSilentExit = 3;

// The variable, and its value, for a deadline `left` from now.
std::pair<std::string, std::string> serverDeadline(std::chrono::milliseconds left);

// The time left until the deadline the environment names, 0 once it has
// passed; nothing when it names none.
std::optional<std::chrono::milliseconds> serverTimeLeft();

}  // namespace platform
