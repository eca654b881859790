#pragma once
// Controls of a form. Writing a value from code runs the same handler as a
// change by the user; the user* methods model input and respect Enabled.

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace ui {

class Form;

// Background colours of inputs: greyed and enabled.
constexpr std::uint32_t GreyedColour = 0x8000000F;
constexpr std::uint32_t EnabledColour = 0x8000000E;

enum class Kind {
    Label,
    TextBox,
    CommandButton,
    CheckBox,
    OptionButton,
    ComboBox,
    Frame,
    Picture,
    Timer,
    ProgressBar,
    ScrollBar
};

// What changed on a control, for the renderer.
enum class Property {
    Enabled,
    Visible,
    BackColor,
    ToolTip,
    Caption,
    Text,
    Value,
    List,
    ListIndex,
    Range,
    Style,
    Focus,
    Font,
    Buddy
};

// A label's font; size 0 is the form's usual size.
struct Font {
    bool bold = false;
    int pointSize = 0;
    bool operator==(const Font&) const = default;
};
// The page headings: bold, 12 point.
constexpr Font HeadingFont{true, 12};

using Handler = std::function<void()>;

class Control {
public:
    Control(Form& form, Kind kind, std::string name, int index = -1, Control* container = nullptr);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& form() const { return form_; }
    Kind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    int index() const { return index_; }               // -1 outside a control array
    Control* container() const { return container_; }  // nullptr: the form itself
    void setContainer(Control* container) { container_ = container; }

    bool enabled() const { return enabled_; }
    virtual void setEnabled(bool on);
    bool visible() const { return visible_; }
    void setVisible(bool on);
    std::uint32_t backColor() const { return backColor_; }
    void setBackColor(std::uint32_t colour);
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(std::string text);
    void setFocus();
    // What assistive technology calls a control that has no caption of its
    // own, nor one in its layout to go by; empty: worked out from the layout.
    const std::string& spokenName() const { return spokenName_; }
    void setSpokenName(std::string name) { spokenName_ = std::move(name); }
    // What assistive technology reads as the description of a control that
    // shows no tool tip; empty: its tool tip.
    const std::string& spokenDescription() const { return spokenDescription_; }
    void setSpokenDescription(std::string text) { spokenDescription_ = std::move(text); }

    // Enabled, visible and every container enabled and visible: a user can reach it.
    bool usable() const;

protected:
    void changed(Property p);
    void fire(const Handler& h);

private:
    Form& form_;
    Kind kind_;
    std::string name_;
    int index_;
    Control* container_;
    bool enabled_ = true;
    bool visible_ = true;
    std::uint32_t backColor_ = EnabledColour;
    std::string toolTip_;
    std::string spokenName_;
    std::string spokenDescription_;
};

class Label : public Control {
public:
    Label(Form& form, std::string name, std::string caption = {}, int index = -1, Control* container = nullptr);
    const std::string& caption() const { return caption_; }
    void setCaption(std::string text);
    const Font& font() const { return font_; }
    void setFont(Font f);
    // The control this label names: an "&" access key in the caption moves
    // the focus there, and assistive technology reads the caption as its name.
    Control* buddy() const { return buddy_; }
    void setBuddy(Control* c);

private:
    std::string caption_;
    Font font_;
    Control* buddy_ = nullptr;
};

class TextBox : public Control {
public:
    TextBox(Form& form, std::string name, int index = -1, Control* container = nullptr);
    const std::string& text() const { return text_; }
    void setText(std::string text);  // runs onChange when the text changes
    char passwordChar() const { return passwordChar_; }
    void setPasswordChar(char c);  // 0: shown in clear
    int maxLength() const { return maxLength_; }
    void setMaxLength(int n) { maxLength_ = n; }  // 0: no limit; limits typing only; counts characters
    // Characters the user may type (one UTF-8 character at a time); others
    // are refused as they are typed, like the length limit. Unset: any.
    using CharFilter = std::function<bool(const std::string& utf8Char)>;
    void setCharFilter(CharFilter f) { charFilter_ = std::move(f); }
    const CharFilter& charFilter() const { return charFilter_; }
    bool multiLine() const { return multiLine_; }
    void setMultiLine(bool on) { multiLine_ = on; }
    bool locked() const { return locked_; }
    void setLocked(bool on) { locked_ = on; }

    // User input: the whole new text as typed (cut to the length limit).
    void userType(std::string text);
    // User key press; the handler may change or swallow (0) the key.
    void userKey(int keyAscii);

    Handler onChange;
    std::function<void(int& keyAscii)> onKeyPress;

private:
    std::string text_;
    char passwordChar_ = 0;
    int maxLength_ = 0;
    CharFilter charFilter_;
    bool multiLine_ = false;
    bool locked_ = false;
};

class CommandButton : public Control {
public:
    CommandButton(Form& form, std::string name, std::string caption, int index = -1, Control* container = nullptr);
    const std::string& caption() const { return caption_; }
    void setCaption(std::string text);
    bool isDefault() const { return default_; }
    void setDefault(bool on) { default_ = on; }
    bool isCancel() const { return cancel_; }
    void setCancel(bool on) { cancel_ = on; }
    // A click by the user; ignored while the button cannot be reached.
    void click();
    Handler onClick;

private:
    std::string caption_;
    bool default_ = false;
    bool cancel_ = false;
};

class CheckBox : public Control {
public:
    CheckBox(Form& form, std::string name, std::string caption = {}, int index = -1, Control* container = nullptr);
    const std::string& caption() const { return caption_; }
    void setCaption(std::string text);
    int value() const { return value_; }  // 0 unticked, 1 ticked, 2 greyed
    bool ticked() const { return value_ == 1; }
    void setValue(int v);  // runs onClick when the value changes
    void click();          // user click: toggles
    Handler onClick;

private:
    std::string caption_;
    int value_ = 0;
};

class OptionButton : public Control {
public:
    OptionButton(Form& form, std::string name, std::string caption = {}, int index = -1, Control* container = nullptr);
    const std::string& caption() const { return caption_; }
    void setCaption(std::string text);
    bool value() const { return value_; }
    // true clears the other options of the same container and runs onClick
    // when this one was not selected yet.
    void setValue(bool on);
    void click();  // user click: selects
    Handler onClick;

private:
    std::string caption_;
    bool value_ = false;
};

class ComboBox : public Control {
public:
    enum class Style { DropDownCombo = 0, DropDownList = 2 };
    ComboBox(Form& form, std::string name, Style style = Style::DropDownList, int index = -1,
             Control* container = nullptr);
    Style style() const { return style_; }
    void setStyle(Style s);

    void addItem(std::string item);
    void removeItem(int row);
    void clear();
    int listCount() const { return static_cast<int>(items_.size()); }
    const std::string& list(int row) const;
    const std::vector<std::string>& items() const { return items_; }

    int listIndex() const { return listIndex_; }
    void setListIndex(int row);  // runs onClick when the row changes
    // The selected row's text, or the typed text of an editable combo.
    const std::string& text() const { return text_; }
    void setText(std::string text);  // editable: runs onChange; list: selects a matching row

    void userSelect(int row);
    void userType(std::string text);  // editable combo only
    void userDropDown();              // the user opens the list

    Handler onClick;
    Handler onChange;
    Handler onDropDown;

private:
    Style style_;
    std::vector<std::string> items_;
    int listIndex_ = -1;
    std::string text_;
};

// A list box: every row shows at once and the user picks one. Rows,
// selection and events are those of a drop-down list.
class ListBox : public ComboBox {
public:
    ListBox(Form& form, std::string name, int index = -1, Control* container = nullptr)
        : ComboBox(form, std::move(name), Style::DropDownList, index, container) {}
};

class Frame : public Control {
public:
    Frame(Form& form, std::string name, std::string caption = {}, int index = -1, Control* container = nullptr);
    const std::string& caption() const { return caption_; }
    void setCaption(std::string text);

private:
    std::string caption_;
};

class Picture : public Control {
public:
    Picture(Form& form, std::string name, std::string image = {}, int index = -1, Control* container = nullptr);
    const std::string& image() const { return image_; }  // a name the renderer resolves
    void setImage(std::string image);

private:
    std::string image_;
};

class Timer : public Control {
public:
    Timer(Form& form, std::string name, int intervalMs = 0, bool enabled = true);
    ~Timer() override;
    int interval() const { return interval_; }
    void setInterval(int ms);           // restarts the count
    void setEnabled(bool on) override;  // restarts the count
    bool running() const { return enabled() && interval_ > 0 && active_; }
    // Called by the timer queue when the interval has passed.
    void tick();
    Handler onTimer;

    // Started when the form loads and stopped when it unloads.
    void activate(bool on);
    std::uint32_t due() const { return due_; }
    bool inTick() const { return inTick_; }

private:
    void reschedule();
    int interval_;
    bool active_ = false;
    bool inTick_ = false;
    std::uint32_t due_ = 0;
    std::uint32_t tickDue_ = 0;  // the due time of the tick that runs
};

class ProgressBar : public Control {
public:
    ProgressBar(Form& form, std::string name, int index = -1, Control* container = nullptr);
    int value() const { return value_; }
    void setValue(int v);  // 0 to 100
private:
    int value_ = 0;
};

class ScrollBar : public Control {
public:
    ScrollBar(Form& form, std::string name, int min = 0, int max = 32767, int index = -1, Control* container = nullptr);
    int min() const { return min_; }
    int max() const { return max_; }
    void setRange(int min, int max);
    int value() const { return value_; }
    void setValue(int v);  // kept within the range; runs onChange when it changes
    int smallChange() const { return smallChange_; }
    int largeChange() const { return largeChange_; }
    void setSteps(int small, int large);
    void userSet(int v);
    Handler onChange;

private:
    int min_, max_;
    int value_;
    int smallChange_ = 1;
    int largeChange_ = 1;
};

}  // namespace ui
