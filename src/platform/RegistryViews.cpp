#include "platform/RegistryViews.h"

#include <algorithm>

#include "platform/Spooler.h"

namespace platform {

const char* const RegistryViews::PortsKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports";
const char* const RegistryViews::SharedToolsLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

namespace {

const char* const AddressValue = "IPAddress";
const char* const SysInfoValue = "MSINFO";

bool startsWith(const Registry::Path& key, const Registry::Path& prefix) {
    if (key.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (!Registry::sameName(key[i], prefix[i])) return false;
    return true;
}

}  // namespace

RegistryViews::RegistryViews(Registry& store, Spooler& spooler, std::string programFolder)
    : store_(store), spooler_(spooler), folder_(std::move(programFolder)) {
    views_.push_back({*splitPath(PortsKey), View::Kind::Ports});
    views_.push_back({*splitPath(SharedToolsLocationKey), View::Kind::SharedTools});
}

RegistryViews::Place RegistryViews::locate(RegRoot root, const Path& key, const View*& view, Path& rest) const {
    if (root != RegRoot::LocalMachine) return Place::Stored;
    bool ancestor = false;
    for (const auto& v : views_) {
        if (startsWith(key, v.top)) {
            view = &v;
            rest.assign(key.begin() + static_cast<std::ptrdiff_t>(v.top.size()), key.end());
            return Place::Inside;
        }
        if (startsWith(v.top, key)) ancestor = true;
    }
    return ancestor ? Place::Ancestor : Place::Stored;
}

std::vector<std::pair<std::string, std::string>> RegistryViews::tcpPorts() {
    std::vector<std::pair<std::string, std::string>> ports;
    for (const auto& queue : spooler_.queues().names) {
        std::uint32_t error = 0;
        QueueHandle h = spooler_.open(queue, Access::Use, error);
        if (!h) continue;
        PrinterRecord record;
        const bool read = spooler_.readPrinter(h, record).ok();
        spooler_.close(h);
        if (!read || !record.port) continue;
        const std::string& port = *record.port;
        // A key name cannot hold a backslash.
        if (port.find('\\') != std::string::npos) continue;
        auto address = tcpPortAddress(port);
        if (!address) continue;
        if (std::any_of(ports.begin(), ports.end(), [&](const auto& p) { return sameName(p.first, port); })) continue;
        ports.emplace_back(port, *address);
    }
    return ports;
}

bool RegistryViews::viewValues(const View& view, const Path& rest,
                               std::vector<std::pair<std::string, RegValue>>& values) {
    values.clear();
    if (view.kind == View::Kind::SharedTools) {
        if (!rest.empty()) return false;
        values.emplace_back(SysInfoValue, RegValue::string(folder_));
        return true;
    }
    if (rest.empty()) return true;
    if (rest.size() > 1) return false;
    for (const auto& [port, address] : tcpPorts())
        if (sameName(port, rest[0])) {
            values.emplace_back(AddressValue, RegValue::string(address));
            return true;
        }
    return false;
}

RegStatus RegistryViews::doKeyExists(RegRoot root, const Path& key) {
    const View* view = nullptr;
    Path rest;
    std::vector<std::pair<std::string, RegValue>> values;
    switch (locate(root, key, view, rest)) {
        case Place::Stored:
            return store_.keyExists(root, joinPath(key));
        case Place::Ancestor:
            return {};
        case Place::Inside:
            return {viewValues(*view, rest, values) ? RegError::None : RegError::KeyNotFound};
    }
    return {RegError::KeyNotFound};
}

RegResult<RegValue> RegistryViews::doReadValue(RegRoot root, const Path& key, const std::string& name) {
    const View* view = nullptr;
    Path rest;
    switch (locate(root, key, view, rest)) {
        case Place::Stored:
            return store_.readValue(root, joinPath(key), name);
        case Place::Ancestor: {
            auto r = store_.readValue(root, joinPath(key), name);
            if (r.error == RegError::KeyNotFound) r.error = RegError::ValueNotFound;
            return r;
        }
        case Place::Inside: {
            std::vector<std::pair<std::string, RegValue>> values;
            if (!viewValues(*view, rest, values)) return RegResult<RegValue>::failed(RegError::KeyNotFound);
            for (const auto& [n, v] : values)
                if (sameName(n, name)) return {RegError::None, v};
            return RegResult<RegValue>::failed(RegError::ValueNotFound);
        }
    }
    return RegResult<RegValue>::failed(RegError::KeyNotFound);
}

RegResult<std::vector<std::string>> RegistryViews::doSubKeys(RegRoot root, const Path& key) {
    using Names = RegResult<std::vector<std::string>>;
    const View* view = nullptr;
    Path rest;
    switch (locate(root, key, view, rest)) {
        case Place::Stored:
            return store_.subKeys(root, joinPath(key));
        case Place::Ancestor: {
            auto r = store_.subKeys(root, joinPath(key));
            if (r.error == RegError::KeyNotFound) r = Names{};
            if (!r.ok()) return r;
            for (const auto& v : views_) {
                if (!startsWith(v.top, key) || v.top.size() == key.size()) continue;
                const std::string& next = v.top[key.size()];
                if (std::none_of(r.value.begin(), r.value.end(), [&](const auto& n) { return sameName(n, next); }))
                    r.value.push_back(next);
            }
            std::stable_sort(r.value.begin(), r.value.end(), Registry::nameLess);
            return r;
        }
        case Place::Inside: {
            std::vector<std::pair<std::string, RegValue>> values;
            if (!viewValues(*view, rest, values)) return Names::failed(RegError::KeyNotFound);
            Names r;
            if (view->kind == View::Kind::Ports && rest.empty())
                for (const auto& p : tcpPorts()) r.value.push_back(p.first);
            return r;
        }
    }
    return Names::failed(RegError::KeyNotFound);
}

RegResult<std::vector<std::string>> RegistryViews::doValueNames(RegRoot root, const Path& key) {
    using Names = RegResult<std::vector<std::string>>;
    const View* view = nullptr;
    Path rest;
    switch (locate(root, key, view, rest)) {
        case Place::Stored:
            return store_.valueNames(root, joinPath(key));
        case Place::Ancestor: {
            auto r = store_.valueNames(root, joinPath(key));
            return r.error == RegError::KeyNotFound ? Names{} : r;
        }
        case Place::Inside: {
            std::vector<std::pair<std::string, RegValue>> values;
            if (!viewValues(*view, rest, values)) return Names::failed(RegError::KeyNotFound);
            Names r;
            for (const auto& v : values) r.value.push_back(v.first);
            return r;
        }
    }
    return Names::failed(RegError::KeyNotFound);
}

RegStatus RegistryViews::doCreateKey(RegRoot root, const Path& key) {
    const View* view = nullptr;
    Path rest;
    switch (locate(root, key, view, rest)) {
        case Place::Stored:
            return store_.createKey(root, joinPath(key));
        case Place::Ancestor:
            return {};
        case Place::Inside:
            return {RegError::AccessDenied};
    }
    return {RegError::AccessDenied};
}

RegStatus RegistryViews::doDeleteKey(RegRoot root, const Path& key) {
    const View* view = nullptr;
    Path rest;
    if (locate(root, key, view, rest) != Place::Stored) return {RegError::AccessDenied};
    return store_.deleteKey(root, joinPath(key));
}

RegStatus RegistryViews::doSetValue(RegRoot root, const Path& key, const std::string& name, const RegValue& value) {
    const View* view = nullptr;
    Path rest;
    if (locate(root, key, view, rest) == Place::Inside) return {RegError::AccessDenied};
    return store_.setValue(root, joinPath(key), name, value);
}

RegStatus RegistryViews::doDeleteValue(RegRoot root, const Path& key, const std::string& name) {
    const View* view = nullptr;
    Path rest;
    const Place place = locate(root, key, view, rest);
    if (place == Place::Inside) return {RegError::AccessDenied};
    auto r = store_.deleteValue(root, joinPath(key), name);
    if (place == Place::Ancestor && r.error == RegError::KeyNotFound) r.error = RegError::ValueNotFound;
    return r;
}

}  // namespace platform
