#include "ui/Form.h"

#include <algorithm>

#include "ui/Application.h"
#include "ui/View.h"

namespace ui {

Form::Form(Application& app, std::string name, std::string caption)
    : app_(app), name_(std::move(name)), caption_(std::move(caption)) {}

Form::~Form() {
    // Controls are members of the derived page and are gone by now.
    view_.reset();
    app_.forget(this);
}

void Form::setCaption(std::string text) {
    if (caption_ == text) return;
    caption_ = std::move(text);
    if (view_) view_->captionChanged();
}

void Form::load() {
    if (state_ != State::Created) return;
    state_ = State::Loaded;
    app_.formLoaded(this);
    if (ViewFactory* f = app_.views()) view_ = f->create(*this);
    for (Control* c : controls_)
        if (c->kind() == Kind::Timer) static_cast<Timer*>(c)->activate(true);
    dispatch([this] { Form_Load(); });
}

void Form::show() {
    load();
    if (state_ != State::Loaded) return;  // Form_Load unloaded it
    modal_ = false;
    setVisible(true);
}

void Form::showModal() {
    load();
    if (state_ != State::Loaded) return;
    auto keep = weak_from_this().lock();
    modal_ = true;
    setVisible(true);
    app_.pump().runModal(*this);
    modal_ = false;
}

void Form::hide() {
    load();
    if (state_ != State::Loaded) return;
    setVisible(false);
    dispatch([this] { Form_Hide(); });
}

void Form::setVisible(bool on) {
    if (visible_ == on) return;
    visible_ = on;
    if (view_) view_->visibilityChanged(on, modal_);
}

bool Form::unload(int mode) {
    if (state_ != State::Loaded || unloading_) return true;
    auto keep = weak_from_this().lock();
    int cancel = 0;
    dispatch([&] { Form_QueryUnload(cancel, mode); });
    if (state_ != State::Loaded) return true;  // unloaded by the handler itself
    if (cancel != 0) return false;
    dispatch([&] { Form_Unload(cancel); });
    if (state_ != State::Loaded) return true;
    if (cancel != 0) return false;

    unloading_ = true;
    setVisible(false);
    for (Control* c : controls_)
        if (c->kind() == Kind::Timer) static_cast<Timer*>(c)->activate(false);
    view_.reset();
    state_ = State::Unloaded;
    unloading_ = false;
    app_.formUnloaded(this);
    return true;
}

Control* Form::find(const std::string& name, int index) const {
    for (Control* c : controls_)
        if (c->name() == name && c->index() == index) return c;
    return nullptr;
}

void Form::dispatch(const std::function<void()>& handler) {
    auto keep = weak_from_this().lock();
    ++running_;
    try {
        app_.handlerStarts();
        handler();
    } catch (...) {
        --running_;
        app_.handlerEnded();
        throw;
    }
    --running_;
    app_.handlerEnded();
}

void Form::attach(Control* c) { controls_.push_back(c); }

void Form::detach(Control* c) {
    if (view_) view_->controlRemoved(*c);
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    if (focused_ == c) focused_ = nullptr;
    for (Control* x : controls_)
        if (x->kind() == Kind::Label && static_cast<Label*>(x)->buddy() == c) static_cast<Label*>(x)->setBuddy(nullptr);
    for (auto& row : rows_) row.erase(std::remove(row.begin(), row.end(), c), row.end());
    for (auto& grid : grids_)
        for (auto& row : grid) std::replace(row.begin(), row.end(), c, static_cast<Control*>(nullptr));
    for (auto& indent : indents_) {
        indent.controls.erase(std::remove(indent.controls.begin(), indent.controls.end(), c), indent.controls.end());
        if (indent.under == c) indent.under = nullptr;
    }
}

void Form::setFocused(Control* c) { focused_ = c; }

}  // namespace ui
