#pragma once
// Message boxes and the file dialog as real Qt dialogs.

#include <QString>
#include <optional>
#include <string>

#include "ui/Services.h"

namespace ui {

class QtMessageBox : public MessageBoxService {
public:
    // Shows a QMessageBox and returns IDOK, IDCANCEL, IDYES or IDNO. A box
    // closed without a button gives its Escape answer: Cancel where there is
    // one, else No, else OK.
    int show(const MessageRequest& request) override;
};

class QtFileDialog : public FileDialogService {
public:
    // A file that must exist is picked with an open dialog; otherwise a new
    // name may be typed (no overwrite question: the pages ask themselves).
    std::optional<std::string> open(const FileDialogRequest& request) override;
};

// "Desc|*.ext|Desc2|*.x" as Qt's "Desc (*.ext);;Desc2 (*.x)".
QString qtFileFilter(const std::string& filter);

}  // namespace ui
