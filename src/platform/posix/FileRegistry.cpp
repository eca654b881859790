#include "platform/posix/FileRegistry.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace platform {

namespace {

// The whole file; false when it cannot be read (a missing file gives "" and true).
bool readAll(const std::string& path, std::string& out) {
    out.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    char buf[8192];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

bool writeAll(int fd, const std::string& data) {
    const char* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// Holds an exclusive lock on "<file>.lock" while a change is made.
class FileLock {
public:
    explicit FileLock(const std::string& file) {
        fd_ = ::open((file + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ >= 0) {
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace

FileRegistry::FileRegistry(std::string currentUserFile, std::string localMachineFile, bool machineWritable)
    : user_(std::move(currentUserFile)), machine_(std::move(localMachineFile)), machineWritable_(machineWritable) {}

std::string FileRegistry::defaultCurrentUserFile() {
    std::string base;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && x[0] == '/') {
        base = x;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            if (passwd* pw = ::getpwuid(::geteuid())) home = pw->pw_dir;
        }
        base = std::string(home ? home : "") + "/.config";
    }
    return base + "/tessivarn/registry";
}

std::string FileRegistry::defaultLocalMachineFile() { return "/var/lib/tessivarn/registry"; }

bool FileRegistry::mayWriteMachine() { return ::geteuid() == 0; }

RegError FileRegistry::load(RegRoot root, RegTree& tree) const {
    std::string text;
    if (!readAll(file(root), text)) return RegError::StoreFailed;
    auto parsed = RegTree::parse(text);
    // A file we cannot understand is neither read nor overwritten.
    if (!parsed) return RegError::StoreFailed;
    tree = std::move(*parsed);
    return RegError::None;
}

RegError FileRegistry::save(RegRoot root, const RegTree& tree) const {
    const std::string& path = file(root);
    const std::string tmp = path + ".new";
    const mode_t mode = root == RegRoot::CurrentUser ? 0600 : 0644;
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) return RegError::StoreFailed;
    bool ok = writeAll(fd, tree.serialise()) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(tmp.c_str(), path.c_str()) != 0) {
        ::unlink(tmp.c_str());
        return RegError::StoreFailed;
    }
    return RegError::None;
}

template <class Change>
RegStatus FileRegistry::modify(RegRoot root, Change&& change) {
    if (root == RegRoot::LocalMachine && !machineWritable_) return {RegError::AccessDenied};
    const std::string& path = file(root);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    FileLock lock(path);
    if (!lock.held()) return {RegError::StoreFailed};
    RegTree tree;
    if (RegError e = load(root, tree); e != RegError::None) return {e};
    RegStatus r = change(tree);
    if (!r.ok()) return r;
    return {save(root, tree)};
}

RegStatus FileRegistry::doKeyExists(RegRoot root, const Path& key) {
    RegTree tree;
    if (RegError e = load(root, tree); e != RegError::None) return {e};
    return tree.exists(key);
}

RegResult<RegValue> FileRegistry::doReadValue(RegRoot root, const Path& key, const std::string& name) {
    RegTree tree;
    if (RegError e = load(root, tree); e != RegError::None) return RegResult<RegValue>::failed(e);
    return tree.read(key, name);
}

RegResult<std::vector<std::string>> FileRegistry::doSubKeys(RegRoot root, const Path& key) {
    RegTree tree;
    if (RegError e = load(root, tree); e != RegError::None) return RegResult<std::vector<std::string>>::failed(e);
    return tree.subKeys(key);
}

RegResult<std::vector<std::string>> FileRegistry::doValueNames(RegRoot root, const Path& key) {
    RegTree tree;
    if (RegError e = load(root, tree); e != RegError::None) return RegResult<std::vector<std::string>>::failed(e);
    return tree.valueNames(key);
}

RegStatus FileRegistry::doCreateKey(RegRoot root, const Path& key) {
    return modify(root, [&](RegTree& t) { return t.createKey(key); });
}

RegStatus FileRegistry::doDeleteKey(RegRoot root, const Path& key) {
    return modify(root, [&](RegTree& t) { return t.deleteKey(key); });
}

RegStatus FileRegistry::doSetValue(RegRoot root, const Path& key, const std::string& name, const RegValue& value) {
    return modify(root, [&](RegTree& t) { return t.setValue(key, name, value); });
}

RegStatus FileRegistry::doDeleteValue(RegRoot root, const Path& key, const std::string& name) {
    return modify(root, [&](RegTree& t) { return t.deleteValue(key, name); });
}

}  // namespace platform
