#pragma once
// The registry as the printer wizard sees it: a store, with two parts of
// HKEY_LOCAL_MACHINE that are views of the system and never stored:
//
// - "SYSTEM\CurrentControlSet\Control\Print\Monitors\Standard TCP/IP Port\Ports":
//   one key per installed queue whose device URI is a TCP/IP port (socket
//   or lpd), named by the URI as the spooler reports it as the queue's port,
//   with the REG_SZ "IPAddress", the URI's host (tcpPortAddress);
// - "SOFTWARE\Microsoft\Shared Tools Location": the REG_SZ "MSINFO", the
//   program folder, where the system-information program stands.
//
// The views are read-only; everything else goes to the store.

#include <string>
#include <utility>
#include <vector>

#include "platform/Registry.h"

namespace platform {

class Spooler;

class RegistryViews : public Registry {
public:
    RegistryViews(Registry& store, Spooler& spooler, std::string programFolder);

    static const char* const PortsKey;
    static const char* const SharedToolsLocationKey;

protected:
    RegStatus doKeyExists(RegRoot root, const Path& key) override;
    RegResult<RegValue> doReadValue(RegRoot root, const Path& key, const std::string& name) override;
    RegResult<std::vector<std::string>> doSubKeys(RegRoot root, const Path& key) override;
    RegResult<std::vector<std::string>> doValueNames(RegRoot root, const Path& key) override;
    RegStatus doCreateKey(RegRoot root, const Path& key) override;
    RegStatus doDeleteKey(RegRoot root, const Path& key) override;
    RegStatus doSetValue(RegRoot root, const Path& key, const std::string& name, const RegValue& value) override;
    RegStatus doDeleteValue(RegRoot root, const Path& key, const std::string& name) override;

private:
    struct View {
        enum class Kind { Ports, SharedTools };
        Path top;
        Kind kind;
    };
    enum class Place { Stored, Ancestor, Inside };
    // Where a key lies: in the store, on the path to a view, or in a view
    // (`view` and `rest` say which and what lies below its top).
    Place locate(RegRoot root, const Path& key, const View*& view, Path& rest) const;
    // Values of a view key; false when the key does not exist.
    bool viewValues(const View& view, const Path& rest, std::vector<std::pair<std::string, RegValue>>& values);
    // The TCP/IP ports of the installed queues and their addresses, in the spooler's order.
    std::vector<std::pair<std::string, std::string>> tcpPorts();

    Registry& store_;
    Spooler& spooler_;
    std::string folder_;
    std::vector<View> views_;
};

}  // namespace platform
