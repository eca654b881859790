#include "netcfg/core/ReadSettings.h"

#include <initializer_list>
#include <vector>

#include "netcfg/core/PortSelect.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/pages/EncryptQuestionDlg.h"
#include "netcfg/pages/LEAPDlg.h"
#include "netcfg/pages/NetworkDlg.h"
#include "netcfg/pages/QuestionDlg.h"
#include "netcfg/pages/WEPDlg.h"
#include "netcfg/pages/WEPkeyDlg.h"
#include "netcfg/pages/WEPphraseDlg.h"
#include "netcfg/pages/WPADlg.h"
#include "netcfg/pages/WiredDlg.h"
#include "netcfg/pages/WirelessDlg.h"
#include "netcfg/pages/WirelessQuestionDlg.h"

namespace netcfg {

namespace {

const std::string CrLf = "\r\n";
const std::string NotChosen = "0|.";

// The twelve country codes, in the order of the country list.
const char* const CountryCodes = "US,USI,GB,GBI,NL,NLI,FR,FRI,DE,DEI,IT,ITI";

std::vector<std::string> split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto at = text.find(sep, start);
        parts.push_back(text.substr(start, at - start));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

void store(QuillonModule& m, std::int16_t flag, int slot, std::string record) {
    auto& records = flag == ToBaseline ? m.InitialSettings : m.CurrentSettings;
    records[static_cast<std::size_t>(slot)] = std::move(record);
}

std::string num(int v) { return std::to_string(v); }

// The keyword of list row k; rows beyond the table take `other`.
std::string pick(int k, std::initializer_list<const char*> rows, const char* other) {
    if (k < 0 || k >= static_cast<int>(rows.size())) return other;
    return *(rows.begin() + k);
}

std::string joined(std::initializer_list<std::string> fields) {
    std::string out;
    for (const auto& f : fields) {
        if (&f != fields.begin()) out += '|';
        out += f;
    }
    return out;
}

bool ticked(const ui::CheckBox& box) { return box.value() == 1; }

std::string keyTexts(const ui::ControlArray<ui::TextBox>& keys) {
    return joined({keys[0].text(), keys[1].text(), keys[2].text(), keys[3].text()});
}

}  // namespace

std::string ReadPortSettings(QuillonModule& m, std::int16_t flag) {
    auto& p = m.PortSelectForm();
    auto line = [](const ui::OptionButton& option, const std::string& value) {
        return (option.value() ? "1|" + value : NotChosen) + CrLf;
    };
    std::string record = line(p.PortLPT, num(p.LPTCombo.listIndex())) + line(p.PortCOM, num(p.ComCombo.listIndex())) +
                         line(p.PortUSB, num(p.USBCombo.listIndex())) + line(p.PortTCP, p.IPAddr.text()) +
                         line(p.PortFile, p.FileName.text());
    store(m, flag, 0, record);
    return record;
}

void ReadNetworkChoices(QuillonModule& m, std::int16_t flag) {
    auto& q = m.QuestionDlgForm();
    std::string record;
    for (int i = 0; i <= 6; ++i) record += (i ? "|" : "") + num(q.Check1[i].value());
    store(m, flag, 1, record);
}

std::string ReadWiredSettings(QuillonModule& m, std::int16_t flag) {
    if (m.QuestionDlgForm().Check1[0].value() == 0) return {};
    auto& w = m.WiredDlgForm();
    m.NicInterface = w.NicOption[0].value() ? 1 : 2;
    const std::string n = num(m.NicInterface);
    std::string record = n + CrLf, commands;
    if (w.useAutoIP.value()) {
        const bool bootp = ticked(w.BootP), dhcp = ticked(w.DHCP);
        record += joined({"1", bootp ? "1" : "0", dhcp ? "1" : "0"}) + CrLf;
        commands = "store tcpip " + n + " opts " + (bootp ? "bootp " : "-bootp ") + (dhcp ? "dhcp " : "-dhcp ") + CrLf;
    } else {
        record += joined({"0", w.IPAddr.text(), w.SubMask.text(), w.Gateway.text()}) + CrLf;
        commands = "store tcpip " + n + " opts -bootp -dhcp " + CrLf +        //
                   "store tcpip " + n + " addr " + w.IPAddr.text() + CrLf +   //
                   "store tcpip " + n + " mask " + w.SubMask.text() + CrLf +  //
                   "store tcpip route add default" + n + " " + w.Gateway.text() + " " + n + CrLf;
    }
    store(m, flag, 2, record);
    return commands;
}

std::string ReadNetworkSettings(QuillonModule& m, std::int16_t flag) {
    auto& q = m.QuestionDlgForm();
    std::string record = NotChosen + CrLf, commands;
    for (int i = 1; i <= 5; ++i) {
        if (!ticked(q.Check1[i])) {
            record += NotChosen + CrLf;
            if (i == 1) commands += CrLf;  // the place of the speed command
            continue;
        }
        auto& n = m.NetworkDlgForm();
        const int k = n.Combo1[i].listIndex();
        record += "1|" + num(k) + (i == 5 ? "|" + n.Packet.text() + "|" + n.Period.text() : "") + CrLf;
        switch (i) {
            case 1:
                commands += "store ifc 1 mode " + pick(k, {"auto", "10half", "10full", "100half"}, "100full") + CrLf;
                break;
            case 2:
                if (k == 0)
                    commands += "store tcpip tcp opts -keepalive" + CrLf;
                else
                    commands += "store tcpip tcp opts keepalive" + CrLf + "store tcpip tcp keepalivetimeout " +
                                num(k + 1) + CrLf;
                break;
            case 3:
                commands += "store pserver opts jobcontrol " + pick(k, {"standard", "enhanced"}, "off") + CrLf;
                break;
            case 4:
                commands += std::string(k == 0 ? "set sysinfo module netbios" : "set sysinfo module -netbios") + CrLf +
                            "save" + CrLf;
                break;
            default:
                if (k == 0)
                    commands += "store pping opts enable" + CrLf + "store pping packet " + n.Packet.text() + CrLf +
                                "store pping period " + n.Period.text() + CrLf;
                else
                    commands += "store pping opts -enable" + CrLf;
                break;
        }
    }
    store(m, flag, 3, record);
    return commands;
}

void ReadWirelessChoices(QuillonModule& m, std::int16_t flag) {
    auto& c = m.WirelessQuestionDlgForm();
    std::string record;
    for (int i = 0; i <= 9; ++i) record += num(c.check[i].value()) + "|";
    record += num(c.EncryptionCB.value());
    store(m, flag, 4, record);
}

std::string ReadWirelessSettings(QuillonModule& m, std::int16_t flag) {
    auto& c = m.WirelessQuestionDlgForm();
    std::string record, commands;
    for (int i = 0; i <= 9; ++i) {
        if (!ticked(c.check[i])) {
            record += (i == 9 ? "0|.|." : NotChosen) + CrLf;
            continue;
        }
        auto& w = m.WirelessDlgForm();
        auto command = [&](const std::string& text) {
            m.NicInterface = 2;
            commands += "store ifc " + num(m.NicInterface) + " wlan " + text + CrLf;
        };
        auto row = [&](const ui::ComboBox& list) {
            record += "1|" + num(list.listIndex()) + CrLf;
            return list.listIndex();
        };
        switch (i) {
            case 0:
                record += "1|" + w.SSID.text() + CrLf;
                command("ssid " + w.SSID.text());
                break;
            case 1:
                command("mode " + pick(row(w.OpMode), {"managed", "adhoc"}, "pseudo"));
                break;
            case 2:
                command("speed " + pick(row(w.Speed), {"auto", "1", "2", "5"}, "11"));
                break;
            case 3: {
                const int k = row(w.Channel);
                command("channel " + (k == 0 ? std::string("default") : num(k)));
                break;
            }
            case 4:
                command("antenna " + pick(row(w.Antenna), {"primary", "diverse"}, "aux"));
                break;
            case 5:
                command("preamble " + pick(row(w.Preamble), {"default", "long"}, "short"));
                break;
            case 6:
                command("txpwr " + num(row(w.TxPower)));
                break;
            case 7:
                command("ppm " + pick(row(w.PowerMgmt), {"on"}, "off"));
                break;
            case 8:
                command("profile " + num(row(w.Devices)));
                break;
            default: {
                const int k = w.CountryCode.listIndex();
                record += "1|" + num(k) + "|" + num(w.Check2.value()) + CrLf;
                const auto codes = split(CountryCodes, ',');
                // A row outside the table names no country: neither line is sent.
                if (k < 0 || k >= static_cast<int>(codes.size())) break;
                command(ticked(w.Check2) ? "opts intnl" : "opts -intnl");
                command("country " + codes[static_cast<std::size_t>(k)]);
                break;
            }
        }
    }
    store(m, flag, 5, record);
    return commands;
}

void ReadEncryptionChoices(QuillonModule& m, std::int16_t flag) {
    auto& e = m.EncryptQuestionDlgForm();
    std::string record;
    for (int i = 0; i <= 2; ++i) record += std::string(e.click[i].value() ? "True" : "False") + "|";
    record += num(e.WPA.value()) + "|" + num(e.EAP.value());
    store(m, flag, 6, record);
}

std::string ReadSecuritySettings(QuillonModule& m, std::int16_t flag) {
    std::string record, commands;
    if (!ticked(m.WirelessQuestionDlgForm().EncryptionCB)) {
        store(m, flag, 7, record);
        return commands;
    }
    auto& e = m.EncryptQuestionDlgForm();
    auto command = [&](const std::string& text) {
        m.NicInterface = 2;
        commands += "store ifc " + num(m.NicInterface) + " wlan " + text + CrLf;
    };
    if (e.click[0].value()) {
        command("auth open");
    } else if (e.click[1].value()) {
        record = NotChosen + CrLf;
        const bool text = m.WEPDlgForm().Phrase.value();
        int defaultKey = 0, auth = 0;
        const ui::ControlArray<ui::TextBox>* keys = nullptr;
        if (text) {
            auto& p = m.WEPphraseDlgForm();
            defaultKey = p.DefaultKey.listIndex();
            auth = p.AuthMethod.listIndex();
            keys = &p.KeyText;
            record += joined({"1", "1", num(defaultKey), num(auth)});
        } else {
            auto& h = m.WEPkeyDlgForm();
            defaultKey = h.DefaultKey.listIndex();
            auth = h.AuthMethod.listIndex();
            keys = &h.KeyText;
            record += joined({"1", "0", num(h.KeySize.listIndex()), num(auth), num(defaultKey)});
        }
        if (defaultKey != 0) record += "|" + keyTexts(*keys);
        record += CrLf;
        if (defaultKey == 0) {
            command("defkey disable");
        } else {
            command(auth == 0 ? "auth open" : "auth shared");
            for (int j = 1; j <= 4; ++j) {
                const std::string& key = (*keys)[j - 1].text();
                if (!key.empty()) command("key " + num(j) + (text ? " $" : " ") + key);
            }
            command("defkey " + num(defaultKey));
        }
    } else if (e.click[2].value()) {
        record = NotChosen + CrLf + NotChosen + CrLf;
        if (ticked(e.WPA)) {
            auto& w = m.WPADlgForm();
            const int cipher = w.EncryptMethod.listIndex(), mode = w.WPAMode.listIndex();
            record += joined({"1", "1", w.PassPhrase.text(), num(cipher), num(mode)}) + CrLf;
            command("passphrase " + w.PassPhrase.text());
            command("wpa " + pick(mode, {"disable", "personal", "enterprise"}, "disable"));
            command("cipher " + pick(cipher, {"disable", "aes", "tkip", "tkip+aes"}, "disable"));
        } else {
            record += NotChosen + CrLf;
        }
        if (ticked(e.EAP)) {
            auto& l = m.LEAPDlgForm();
            const int kind = l.Combo1.listIndex();
            record += joined({"1", "1", l.UserName.text(), l.Password.text(), num(kind)}) + CrLf;
            command("eap " + pick(kind, {"none", "peap", "leap", "ttls"}, "none"));
            command("user " + l.UserName.text());
            command("pass " + l.Password.text());
        }
    } else {
        // No option selected (a loaded record can leave it so): none chosen,
        // nothing to send.
        record = NotChosen + CrLf + NotChosen + CrLf + NotChosen + CrLf;
    }
    store(m, flag, 7, record);
    return commands;
}

void StoreInitialSettings(QuillonModule& m) {
    ReadPortSettings(m, ToBaseline);
    ReadNetworkChoices(m, ToBaseline);
    ReadWiredSettings(m, ToBaseline);
    ReadNetworkSettings(m, ToBaseline);
    ReadWirelessChoices(m, ToBaseline);
    ReadWirelessSettings(m, ToBaseline);
    ReadEncryptionChoices(m, ToBaseline);
    ReadSecuritySettings(m, ToBaseline);
    m.BaselineTaken = true;
}

void BuildNicSettings(QuillonModule& m) {
    ReadPortSettings(m, ToCurrent);
    m.NicCommands.clear();
    ReadNetworkChoices(m, ToCurrent);
    m.NicCommands += ReadWiredSettings(m, ToCurrent);
    m.NicCommands += ReadNetworkSettings(m, ToCurrent);
    ReadWirelessChoices(m, ToCurrent);
    m.NicCommands += ReadWirelessSettings(m, ToCurrent);
    ReadEncryptionChoices(m, ToCurrent);
    m.NicCommands += ReadSecuritySettings(m, ToCurrent);
}

bool SettingsDiffer(const QuillonModule& m) {
    for (std::size_t i = 0; i < QuillonModule::RecordCount; ++i)
        if (m.CurrentSettings[i] != m.InitialSettings[i]) return true;
    return false;
}

}  // namespace netcfg
