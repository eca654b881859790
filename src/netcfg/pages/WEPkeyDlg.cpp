#include "netcfg/pages/WEPkeyDlg.h"

#include <cctype>

#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/pages/WEPDlg.h"

namespace netcfg {

using foundation::JoinLines;

namespace {

std::vector<std::string> split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (;;) {
        std::size_t at = text.find(sep, from);
        parts.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) return parts;
        from = at + 1;
    }
}

}  // namespace

WEPkeyDlg::WEPkeyDlg(QuillonModule& module)
    : Page(module, "WEPkeyDlg", "Configure Wireless Authentication"),
      Label1(*this, "Label1"),
      Label6(AddWepHeading(*this, Label1), "Label6",
             "Please enter the encryption key used by your wireless network. At least one key must be entered."),
      Label0(*this, "Label0"),
      KeySize(after(Label0, 0, "Key Size:"), "KeySize"),
      Label3(*this, "Label3", "Authentication Method:"),
      AuthMethod(*this, "AuthMethod"),
      DefaultKey(after(Label0, 1, "Default Key:"), "DefaultKey"),
      Label2(*this, "Label2",
             "Enter key in double or quad-digit HEX numbers separated by colon(:) or dash(-) characters. Example: "
             "A7F3-0C9E-5B21-D84A-36E0-F19B-7C"),
      KeyLabel(*this, "KeyLabel"),
      KeyText(*this, "KeyText"),
      ShowChk(*this, "ShowChk"),
      ConfirmLabel(*this, "ConfirmLabel"),
      ConfirmTxt(*this, "ConfirmTxt"),
      Prev(keyRows(), "Prev", "< Back"),
      Next(*this, "Next", "Next >"),
      Cancel(*this, "Cancel", "Cancel"),
      Timer1(*this, "Timer1", 0, false) {
    Next.setDefault(true);
    Cancel.setCancel(true);
    KeySize.setToolTip("Specify the encryption key size.");
    Label0[0].setBuddy(&KeySize);
    WepKeyRows::setUpLists(Label3, AuthMethod, Label0[1], DefaultKey);
    // Two rows: the three lists side by side need a window wider than a page.
    layoutGrid({{&Label0[0], &KeySize, &Label3, &AuthMethod}, {&Label0[1], &DefaultKey, nullptr, nullptr}});
    layoutGrid(keys_.grid());

    DefaultKey.onDropDown = [this] { DefaultKey_DropDown(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
    ShowChk.onClick = [this](int i) { ShowChk_Click(i); };
    Next.onClick = [this] { Next_Click(); };
    Prev.onClick = [this] { Prev_Click(); };
    Cancel.onClick = [this] { Cancel_Click(); };
}

ui::Form& WEPkeyDlg::keyRows() {
    keys_.create(KeyLabel, KeyText, ShowChk, ConfirmLabel, ConfirmTxt, "Encryption key value, in hexadecimal format.");
    return *this;
}

void WEPkeyDlg::Form_Load() {
    Timer1.setEnabled(false);
    KeySize.addItem("64 Bit Key (10 hex digits)");
    KeySize.addItem("128 Bit Key (26 hex digits)");
    KeySize.setListIndex(1);
    WepKeyRows::fillLists(DefaultKey, AuthMethod);
    SetKeyMasking(true);
}

bool WEPkeyDlg::IsHexText(const std::string& text) {
    for (unsigned char c : text) {
        const int u = std::toupper(c);
        if (!((u >= '0' && u <= '9') || (u >= 'A' && u <= 'F'))) return false;
    }
    return true;
}

int WEPkeyDlg::CheckKeyGroups(const std::vector<std::string>& groups, int& total) {
    for (const auto& g : groups) {
        const int n = CharCount(g);
        total += n;
        if (n < 2 || n > 4) return 1;
        if (!IsHexText(g)) return 1;
    }
    return 0;
}

int WEPkeyDlg::ValidateHexKeys() {
    // Every key that is typed is sent, so each one is checked on its own.
    const int size = KeySize.listIndex();
    int result = -1;
    for (int i = 0; i <= 3; ++i) {
        const std::string& text = KeyText[i].text();
        if (text.empty()) continue;
        refusedKey_ = i;
        int total = 0;
        auto groups = split(text, ':');
        if (groups.size() < 2) groups = split(text, '-');
        if (groups.size() < 2) {
            // No separators: hexadecimal digits only.
            if (!IsHexText(text)) return 1;
            total = CharCount(text);
        } else if (CheckKeyGroups(groups, total) != 0) {
            return 1;
        }
        if ((size == 1 && total != 26) || (size == 0 && total != 10)) return 2;
        result = 0;
    }
    return result;
}

void WEPkeyDlg::UpdateKeyRows() { keys_.followDefaultKey(DefaultKey, Label2); }

void WEPkeyDlg::SetKeyMasking(bool masked) { keys_.setMasking(masked); }

void WEPkeyDlg::DefaultKey_DropDown() {
    Timer1.setInterval(100);
    Timer1.setEnabled(true);
}

void WEPkeyDlg::Timer1_Timer() { UpdateKeyRows(); }

void WEPkeyDlg::ShowChk_Click(int index) { keys_[index].showClicked(); }

void WEPkeyDlg::Next_Click() {
    Timer1.setEnabled(false);
    const int check = ValidateHexKeys();
    if (check == 1) {
        m_.AskYesNo(JoinLines({"Invalid key format.",
                               "Enter key in double or quad-digit HEX numbers separated by colon(:) or dash(-) "
                               "characters.",
                               "Example: A7F3-0C9E-5B21-D84A-36E0-F19B-7C"}),
                    "");
        KeyText[refusedKey_].setFocus();
        return;
    }
    if (check == 2) {
        m_.AskYesNo(JoinLines({"Invalid key size.", "64 Bit Key requires 10 hex numbers (characters).",
                               "128 Bit Key requires 26 hex numbers (characters)."}),
                    "");
        KeyText[refusedKey_].setFocus();
        return;
    }
    if (!keys_.confirmAll(m_)) return;
    if (!keys_.checkDefaultKey(m_, DefaultKey)) return;
    hide();
    ShowNext(m_.FinishDialogForm());
}

void WEPkeyDlg::Prev_Click() {
    m_.WEPDlgForm().show();
    hide();
}

void WEPkeyDlg::Cancel_Click() {
    Timer1.setEnabled(false);
    m_.ConfirmCancel();
}

}  // namespace netcfg
