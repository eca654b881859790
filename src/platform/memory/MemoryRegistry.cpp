#include "platform/memory/MemoryRegistry.h"

namespace platform {

void MemoryRegistry::setWritable(RegRoot root, bool on) {
    (root == RegRoot::CurrentUser ? userWritable_ : machineWritable_) = on;
}

RegStatus MemoryRegistry::doKeyExists(RegRoot root, const Path& key) { return tree(root).exists(key); }

RegResult<RegValue> MemoryRegistry::doReadValue(RegRoot root, const Path& key, const std::string& name) {
    return tree(root).read(key, name);
}

RegResult<std::vector<std::string>> MemoryRegistry::doSubKeys(RegRoot root, const Path& key) {
    return tree(root).subKeys(key);
}

RegResult<std::vector<std::string>> MemoryRegistry::doValueNames(RegRoot root, const Path& key) {
    return tree(root).valueNames(key);
}

RegStatus MemoryRegistry::doCreateKey(RegRoot root, const Path& key) {
    if (!writable(root)) return {RegError::AccessDenied};
    return tree(root).createKey(key);
}

RegStatus MemoryRegistry::doDeleteKey(RegRoot root, const Path& key) {
    if (!writable(root)) return {RegError::AccessDenied};
    return tree(root).deleteKey(key);
}

RegStatus MemoryRegistry::doSetValue(RegRoot root, const Path& key, const std::string& name, const RegValue& value) {
    if (!writable(root)) return {RegError::AccessDenied};
    return tree(root).setValue(key, name, value);
}

RegStatus MemoryRegistry::doDeleteValue(RegRoot root, const Path& key, const std::string& name) {
    if (!writable(root)) return {RegError::AccessDenied};
    return tree(root).deleteValue(key, name);
}

}  // namespace platform
