// The WEP key pages: hexadecimal key rules, confirmations, and the key rows
// that the default-key list greys through the page's timer.

#include <array>

#include "WirelessWorld.h"

using wirelesstest::WirelessWorld;

namespace {

constexpr int Bits64 = 0;
constexpr int Bits128 = 1;

struct HexCase {
    const char* name;
    std::array<const char*, 4> keys;
    int size;
    int result;
};

const HexCase HexCases[] = {
    {"NoKeys", {"", "", "", ""}, Bits128, -1},
    {"FiveColonPairsAs64", {"12:34:56:78:9A", "", "", ""}, Bits64, 0},
    {"FiveColonPairsAs128", {"12:34:56:78:9A", "", "", ""}, Bits128, 2},
    {"ExampleAs128", {"A7F3-0C9E-5B21-D84A-36E0-F19B-7C", "", "", ""}, Bits128, 0},
    {"ExampleAs64", {"A7F3-0C9E-5B21-D84A-36E0-F19B-7C", "", "", ""}, Bits64, 2},
    {"LowerCaseDigits", {"ab:cd:ef:01:23", "", "", ""}, Bits64, 0},
    {"MixedSeparators", {"AB:CD-EF:01:23:45", "", "", ""}, Bits64, 1},
    {"DoubledSeparator", {"AB::CD:EF:01:23", "", "", ""}, Bits64, 1},
    {"LeadingSeparator", {"-ABCD-EF01-23", "", "", ""}, Bits64, 1},
    {"TrailingSeparator", {"ABCD:EF01:23:", "", "", ""}, Bits64, 1},
    {"OneDigitGroup", {"A:BC:DE:F0:12:34", "", "", ""}, Bits64, 1},
    {"FiveDigitGroup", {"ABCDE:F0123", "", "", ""}, Bits64, 1},
    {"LetterBeyondF", {"AG:CD:EF:01:23", "", "", ""}, Bits64, 1},
    {"EightBitLetter", {"\u00e9B:CD:EF:01:23", "", "", ""}, Bits64, 1},
    {"BlankInsideAGroup", {"AB:C :EF:01:23", "", "", ""}, Bits64, 1},
    // Without separators: hexadecimal digits only, 10 or 26 of them.
    {"PlainTenDigits", {"0123456789", "", "", ""}, Bits64, 0},
    {"PlainTenDigitsAs128", {"0123456789", "", "", ""}, Bits128, 2},
    {"PlainTwentySixDigits", {"0123456789abcdef0123456789", "", "", ""}, Bits128, 0},
    {"PlainNotHex", {"01234567GZ", "", "", ""}, Bits64, 1},
    {"PlainWord", {"secret", "", "", ""}, Bits64, 1},
    // Every typed key is checked, whatever stands before it.
    {"BadKeyBehindAnEmptyKey", {"", "GG:HH", "", ""}, Bits64, 1},
    {"ShortKeyBehindAnEmptyKey", {"", "12:34", "", ""}, Bits64, 2},
    {"GoodKeyBehindAnEmptyKey", {"", "", "", "12-34-56-78-9a"}, Bits64, 0},
    {"FormatErrorNotClearedByALaterGoodKey", {"XY:ZZ", "12:34:56:78:9A", "", ""}, Bits64, 1},
    {"FormatErrorStopsBeforeALaterSizeError", {"12:3", "12:34", "", ""}, Bits64, 1},
    {"SizeErrorInTheThirdKey", {"12:34:56:78:9A", "", "12:34", ""}, Bits64, 2},
};

class HexKeys : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexKeys, ValidateHexKeys) {
    const HexCase& c = GetParam();
    WirelessWorld w;
    auto& p = w.q.WEPkeyDlgForm();
    p.KeySize.setListIndex(c.size);
    for (int i = 0; i < 4; ++i) p.KeyText[i].setText(c.keys[static_cast<std::size_t>(i)]);
    EXPECT_EQ(p.ValidateHexKeys(), c.result);
}

INSTANTIATE_TEST_SUITE_P(WEPkeyDlg, HexKeys, ::testing::ValuesIn(HexCases), wirelesstest::CaseName());

