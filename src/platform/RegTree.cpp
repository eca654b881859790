#include "platform/RegTree.h"

#include <cstdio>

namespace platform {

bool RegTree::NameLess::operator()(const std::string& a, const std::string& b) const {
    return Registry::nameLess(a, b);
}

RegTree::Key::~Key() {
    std::vector<std::unique_ptr<Key>> doomed;
    for (auto& [name, k] : subkeys) doomed.push_back(std::move(k));
    while (!doomed.empty()) {
        std::unique_ptr<Key> k = std::move(doomed.back());
        doomed.pop_back();
        if (!k) continue;
        for (auto& [name, s] : k->subkeys) doomed.push_back(std::move(s));
        k->subkeys.clear();
    }
}

void RegTree::Key::put(const std::string& name, const RegValue& value) {
    if (auto at = valueAt.find(name); at != valueAt.end()) {
        values[at->second].second = value;
        return;
    }
    valueAt.emplace(name, values.size());
    values.emplace_back(name, value);
}

const RegTree::Key* RegTree::find(const Path& key) const {
    if (key.size() > MaxDepth) return nullptr;
    const Key* k = &root_;
    for (const auto& name : key) {
        auto it = k->subkeys.find(name);
        if (it == k->subkeys.end()) return nullptr;
        k = it->second.get();
    }
    return k;
}

RegTree::Key* RegTree::create(const Path& key) {
    if (key.size() > MaxDepth) return nullptr;
    Key* k = &root_;
    for (const auto& name : key) {
        auto it = k->subkeys.try_emplace(name).first;
        if (!it->second) it->second = std::make_unique<Key>();
        k = it->second.get();
    }
    return k;
}

RegStatus RegTree::exists(const Path& key) const { return {find(key) ? RegError::None : RegError::KeyNotFound}; }

RegResult<RegValue> RegTree::read(const Path& key, const std::string& name) const {
    const Key* k = find(key);
    if (!k) return RegResult<RegValue>::failed(RegError::KeyNotFound);
    auto at = k->valueAt.find(name);
    if (at == k->valueAt.end()) return RegResult<RegValue>::failed(RegError::ValueNotFound);
    return {RegError::None, k->values[at->second].second};
}

RegResult<std::vector<std::string>> RegTree::subKeys(const Path& key) const {
    const Key* k = find(key);
    if (!k) return RegResult<std::vector<std::string>>::failed(RegError::KeyNotFound);
    std::vector<std::string> out;
    out.reserve(k->subkeys.size());
    for (const auto& s : k->subkeys) out.push_back(s.first);
    return {RegError::None, out};
}

RegResult<std::vector<std::string>> RegTree::valueNames(const Path& key) const {
    const Key* k = find(key);
    if (!k) return RegResult<std::vector<std::string>>::failed(RegError::KeyNotFound);
    std::vector<std::string> out;
    out.reserve(k->values.size());
    for (const auto& v : k->values) out.push_back(v.first);
    return {RegError::None, out};
}

RegStatus RegTree::createKey(const Path& key) { return {create(key) ? RegError::None : RegError::KeyNotFound}; }

RegStatus RegTree::deleteKey(const Path& key) {
    if (key.empty()) return {RegError::AccessDenied};
    Path parentPath(key.begin(), key.end() - 1);
    Key* parent = find(parentPath);
    if (!parent) return {RegError::KeyNotFound};
    auto it = parent->subkeys.find(key.back());
    if (it == parent->subkeys.end()) return {RegError::KeyNotFound};
    if (!it->second->subkeys.empty()) return {RegError::AccessDenied};
    parent->subkeys.erase(it);
    return {};
}

RegStatus RegTree::setValue(const Path& key, const std::string& name, const RegValue& value) {
    Key* k = create(key);
    if (!k) return {RegError::KeyNotFound};
    k->put(name, value);
    return {};
}

RegStatus RegTree::deleteValue(const Path& key, const std::string& name) {
    Key* k = find(key);
    if (!k) return {RegError::KeyNotFound};
    auto at = k->valueAt.find(name);
    if (at == k->valueAt.end()) return {RegError::ValueNotFound};
    const std::size_t gone = at->second;
    k->valueAt.erase(at);
    k->values.erase(k->values.begin() + static_cast<std::ptrdiff_t>(gone));
    for (auto& [n, place] : k->valueAt)
        if (place > gone) --place;
    return {};
}

// ---------------------------------------------------------------------------
// Text form

namespace {

std::string quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (u < 0x20 || u == 0x7F) {
                    char buf[5];
                    std::snprintf(buf, sizeof buf, "\\x%02x", u);
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string hexBytes(const std::string& data) {
    std::string out;
    char buf[4];
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::snprintf(buf, sizeof buf, i ? ",%02x" : "%02x", static_cast<unsigned char>(data[i]));
        out += buf;
    }
    return out;
}

// The texts of a multi-string when its bytes are exactly their encoding.
std::optional<std::vector<std::string>> multiTexts(const std::string& data) {
    if (data.size() < 1 || data.back() != '\0') return std::nullopt;
    std::vector<std::string> texts;
    std::size_t from = 0;
    while (from < data.size() - 1) {
        std::size_t z = data.find('\0', from);
        texts.push_back(data.substr(from, z - from));
        from = z + 1;
    }
    if (RegValue::multiString(texts).data != data) return std::nullopt;
    return texts;
}

std::string valueText(const RegValue& v) {
    char buf[32];
    if ((v.type == RegType::Sz || v.type == RegType::ExpandSz) && RegValue::string(v.text(), v.type) == v)
        return (v.type == RegType::Sz ? "sz:" : "expand:") + quote(v.text());
    if (v.type == RegType::DWord && v.data.size() == 4) {
        std::snprintf(buf, sizeof buf, "dword:%08x", *v.dwordValue());
        return buf;
    }
    if (v.type == RegType::MultiSz) {
        if (auto texts = multiTexts(v.data)) {
            std::string out = "multi:";
            for (std::size_t i = 0; i < texts->size(); ++i) out += (i ? "," : "") + quote((*texts)[i]);
            return out;
        }
    }
    std::snprintf(buf, sizeof buf, "hex(%u):", v.type);
    return buf + hexBytes(v.data);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted text at s[i]; i moves past it.
std::optional<std::string> unquote(const std::string& s, std::size_t& i) {
    if (i >= s.size() || s[i] != '"') return std::nullopt;
    std::string out;
    for (++i; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') {
            ++i;
            return out;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i >= s.size()) return std::nullopt;
        switch (s[i]) {
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'x': {
                if (i + 2 >= s.size()) return std::nullopt;
                int hi = hexDigit(s[i + 1]), lo = hexDigit(s[i + 2]);
                if (hi < 0 || lo < 0) return std::nullopt;
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return std::nullopt;
}

bool startsWith(const std::string& s, std::size_t at, const char* prefix) {
    return s.compare(at, std::char_traits<char>::length(prefix), prefix) == 0;
}

std::optional<RegValue> parseValue(const std::string& s, std::size_t i) {
    auto quotedType = [&](const char* prefix, std::uint32_t type) -> std::optional<RegValue> {
        i += std::char_traits<char>::length(prefix);
        auto text = unquote(s, i);
        if (!text || i != s.size()) return std::nullopt;
        return RegValue::string(*text, type);
    };
    if (startsWith(s, i, "sz:")) return quotedType("sz:", RegType::Sz);
    if (startsWith(s, i, "expand:")) return quotedType("expand:", RegType::ExpandSz);
    if (startsWith(s, i, "multi:")) {
        i += 6;
        std::vector<std::string> texts;
        while (i < s.size()) {
            if (!texts.empty()) {
                if (s[i] != ',') return std::nullopt;
                ++i;
            }
            auto text = unquote(s, i);
            if (!text) return std::nullopt;
            texts.push_back(*text);
        }
        return RegValue::multiString(texts);
    }
    if (startsWith(s, i, "dword:")) {
        std::string digits = s.substr(i + 6);
        if (digits.size() != 8) return std::nullopt;
        std::uint32_t v = 0;
        for (char c : digits) {
            int d = hexDigit(c);
            if (d < 0) return std::nullopt;
            v = v * 16 + static_cast<std::uint32_t>(d);
        }
        return RegValue::dword(v);
    }
    if (startsWith(s, i, "hex(")) {
        i += 4;
        std::size_t close = s.find("):", i);
        if (close == std::string::npos || close == i) return std::nullopt;
        std::uint64_t type = 0;
        for (std::size_t k = i; k < close; ++k) {
            if (s[k] < '0' || s[k] > '9' || type > 0xFFFFFFFFu) return std::nullopt;
            type = type * 10 + static_cast<std::uint64_t>(s[k] - '0');
        }
        if (type > 0xFFFFFFFFu) return std::nullopt;
        RegValue v{static_cast<std::uint32_t>(type), {}};
        for (i = close + 2; i < s.size();) {
            if (!v.data.empty()) {
                if (s[i] != ',') return std::nullopt;
                ++i;
            }
            if (i + 1 >= s.size()) return std::nullopt;
            int hi = hexDigit(s[i]), lo = hexDigit(s[i + 1]);
            if (hi < 0 || lo < 0) return std::nullopt;
            v.data += static_cast<char>(hi * 16 + lo);
            i += 2;
        }
        return v;
    }
    return std::nullopt;
}

}  // namespace

std::string RegTree::serialise() const {
    std::string out = "; Tessivarn registry store\n";
    auto section = [&out](const Key& k, const std::string& path) {
        out += "[" + path + "]\n";
        for (const auto& [name, v] : k.values) out += (name.empty() ? "@" : quote(name)) + "=" + valueText(v) + "\n";
    };
    if (!root_.values.empty()) section(root_, "");
    // Depth first in name order, one level per entry, the path grown and cut
    // back in place.
    struct Level {
        const Key* key;
        decltype(Key::subkeys)::const_iterator next;
        std::size_t pathLength;
    };
    std::vector<Level> levels{{&root_, root_.subkeys.begin(), 0}};
    std::string path;
    while (!levels.empty()) {
        Level& top = levels.back();
        if (top.next == top.key->subkeys.end()) {
            levels.pop_back();
            continue;
        }
        const auto& [name, child] = *top.next++;
        path.resize(top.pathLength);
        if (!path.empty()) path += '\\';
        path += name;
        section(*child, path);
        levels.push_back({child.get(), child->subkeys.begin(), path.size()});
    }
    return out;
}

std::optional<RegTree> RegTree::parse(const std::string& text) {
    RegTree tree;
    Key* current = nullptr;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t nl = text.find('\n', from);
        std::string line = text.substr(from, nl == std::string::npos ? std::string::npos : nl - from);
        from = nl == std::string::npos ? text.size() : nl + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            if (line.size() < 2 || line.back() != ']') return std::nullopt;
            auto path = Registry::splitPath(line.substr(1, line.size() - 2));
            if (!path) return std::nullopt;
            current = tree.create(*path);
            if (!current) return std::nullopt;
            continue;
        }
        if (!current) return std::nullopt;
        std::size_t i = 0;
        std::string name;
        if (line[0] == '@') {
            i = 1;
        } else {
            auto n = unquote(line, i);
            if (!n) return std::nullopt;
            name = *n;
        }
        if (i >= line.size() || line[i] != '=') return std::nullopt;
        auto value = parseValue(line, i + 1);
        if (!value) return std::nullopt;
        current->put(name, *value);
    }
    return tree;
}

}  // namespace platform
