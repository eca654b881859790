#pragma once
// The keys and values of one registry root held in memory, and their text
// form in a store file:
//
//   ; comment
//   [SOFTWARE\Maker\Product]
//   "Name"=sz:"text with \" and \\"
//   @=dword:0000000a            (the key's default value)
//   "Data"=hex(3):01,02,ff      (any type, as bytes)
//
// Types: sz, expand, multi:"a","b", dword, and hex(N) for everything else.

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Registry.h"

namespace platform {

class RegTree {
public:
    using Path = Registry::Path;

    RegStatus exists(const Path& key) const;
    RegResult<RegValue> read(const Path& key, const std::string& name) const;
    RegResult<std::vector<std::string>> subKeys(const Path& key) const;
    RegResult<std::vector<std::string>> valueNames(const Path& key) const;
    RegStatus createKey(const Path& key);
    RegStatus deleteKey(const Path& key);
    RegStatus setValue(const Path& key, const std::string& name, const RegValue& value);
    RegStatus deleteValue(const Path& key, const std::string& name);

    std::string serialise() const;
    // None when the text is not in the store's form.
    static std::optional<RegTree> parse(const std::string& text);

private:
    struct Key {
        std::string name;
        std::vector<std::unique_ptr<Key>> subkeys;             // sorted by name, ignoring case
        std::vector<std::pair<std::string, RegValue>> values;  // in first-write order
    };
    const Key* find(const Path& key) const;
    Key* find(const Path& key) { return const_cast<Key*>(static_cast<const RegTree*>(this)->find(key)); }
    Key* create(const Path& key);
    static void write(const Key& k, const std::string& path, bool isRoot, std::string& out);

    Key root_;
};

}  // namespace platform
