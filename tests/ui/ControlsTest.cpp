#include <gtest/gtest.h>

#include "TestForms.h"

using namespace uitest;

namespace {

class Controls : public ui::Form {
public:
    explicit Controls(ui::Application& app) : ui::Form(app, "Controls", "Controls") {
        Opt1.onClick = [this] { log.push_back("Opt1"); };
        Opt2.onClick = [this] { log.push_back("Opt2"); };
        InFrame1.onClick = [this] { log.push_back("InFrame1"); };
        Combo.onClick = [this] { log.push_back("Combo_Click " + std::to_string(Combo.listIndex())); };
        Combo.onDropDown = [this] { log.push_back("Combo_DropDown"); };
        Editable.onChange = [this] { log.push_back("Editable_Change " + Editable.text()); };
        Box.onKeyPress = [this](int& key) {
            log.push_back("KeyPress " + std::to_string(key));
            if (key == 13) key = 0;
        };
        Scroll.onChange = [this] { log.push_back("Scroll " + std::to_string(Scroll.value())); };
        Check.add(1, "one");
        Check.add(3, "three");
        Check.onClick = [this](int i) { log.push_back("Check(" + std::to_string(i) + ")"); };
    }

    std::vector<std::string> log;
    ui::OptionButton Opt1{*this, "Opt1", "One"};
    ui::OptionButton Opt2{*this, "Opt2", "Two"};
    ui::Frame Frame1{*this, "Frame1", "Group"};
    ui::OptionButton InFrame1{*this, "InFrame1", "A", -1, &Frame1};
    ui::OptionButton InFrame2{*this, "InFrame2", "B", -1, &Frame1};
    ui::ComboBox Combo{*this, "Combo"};
    ui::ComboBox Editable{*this, "Editable", ui::ComboBox::Style::DropDownCombo};
    ui::TextBox Box{*this, "Box"};
    ui::ScrollBar Scroll{*this, "Scroll", -100, 100};
    ui::ControlArray<ui::CheckBox> Check{*this, "Check"};
    ui::CommandButton Go{*this, "Go", "Go", -1, &Frame1};
};

struct ControlsTest : ::testing::Test {
    World w;
    std::shared_ptr<Controls> f = std::make_shared<Controls>(w.app);
    void SetUp() override { f->load(); }
};

TEST_F(ControlsTest, OptionsAreExclusivePerContainer) {
    f->Opt1.setValue(true);
    f->InFrame1.setValue(true);
    EXPECT_TRUE(f->Opt1.value());
    EXPECT_TRUE(f->InFrame1.value());

    f->Opt2.click();
    EXPECT_FALSE(f->Opt1.value());
    EXPECT_TRUE(f->Opt2.value());
    EXPECT_TRUE(f->InFrame1.value());  // other group untouched

    f->InFrame2.setValue(true);
    EXPECT_FALSE(f->InFrame1.value());
    EXPECT_EQ(f->log, (std::vector<std::string>{"Opt1", "InFrame1", "Opt2"}));
}

TEST_F(ControlsTest, WritingAValueRunsTheHandlerOnlyOnAChange) {
    f->Opt1.setValue(true);
    f->Opt1.setValue(true);
    f->Combo.addItem("a");
    f->Combo.addItem("b");
    f->Combo.setListIndex(1);
    f->Combo.setListIndex(1);
    f->Check[3].setValue(1);
    f->Check[3].setValue(1);
    f->Check[1].setValue(2);
    EXPECT_EQ(f->log, (std::vector<std::string>{"Opt1", "Combo_Click 1", "Check(3)", "Check(1)"}));
}

TEST_F(ControlsTest, DropDownListSelectsRowsOnly) {
    EXPECT_EQ(f->Combo.listIndex(), -1);
    f->Combo.addItem("Disable");
    f->Combo.addItem("Enable");
    f->Combo.setText("Enable");
    EXPECT_EQ(f->Combo.listIndex(), 1);
    EXPECT_EQ(f->Combo.text(), "Enable");
    EXPECT_THROW(f->Combo.setText("Other"), std::invalid_argument);
    EXPECT_THROW(f->Combo.setListIndex(2), std::out_of_range);
    f->Combo.userType("typed");  // a list takes no typing
    EXPECT_EQ(f->Combo.text(), "Enable");
    f->Combo.setListIndex(-1);
    EXPECT_EQ(f->Combo.text(), "");
    f->Combo.userDropDown();
    EXPECT_EQ(f->log.back(), "Combo_DropDown");
}

TEST_F(ControlsTest, EditableComboKeepsTypedTextAndMatchesRows) {
    f->Editable.addItem("4.00");
    f->Editable.addItem("6.00");
    f->Editable.userType("5.25");
    EXPECT_EQ(f->Editable.text(), "5.25");
    EXPECT_EQ(f->Editable.listIndex(), -1);
    f->Editable.userType("6.00");
    EXPECT_EQ(f->Editable.listIndex(), 1);
    EXPECT_EQ(f->log, (std::vector<std::string>{"Editable_Change 5.25", "Editable_Change 6.00"}));
}

TEST_F(ControlsTest, RemovingRowsKeepsTheSelectionOnItsItem) {
    for (auto s : {"a", "b", "c"}) f->Combo.addItem(s);
    f->Combo.setListIndex(2);
    f->Combo.removeItem(0);
    EXPECT_EQ(f->Combo.listIndex(), 1);
    EXPECT_EQ(f->Combo.text(), "c");
    f->Combo.removeItem(1);
    EXPECT_EQ(f->Combo.listIndex(), -1);
    f->Combo.clear();
    EXPECT_EQ(f->Combo.listCount(), 0);
}

TEST_F(ControlsTest, KeyPressHandlerMaySwallowTheKey) {
    f->Box.setMaxLength(3);
    f->Box.userKey('a');
    f->Box.userKey(13);
    f->Box.userKey('b');
    f->Box.userKey('c');
    f->Box.userKey('d');  // over the limit
    EXPECT_EQ(f->Box.text(), "abc");
    f->Box.userKey(8);
    EXPECT_EQ(f->Box.text(), "ab");
    f->Box.userType("longer text");
    EXPECT_EQ(f->Box.text(), "lon");
    f->Box.setText("code may set any length");
    EXPECT_EQ(f->Box.text(), "code may set any length");
    EXPECT_EQ(std::count(f->log.begin(), f->log.end(), "KeyPress 13"), 1);
}

TEST_F(ControlsTest, KeyCodesAreCharactersOfTheWindowsCodePage) {
    const auto digits = [](const std::string& ch) { return ch.size() == 1 && ch[0] >= '0' && ch[0] <= '9'; };
    struct Case {
        std::vector<int> keys;
        bool digitsOnly;
        std::string text;
    };
    const Case cases[] = {
        {{0xE9, 'a'},
         false,
         "\xC3\xA9"
         "a"},                                                          // é
        {{0x80, 0x9F}, false, "\xE2\x82\xAC\xC5\xB8"},                  // € Ÿ
        {{0x81, 0x9D}, false, ""},                                      // no character there
        {{0xE9, 0xE9, 0xE9, 0xE9}, false, "\xC3\xA9\xC3\xA9\xC3\xA9"},  // the limit counts characters
        {{0xE9, 0x80, 8}, false, "\xC3\xA9"},                           // Backspace takes the whole character
        {{'1', 0xFC, 'x', '2'}, true, "12"},                            // the filter holds for keys too
    };
    f->Box.setMaxLength(3);
    for (const Case& c : cases) {
        f->Box.setText("");
        f->Box.setCharFilter(c.digitsOnly ? ui::TextBox::CharFilter(digits) : nullptr);
        for (int k : c.keys) f->Box.userKey(k);
        EXPECT_EQ(f->Box.text(), c.text) << c.keys.front();
    }
}

TEST_F(ControlsTest, UserInputNeedsAReachableControl) {
    f->Frame1.setEnabled(false);
    f->InFrame1.click();
    EXPECT_FALSE(f->InFrame1.value());
    int clicks = 0;
    f->Go.onClick = [&] { ++clicks; };
    f->Go.click();
    f->Frame1.setEnabled(true);
    f->Go.setVisible(false);
    f->Go.click();
    f->Go.setVisible(true);
    f->Go.click();
    EXPECT_EQ(clicks, 1);
    // Code may still set values on a disabled control, and greying keeps them.
    f->Box.setText("kept");
    f->Box.setEnabled(false);
    f->Box.setBackColor(ui::GreyedColour);
    f->Box.userType("lost");
    EXPECT_EQ(f->Box.text(), "kept");
}

TEST_F(ControlsTest, CheckBoxClickTogglesAndGreyedClearsOnClick) {
    f->Check[1].click();
    EXPECT_EQ(f->Check[1].value(), 1);
    EXPECT_TRUE(f->Check[1].ticked());
    f->Check[1].click();
    EXPECT_EQ(f->Check[1].value(), 0);
    f->Check[1].setValue(2);
    EXPECT_FALSE(f->Check[1].ticked());
    EXPECT_THROW(f->Check[1].setValue(3), std::invalid_argument);
}

TEST_F(ControlsTest, SparseControlArray) {
    EXPECT_TRUE(f->Check.exists(1));
    EXPECT_FALSE(f->Check.exists(2));
    EXPECT_EQ(f->Check.count(), 2);
    EXPECT_EQ(f->Check.lbound(), 1);
    EXPECT_EQ(f->Check.ubound(), 3);
    EXPECT_THROW(f->Check[2], std::out_of_range);
    std::vector<int> seen;
    for (auto& c : f->Check) seen.push_back(c.index());
    EXPECT_EQ(seen, (std::vector<int>{1, 3}));
    EXPECT_EQ(f->Check[3].caption(), "three");
    EXPECT_EQ(f->find("Check", 3), &f->Check[3]);
}

TEST_F(ControlsTest, ScrollBarStaysInItsRange) {
    f->Scroll.setValue(150);
    EXPECT_EQ(f->Scroll.value(), 100);
    f->Scroll.setValue(-101);
    EXPECT_EQ(f->Scroll.value(), -100);
    f->Scroll.setRange(-10, 10);
    EXPECT_EQ(f->Scroll.value(), -10);
    EXPECT_EQ(f->log, (std::vector<std::string>{"Scroll 100", "Scroll -100", "Scroll -10"}));
}

}  // namespace
