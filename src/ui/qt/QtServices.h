#pragma once
// Message boxes and the file dialog as real Qt dialogs.

#include <QString>
#include <optional>
#include <string>

#include "ui/Services.h"

namespace ui {

class QtMessageBox : public MessageBoxService {
public:
    // Shows a QMessageBox over the active form window and returns IDOK,
    // IDCANCEL, IDYES or IDNO. Escape and the title-bar close give Cancel
    // where there is one, else No, else OK.
    int show(const MessageRequest& request) override;
};

class QtFileDialog : public FileDialogService {
public:
    // Over the active form window. A file that must exist is picked with an
    // open dialog; otherwise a new name may be typed, in an open or a save
    // dialog as asked (no overwrite question: the pages ask themselves).
    std::optional<std::string> open(const FileDialogRequest& request) override;
};

// "Desc|*.ext|Desc2|*.x" as Qt's "Desc (*.ext);;Desc2 (*.x)"; "*.*" becomes "*".
QString qtFileFilter(const std::string& filter);

// The wait cursor over every window of the program, and the cursor before
// it again. Qt's X11 backend hands a cursor change to the display at once,
// so the wait cursor shows while the thread blocks in a long call.
void showWaitCursor();
void restoreCursor();

}  // namespace ui
