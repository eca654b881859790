#include "printercfg/core/cRegistry.h"

#include <cstdlib>

#include "platform/Registry.h"

namespace printercfg {

namespace {

std::optional<std::string> systemEnvironment(const std::string& name) {
    const char* v = std::getenv(name.c_str());
    if (!v) return std::nullopt;
    return std::string(v);
}

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::int32_t littleEndian(const std::string& data) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4 && i < data.size(); ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
    return static_cast<std::int32_t>(v);
}

// A "%" with a second "%" two or more characters after it: a text to expand.
bool holdsReference(const std::string& text) {
    const auto first = text.find('%');
    return first != std::string::npos && text.find('%', first + 2) != std::string::npos;
}

}  // namespace

std::string VariantText(const RegVariant& v) {
    struct {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(std::int32_t n) const { return std::to_string(n); }
        std::string operator()(std::int16_t n) const { return std::to_string(n); }
        std::string operator()(const std::vector<std::uint8_t>& b) const { return std::string(b.begin(), b.end()); }
    } text;
    return std::visit(text, v);
}

cRegistry::cRegistry(platform::Registry& registry, std::string program, Environment environment)
    : registry_(registry),
      program_(std::move(program)),
      environment_(environment ? std::move(environment) : Environment(systemEnvironment)) {}

void cRegistry::raise(std::int32_t number, const std::string& description) const {
    throw RegistryError(number, program_ + ".cRegistry", description);
}

bool cRegistry::root(std::uint32_t& handle) const {
    // No remote registry can be reached from here.
    if (!machine_.empty()) return false;
    handle = static_cast<std::uint32_t>(classKey_);
    return platform::rootFromHandle(handle).has_value();
}

std::string cRegistry::keyText() const { return std::to_string(classKey_) + "',Section: '" + sectionKey_; }

void cRegistry::Machine(const std::string& sMachine) {
    if (sMachine.size() <= 2)
        machine_.clear();
    else
        machine_ = sMachine.rfind("\\\\", 0) == 0 ? sMachine : "\\\\" + sMachine;
}

bool cRegistry::KeyExists() const {
    std::uint32_t h = 0;
    return root(h) && registry_.keyExists(*platform::rootFromHandle(h), sectionKey_).ok();
}

bool cRegistry::CreateKey() {
    std::uint32_t h = 0;
    if (!root(h) || !registry_.createKey(*platform::rootFromHandle(h), sectionKey_).ok())
        raise(ErrRegistry, "Failed to create registry Key: '" + sectionKey_);
    return true;
}

bool cRegistry::DeleteKey() {
    std::uint32_t h = 0;
    if (!root(h) || !registry_.deleteKey(*platform::rootFromHandle(h), sectionKey_).ok())
        raise(ErrRegistry, "Failed to delete registry Key: '" + keyText());
    return true;
}

bool cRegistry::DeleteValue() {
    std::uint32_t h = 0;
    if (!root(h) || !registry_.keyExists(*platform::rootFromHandle(h), sectionKey_).ok())
        raise(ErrRegistry, "Failed to open key '" + keyText() + "' for delete access");
    if (!registry_.deleteValue(*platform::rootFromHandle(h), sectionKey_, valueKey_).ok())
        raise(ErrRegistry, "Failed to delete registry Key: '" + keyText() + "',Key: '" + valueKey_);
    return true;
}

RegVariant cRegistry::Value() {
    std::uint32_t h = 0;
    if (!root(h)) return default_;
    auto r = registry_.readValue(*platform::rootFromHandle(h), sectionKey_, valueKey_);
    if (!r.ok()) return default_;
    valueType_ = static_cast<std::int32_t>(r.value.type);
    switch (r.value.type) {
        case platform::RegType::Sz:
        case platform::RegType::MultiSz:
            return r.value.text();
        case platform::RegType::ExpandSz:
            return ExpandEnvString(r.value.text());
        case platform::RegType::DWord:
            return littleEndian(r.value.data);
        case platform::RegType::DWordBigEndian:
            return SwapDwordBytes(littleEndian(r.value.data));
        default:
            return std::vector<std::uint8_t>(r.value.data.begin(), r.value.data.end());
    }
}

