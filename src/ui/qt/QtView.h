#pragma once
// Qt Widgets renderer of the forms layer: one page widget per loaded form,
// one widget per control; the windows the pages go in are the window
// board's (QtWindowBoard.h). User input goes into the model through the
// controls' user* methods; model changes update the widgets at once.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <QPointer>

#include "ui/Form.h"
#include "ui/View.h"

class QBoxLayout;
class QButtonGroup;
class QEvent;
class QLabel;
class QListWidget;
class QFrame;
class QGridLayout;
class QHBoxLayout;
class QObject;
class QPixmap;
class QVBoxLayout;
class QWidget;

namespace ui {

class QtFormWindow;

class QtFormView : public FormView {
public:
    explicit QtFormView(Form& form);
    ~QtFormView() override;
    QtFormView(const QtFormView&) = delete;
    QtFormView& operator=(const QtFormView&) = delete;

    void visibilityChanged(bool visible, bool modal) override;
    void captionChanged() override;
    void controlChanged(Control& control, Property property) override;
    void controlRemoved(Control& control) override;

    Form& form() const { return form_; }
    // The window the form's page is in; while it is in none, the page itself.
    QWidget* window() const;
    // The form's page: its controls and its button row.
    QWidget* page() const;
    // The widget of a control; nullptr for a timer or an unknown control.
    QWidget* widget(const Control& control) const;
    // The focus goes where a page shown puts it.
    void focusFirst();

private:
    void build();
    void place(Control* container, QBoxLayout* into, QWidget* parent, bool topLevel);
    void placeGrid(const std::vector<std::vector<Control*>>& grid, Control* container, QBoxLayout* into,
                   QWidget* parent, std::set<const Control*>& done);
    void alignGrids();     // columns of the form's grids line up with each other
    void applyIndents();   // controls set in under another one
    void applyTabOrder();  // Tab follows the order of the form's controls
    // The controls in Tab order: the form's order, a grid row by row where
    // its first control stands.
    std::vector<Control*> tabOrder() const;
    // The control that takes the focus when the form is shown.
    Control* firstFocus() const;
    void applyAccessibleTexts();
    void nameScroller();  // the page's scroll area, while it is a Tab stop
    QButtonGroup* optionGroup(const Control* container);
    void optionTabStops(const Control* container);
    void buttonToggled(Control* c);
    bool enterKey(QObject* target, QEvent* e);
    QWidget* makeWidget(Control& c, QWidget* parent);
    QWidget* ensureWidget(Control& c);
    void wire(Control& c, QWidget* w);
    void syncAll(Control& c);
    void sync(Control& c, Property p);
    void syncCaption(Control& c, QWidget* w);
    void syncLabel(Label& l, QLabel* w);
    void syncStyle(Control& c, QWidget* w);
    void wireList(Control* c, QListWidget* list);
    void syncList(const ComboBox& model, QListWidget* list);
    // Value, text, list and the like; after user input a text box keeps its cursor.
    void syncState(Control& c, bool afterInput = false);
    bool attached(const Control* c) const;
    bool owns(const Control* c, const QWidget* w) const;  // w is still c's widget
    bool hasChildren(const Control* c) const;
    // Runs a user input on a control and puts the widget back in line with
    // the model afterwards, unless the input unloaded the form.
    template <class F>
    void input(Control* c, F&& action);
    bool keyPressed(int key);  // window-level Enter and Escape
    void focusMoved(QWidget* now);
    CommandButton* usableButton(bool isDefault) const;
    bool mnemonic(QObject* target, QEvent* e);  // Alt+letter on a button clicks it at once
    void clickControl(Control* c);
    int lineKey(Control* c, int key);  // key press filter of a text box

    friend class QtFormWindow;

    Form& form_;
    std::shared_ptr<bool> alive_;
    std::unique_ptr<QObject> ctx_;        // receiver of every connection
    std::unique_ptr<QObject> mnemonics_;  // event filter of the buttons
    std::unique_ptr<QObject> keys_;       // event filter of every widget: Enter
    QPointer<QWidget> page_;              // a QtPage
    QVBoxLayout* content_ = nullptr;
    QVBoxLayout* logos_ = nullptr;
    QHBoxLayout* buttons_ = nullptr;
    QFrame* buttonLine_ = nullptr;
    std::map<const Control*, QPointer<QWidget>> widgets_;
    std::map<const Control*, QBoxLayout*> inner_;                    // layouts of Frame and Picture containers
    std::map<const Control*, QPointer<QButtonGroup>> optionGroups_;  // the options of each container
    struct GridColumns {
        QGridLayout* grid;
        std::vector<bool> stretchy;  // columns that take the room left over
    };
    std::vector<GridColumns> grids_;
};

class QtViewFactory : public ViewFactory {
public:
    std::unique_ptr<FormView> create(Form& form) override;
};

// The Qt view of a loaded form, its window and a control's widget, or nullptr.
// The last two settle the page changes made so far (see settleWindows).
QtFormView* qtView(const Form& form);
QWidget* windowOf(const Form& form);
QWidget* widgetOf(const Control& control);

// The placeholder image drawn for a picture's image name ("logo", "icon", ...).
QPixmap pictureImage(const std::string& name);

// Renders a loaded form's window into a PNG file, laid out at its size (its
// natural size when it is hidden); false when it has no window or the file
// could not be written.
bool grabToPng(Form& form, const std::string& path);

}  // namespace ui
