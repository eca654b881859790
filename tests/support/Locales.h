#pragma once
// Locales made for a test with localedef (package locales), in a folder of
// their own that LOCPATH names while the test uses them; environment
// variables and the C library's character classes set for one scope.

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/TempDir.h"

namespace testsupport {

class LocaleFolder {
public:
    // Makes the locale `name` from a locale source (a file, or one the
    // system ships, such as "tr_TR") in the character map `charmap`; false
    // when localedef could not.
    bool make(const std::string& name, const std::string& source, const std::string& charmap) {
        const std::string cmd =
            "localedef -c -i '" + source + "' -f " + charmap + " '" + dir_.file(name) + "' >/dev/null 2>&1";
        std::system(cmd.c_str());
        return std::filesystem::exists(dir_.file(name + "/LC_CTYPE"));
    }
    std::string str() const { return dir_.str(); }
    std::string file(const std::string& name) const { return dir_.file(name); }

private:
    TempDir dir_;
};

// Sets environment variables (nullptr: unsets) until the end of the scope.
class ScopedEnv {
public:
    ScopedEnv() = default;
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    void set(const std::string& name, const char* value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value)
            ::setenv(name.c_str(), value, 1);
        else
            ::unsetenv(name.c_str());
    }
    ~ScopedEnv() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second)
                ::setenv(it->first.c_str(), it->second->c_str(), 1);
            else
                ::unsetenv(it->first.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// The C library's character classes (std::tolower and the like) from a
// locale of the folder until the end of the scope, as a program's
// setlocale(LC_ALL, "") would set them. `active` tells whether it took.
class ScopedCType {
public:
    ScopedCType(const LocaleFolder& folder, const std::string& name) : old_(std::setlocale(LC_CTYPE, nullptr)) {
        env_.set("LOCPATH", folder.str().c_str());
        active = std::setlocale(LC_CTYPE, name.c_str()) != nullptr;
    }
    ~ScopedCType() { std::setlocale(LC_CTYPE, old_.c_str()); }
    ScopedCType(const ScopedCType&) = delete;
    ScopedCType& operator=(const ScopedCType&) = delete;
    bool active = false;

private:
    std::string old_;
    ScopedEnv env_;
};

}  // namespace testsupport
