#pragma once
// The platform seams a program is wired with. main() fills in the real
// backends; tests fill in in-memory ones.

#include <stdexcept>
#include <string>

namespace platform {

class ProcessLauncher;
class SocketFactory;
class Spooler;

struct Platform {
    ProcessLauncher* processLauncher = nullptr;
    Spooler* spoolerBackend = nullptr;
    SocketFactory* socketFactory = nullptr;

    ProcessLauncher& processes() const { return need(processLauncher, "process launcher"); }
    Spooler& spooler() const { return need(spoolerBackend, "spooler"); }
    SocketFactory& sockets() const { return need(socketFactory, "socket factory"); }

private:
    template <class T>
    static T& need(T* p, const char* what) {
        if (!p) throw std::logic_error(std::string("no ") + what + " wired in");
        return *p;
    }
};

}  // namespace platform
