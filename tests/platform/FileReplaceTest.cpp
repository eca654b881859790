// Writing over a file in a folder that refuses the new file beside it: the
// room for the new contents is taken before a byte changes, so a size limit
// or a full disk leaves the old contents whole. Each case runs in a child
// process, as a user who is not root.

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "platform/FileReplace.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

namespace {

using testsupport::readFile;
using testsupport::writeFile;

enum class Where { Disk, Tmpfs, FullTmpfs };

struct Case {
    const char* name;
    Where where;
    rlim_t sizeLimit;  // 0: none
    std::string outcome;
};

// A small tmpfs over `folder`, in a mount namespace of the calling child's
// own, so that it goes with the child; "" when it is there.
std::string mountTmpfs(const std::string& folder) {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0)
        return std::string("no tmpfs: ") + std::strerror(errno);
    return {};
}

TEST(ReplaceFile, WritingInPlaceWithoutTheRoomLeavesTheOldContentsWhole) {
    const std::string older(3000, 'o'), newer(9000, 'n');
    const Case cases[] = {
        {"a file size limit below the new size", Where::Disk, 4096, "refused, the old contents"},
        {"a full tmpfs", Where::FullTmpfs, 0, "refused, the old contents"},
        {"a tmpfs with room", Where::Tmpfs, 0, "written, the new contents"},
    };
    for (const Case& c : cases) {
        testsupport::TempDir dir;
        const std::string folder = dir.str(), path = dir.file("job.txt");
        const auto prepare = [&]() -> std::string {
            if (c.where != Where::Disk) {
                if (std::string why = mountTmpfs(folder); !why.empty()) return why;
            }
            // The user may write the file but make none beside it.
            ::chmod(folder.c_str(), 0755);
            writeFile(path, older);
            ::chmod(path.c_str(), 0666);
            if (c.where == Where::FullTmpfs) {
                const std::string filler = dir.file("filler");
                for (int i = 0; i < 64; ++i) writeFile(filler + std::to_string(i), std::string(4096, 'f'));
            }
            return {};
        };
        const std::string report = testsupport::asUnprivilegedUser(
            [&] {
                if (c.sizeLimit) {
                    std::signal(SIGXFSZ, SIG_IGN);
                    const rlimit limit{c.sizeLimit, c.sizeLimit};
                    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return std::string("no size limit");
                }
                const bool written = platform::ReplaceFile(path, newer, platform::ClosedFolder::WriteInPlace);
                const std::string now = readFile(path);
                return std::string(written ? "written" : "refused") +
                       (now == older   ? ", the old contents"
                        : now == newer ? ", the new contents"
                                       : ", " + std::to_string(now.size()) + " other bytes");
            },
            prepare);
        EXPECT_EQ(report, c.outcome) << c.name;
    }
}

}  // namespace