void cRegistry::Value(const RegVariant& vValue) {
    const std::string failed = "Failed to set registry value Key: '" + keyText() + "',Key: '" + valueKey_ +
                               "' to value: '" + VariantText(lastValue_) + "'";
    platform::RegValue value;
    switch (valueType_) {
        case platform::RegType::Sz:
        case platform::RegType::ExpandSz: {
            const std::string text = VariantText(vValue);
            value = platform::RegValue::string(
                text, holdsReference(text) ? platform::RegType::ExpandSz : platform::RegType::Sz);
            break;
        }
        case platform::RegType::Binary:
        case platform::RegType::QWord: {
            const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&vValue);
            if (!bytes) raise(ErrRegistry, failed);
            value = platform::RegValue::binary(std::string(bytes->begin(), bytes->end()));
            if (valueType_ == platform::RegType::QWord) value.type = platform::RegType::None;
            break;
        }
        case platform::RegType::DWord:
        case platform::RegType::DWordBigEndian:
            if (const auto* n = std::get_if<std::int32_t>(&vValue))
                value = platform::RegValue::dword(static_cast<std::uint32_t>(*n));
            else if (const auto* s = std::get_if<std::int16_t>(&vValue))
                value = platform::RegValue::dword(static_cast<std::uint32_t>(static_cast<std::int32_t>(*s)));
            else
                raise(ErrRegistry, failed);
            break;
        default:
            raise(ErrRegistry, failed);
    }
    std::uint32_t h = 0;
    if (!root(h)) raise(ErrRegistry, failed);
    const platform::RegRoot r = *platform::rootFromHandle(h);
    if (!registry_.createKey(r, sectionKey_).ok() || !registry_.setValue(r, sectionKey_, valueKey_, value).ok())
        raise(ErrRegistry, failed);
    lastValue_ = vValue;
}

bool cRegistry::EnumerateValues(std::vector<std::string>& sKeyNames, int& iKeyCount) {
    sKeyNames.clear();
    iKeyCount = 0;
    std::uint32_t h = 0;
    if (!root(h)) return true;
    auto r = registry_.valueNames(*platform::rootFromHandle(h), sectionKey_);
    if (r.ok()) sKeyNames = std::move(r.value);
    iKeyCount = static_cast<int>(sKeyNames.size());
    return true;
}

bool cRegistry::EnumerateSections(std::vector<std::string>& sSect, int& iSectCount) {
    sSect.clear();
    iSectCount = 0;
    std::uint32_t h = 0;
    if (!root(h)) return true;
    auto r = registry_.subKeys(*platform::rootFromHandle(h), sectionKey_);
    if (r.error == platform::RegError::StoreFailed) raise(ErrEnumeration, "The registry could not be read.");
    if (r.ok())
        for (auto& name : r.value) sSect.push_back(name.substr(0, name.find('\0')));
    iSectCount = static_cast<int>(sSect.size());
    return true;
}

void cRegistry::SetClassesValue(const std::string& text) {
    const std::string section = sectionKey_;
    struct Restore {
        cRegistry& reg;
        const std::string& section;
        ~Restore() { reg.sectionKey_ = section; }
    } restore{*this, section};
    classKey_ = ClassesRoot;
    Value(text);
    classKey_ = LocalMachine;
    sectionKey_ = "SOFTWARE\\Classes\\" + section;
    Value(text);
}

