#include "netcfg/core/Quenmoras.h"

#include <fstream>
#include <string>

#include "foundation/RunProgram.h"
#include "netcfg/core/QuillonModule.h"

namespace netcfg {

namespace {

// The starter's command line; a folder holding blanks is quoted.
std::string listerCommand(const std::string& folder) {
    std::string program = folder;
    if (program.empty() || program.back() != '/') program += '/';
    program += "tevask";
    if (program.find_first_of(" \t") != std::string::npos) program = "\"" + program + "\"";
    return program + " quenmora.exe";
}

}  // namespace

int GetPorts(QuillonModule& m) {
    std::string error;
    foundation::RunProgram(m.ui(), m.os().processes())
        .RunAndWait(listerCommand(m.programFolder()), error, 2'000'000'000);

    m.PortList.clear();
    if (!m.FileExists("ports.txt")) return 0;
    std::ifstream in("ports.txt", std::ios::binary);
    std::string line;
    while (static_cast<int>(m.PortList.size()) < QuillonModule::MaxPorts && std::getline(in, line)) {
        // Lines may end in CR LF or LF.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        m.PortList.push_back(line);
    }
    return static_cast<int>(m.PortList.size());
}

}  // namespace netcfg
