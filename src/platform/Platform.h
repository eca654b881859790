#pragma once
// The platform seams a program is wired with. main() fills in the real
// backends; tests fill in in-memory ones.

#include <stdexcept>
#include <string>

namespace platform {

class ProcessLauncher;
class Registry;
class SocketFactory;
class Spooler;

struct Platform {
    ProcessLauncher* processLauncher = nullptr;
    Spooler* spoolerBackend = nullptr;
    Registry* registryBackend = nullptr;
    SocketFactory* socketFactory = nullptr;

    ProcessLauncher& processes() const { return need(processLauncher, "process launcher"); }
    Spooler& spooler() const { return need(spoolerBackend, "spooler"); }
    Registry& registry() const { return need(registryBackend, "registry"); }
    SocketFactory& sockets() const { return need(socketFactory, "socket factory"); }

private:
    template <class T>
    static T& need(T* p, const char* what) {
        if (!p) throw std::logic_error(std::string("no ") + what + " wired in");
        return *p;
    }
};

}  // namespace platform
