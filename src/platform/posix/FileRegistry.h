#pragma once
// The registry kept in files of ours: HKEY_CURRENT_USER in the user's
// configuration folder, HKEY_LOCAL_MACHINE in one machine-wide file that
// only root may change. Each call reads the file afresh; a change is written
// to a new file that then replaces the old one, under a lock, so another
// process never sees half a file.

#include <string>

#include "platform/RegTree.h"
#include "platform/Registry.h"

namespace platform {

class FileRegistry : public Registry {
public:
    FileRegistry(std::string currentUserFile, std::string localMachineFile, bool machineWritable);

    // $XDG_CONFIG_HOME/tessivarn/registry (~/.config when unset).
    static std::string defaultCurrentUserFile();
    // /var/lib/tessivarn/registry
    static std::string defaultLocalMachineFile();
    // Whether this process may change the machine-wide file: as root only.
    static bool mayWriteMachine();

    const std::string& file(RegRoot root) const { return root == RegRoot::CurrentUser ? user_ : machine_; }

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
    // The root's tree; a missing file is an empty one.
    RegError load(RegRoot root, RegTree& tree) const;
    template <class Change>
    RegStatus modify(RegRoot root, Change&& change);
    RegError save(RegRoot root, const RegTree& tree) const;

    std::string user_, machine_;
    bool machineWritable_;
};

}  // namespace platform
