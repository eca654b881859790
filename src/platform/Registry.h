#pragma once
// A registry of keys and typed values, as the printer wizard reads and
// writes it. Keys are paths of names joined by backslashes below a root;
// key names and value names ignore letter case (ASCII) and keep the case
// they were created with. Every call opens and closes what it needs and
// returns one result; nothing stays open between calls.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Root keys, with the handle values programs pass around.
enum class RegRoot : std::uint32_t {
    ClassesRoot = 0x80000000u,   // HKEY_CLASSES_ROOT: LocalMachine's "SOFTWARE\Classes"
    CurrentUser = 0x80000001u,   // HKEY_CURRENT_USER
    LocalMachine = 0x80000002u,  // HKEY_LOCAL_MACHINE
};
// The root of a handle value; none for handles we do not keep.
std::optional<RegRoot> rootFromHandle(std::uint32_t handle);

// Value types.
namespace RegType {
constexpr std::uint32_t None = 0;
constexpr std::uint32_t Sz = 1;              // REG_SZ: text and its terminating zero
constexpr std::uint32_t ExpandSz = 2;        // REG_EXPAND_SZ: the same, holding %NAME% references
constexpr std::uint32_t Binary = 3;          // REG_BINARY
constexpr std::uint32_t DWord = 4;           // REG_DWORD: 4 bytes, least significant first
constexpr std::uint32_t DWordBigEndian = 5;  // REG_DWORD_BIG_ENDIAN
constexpr std::uint32_t MultiSz = 7;         // REG_MULTI_SZ: texts each ended by a zero, then a zero
constexpr std::uint32_t QWord = 11;          // REG_QWORD
}  // namespace RegType

// A value: its type and its bytes as stored.
struct RegValue {
    std::uint32_t type = RegType::None;
    std::string data;

    static RegValue string(const std::string& text, std::uint32_t type = RegType::Sz);
    static RegValue dword(std::uint32_t value);
    static RegValue binary(std::string bytes);
    static RegValue multiString(const std::vector<std::string>& texts);

    // The bytes without one terminating zero.
    std::string text() const;
    // A DWORD's number; none when the data is not 4 bytes.
    std::optional<std::uint32_t> dwordValue() const;

    bool operator==(const RegValue&) const = default;
};

enum class RegError {
    None,
    KeyNotFound,    // the key (or a key on its path) does not exist, or the path is malformed
    ValueNotFound,  // the key exists, the value does not
    AccessDenied,   // no right to change it, a view of the system, or a key that still has sub-keys
    StoreFailed,    // the store could not be read or written
};

struct RegStatus {
    RegError error = RegError::None;
    bool ok() const { return error == RegError::None; }
};

template <class T>
struct RegResult {
    RegError error = RegError::None;
    T value{};
    bool ok() const { return error == RegError::None; }
    static RegResult failed(RegError e) { return {e, T{}}; }
};

// The seam. The public calls check the path and map HKEY_CLASSES_ROOT;
// backends implement the protected ones on LocalMachine or CurrentUser and
// a path split into key names (empty: the root itself).
class Registry {
public:
    using Path = std::vector<std::string>;

    virtual ~Registry() = default;

    // The key can be opened for reading.
    RegStatus keyExists(RegRoot root, const std::string& key);
    RegResult<RegValue> readValue(RegRoot root, const std::string& key, const std::string& name);
    // Sub-key names in the store's order.
    RegResult<std::vector<std::string>> subKeys(RegRoot root, const std::string& key);
    // Value names in the order they were first written.
    RegResult<std::vector<std::string>> valueNames(RegRoot root, const std::string& key);
    // Creates the key and the keys on its path; an existing key is fine.
    RegStatus createKey(RegRoot root, const std::string& key);
    // Deletes a key that has no sub-keys.
    RegStatus deleteKey(RegRoot root, const std::string& key);
    // Writes the value, creating the key when missing.
    RegStatus setValue(RegRoot root, const std::string& key, const std::string& name, const RegValue& value);
    RegStatus deleteValue(RegRoot root, const std::string& key, const std::string& name);

    // "A\B\C" as {"A", "B", "C"}; leading and trailing backslashes are
    // dropped; an empty name inside, or a line break, makes it malformed.
    static std::optional<Path> splitPath(const std::string& key);
    static std::string joinPath(const Path& path);
    // Name comparison and order of keys and values: ASCII letters fold to
    // lower case, every other byte is itself, whatever the locale.
    static bool sameName(const std::string& a, const std::string& b);
    static bool nameLess(const std::string& a, const std::string& b);

protected:
    virtual RegStatus doKeyExists(RegRoot root, const Path& key) = 0;
    virtual RegResult<RegValue> doReadValue(RegRoot root, const Path& key, const std::string& name) = 0;
    virtual RegResult<std::vector<std::string>> doSubKeys(RegRoot root, const Path& key) = 0;
    virtual RegResult<std::vector<std::string>> doValueNames(RegRoot root, const Path& key) = 0;
    virtual RegStatus doCreateKey(RegRoot root, const Path& key) = 0;
    virtual RegStatus doDeleteKey(RegRoot root, const Path& key) = 0;
    virtual RegStatus doSetValue(RegRoot root, const Path& key, const std::string& name, const RegValue& value) = 0;
    virtual RegStatus doDeleteValue(RegRoot root, const Path& key, const std::string& name) = 0;
};

// The network address of a print queue's device URI when it is a TCP/IP
// port ("socket" or "lpd"): the host, percent-decoded, without user
// information, port, path or IPv6 brackets; a host name as written. None
// for other schemes and for a URI without a host. No name is looked up.
std::optional<std::string> tcpPortAddress(const std::string& deviceUri);

}  // namespace platform