TEST(WEPkeyDlg, ErrorsComeAsErrorBoxesAndKeepThePage) {
    struct Case {
        std::array<const char*, 4> keys;
        std::array<const char*, 4> confirmations;
        int showRow;  // a row shown in clear, or -1
        const char* error;
    };
    const Case cases[] = {
        {{"12:3Z", "", "", ""},
         {"12:3Z", "", "", ""},
         -1,
         "Invalid key format.\r\nEnter key in double or quad-digit HEX numbers separated by colon(:) or dash(-) "
         "characters.\r\nExample: A7F3-0C9E-5B21-D84A-36E0-F19B-7C"},
        {{"12:34", "", "", ""},
         {"12:34", "", "", ""},
         -1,
         "Invalid key size.\r\n64 Bit Key requires 10 hex numbers (characters).\r\n128 Bit Key requires 26 hex "
         "numbers (characters)."},
        {{"", "", "ab:cd:ef:01:23", ""},
         {"", "", "AB:CD:EF:01:23", ""},
         -1,
         "Inputs for Key 3 does not match, please re-enter the key again."},
        {{"ab:cd:ef:01:23", "", "", "0123456789"},
         {"", "", "", ""},
         0,
         "Inputs for Key 4 does not match, please re-enter the key again."},
        {{"ab:cd:ef:01:23", "", "", "0123456789"}, {"", "", "", "0123456789"}, 0, nullptr},
    };
    for (const auto& c : cases) {
        for (int answer : {ui::IDYES, ui::IDNO}) {
            SCOPED_TRACE(std::string(c.keys[0]) + " / " + c.keys[3] + (c.error ? c.error : ""));
            WirelessWorld w;
            auto& p = w.q.WEPkeyDlgForm();
            p.show();
            p.KeySize.setListIndex(Bits64);
            for (int i = 0; i < 4; ++i) {
                p.KeyText[i].setText(c.keys[static_cast<std::size_t>(i)]);
                p.ConfirmTxt[i].setText(c.confirmations[static_cast<std::size_t>(i)]);
            }
            if (c.showRow >= 0) p.ShowChk[c.showRow].click();
            w.messages.answer(answer);
            p.Next.click();
            if (!c.error) {
                EXPECT_EQ(w.messages.count(), 0u);
                EXPECT_EQ(w.shown(), std::vector<std::string>{"FinishDialog"});
                EXPECT_EQ(w.q.FinishDialogForm().Caller, &p);
                continue;
            }
            ASSERT_EQ(w.messages.count(), 1u);
            EXPECT_EQ(w.messages.last().text, c.error);
            EXPECT_EQ(w.messages.last().title, "Error");
            EXPECT_EQ(w.messages.last().icon, ui::Icon::Critical);
            EXPECT_EQ(w.messages.last().buttons, ui::Buttons::YesNo);
            EXPECT_EQ(w.shown(), std::vector<std::string>{"WEPkeyDlg"});
        }
    }
}

TEST(WepKeyRows, WepOnNeedsAKeyAndTheDefaultKeyAmongThem) {
    struct Case {
        int defaultKey;      // 0 "Disable"
        int typed;           // the key row typed, -1 none
        std::string notice;  // "": Next passes
        int focus;           // the key row given the focus after the notice
    };
    const Case cases[] = {
        {1, -1, "At least one key must be entered.", 0},
        {2, 0, "Key 2 is the default key, but it is empty.\r\nThe default key must be one of the keys entered.", 1},
        {4, 0, "Key 4 is the default key, but it is empty.\r\nThe default key must be one of the keys entered.", 3},
        {0, -1, "", -1},
        {4, 3, "", -1},
    };
    for (const Case& c : cases) {
        for (bool hex : {true, false}) {
            SCOPED_TRACE(std::to_string(c.defaultKey) + (hex ? " hex" : " text"));
            WirelessWorld w;
            auto next = [&c](auto& p) {
                p.show();
                p.DefaultKey.setListIndex(c.defaultKey);
                if (c.typed >= 0) p.KeyText[c.typed].setText("0123456789");
                if (c.typed >= 0) p.ConfirmTxt[c.typed].setText("0123456789");
                p.Next.click();
                if (c.focus >= 0) {
                    EXPECT_EQ(p.focused(), static_cast<ui::Control*>(&p.KeyText[c.focus]));
                }
            };
            if (hex) {
                w.q.WEPkeyDlgForm().KeySize.setListIndex(Bits64);
                next(w.q.WEPkeyDlgForm());
            } else {
                next(w.q.WEPphraseDlgForm());
            }
            EXPECT_EQ(w.messages.count() ? w.messages.last().text : "", c.notice);
            EXPECT_EQ(w.isShown("FinishDialog"), c.notice.empty());
        }
    }
}

