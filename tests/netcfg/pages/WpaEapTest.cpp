// The WPA and EAP pages, and the 8-bit text their boxes take.

#include "WirelessWorld.h"

using wirelesstest::WirelessWorld;

namespace {

std::string repeat(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

struct WpaCase {
    const char* name;
    std::string phrase;
    std::string confirm;
    bool show;
    int cipher;
    std::vector<int> answers;
    std::vector<std::string> boxes;  // texts, in order
    bool leaves;
    int mode = 1;  // "Personal (PSK)"
};

const std::string TooLong =
    "Passphrase too long.\r\nMaximum number of characters allowed is 63.\r\n"
    "Please enter a valid Passphrase.";
const std::string TooShort =
    "Passphrase too short.\r\nLength of the passphrase must be between 8 to 63 characters long.\r\n"
    "Please enter a valid Passphrase.";
const std::string PhraseMismatch = "Inputs for the passphrase does not match, please re-enter the phrase again.";
const std::string NoCipher = "Are you sure you want to disabled encryption for WPA?";

const WpaCase WpaCases[] = {
    {"EmptyFails", "", "", false, 1, {}, {TooShort}, false},
    {"SevenFail", "Phrase1", "Phrase1", false, 1, {}, {TooShort}, false},
    {"EnterpriseTakesAnyLength", "", "", false, 1, {}, {}, true, 2},
    {"SixtyThreePass", std::string(63, 'p'), std::string(63, 'p'), false, 1, {}, {}, true},
    {"LengthCountsCharacters", std::string(30, 'p') + repeat("\u00e9", 33), "", true, 1, {}, {}, true},
    {"SixtyFourFail", std::string(64, 'p'), std::string(64, 'p'), false, 1, {}, {TooLong}, false},
    {"SixtyFourWithAnAccentFail", std::string(63, 'p') + "\u00e9", "", true, 1, {}, {TooLong}, false},
    {"LengthBeforeMismatch", std::string(64, 'p'), "", false, 1, {}, {TooLong}, false},
    {"CaseCounts", "Phrase12", "phrase12", false, 1, {}, {PhraseMismatch}, false},
    {"ShownPhraseIgnoresTheConfirmation", "Phrase12", "", true, 1, {}, {}, true},
    {"NoCipher_No", "Phrase12", "Phrase12", false, 0, {ui::IDNO}, {NoCipher}, false},
    {"NoCipher_Yes", "Phrase12", "Phrase12", false, 0, {ui::IDYES}, {NoCipher}, true},
};

class Wpa : public ::testing::TestWithParam<WpaCase> {};

TEST_P(Wpa, NextChecksLengthThenConfirmationThenCipher) {
    const WpaCase& c = GetParam();
    WirelessWorld w;
    auto& p = w.q.WPADlgForm();
    p.show();
    EXPECT_EQ(p.WPAMode.text(), "Personal (PSK)");
    EXPECT_EQ(p.EncryptMethod.text(), "AES");
    p.WPAMode.setListIndex(c.mode);
    p.PassPhrase.setText(c.phrase);
    p.ConfirmTxt.setText(c.confirm);
    p.ShowCheck.setValue(c.show ? 1 : 0);
    p.EncryptMethod.setListIndex(c.cipher);
    for (int a : c.answers) w.messages.answer(a);
    p.Next.click();
    ASSERT_EQ(w.messages.count(), c.boxes.size());
    for (std::size_t i = 0; i < c.boxes.size(); ++i) {
        const auto& box = w.messages.shown()[i];
        EXPECT_EQ(box.text, c.boxes[i]);
        const bool question = c.boxes[i] == NoCipher;
        EXPECT_EQ(box.title, question ? "Warning" : "Notice");
        EXPECT_EQ(box.buttons, question ? ui::Buttons::YesNo : ui::Buttons::OK);
    }
    EXPECT_EQ(w.shown(), std::vector<std::string>{c.leaves ? "FinishDialog" : "WPADlg"});
}

INSTANTIATE_TEST_SUITE_P(WPADlg, Wpa, ::testing::ValuesIn(WpaCases), wirelesstest::CaseName());

struct EapCase {
    const char* name;
    std::string user;
    std::string password;
    std::string confirm;
    bool show;
    const char* notice;
};

const EapCase EapCases[] = {
    {"EmptyPasses", "", "", "", false, nullptr},
    {"ThirtyTwoPass", std::string(32, 'u'), std::string(32, 'p'), std::string(32, 'p'), false, nullptr},
    {"LongUserName", std::string(33, 'u'), std::string(33, 'p'), "", false,
     "User Name too long.\r\nMaximum number of characters allowed is 32.\r\nPlease enter a valid User Name."},
    {"LongPassword", "user", std::string(33, 'p'), std::string(33, 'p'), false,
     "Password too long.\r\nMaximum number of characters allowed is 32.\r\nPlease enter a valid password."},
    {"CaseCounts", "user", "Secret", "secret", false,
     "Inputs for the password does not match, please re-enter the password again."},
    {"ShownPasswordIgnoresTheConfirmation", "user", "Secret", "", true, nullptr},
};

class Eap : public ::testing::TestWithParam<EapCase> {};

TEST_P(Eap, NextChecksUserNameThenPasswordThenConfirmation) {
    const EapCase& c = GetParam();
    WirelessWorld w;
    auto& p = w.q.LEAPDlgForm();
    p.show();
    EXPECT_EQ(p.Combo1.text(), "PEAP");
    p.Combo1.setListIndex(0);  // the checks apply under "None" too
    p.UserName.setText(c.user);
    p.Password.setText(c.password);
    p.ConfirmTxt.setText(c.confirm);
    p.ShowCheck.setValue(c.show ? 1 : 0);
    p.Next.click();
    if (c.notice) {
        ASSERT_EQ(w.messages.count(), 1u);
        EXPECT_EQ(w.messages.last().text, c.notice);
        EXPECT_EQ(w.messages.last().title, "Notice");
        EXPECT_EQ(w.shown(), std::vector<std::string>{"LEAPDlg"});
    } else {
        EXPECT_EQ(w.messages.count(), 0u);
        EXPECT_EQ(w.shown(), std::vector<std::string>{"FinishDialog"});
        EXPECT_EQ(w.q.FinishDialogForm().Caller, &p);
    }
}

INSTANTIATE_TEST_SUITE_P(LEAPDlg, Eap, ::testing::ValuesIn(EapCases), wirelesstest::CaseName());

TEST(WpaEap, FirstListGreysTheRestOnlyThroughTheTimer) {
    WirelessWorld w;
    auto& wpa = w.q.WPADlgForm();
    auto& eap = w.q.LEAPDlgForm();
    struct Page {
        ui::Form& form;
        ui::ComboBox& list;
        std::vector<ui::Control*> greyed;
        ui::TextBox& box;
    };
    const Page pages[] = {
        {wpa,
         wpa.WPAMode,
         {&wpa.EncryptMethod, &wpa.PassPhrase, &wpa.ConfirmTxt, &wpa.Label2, &wpa.Label3, &wpa.Label4,
          &wpa.ConfirmLabel, &wpa.ShowCheck},
         wpa.PassPhrase},
        {eap,
         eap.Combo1,
         {&eap.UserName, &eap.Password, &eap.ConfirmTxt, &eap.Label2, &eap.Label3, &eap.ConfirmLabel, &eap.ShowCheck},
         eap.UserName},
    };
    for (const auto& pg : pages) {
        SCOPED_TRACE(pg.form.name());
        pg.form.show();
        pg.list.userSelect(0);
        w.wait(300);
        for (auto* c : pg.greyed) EXPECT_TRUE(c->enabled()) << c->name();

        pg.list.userDropDown();
        w.wait(100);
        for (auto* c : pg.greyed) EXPECT_FALSE(c->enabled()) << c->name();
        EXPECT_EQ(pg.box.backColor(), ui::GreyedColour);
        EXPECT_TRUE(pg.list.enabled());

        pg.list.userSelect(2);
        w.wait(100);
        for (auto* c : pg.greyed) EXPECT_TRUE(c->enabled()) << c->name();
        EXPECT_EQ(pg.box.backColor(), ui::EnabledColour);
        WirelessWorld::press(pg.form, "Next");
        EXPECT_FALSE(dynamic_cast<ui::Timer*>(pg.form.find("Timer1"))->running());
    }
}

TEST(WirelessText, BoxesForTheJobTakeOnlyCharactersOfTheCodePage) {
    WirelessWorld w;
    w.choice().check[0].setValue(1);
    w.radio().SetDefaultState();
    ui::TextBox* boxes[] = {&w.radio().SSID,
                            &w.q.WEPkeyDlgForm().KeyText[3],
                            &w.q.WEPkeyDlgForm().ConfirmTxt[3],
                            &w.q.WEPphraseDlgForm().KeyText[0],
                            &w.q.WPADlgForm().PassPhrase,
                            &w.q.WPADlgForm().ConfirmTxt,
                            &w.q.LEAPDlgForm().UserName,
                            &w.q.LEAPDlgForm().Password,
                            &w.q.LEAPDlgForm().ConfirmTxt};
    for (ui::TextBox* box : boxes) {
        box->userType("Z\u00fcrich \u20ac\u2603\u0141x");  // the snowman and the L with stroke are not
        EXPECT_EQ(box->text(), "Z\u00fcrich \u20acx") << box->form().name() << "." << box->name();
    }
    w.radio().SSID.userType(std::string(33, 'x'));
    EXPECT_EQ(w.radio().SSID.text(), std::string(32, 'x'));
}

}  // namespace
