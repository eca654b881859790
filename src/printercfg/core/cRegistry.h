#pragma once
// A general registry wrapper: a root key, a key path and a value name as
// properties; reading and writing the value by its type; key and value
// creation, deletion and enumeration; file-type associations. Errors are
// raised as RegistryError with the wrapper's numbers and texts.

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace platform {
class Registry;
}

namespace printercfg {

// A registry value as the wrapper hands it around: nothing, text, a 32-bit
// or 16-bit integer, or bytes.
using RegVariant = std::variant<std::monostate, std::string, std::int32_t, std::int16_t, std::vector<std::uint8_t>>;

// The value as text: text as it is, integers in decimal, bytes as characters.
std::string VariantText(const RegVariant& v);

struct RegistryError : std::runtime_error {
    RegistryError(std::int32_t errorNumber, std::string errorSource, const std::string& description)
        : std::runtime_error(description), number(errorNumber), source(std::move(errorSource)) {}
    std::int32_t number;
    std::string source;  // the program's file name and ".cRegistry"
};

class cRegistry {
public:
    // Root key handle values.
    static constexpr std::int32_t ClassesRoot = static_cast<std::int32_t>(0x80000000u);
    static constexpr std::int32_t CurrentUser = static_cast<std::int32_t>(0x80000001u);
    static constexpr std::int32_t LocalMachine = static_cast<std::int32_t>(0x80000002u);

    // Error numbers.
    static constexpr std::int32_t ErrRegistry = 26001;
    static constexpr std::int32_t ErrEnumeration = static_cast<std::int32_t>(0x800469AAu);
    static constexpr std::int32_t ErrParameterList = static_cast<std::int32_t>(0x800469ACu);
    static constexpr std::int32_t ErrClassNotDefined = static_cast<std::int32_t>(0x800469ADu);

    // Looks up an environment variable; none when it is not set.
    using Environment = std::function<std::optional<std::string>(const std::string&)>;

    // `program`: the program's file name, the source of the errors.
    cRegistry(platform::Registry& registry, std::string program, Environment environment = {});

    std::string Machine() const { return machine_; }
    void Machine(const std::string& sMachine);

    // True when SectionKey opens under ClassKey for reading.
    bool KeyExists() const;
    bool CreateKey();
    bool DeleteKey();
    bool DeleteValue();

    // Reads ValueKey; a failed open or read gives Default. ValueType takes
    // the stored type. Text is the stored text without its terminating zero
    // (a multi-string keeps its inner zeros); REG_EXPAND_SZ is expanded.
    RegVariant Value();
    // Writes ValueKey by ValueType, creating SectionKey when missing.
    void Value(const RegVariant& vValue);

    // The value names (or sub-key names) of SectionKey, in the store's order.
    bool EnumerateValues(std::vector<std::string>& sKeyNames, int& iKeyCount);
    bool EnumerateSections(std::vector<std::string>& sSect, int& iSectCount);

    void CreateEXEAssociation(const std::string& sExePath, const std::string& sClassName,
                              const std::string& sClassDescription, const std::string& sAssociation,
                              const std::string& sOpenMenuText = {}, bool bSupportPrint = false,
                              const std::string& sPrintMenuText = {}, bool bSupportNew = false,
                              const std::string& sNewMenuText = {}, bool bSupportInstall = false,
                              const std::string& sInstallMenuText = {}, std::int32_t lDefaultIconIndex = -1);
    // Name, Text and Command triples: verb key, its menu text and its command.
    void CreateAdditionalEXEAssociations(const std::string& sClassName, const std::vector<std::string>& vItems);

    std::int32_t ValueType() const { return valueType_; }
    void ValueType(std::int32_t eValueType) { valueType_ = eValueType; }
    std::int32_t ClassKey() const { return classKey_; }
    void ClassKey(std::int32_t eKey) { classKey_ = eKey; }
    const std::string& SectionKey() const { return sectionKey_; }
    void SectionKey(const std::string& sSectionKey) { sectionKey_ = sSectionKey; }
    const std::string& ValueKey() const { return valueKey_; }
    void ValueKey(const std::string& sValueKey) { valueKey_ = sValueKey; }
    const RegVariant& Default() const { return default_; }
    void Default(const RegVariant& vDefault) { default_ = vDefault; }

    RegVariant ValueEx(std::int32_t eClassKey, const std::string& sSectionKey, const std::string& sValueKey,
                       std::int32_t eValueType, const RegVariant& vDefault);
    // Writes Default in place of an empty text of type REG_SZ.
    void ValueEx(std::int32_t eClassKey, const std::string& sSectionKey, const std::string& sValueKey,
                 std::int32_t eValueType, const RegVariant& vDefault, const RegVariant& vNewValue);

private:
    void SetClassesValue(const std::string& text);
    static std::int32_t SwapDwordBytes(std::int32_t value);
    std::string ExpandEnvString(const std::string& text) const;

    [[noreturn]] void raise(std::int32_t number, const std::string& description) const;
    // The root of ClassKey on the local registry; none for an unknown handle or a remote machine.
    bool root(std::uint32_t& handle) const;
    std::string keyText() const;

    platform::Registry& registry_;
    std::string program_;
    Environment environment_;

    std::int32_t classKey_ = 0;
    std::string sectionKey_;
    std::string valueKey_;
    RegVariant lastValue_;
    RegVariant default_;
    std::int32_t valueType_ = 0;
    std::string machine_;
};

}  // namespace printercfg
