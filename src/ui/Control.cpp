#include "ui/Control.h"

#include <algorithm>
#include <stdexcept>

#include "ui/Ansi.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/View.h"

namespace ui {

Control::Control(Form& form, Kind kind, std::string name, int index, Control* container)
    : form_(form), kind_(kind), name_(std::move(name)), index_(index), container_(container) {
    form_.attach(this);
}

Control::~Control() { form_.detach(this); }

void Control::setEnabled(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    changed(Property::Enabled);
}

void Control::setVisible(bool on) {
    if (visible_ == on) return;
    visible_ = on;
    changed(Property::Visible);
}

void Control::setBackColor(std::uint32_t colour) {
    if (backColor_ == colour) return;
    backColor_ = colour;
    changed(Property::BackColor);
}

void Control::setToolTip(std::string text) {
    if (toolTip_ == text) return;
    toolTip_ = std::move(text);
    changed(Property::ToolTip);
}

void Control::setFocus() {
    form_.setFocused(this);
    changed(Property::Focus);
}

bool Control::usable() const {
    for (const Control* c = this; c; c = c->container_)
        if (!c->enabled_ || !c->visible_) return false;
    return form_.isLoaded();
}

void Control::changed(Property p) {
    if (FormView* v = form_.view()) v->controlChanged(*this, p);
}

void Control::fire(const Handler& h) {
    if (h) form_.dispatch(h);
}

// ---------------------------------------------------------------------------

Label::Label(Form& form, std::string name, std::string caption, int index, Control* container)
    : Control(form, Kind::Label, std::move(name), index, container), caption_(std::move(caption)) {}

void Label::setCaption(std::string text) {
    if (caption_ == text) return;
    caption_ = std::move(text);
    changed(Property::Caption);
}

void Label::setFont(Font f) {
    if (font_ == f) return;
    font_ = f;
    changed(Property::Font);
}

void Label::setBuddy(Control* c) {
    if (buddy_ == c) return;
    buddy_ = c;
    changed(Property::Buddy);
}

// ---------------------------------------------------------------------------

TextBox::TextBox(Form& form, std::string name, int index, Control* container)
    : Control(form, Kind::TextBox, std::move(name), index, container) {}

void TextBox::setText(std::string text) {
    if (text_ == text) return;
    text_ = std::move(text);
    changed(Property::Text);
    fire(onChange);
}

void TextBox::setPasswordChar(char c) {
    if (passwordChar_ == c) return;
    passwordChar_ = c;
    changed(Property::Style);
}

namespace {

// Length of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
std::size_t utf8Length(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) return 4;
    if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

void TextBox::userType(std::string text) {
    if (!usable() || locked_) return;
    // Keep the characters the filter takes, up to the length limit.
    std::string kept;
    int count = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = std::min(utf8Length(static_cast<unsigned char>(text[i])), text.size() - i);
        std::string ch = text.substr(i, n);
        i += n;
        if (charFilter_ && !charFilter_(ch)) continue;
        if (maxLength_ > 0 && count >= maxLength_) break;
        kept += ch;
        ++count;
    }
    setText(std::move(kept));
}

void TextBox::userKey(int keyAscii) {
    if (!usable()) return;
    if (onKeyPress) {
        int key = keyAscii;
        form().dispatch([&] { onKeyPress(key); });
        keyAscii = key;
    }
    if (keyAscii == 0 || locked_) return;
    if (keyAscii == 8) {
        // Backspace removes the last character, all of its bytes.
        if (text_.empty()) return;
        std::size_t cut = text_.size() - 1;
        while (cut > 0 && (static_cast<unsigned char>(text_[cut]) & 0xC0) == 0x80) --cut;
        setText(text_.substr(0, cut));
    } else if (keyAscii >= 32 && keyAscii < 256 && keyAscii != 127) {
        const char32_t ch = ansiToUnicode(keyAscii);
        if (ch == 0) return;
        std::string typed = utf8Of(ch);
        if (charFilter_ && !charFilter_(typed)) return;
        if (maxLength_ > 0 && utf8Count(text_) >= maxLength_) return;
        setText(text_ + typed);
    }
}

// ---------------------------------------------------------------------------

CommandButton::CommandButton(Form& form, std::string name, std::string caption, int index, Control* container)
    : Control(form, Kind::CommandButton, std::move(name), index, container), caption_(std::move(caption)) {}

void CommandButton::setCaption(std::string text) {
    if (caption_ == text) return;
    caption_ = std::move(text);
    changed(Property::Caption);
}

void CommandButton::click() {
    if (!usable()) return;
    fire(onClick);
}

// ---------------------------------------------------------------------------

CheckBox::CheckBox(Form& form, std::string name, std::string caption, int index, Control* container)
    : Control(form, Kind::CheckBox, std::move(name), index, container), caption_(std::move(caption)) {}

void CheckBox::setCaption(std::string text) {
    if (caption_ == text) return;
    caption_ = std::move(text);
    changed(Property::Caption);
}

void CheckBox::setValue(int v) {
    if (v < 0 || v > 2) throw std::invalid_argument("check box value must be 0, 1 or 2");
    if (value_ == v) return;
    value_ = v;
    changed(Property::Value);
    fire(onClick);
}

void CheckBox::click() {
    if (!usable()) return;
    setValue(value_ == 1 ? 0 : 1);
}

// ---------------------------------------------------------------------------

OptionButton::OptionButton(Form& form, std::string name, std::string caption, int index, Control* container)
    : Control(form, Kind::OptionButton, std::move(name), index, container), caption_(std::move(caption)) {}

void OptionButton::setCaption(std::string text) {
    if (caption_ == text) return;
    caption_ = std::move(text);
    changed(Property::Caption);
}

void OptionButton::setValue(bool on) {
    if (!on) {
        if (!value_) return;
        value_ = false;
        changed(Property::Value);
        return;
    }
    if (value_) return;
    // Options of one container form one group.
    for (Control* c : form().controls()) {
        if (c != this && c->kind() == Kind::OptionButton && c->container() == container()) {
            auto* o = static_cast<OptionButton*>(c);
            if (o->value_) {
                o->value_ = false;
                o->changed(Property::Value);
            }
        }
    }
    value_ = true;
    changed(Property::Value);
    fire(onClick);
}

void OptionButton::click() {
    if (!usable()) return;
    setValue(true);
}

// ---------------------------------------------------------------------------

ComboBox::ComboBox(Form& form, std::string name, Style style, int index, Control* container)
    : Control(form, Kind::ComboBox, std::move(name), index, container), style_(style) {}

void ComboBox::setStyle(Style s) {
    style_ = s;
    changed(Property::Style);
}

void ComboBox::addItem(std::string item) {
    items_.push_back(std::move(item));
    changed(Property::List);
}

void ComboBox::removeItem(int row) {
    if (row < 0 || row >= listCount()) throw std::out_of_range("combo box row " + std::to_string(row));
    items_.erase(items_.begin() + row);
    if (listIndex_ == row) {
        listIndex_ = -1;
        if (style_ == Style::DropDownList) text_.clear();
    } else if (listIndex_ > row) {
        --listIndex_;
    }
    changed(Property::List);
    changed(Property::ListIndex);
}

void ComboBox::clear() {
    items_.clear();
    listIndex_ = -1;
    text_.clear();
    changed(Property::List);
    changed(Property::ListIndex);
}

const std::string& ComboBox::list(int row) const {
    static const std::string none;
    if (row < 0 || row >= listCount()) return none;
    return items_[static_cast<std::size_t>(row)];
}

void ComboBox::setListIndex(int row) {
    if (row < -1 || row >= listCount()) throw std::out_of_range("combo box row " + std::to_string(row));
    if (row == listIndex_) return;
    listIndex_ = row;
    if (row >= 0)
        text_ = items_[static_cast<std::size_t>(row)];
    else if (style_ == Style::DropDownList)
        text_.clear();
    changed(Property::ListIndex);
    fire(onClick);
}

void ComboBox::setText(std::string text) {
    auto it = std::find(items_.begin(), items_.end(), text);
    if (style_ == Style::DropDownList) {
        if (it == items_.end()) throw std::invalid_argument("no row \"" + text + "\" in " + name());
        setListIndex(static_cast<int>(it - items_.begin()));
        return;
    }
    if (text_ == text) return;
    text_ = std::move(text);
    listIndex_ = it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
    changed(Property::Text);
    fire(onChange);
}

void ComboBox::userSelect(int row) {
    if (!usable()) return;
    setListIndex(row);
}

void ComboBox::userType(std::string text) {
    if (!usable() || style_ == Style::DropDownList) return;
    setText(std::move(text));
}

void ComboBox::userDropDown() {
    if (!usable()) return;
    fire(onDropDown);
}

// ---------------------------------------------------------------------------

Frame::Frame(Form& form, std::string name, std::string caption, int index, Control* container)
    : Control(form, Kind::Frame, std::move(name), index, container), caption_(std::move(caption)) {}

void Frame::setCaption(std::string text) {
    if (caption_ == text) return;
    caption_ = std::move(text);
    changed(Property::Caption);
}

Picture::Picture(Form& form, std::string name, std::string image, int index, Control* container)
    : Control(form, Kind::Picture, std::move(name), index, container), image_(std::move(image)) {}

void Picture::setImage(std::string image) {
    image_ = std::move(image);
    changed(Property::Value);
}

// ---------------------------------------------------------------------------

Timer::Timer(Form& form, std::string name, int intervalMs, bool enabled)
    : Control(form, Kind::Timer, std::move(name)), interval_(intervalMs) {
    Control::setEnabled(enabled);
    setVisible(false);
    form.app().addTimer(this);
    if (form.isLoaded()) activate(true);
}

Timer::~Timer() { form().app().removeTimer(this); }

void Timer::setInterval(int ms) {
    interval_ = ms < 0 ? 0 : ms;
    reschedule();
}

void Timer::setEnabled(bool on) {
    Control::setEnabled(on);
    reschedule();
}

void Timer::activate(bool on) {
    active_ = on;
    reschedule();
}

void Timer::reschedule() {
    const std::uint32_t now = form().app().clock().milliseconds();
    const auto interval = static_cast<std::uint32_t>(interval_);
    due_ = now + interval;
    if (!inTick_ || interval == 0) return;
    // Inside its own tick the count goes on from the tick's due time, so a
    // late tick does not make the later ones late; ticks missed meanwhile
    // are skipped, not made up in a burst.
    due_ = tickDue_ + interval;
    const auto behind = static_cast<std::int32_t>(now - due_);
    if (behind >= 0) due_ += (static_cast<std::uint32_t>(behind) / interval + 1) * interval;
}

void Timer::tick() {
    if (!running() || inTick_) return;
    auto keep = form().weak_from_this().lock();  // the tick may unload the form
    tickDue_ = due_;
    inTick_ = true;
    reschedule();
    try {
        fire(onTimer);
    } catch (...) {
        inTick_ = false;
        throw;
    }
    inTick_ = false;
}

// ---------------------------------------------------------------------------

ProgressBar::ProgressBar(Form& form, std::string name, int index, Control* container)
    : Control(form, Kind::ProgressBar, std::move(name), index, container) {}

void ProgressBar::setValue(int v) {
    if (v < 0 || v > 100) throw std::out_of_range("progress value " + std::to_string(v));
    if (value_ == v) return;
    value_ = v;
    changed(Property::Value);
}

ScrollBar::ScrollBar(Form& form, std::string name, int min, int max, int index, Control* container)
    : Control(form, Kind::ScrollBar, std::move(name), index, container), min_(min), max_(max), value_(min) {}

void ScrollBar::setRange(int min, int max) {
    min_ = min;
    max_ = max;
    changed(Property::Range);
    setValue(value_);
}

void ScrollBar::setValue(int v) {
    int lo = std::min(min_, max_), hi = std::max(min_, max_);
    v = std::clamp(v, lo, hi);
    if (v == value_) return;
    value_ = v;
    changed(Property::Value);
    fire(onChange);
}

void ScrollBar::setSteps(int small, int large) {
    smallChange_ = small;
    largeChange_ = large;
}

void ScrollBar::userSet(int v) {
    if (!usable()) return;
    setValue(v);
}

}  // namespace ui
