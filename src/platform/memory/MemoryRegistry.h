#pragma once
// The registry of the unit tests: both roots in memory, writes refused per
// root when the test says so.

#include "platform/RegTree.h"
#include "platform/Registry.h"

namespace platform {

class MemoryRegistry : public Registry {
public:
    // Writes to the root are refused with AccessDenied (reads go on).
    void setWritable(RegRoot root, bool writable);

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
    RegTree& tree(RegRoot root) { return root == RegRoot::CurrentUser ? user_ : machine_; }
    bool writable(RegRoot root) const { return root == RegRoot::CurrentUser ? userWritable_ : machineWritable_; }

    RegTree user_, machine_;
    bool userWritable_ = true, machineWritable_ = true;
};

}  // namespace platform
