#include "ui/Scripted.h"

namespace ui {

int ScriptedMessageBox::show(const MessageRequest& request) {
    shown_.push_back(request);
    if (onShow) onShow(request);
    if (script_.empty()) return buttonResult(request.buttons, request.defaultButton);
    int r = script_.front();
    script_.pop_front();
    return r;
}

std::optional<std::string> ScriptedFileDialog::open(const FileDialogRequest& request) {
    shown_.push_back(request);
    if (onShow) onShow(request);
    if (script_.empty()) return std::nullopt;
    auto r = std::move(script_.front());
    script_.pop_front();
    return r;
}

}  // namespace ui