TEST(WEPphraseDlg, AnyTextPassesButEachConfirmationMustMatch) {
    WirelessWorld w;
    auto& p = w.q.WEPphraseDlgForm();
    p.show();
    EXPECT_EQ(p.DefaultKey.listIndex(), 1);
    EXPECT_EQ(p.AuthMethod.text(), "Shared");
    // As a settings file load leaves them: keys filled, confirmations empty.
    p.KeyText[0].setText("my key 1");
    p.KeyText[1].setText("Secret");
    p.Next.click();
    ASSERT_EQ(w.messages.count(), 1u);
    EXPECT_EQ(w.messages.last().text, "Inputs for Key 1 does not match, please re-enter the key again.");
    p.ConfirmTxt[0].userType("my key 1");
    p.ConfirmTxt[1].userType("secret");
    p.Next.click();
    EXPECT_EQ(w.messages.last().text, "Inputs for Key 2 does not match, please re-enter the key again.");
    EXPECT_EQ(w.messages.last().title, "Error");
    p.ShowChk[1].click();
    p.Next.click();
    EXPECT_EQ(w.messages.count(), 2u);
    EXPECT_EQ(w.shown(), std::vector<std::string>{"FinishDialog"});
}

TEST(WepKeyRows, ShowBoxRevealsTheKeyAndHidesItsConfirmation) {
    WirelessWorld w;
    auto& p = w.q.WEPkeyDlgForm();
    EXPECT_EQ(p.KeyLabel[3].caption(), "Key 4:");
    p.ShowChk[2].click();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(p.KeyText[i].passwordChar(), i == 2 ? 0 : '*');
        EXPECT_EQ(p.ConfirmTxt[i].visible(), i != 2);
        EXPECT_EQ(p.ConfirmLabel[i].visible(), i != 2);
    }
    p.ShowChk[2].click();
    EXPECT_EQ(p.KeyText[2].passwordChar(), '*');
    EXPECT_TRUE(p.ConfirmTxt[2].visible());
}

TEST(WepKeyRows, DisableGreysTheRowsOnlyThroughTheTimer) {
    WirelessWorld w;
    auto& key = w.q.WEPkeyDlgForm();
    auto& phrase = w.q.WEPphraseDlgForm();
    struct Page {
        ui::Form& form;
        ui::ComboBox& defaultKey;
        ui::Label& label2;
        ui::ControlArray<ui::TextBox>& keyText;
        ui::ControlArray<ui::TextBox>& confirmTxt;
        ui::ControlArray<ui::CheckBox>& showChk;
        ui::Timer& timer;
    };
    const Page pages[] = {
        {key, key.DefaultKey, key.Label2, key.KeyText, key.ConfirmTxt, key.ShowChk, key.Timer1},
        {phrase, phrase.DefaultKey, phrase.Label2, phrase.KeyText, phrase.ConfirmTxt, phrase.ShowChk, phrase.Timer1},
    };
    for (const auto& pg : pages) {
        SCOPED_TRACE(pg.form.name());
        pg.form.show();
        pg.keyText[3].setText("kept");
        pg.defaultKey.userSelect(0);  // keyboard on the closed list
        w.wait(300);
        EXPECT_TRUE(pg.keyText[3].enabled());

        pg.defaultKey.userDropDown();
        pg.defaultKey.userSelect(0);
        w.wait(100);
        EXPECT_FALSE(pg.label2.enabled());
        for (int i = 0; i < 4; ++i) {
            EXPECT_FALSE(pg.keyText[i].enabled());
            EXPECT_FALSE(pg.showChk[i].enabled());
            EXPECT_EQ(pg.confirmTxt[i].backColor(), ui::GreyedColour);
        }
        EXPECT_EQ(pg.keyText[3].text(), "kept");

        pg.defaultKey.userSelect(4);
        w.wait(100);
        EXPECT_TRUE(pg.keyText[0].enabled());
        EXPECT_EQ(pg.keyText[0].backColor(), ui::EnabledColour);
        pg.defaultKey.userSelect(0);
        w.wait(100);
        pg.defaultKey.userSelect(1);
        w.wait(100);
        EXPECT_TRUE(pg.keyText[0].enabled());
        WirelessWorld::press(pg.form, "Prev");
        EXPECT_TRUE(pg.timer.running());          // Back leaves it running
        WirelessWorld::press(pg.form, "Cancel");  // No keeps the page, the timer stops
        EXPECT_FALSE(pg.timer.running());
    }
}

}  // namespace
