#include "platform/CodePage.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace platform {

namespace {

std::optional<std::string> convert(const char* to, const char* from, const std::string& in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::unique_ptr<void, int (*)(iconv_t)> guard(cd, iconv_close);
    std::string out(in.size() * 4 + 4, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) {
            if (errno != E2BIG) return std::nullopt;  // EILSEQ, EINVAL: not convertible
            const std::size_t used = out.size() - dstLeft;
            out.resize(out.size() * 2);
            dst = out.data() + used;
            dstLeft = out.size() - used;
        }
    }
    out.resize(out.size() - dstLeft);
    return out;
}

}  // namespace

std::optional<std::string> toAnsi(const std::string& utf8) { return convert("WINDOWS-1252", "UTF-8", utf8); }

std::optional<std::string> fromAnsi(const std::string& bytes) { return convert("UTF-8", "WINDOWS-1252", bytes); }

bool isAnsi(const std::string& utf8) { return toAnsi(utf8).has_value(); }

}  // namespace platform
