// Writing page records back into the pages' controls, through the controls'
// handlers as a user change would. A record that does not fit its page never
// fails: a value without a place (a missing control, a row outside its list,
// a field that is no number where one is written) is skipped.

#include <optional>
#include <string>
#include <vector>

#include "netcfg/core/PortSelect.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/core/ReadSettings.h"
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

using Fields = std::vector<std::string>;

std::vector<std::string> splitAt(const std::string& text, const std::string& sep) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto at = text.find(sep, start);
        parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return parts;
        start = at + sep.size();
    }
}

std::vector<Fields> linesOf(const std::string& record) {
    std::vector<Fields> lines;
    for (const auto& line : splitAt(record, "\r\n")) lines.push_back(splitAt(line, "|"));
    return lines;
}

// A decimal integer of 16 bits, blanks around it allowed; nothing otherwise.
std::optional<int> number(const std::string& field) {
    const auto first = field.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    const auto last = field.find_last_not_of(' ');
    std::size_t at = first;
    const bool negative = field[at] == '-';
    if (field[at] == '-' || field[at] == '+') ++at;
    if (at > last) return std::nullopt;
    long value = 0;
    for (; at <= last; ++at) {
        const char c = field[at];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 32768) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 32767) return std::nullopt;
    return static_cast<int>(value);
}

// Field k; an absent field reads as "".
const std::string& field(const Fields& f, std::size_t k) {
    static const std::string none;
    return k < f.size() ? f[k] : none;
}

// Comparisons are numeric: a field that is no number is never equal.
bool isOne(const std::string& f) { return number(f) == 1; }

void setRow(ui::ComboBox& list, const std::string& f) {
    const auto row = number(f);
    if (row && *row >= 0 && *row < list.listCount()) list.setListIndex(*row);
}

void setBox(ui::CheckBox& box, const std::string& f) {
    const auto v = number(f);
    if (v && *v >= 0 && *v <= 2) box.setValue(*v);
}

void setTick(ui::CheckBox& box, bool on) { box.setValue(on ? 1 : 0); }

// "True" or "False" in any case, or a number (0 false); nothing otherwise.
std::optional<bool> truth(const std::string& f) {
    std::string lower;
    for (char c : f) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    if (lower == "true") return true;
    if (lower == "false") return false;
    if (const auto n = number(f)) return *n != 0;
    return std::nullopt;
}

void applyPort(QuillonModule& m, const std::string& record) {
    auto& p = m.PortSelectForm();
    p.IPAddr.setText("");
    p.FileName.setText("");
    const auto lines = linesOf(record);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Fields& f = lines[i];
        if (f.size() < 2 || !isOne(f[0])) continue;
        auto local = [&](ui::OptionButton& option, ui::ComboBox& list) {
            // A port this computer does not have leaves the page's own choice.
            const auto row = number(f[1]);
            if (!row || *row < 0 || *row >= list.listCount()) return;
            option.setValue(true);
            list.setListIndex(*row);
        };
        switch (i) {
            case 0:
                local(p.PortLPT, p.LPTCombo);
                return;
            case 1:
                local(p.PortCOM, p.ComCombo);
                return;
            case 2:
                local(p.PortUSB, p.USBCombo);
                return;
            case 3:
                p.PortTCP.setValue(true);
                p.IPAddr.setText(f[1]);
                return;
            case 4:
                p.PortFile.setValue(true);
                p.FileName.setText(f[1]);
                return;
            default:
                break;  // no such output: the search goes on
        }
    }
}

void applyNetworkChoices(QuillonModule& m, const std::string& record) {
    auto& q = m.QuestionDlgForm();
    const auto f = splitAt(record, "|");
    for (std::size_t i = 0; i < f.size(); ++i)
        if (q.Check1.exists(static_cast<int>(i))) setBox(q.Check1[static_cast<int>(i)], f[i]);
}

void applyWired(QuillonModule& m, const std::string& record) {
    const auto lines = linesOf(record);
    if (lines.size() < 2) return;
    auto& w = m.WiredDlgForm();
    const bool wired = isOne(field(lines[0], 0)) && lines[0].size() == 1;
    w.NicOption[wired ? 1 : 0].setValue(false);
    w.NicOption[wired ? 0 : 1].setValue(true);
    const Fields& f = lines[1];
    if (f.size() < 2) return;
    if (isOne(f[0])) {
        w.useAutoIP.setValue(true);
        for (ui::TextBox* box : {&w.IPAddr, &w.SubMask, &w.Gateway}) box->setText("");
        setTick(w.BootP, isOne(field(f, 1)));
        setTick(w.DHCP, isOne(field(f, 2)));
    } else {
        w.useAutoIP.setValue(false);
        w.useStaticIP.setValue(true);
        ui::TextBox* boxes[] = {&w.IPAddr, &w.SubMask, &w.Gateway};
        for (std::size_t k = 1; k <= 3 && k < f.size(); ++k) boxes[k - 1]->setText(f[k]);
    }
}