void cRegistry::CreateEXEAssociation(const std::string& sExePath, const std::string& sClassName,
                                     const std::string& sClassDescription, const std::string& sAssociation,
                                     const std::string& sOpenMenuText, bool bSupportPrint,
                                     const std::string& sPrintMenuText, bool bSupportNew,
                                     const std::string& sNewMenuText, bool bSupportInstall,
                                     const std::string& sInstallMenuText, std::int32_t lDefaultIconIndex) {
    std::string path = trim(sExePath);
    if (path.empty() || path.front() != '"') path.insert(path.begin(), '"');
    if (path.size() < 2 || path.back() != '"') path += '"';
    valueKey_.clear();
    valueType_ = platform::RegType::Sz;
    sectionKey_ = "." + sAssociation;
    SetClassesValue(sClassName);
    sectionKey_ = sClassName;
    SetClassesValue(sClassDescription);
    auto verb = [&](const std::string& name, const std::string& text, const std::string& suffix) {
        sectionKey_ = sClassName + "\\shell\\" + name;
        SetClassesValue(text);
        sectionKey_ += "\\command";
        SetClassesValue(path + suffix + "\"%1\"");
    };
    verb("open", sOpenMenuText.empty() ? "&Open" : sOpenMenuText, " ");
    if (bSupportPrint) verb("print", sPrintMenuText.empty() ? "&Print" : sPrintMenuText, " /p ");
    if (bSupportInstall) verb("add", sInstallMenuText.empty() ? "&Install " + sAssociation : sInstallMenuText, " /a ");
    if (bSupportNew) verb("new", sNewMenuText.empty() ? "&New" : sNewMenuText, " /n ");
    if (lDefaultIconIndex >= 0) {
        sectionKey_ = sClassName + "\\DefaultIcon";
        SetClassesValue(path + "," + std::to_string(lDefaultIconIndex));
    }
}

void cRegistry::CreateAdditionalEXEAssociations(const std::string& sClassName, const std::vector<std::string>& vItems) {
    if (vItems.size() % 3 != 0)
        raise(ErrParameterList,
              "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected Name/Text/Command");
    classKey_ = ClassesRoot;
    sectionKey_ = sClassName;
    if (!KeyExists())
        raise(ErrClassNotDefined, "Error - attempt to create additional associations before class defined.");
    valueKey_.clear();
    valueType_ = platform::RegType::Sz;
    for (std::size_t i = 0; i < vItems.size(); i += 3) {
        sectionKey_ = sClassName + "\\shell\\" + vItems[i];
        SetClassesValue(vItems[i + 1]);
        sectionKey_ += "\\command";
        SetClassesValue(vItems[i + 2]);
    }
}

RegVariant cRegistry::ValueEx(std::int32_t eClassKey, const std::string& sSectionKey, const std::string& sValueKey,
                              std::int32_t eValueType, const RegVariant& vDefault) {
    classKey_ = eClassKey;
    sectionKey_ = sSectionKey;
    valueKey_ = sValueKey;
    valueType_ = eValueType;
    default_ = vDefault;
    return Value();
}

void cRegistry::ValueEx(std::int32_t eClassKey, const std::string& sSectionKey, const std::string& sValueKey,
                        std::int32_t eValueType, const RegVariant& vDefault, const RegVariant& vNewValue) {
    classKey_ = eClassKey;
    sectionKey_ = sSectionKey;
    valueKey_ = sValueKey;
    valueType_ = eValueType;
    default_ = vDefault;
    const auto* text = std::get_if<std::string>(&vNewValue);
    if (eValueType == platform::RegType::Sz && text && text->empty())
        Value(default_);
    else
        Value(vNewValue);
}

std::int32_t cRegistry::SwapDwordBytes(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    return static_cast<std::int32_t>((v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24));
}

std::string cRegistry::ExpandEnvString(const std::string& text) const {
    // %NAME% of a variable that is set becomes its value; anything else stays.
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t open = text.find('%', i);
        if (open == std::string::npos) break;
        const std::size_t close = text.find('%', open + 1);
        if (close == std::string::npos) break;
        out.append(text, i, open - i);
        const std::string name = text.substr(open + 1, close - open - 1);
        const auto value = name.empty() ? std::nullopt : environment_(name);
        if (value) {
            out += *value;
            i = close + 1;
        } else {
            out.append(text, open, close - open);
            i = close;
        }
    }
    out.append(text, i, std::string::npos);
    return out;
}

}  // namespace printercfg
