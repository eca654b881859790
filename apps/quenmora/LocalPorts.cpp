#include "LocalPorts.h"

#include <cups/cups.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace fs = std::filesystem;

namespace quenmora {

namespace {

// N when `name` is `prefix` followed by digits only.
std::optional<unsigned> numbered(const std::string& name, const std::string& prefix) {
    if (!name.starts_with(prefix) || name.size() == prefix.size() || name.size() - prefix.size() > 6)
        return std::nullopt;
    unsigned n = 0;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return std::nullopt;
        n = n * 10 + static_cast<unsigned>(name[i] - '0');
    }
    return n;
}

// The numbers of the entries of `folder` named prefix + N, in order.
std::vector<unsigned> entries(const fs::path& folder, const std::string& prefix) {
    std::vector<unsigned> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec))
        if (auto n = numbered(e.path().filename().string(), prefix)) out.push_back(*n);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

std::string readSmallFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    char buffer[4096];
    in.read(buffer, sizeof buffer);
    text.assign(buffer, static_cast<std::size_t>(in.gcount()));
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    return text;
}

bool present(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

std::string trim(std::string s) {
    auto first = s.find_first_not_of(' ');
    auto last = s.find_last_not_of(' ');
    return first == std::string::npos ? std::string{} : s.substr(first, last - first + 1);
}

// KEY:value; fields of an IEEE 1284 device ID, keys in upper case.
std::map<std::string, std::string> idFields(const std::string& deviceId) {
    std::map<std::string, std::string> fields;
    std::istringstream in(deviceId);
    std::string field;
    while (std::getline(in, field, ';')) {
        auto colon = field.find(':');
        if (colon == std::string::npos) continue;
        std::string key = trim(field.substr(0, colon));
        for (auto& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        fields[key] = trim(field.substr(colon + 1));
    }
    return fields;
}

std::string field(const std::map<std::string, std::string>& f, const char* shortKey, const char* longKey) {
    if (auto it = f.find(shortKey); it != f.end() && !it->second.empty()) return it->second;
    if (auto it = f.find(longKey); it != f.end()) return it->second;
    return {};
}

}  // namespace

std::vector<Port> parallelPorts(const std::string& root) {
    const fs::path dev = fs::path(root + "/dev");
    std::vector<unsigned> numbers = entries(dev, "lp");
    for (unsigned n : entries(dev, "parport")) numbers.push_back(n);
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    std::vector<Port> ports;
    for (unsigned n : numbers) {
        const std::string lp = "/dev/lp" + std::to_string(n);
        const std::string node = present(root + lp) ? lp : "/dev/parport" + std::to_string(n);
        ports.push_back({"LPT" + std::to_string(n + 1) + ":", "parallel:" + node});
    }
    return ports;
}

std::vector<Port> serialPorts(const std::string& root) {
    const fs::path tty = fs::path(root + "/sys/class/tty");
    std::vector<Port> ports;
    unsigned next = 1;
    for (unsigned n : entries(tty, "ttyS")) {
        const fs::path entry = tty / ("ttyS" + std::to_string(n));
        if (!present(entry / "device")) continue;
        // A UART slot with no chip behind it has port type 0.
        if (present(entry / "type") && readSmallFile(entry / "type") == "0") continue;
        ports.push_back({"COM" + std::to_string(n + 1) + ":", "serial:/dev/ttyS" + std::to_string(n) + "?baud=9600"});
        next = std::max(next, n + 2);
    }
    for (const char* kind : {"ttyUSB", "ttyACM"})
        for (unsigned n : entries(tty, kind)) {
            const std::string name = kind + std::to_string(n);
            if (!present(tty / name / "device")) continue;
            ports.push_back({"COM" + std::to_string(next++) + ":", "serial:/dev/" + name + "?baud=9600"});
        }
    return ports;
}

namespace {
std::string usbName(std::size_t index) {
    char text[16];
    std::snprintf(text, sizeof text, "USB%03zu", index);
    return text;
}
}  // namespace

std::vector<Port> usbPortsFrom(const std::vector<platform::LocalDevice>& devices) {
    std::vector<Port> ports;
    for (const auto& d : devices)
        if (d.uri.starts_with("usb:")) ports.push_back({usbName(ports.size() + 1), d.uri});
    return ports;
}

std::string usbUriFromDeviceId(const std::string& deviceId) {
    const auto fields = idFields(deviceId);
    const std::string make = field(fields, "MFG", "MANUFACTURER");
    const std::string model = field(fields, "MDL", "MODEL");
    const std::string serial = field(fields, "SN", "SERIALNUMBER");
    if (make.empty() || model.empty()) return {};
    char uri[HTTP_MAX_URI];
    if (serial.empty())
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "usb", nullptr, make.c_str(), 0, "/%s", model.c_str());
    else
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "usb", nullptr, make.c_str(), 0, "/%s?serial=%s",
                         model.c_str(), serial.c_str());
    return uri;
}

std::vector<Port> usbPortsFromNodes(const std::string& root) {
    std::vector<Port> ports;
    for (unsigned n : entries(fs::path(root + "/dev/usb"), "lp")) {
        const fs::path id =
            fs::path(root + "/sys/class/usbmisc") / ("lp" + std::to_string(n)) / "device" / "ieee1284_id";
        const std::string uri = usbUriFromDeviceId(readSmallFile(id));
        if (!uri.empty()) ports.push_back({usbName(ports.size() + 1), uri});
    }
    return ports;
}

std::string portsText(const std::vector<Port>& ports) {
    std::string text;
    for (const auto& p : ports) text += p.name + "\r\n";
    return text + "FILE:\r\n";
}

std::string portsMap(const std::vector<Port>& ports) {
    std::string text;
    for (const auto& p : ports) text += p.name + "\t" + p.deviceUri + "\r\n";
    return text;
}

}  // namespace quenmora
