// The registry wrapper: what the port address lookup reads, values by their
// stored type, and the errors with their numbers and texts.

#include <gtest/gtest.h>

#include "printercfg/core/RegEdit.h"
#include "printercfg/core/cRegistry.h"
#include "support/MarrowbyWorld.h"

using platform::RegRoot;
using platform::RegValue;
using printercfg::cRegistry;
using printercfg::RegVariant;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct RegistryWrapper : ::testing::Test {
    testsupport::MarrowbyWorld w;
    cRegistry reg{w.registry, "Marrowby", [](const std::string& name) -> std::optional<std::string> {
                      if (name == "TOOLS") return std::string("/opt/tessivarn tools");
                      return std::nullopt;
                  }};
    void store(const std::string& name, RegValue v) {
        ASSERT_TRUE(w.store.setValue(RegRoot::CurrentUser, "Software\\Tessivarn", name, v).ok());
    }
    RegVariant read(const std::string& name, std::int32_t type = 1, RegVariant fallback = {}) {
        return reg.ValueEx(cRegistry::CurrentUser, "Software\\Tessivarn", name, type, fallback);
    }
};

TEST_F(RegistryWrapper, PortAddressOfTheQueuesTcpIpPort) {
    w.spooler.addQueue("Label A", "Tessivarn 7391-Q25 006", "socket://127.1.1.1:9100");
    w.spooler.addQueue("Label B", "Tessivarn 7391-Q25 006", "lpd://127.7.0.3/queue");
    w.spooler.addQueue("Label C", "Tessivarn 7391-Q25 006", "usb://Tessivarn/7391");
    const std::pair<const char*, const char*> cases[] = {
        {"socket://127.1.1.1:9100", "127.1.1.1"},
        {"lpd://127.7.0.3/queue", "127.7.0.3"},
        {"usb://Tessivarn/7391", ""},
        {"LPT1:", ""},
        {"", ""},
    };
    for (const auto& [port, address] : cases) EXPECT_EQ(printercfg::GetPortIPAddress(w.m, port), address) << port;
}

TEST_F(RegistryWrapper, ValuesByTheirStoredType) {
    struct Case {
        const char* name;
        RegValue stored;
        RegVariant read;
    };
    const Case cases[] = {
        {"with zero", RegValue::string("127.1.1.1"), std::string("127.1.1.1")},
        {"without zero", RegValue{1, "127.1.1.1"}, std::string("127.1.1.1")},
        {"empty", RegValue{1, ""}, std::string("")},
        {"expand", RegValue::string("%TOOLS%\\bin;%NONE%;%%", 2), std::string("/opt/tessivarn tools\\bin;%NONE%;%%")},
        {"multi", RegValue::multiString({"a", "b"}), std::string("a\0b\0", 4)},
        {"dword", RegValue::dword(0xFFFFFFFEu), std::int32_t{-2}},
        {"big endian", RegValue{5, std::string("\x01\x02\x03\x04", 4)}, std::int32_t{0x01020304}},
        {"binary", RegValue::binary(std::string("\0\xff\x01", 3)), Bytes{0, 0xFF, 1}},
    };
    for (const auto& c : cases) {
        store(c.name, c.stored);
        EXPECT_EQ(read(c.name, 3), c.read) << c.name;
        EXPECT_EQ(reg.ValueType(), static_cast<std::int32_t>(c.stored.type)) << c.name;
    }
    // A failed read gives Default and leaves the type alone.
    EXPECT_EQ(read("missing", 4, std::string("fallback")), RegVariant(std::string("fallback")));
    EXPECT_EQ(reg.ValueType(), 4);
    reg.Machine("\\\\far");
    EXPECT_EQ(reg.Value(), RegVariant(std::string("fallback")));
}

