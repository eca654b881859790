#pragma once
// The platform seams a program is wired with. main() fills in the real
// backends; tests fill in in-memory ones.

namespace platform {

class ProcessLauncher;

struct Platform {
    ProcessLauncher& processes;
};

}  // namespace platform
