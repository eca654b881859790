#include "platform/FileReplace.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <memory>

namespace platform {

namespace {

bool writeAll(int fd, const std::string& data) {
    const char* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// The file a path names: a symbolic link is followed to its target.
bool resolve(const std::string& path, std::string& target) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        target = path;
        return true;
    }
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    if (!real) return false;  // a link to nowhere
    target = real.get();
    return true;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The longest file name the folder takes.
std::size_t nameLimit(const std::string& folder) {
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
}

// A new, exclusive file beside `target`, for its owner only; -1 when none
// can be made. The target's name is cut short where the whole temporary name
// would not fit in the folder.
int createBeside(const std::string& target, std::string& name) {
    static std::atomic<unsigned> counter{0};
    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    const std::size_t limit = nameLimit(folder.empty() ? "." : folder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string suffix = "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".new";
        const std::size_t room = limit > suffix.size() + 1 ? limit - suffix.size() - 1 : 0;
        name = folder + "." + base.substr(0, room) + suffix;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Room on the disk for `size` bytes of the file, taken before any of it is
// written over.
bool reserve(int fd, std::size_t size) {
    if (size == 0) return true;
    int err;
    while ((err = ::posix_fallocate(fd, 0, static_cast<off_t>(size))) == EINTR) {
    }
    return err == 0;
}

// The file itself written over and cut to the new length, if it is still the
// regular file `old` describes (never a pipe or a link put there since). The
// room is taken first: where it cannot be had, not a byte has changed.
bool writeInPlace(const std::string& target, const struct stat& old, const std::string& bytes) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat now {};
    bool ok = ::fstat(fd, &now) == 0 && S_ISREG(now.st_mode) && now.st_dev == old.st_dev && now.st_ino == old.st_ino;
    ok = ok && reserve(fd, bytes.size()) && writeAll(fd, bytes) &&
         ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    return ok;
}

}  // namespace

bool ReplaceFile(const std::string& path, const std::string& bytes, ClosedFolder closed) {
    std::string target;
    if (path.empty() || !resolve(path, target)) return false;

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && (!S_ISREG(old.st_mode) || ::access(target.c_str(), W_OK) != 0)) return false;
    if (!exists && errno != ENOENT) return false;

    std::string temp;
    const int fd = createBeside(target, temp);
    if (fd < 0) {
        const bool folderClosed = errno == EACCES || errno == EPERM;
        return exists && folderClosed && closed == ClosedFolder::WriteInPlace && writeInPlace(target, old, bytes);
    }
    bool ok = true;
    if (exists) {
        // Owner and group where allowed (root), else the group where it is
        // one of the user's; the permission bits in any case.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            [[maybe_unused]] const int kept = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        }
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    }
    ok = ok && writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    // The new name made durable as well.
    const int dir = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace platform