void applyNetwork(QuillonModule& m, const std::string& record) {
    const auto lines = linesOf(record);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Fields& f = lines[i];
        if (f.size() < 2 || !isOne(f[0])) continue;
        auto& n = m.NetworkDlgForm();
        const int row = static_cast<int>(i);
        if (!n.Combo1.exists(row)) continue;
        setRow(n.Combo1[row], f[1]);
        if (row != 5) continue;
        if (f.size() > 2) n.Packet.setText(f[2]);
        if (f.size() > 3) n.Period.setText(f[3]);
    }
}

void applyWirelessChoices(QuillonModule& m, const std::string& record) {
    auto& c = m.WirelessQuestionDlgForm();
    const auto f = splitAt(record, "|");
    setBox(c.EncryptionCB, f.back());
    for (std::size_t i = 0; i + 1 < f.size(); ++i)
        if (c.check.exists(static_cast<int>(i))) setBox(c.check[static_cast<int>(i)], f[i]);
}

void applyWireless(QuillonModule& m, const std::string& record) {
    const auto lines = linesOf(record);
    for (std::size_t i = 0; i < lines.size() && i <= 9; ++i) {
        const Fields& f = lines[i];
        if (f.size() < 2) continue;
        auto& c = m.WirelessQuestionDlgForm();
        auto& w = m.WirelessDlgForm();
        const bool chosen = isOne(f[0]);
        const int row = static_cast<int>(i);
        setTick(c.check[row], chosen);
        ui::ComboBox* lists[] = {nullptr,     &w.OpMode,  &w.Speed,     &w.Channel, &w.Antenna,
                                 &w.Preamble, &w.TxPower, &w.PowerMgmt, &w.Devices, &w.CountryCode};
        if (row == 0)
            w.SSID.setText(chosen ? f[1] : std::string());
        else
            setRow(*lists[row], chosen ? f[1] : std::string("0"));
        if (row == 9) setTick(w.Check2, isOne(field(f, 2)));
    }
}

void applyEncryptionChoices(QuillonModule& m, const std::string& record) {
    const auto f = splitAt(record, "|");
    if (f.size() < 2) return;
    auto& e = m.EncryptQuestionDlgForm();
    for (std::size_t k = 0; k + 2 < f.size(); ++k) {
        const auto on = truth(f[k]);
        if (on && e.click.exists(static_cast<int>(k))) e.click[static_cast<int>(k)].setValue(*on);
    }
    setBox(e.WPA, f[f.size() - 2]);
    setBox(e.EAP, f[f.size() - 1]);
}

void applySecurity(QuillonModule& m, const std::string& record) {
    const auto lines = linesOf(record);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Fields& f = lines[i];
        if (f.size() < 2 || !isOne(f[0])) continue;
        auto keys = [&](ui::ControlArray<ui::TextBox>& text, std::size_t first) {
            for (std::size_t k = 0; k <= 3 && first + k < f.size(); ++k)
                text[static_cast<int>(k)].setText(f[first + k]);
        };
        switch (i) {
            case 1:
                if (isOne(f[1])) {
                    m.WEPDlgForm().Phrase.setValue(true);
                    auto& p = m.WEPphraseDlgForm();
                    setRow(p.DefaultKey, field(f, 2));
                    setRow(p.AuthMethod, field(f, 3));
                    keys(p.KeyText, 4);
                    p.UpdateKeyRows();
                } else {
                    m.WEPDlgForm().EntryManual.setValue(true);
                    auto& h = m.WEPkeyDlgForm();
                    setRow(h.KeySize, field(f, 2));
                    setRow(h.AuthMethod, field(f, 3));
                    setRow(h.DefaultKey, field(f, 4));
                    keys(h.KeyText, 5);
                    h.UpdateKeyRows();
                }
                break;
            case 2:
                if (isOne(f[1])) {
                    auto& w = m.WPADlgForm();
                    if (f.size() > 2) w.PassPhrase.setText(f[2]);
                    setRow(w.EncryptMethod, field(f, 3));
                    setRow(w.WPAMode, field(f, 4));
                    w.UpdateWpaFields();
                }
                break;
            case 3:
                if (isOne(f[1])) {
                    auto& l = m.LEAPDlgForm();
                    if (f.size() > 2) l.UserName.setText(f[2]);
                    if (f.size() > 3) l.Password.setText(f[3]);
                    setRow(l.Combo1, field(f, 4));
                    l.UpdateCredentialFields();
                }
                break;
            default:
                break;  // line 0 (open) has nothing to write
        }
    }
}

}  // namespace

void ApplySettings(QuillonModule& m) {
    const auto r = m.CurrentSettings;
    applyPort(m, r[0]);
    applyNetworkChoices(m, r[1]);
    applyWired(m, r[2]);
    applyNetwork(m, r[3]);
    applyWirelessChoices(m, r[4]);
    applyWireless(m, r[5]);
    applyEncryptionChoices(m, r[6]);
    applySecurity(m, r[7]);
}

}  // namespace netcfg
