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

#include <cstddef>
#include <map>
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

    // Keys nest at most this deep below the root; a deeper key is neither
    // made nor read (a store holding one is damaged).
    static constexpr std::size_t MaxDepth = 512;

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
    // Names in order, ignoring case.
    struct NameLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    struct Key {
        Key() = default;
        Key(Key&&) = default;
        Key& operator=(Key&&) = default;
        // Takes the sub-keys apart level by level, however deep they go.
        ~Key();

        std::map<std::string, std::unique_ptr<Key>, NameLess> subkeys;  // by the name each was made with
        std::vector<std::pair<std::string, RegValue>> values;           // in first-write order
        std::map<std::string, std::size_t, NameLess> valueAt;           // name to place in values

        void put(const std::string& name, const RegValue& value);
    };
    const Key* find(const Path& key) const;
    Key* find(const Path& key) { return const_cast<Key*>(static_cast<const RegTree*>(this)->find(key)); }
    // None when the key would lie deeper than MaxDepth.
    Key* create(const Path& key);

    Key root_;
};

}  // namespace platform