TEST_F(RegistryWrapper, WritesByValueType) {
    const std::tuple<std::int32_t, RegVariant, RegValue> cases[] = {
        {1, std::string("plain"), RegValue::string("plain")},
        {1, std::string("%TOOLS%"), RegValue::string("%TOOLS%", 2)},
        {2, std::string("50%%"), RegValue::string("50%%")},
        {4, std::int16_t{-1}, RegValue::dword(0xFFFFFFFFu)},
        {5, std::int32_t{7}, RegValue::dword(7)},
        {3, Bytes{1, 2}, RegValue::binary("\x01\x02")},
        {11, Bytes{1}, RegValue{0, "\x01"}},
    };
    for (const auto& [type, value, stored] : cases) {
        reg.ValueEx(cRegistry::CurrentUser, "Software\\New", "v", type, {}, value);
        EXPECT_EQ(w.store.readValue(RegRoot::CurrentUser, "Software\\New", "v").value, stored) << type;
    }
    // An empty text of REG_SZ writes Default.
    reg.ValueEx(cRegistry::CurrentUser, "Software\\New", "v", 1, std::string("def"), std::string());
    EXPECT_EQ(w.store.readValue(RegRoot::CurrentUser, "Software\\New", "v").value, RegValue::string("def"));
}

TEST_F(RegistryWrapper, ErrorNumbersAndTexts) {
    const std::string ports = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports";
    store("kept", RegValue::string("x"));
    struct Case {
        std::int32_t classKey;
        std::string section;
        std::function<void(cRegistry&)> act;
        std::int32_t number;
        std::string text;
    };
    const Case cases[] = {
        {5, "Software\\T", [](cRegistry& r) { r.CreateKey(); }, 26001, "Failed to create registry Key: 'Software\\T"},
        {cRegistry::CurrentUser, "Software\\Nowhere", [](cRegistry& r) { r.DeleteKey(); }, 26001,
         "Failed to delete registry Key: '-2147483647',Section: 'Software\\Nowhere"},
        {cRegistry::LocalMachine, "Software\\Nowhere", [](cRegistry& r) { r.DeleteValue(); }, 26001,
         "Failed to open key '-2147483646',Section: 'Software\\Nowhere' for delete access"},
        {cRegistry::CurrentUser, "Software\\Tessivarn",
         [](cRegistry& r) {
             r.ValueKey("gone");
             r.DeleteValue();
         },
         26001, "Failed to delete registry Key: '-2147483647',Section: 'Software\\Tessivarn',Key: 'gone"},
        {cRegistry::LocalMachine, ports,
         [](cRegistry& r) {
             r.ValueKey("IPAddress");
             r.ValueType(1);
             r.Value(std::string("127.1.1.1"));
         },
         26001,
         "Failed to set registry value Key: '-2147483646',Section: '" + ports +
             "',Key: 'IPAddress' to value: 'earlier'"},
        {cRegistry::CurrentUser, "Software\\Tessivarn",
         [](cRegistry& r) {
             r.ValueType(3);
             r.Value(std::string("text"));
         },
         26001,
         "Failed to set registry value Key: '-2147483647',Section: 'Software\\Tessivarn',Key: '' to value: 'earlier'"},
        {0, "",
         [](cRegistry& r) {
             r.CreateAdditionalEXEAssociations("Marrowby.Settings", {"a", "b"});
         },
         static_cast<std::int32_t>(0x800469AC),
         "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected Name/Text/Command"},
        {0, "",
         [](cRegistry& r) {
             r.CreateAdditionalEXEAssociations("Marrowby.Settings", {"a", "b", "c"});
         },
         static_cast<std::int32_t>(0x800469AD),
         "Error - attempt to create additional associations before class defined."},
    };
    for (const auto& c : cases) {
        cRegistry r(w.registry, "Marrowby");
        r.ValueEx(cRegistry::CurrentUser, "Software\\Earlier", "", 1, {}, std::string("earlier"));
        r.ClassKey(c.classKey);
        r.SectionKey(c.section);
        try {
            c.act(r);
            ADD_FAILURE() << "no error: " << c.text;
        } catch (const printercfg::RegistryError& e) {
            EXPECT_EQ(e.number, c.number) << c.text;
            EXPECT_EQ(e.what(), c.text);
            EXPECT_EQ(e.source, "Marrowby.cRegistry");
        }
    }
}

}  // namespace
