#include "platform/Registry.h"

#include <algorithm>

namespace platform {

std::optional<RegRoot> rootFromHandle(std::uint32_t handle) {
    switch (handle) {
        case static_cast<std::uint32_t>(RegRoot::ClassesRoot):
            return RegRoot::ClassesRoot;
        case static_cast<std::uint32_t>(RegRoot::CurrentUser):
            return RegRoot::CurrentUser;
        case static_cast<std::uint32_t>(RegRoot::LocalMachine):
            return RegRoot::LocalMachine;
        default:
            return std::nullopt;
    }
}

RegValue RegValue::string(const std::string& text, std::uint32_t type) {
    std::string data = text;
    data.push_back('\0');
    return {type, data};
}

RegValue RegValue::dword(std::uint32_t value) {
    std::string data(4, '\0');
    for (std::size_t i = 0; i < 4; ++i) data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return {RegType::DWord, data};
}

RegValue RegValue::binary(std::string bytes) { return {RegType::Binary, std::move(bytes)}; }

RegValue RegValue::multiString(const std::vector<std::string>& texts) {
    std::string data;
    for (const auto& t : texts) {
        data += t;
        data.push_back('\0');
    }
    data.push_back('\0');
    return {RegType::MultiSz, data};
}

std::string RegValue::text() const {
    if (!data.empty() && data.back() == '\0') return data.substr(0, data.size() - 1);
    return data;
}

std::optional<std::uint32_t> RegValue::dwordValue() const {
    if (data.size() != 4) return std::nullopt;
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
    return v;
}

// ---------------------------------------------------------------------------

namespace {

// ASCII letters only: std::tolower follows the locale.
char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// HKEY_CLASSES_ROOT is LocalMachine's "SOFTWARE\Classes".
struct Target {
    RegRoot root;
    Registry::Path path;
};

std::optional<Target> resolve(RegRoot root, const std::string& key) {
    auto path = Registry::splitPath(key);
    if (!path) return std::nullopt;
    if (root != RegRoot::ClassesRoot) return Target{root, std::move(*path)};
    Registry::Path p{"SOFTWARE", "Classes"};
    p.insert(p.end(), path->begin(), path->end());
    return Target{RegRoot::LocalMachine, std::move(p)};
}

}  // namespace

bool Registry::sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

bool Registry::nameLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return fold(x) < fold(y); });
}

std::optional<Registry::Path> Registry::splitPath(const std::string& key) {
    if (key.find_first_of("\r\n") != std::string::npos) return std::nullopt;
    std::size_t b = key.find_first_not_of('\\');
    if (b == std::string::npos) return Path{};
    std::size_t e = key.find_last_not_of('\\');
    const std::string inner = key.substr(b, e - b + 1);
    Path out;
    std::size_t from = 0;
    for (;;) {
        std::size_t at = inner.find('\\', from);
        std::string name = inner.substr(from, at == std::string::npos ? std::string::npos : at - from);
        if (name.empty()) return std::nullopt;
        out.push_back(std::move(name));
        if (at == std::string::npos) break;
        from = at + 1;
    }
    return out;
}

std::string Registry::joinPath(const Path& path) {
    std::string out;
    for (const auto& name : path) {
        if (!out.empty()) out += '\\';
        out += name;
    }
    return out;
}

RegStatus Registry::keyExists(RegRoot root, const std::string& key) {
    auto t = resolve(root, key);
    if (!t) return {RegError::KeyNotFound};
    return doKeyExists(t->root, t->path);
}

RegResult<RegValue> Registry::readValue(RegRoot root, const std::string& key, const std::string& name) {
    auto t = resolve(root, key);
    if (!t) return RegResult<RegValue>::failed(RegError::KeyNotFound);
    return doReadValue(t->root, t->path, name);
}

RegResult<std::vector<std::string>> Registry::subKeys(RegRoot root, const std::string& key) {
    auto t = resolve(root, key);
    if (!t) return RegResult<std::vector<std::string>>::failed(RegError::KeyNotFound);
    return doSubKeys(t->root, t->path);
}

RegResult<std::vector<std::string>> Registry::valueNames(RegRoot root, const std::string& key) {
    auto t = resolve(root, key);
    if (!t) return RegResult<std::vector<std::string>>::failed(RegError::KeyNotFound);
    return doValueNames(t->root, t->path);
}

RegStatus Registry::createKey(RegRoot root, const std::string& key) {
    auto t = resolve(root, key);
    if (!t) return {RegError::KeyNotFound};
    return doCreateKey(t->root, t->path);
}

RegStatus Registry::deleteKey(RegRoot root, const std::string& key) {
    auto t = resolve(root, key);
    if (!t) return {RegError::KeyNotFound};
    // A root key cannot be deleted.
    if (t->path.empty()) return {RegError::AccessDenied};
    return doDeleteKey(t->root, t->path);
}

RegStatus Registry::setValue(RegRoot root, const std::string& key, const std::string& name, const RegValue& value) {
    auto t = resolve(root, key);
    if (!t) return {RegError::KeyNotFound};
    return doSetValue(t->root, t->path, name, value);
}

RegStatus Registry::deleteValue(RegRoot root, const std::string& key, const std::string& name) {
    auto t = resolve(root, key);
    if (!t) return {RegError::KeyNotFound};
    return doDeleteValue(t->root, t->path, name);
}

// ---------------------------------------------------------------------------

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "%41" as "A"; a "%" without two hex digits stays as written.
std::string percentDecode(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            int hi = hexDigit(s[i + 1]), lo = hexDigit(s[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out.push_back(static_cast<char>(hi * 16 + lo));
                i += 2;
                continue;
            }
        }
        out.push_back(s[i]);
    }
    return out;
}

}  // namespace

std::optional<std::string> tcpPortAddress(const std::string& uri) {
    const std::size_t colon = uri.find(':');
    if (colon == std::string::npos) return std::nullopt;
    std::string scheme = uri.substr(0, colon);
    for (auto& c : scheme) c = fold(c);
    if (scheme != "socket" && scheme != "lpd") return std::nullopt;
    if (uri.compare(colon + 1, 2, "//") != 0) return std::nullopt;

    const std::size_t start = colon + 3;
    const std::size_t end = uri.find_first_of("/?#", start);
    std::string authority = uri.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (std::size_t at = authority.rfind('@'); at != std::string::npos) authority.erase(0, at + 1);

    std::string host;
    if (!authority.empty() && authority[0] == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string::npos) return std::nullopt;
        host = authority.substr(1, close - 1);
    } else {
        host = authority.substr(0, authority.find(':'));
    }
    host = percentDecode(host);
    if (host.empty() || host.find('\0') != std::string::npos) return std::nullopt;
    return host;
}

}  // namespace platform
