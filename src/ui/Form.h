#pragma once
// A form (page). It is constructed with its design-time controls, loaded on
// first use (Form_Load runs once), shown, hidden and unloaded. An unloaded form
// is dead: the next use through its FormSlot builds a fresh one.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/Control.h"

namespace ui {

class Application;
class FormView;

// Why a form is being unloaded, as QueryUnload sees it.
constexpr int UnloadByUser = 0;     // the title-bar close button
constexpr int UnloadByProgram = 1;  // an unload from code

class Form : public std::enable_shared_from_this<Form> {
public:
    Form(Application& app, std::string name, std::string caption);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Application& app() const { return app_; }
    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string text);

    enum class State { Created, Loaded, Unloaded };
    State state() const { return state_; }
    bool isLoaded() const { return state_ == State::Loaded; }
    bool isVisible() const { return visible_; }
    bool isModal() const { return modal_; }

    // Runs Form_Load once; every other entry point loads first.
    void load();
    void show();
    // Shows the form and returns when it is hidden or unloaded.
    void showModal();
    void hide();
    // Unload with QueryUnload and Unload; returns false when a handler cancelled.
    bool unload(int mode = UnloadByProgram);
    // The user's title-bar close.
    bool userClose() { return unload(UnloadByUser); }

    const std::vector<Control*>& controls() const { return controls_; }
    Control* find(const std::string& name, int index = -1) const;
    Control* focused() const { return focused_; }

    // Layout hint for renderers: controls shown side by side on one row.
    void layoutRow(std::vector<Control*> row) { rows_.push_back(std::move(row)); }
    const std::vector<std::vector<Control*>>& layoutRows() const { return rows_; }
    // Layout hint: rows whose columns line up (a caption, its input, its help
    // button); nullptr leaves a cell empty.
    void layoutGrid(std::vector<std::vector<Control*>> grid) { grids_.push_back(std::move(grid)); }
    const std::vector<std::vector<std::vector<Control*>>>& layoutGrids() const { return grids_; }
    // Layout hint: controls set in under another one (an option, or the
    // caption of a row above them), where its own caption starts.
    struct Indent {
        Control* under;
        std::vector<Control*> controls;
    };
    void layoutIndent(Control* under, std::vector<Control*> controls) {
        indents_.push_back({under, std::move(controls)});
    }
    const std::vector<Indent>& layoutIndents() const { return indents_; }

    // Presentation hint: while shown, the form blocks the window it was
    // opened over (and only that one).
    void setModalToOpener(bool on) { modalToOpener_ = on; }
    bool modalToOpener() const { return modalToOpener_; }

    // Runs a handler of this form; the form stays alive until it returns,
    // even when the handler unloads it.
    void dispatch(const std::function<void()>& handler);
    int handlersRunning() const { return running_; }

    FormView* view() const { return view_.get(); }

    // Used by controls.
    void attach(Control* c);
    void detach(Control* c);
    void setFocused(Control* c);

protected:
    virtual void Form_Load() {}
    virtual void Form_QueryUnload(int& cancel, int unloadMode) {
        (void)cancel;
        (void)unloadMode;
    }
    virtual void Form_Unload(int& cancel) { (void)cancel; }
    // Runs after hide() (not when the form is unloaded).
    virtual void Form_Hide() {}

private:
    void setVisible(bool on);

    Application& app_;
    std::string name_;
    std::string caption_;
    State state_ = State::Created;
    bool visible_ = false;
    bool modal_ = false;
    bool unloading_ = false;
    int running_ = 0;
    std::vector<Control*> controls_;
    std::vector<std::vector<Control*>> rows_;
    std::vector<std::vector<std::vector<Control*>>> grids_;
    std::vector<Indent> indents_;
    bool modalToOpener_ = false;
    Control* focused_ = nullptr;
    std::unique_ptr<FormView> view_;
};

}  // namespace ui
