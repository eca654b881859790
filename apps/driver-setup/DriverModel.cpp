#include "DriverModel.h"

#include <fstream>
#include <map>
#include <set>

namespace driversetup {

namespace {

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// The MDL (MODEL) field of an IEEE 1284 device ID.
std::string modelField(const std::string& deviceId) {
    std::size_t start = 0;
    while (start < deviceId.size()) {
        std::size_t end = deviceId.find(';', start);
        if (end == std::string::npos) end = deviceId.size();
        const std::string field = deviceId.substr(start, end - start);
        for (const char* key : {"MDL:", "MODEL:"})
            if (field.starts_with(key)) return field.substr(std::string(key).size());
        start = end + 1;
    }
    return {};
}

}  // namespace

bool isFamilyDevice(const platform::LocalDevice& device) {
    return platform::isLocalDeviceUri(device.uri) &&
           (contains(device.makeAndModel, "7391") || contains(device.deviceId, "7391"));
}

Model modelOf(const platform::LocalDevice& device) {
    const std::string text = device.makeAndModel + " " + modelField(device.deviceId);
    Model m;
    m.model = "7391-Q25";
    // Widest media and print resolution, as the model number gives them.
    std::string widthMarker;
    for (auto [marker, width] : {std::pair{"004", 4}, std::pair{"006", 6}, std::pair{"008", 8}})
        if (contains(text, marker)) {
            m.widthInches = width;
            widthMarker = marker;
        }
    if (!widthMarker.empty()) m.model += "-" + widthMarker;
    for (const char* marker : {"300", "305"})
        if (contains(text, marker)) {
            m.dpi = 300;
            m.model += std::string("-") + marker;
            break;
        }
    m.nickName = "Tessivarn " + m.model;
    m.queueName = "Tessivarn-" + m.model;
    return m;
}

std::string ppdText(const Model& m) {
    const std::string res = std::to_string(m.dpi) + "dpi";
    const int width = m.widthInches * 72;
    const std::string size = "w" + std::to_string(width) + "h432";
    const std::string dims = std::to_string(width) + " 432";
    std::string t;
    auto line = [&](const std::string& s) { t += s + "\n"; };
    line("*PPD-Adobe: \"4.3\"");
    line("*FormatVersion: \"4.3\"");
    line("*FileVersion: \"1.0\"");
    line("*LanguageVersion: English");
    line("*LanguageEncoding: ISOLatin1");
    line("*PCFileName: \"T7391Q25.PPD\"");
    line("*Manufacturer: \"Tessivarn\"");
    line("*Product: \"(" + m.model + ")\"");
    line("*ModelName: \"" + m.nickName + "\"");
    line("*ShortNickName: \"" + m.nickName + "\"");
    line("*NickName: \"" + m.nickName + "\"");
    line("*PSVersion: \"(3010.000) 0\"");
    line("*LanguageLevel: \"3\"");
    line("*ColorDevice: False");
    line("*DefaultColorSpace: Gray");
    line("*FileSystem: False");
    line("*Throughput: \"1\"");
    line("*LandscapeOrientation: Plus90");
    line("*TTRasterizer: Type42");
    // The printer takes its own command language: raw jobs only.
    line("*cupsFilter: \"application/vnd.cups-raw 0 -\"");
    line("*cupsManualCopies: True");
    line("*DefaultResolution: " + res);
    line("*OpenUI *PageSize/Media Size: PickOne");
    line("*OrderDependency: 10 AnySetup *PageSize");
    line("*DefaultPageSize: " + size);
    line("*PageSize " + size + "/Label: \"<</PageSize[" + dims + "]>>setpagedevice\"");
    line("*CloseUI: *PageSize");
    line("*OpenUI *PageRegion/Media Size: PickOne");
    line("*OrderDependency: 10 AnySetup *PageRegion");
    line("*DefaultPageRegion: " + size);
    line("*PageRegion " + size + "/Label: \"<</PageSize[" + dims + "]>>setpagedevice\"");
    line("*CloseUI: *PageRegion");
    line("*DefaultImageableArea: " + size);
    line("*ImageableArea " + size + "/Label: \"0 0 " + dims + "\"");
    line("*DefaultPaperDimension: " + size);
    line("*PaperDimension " + size + "/Label: \"" + dims + "\"");
    return t;
}

std::vector<std::string> install(platform::Spooler& spooler, const std::string& ppdFolder, std::uint32_t& failure) {
    failure = platform::SpoolError::None;
    std::vector<std::string> added;
    platform::DeviceList list = spooler.localDevices();
    if (!list.ok()) {
        failure = list.result.error;
        return added;
    }
    // The queues there are: their names, and the devices that have our driver already.
    std::set<std::string> names;
    std::set<std::string> served;
    for (const auto& name : spooler.queues().names) {
        names.insert(name);
        std::uint32_t error = 0;
        platform::QueueHandle h = spooler.open(name, platform::Access::Use, error);
        if (!h) continue;
        platform::PrinterRecord r;
        if (spooler.readPrinter(h, r).ok() && r.port && r.driver && contains(*r.driver, "7391")) served.insert(*r.port);
        spooler.close(h);
    }
    for (const auto& device : list.devices) {
        if (!isFamilyDevice(device) || served.count(device.uri)) continue;
        const Model model = modelOf(device);
        std::string name = model.queueName;
        for (int n = 2; names.count(name); ++n) name = model.queueName + "-" + std::to_string(n);
        const std::string ppd = ppdFolder + "/" + name + ".ppd";
        {
            std::ofstream out(ppd, std::ios::binary | std::ios::trunc);
            out << ppdText(model);
        }
        platform::QueueSpec spec;
        spec.name = name;
        spec.deviceUri = device.uri;
        spec.ppdFile = ppd;
        spec.info = model.nickName;
        platform::SpoolResult r = spooler.addQueue(spec);
        std::remove(ppd.c_str());
        if (!r.ok()) {
            failure = r.error;
            return added;
        }
        names.insert(name);
        served.insert(device.uri);
        added.push_back(name);
    }
    return added;
}

}  // namespace driversetup
