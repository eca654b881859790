#pragma once
// Scripted stand-ins for the user at a message box or a file dialog. Every
// request is recorded; answers come from the script, in order, and without
// a script entry a box takes its default button and a dialog is cancelled.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/Services.h"

namespace ui {

class ScriptedMessageBox : public MessageBoxService {
public:
    int show(const MessageRequest& request) override;

    // The next box is answered with this result code (IDYES, IDNO, IDOK, ...).
    void answer(int result) { script_.push_back(result); }
    // Runs while the box is "open", before it is answered (for nested input).
    std::function<void(const MessageRequest&)> onShow;

    const std::vector<MessageRequest>& shown() const { return shown_; }
    const MessageRequest& last() const { return shown_.back(); }
    std::size_t count() const { return shown_.size(); }
    std::size_t unanswered() const { return script_.size(); }
    void clear() { shown_.clear(); }

private:
    std::deque<int> script_;
    std::vector<MessageRequest> shown_;
};

class ScriptedFileDialog : public FileDialogService {
public:
    std::optional<std::string> open(const FileDialogRequest& request) override;
    void answer(std::optional<std::string> path) { script_.push_back(std::move(path)); }
    // Runs while the dialog is "open", before it is answered.
    std::function<void(const FileDialogRequest&)> onShow;
    const std::vector<FileDialogRequest>& shown() const { return shown_; }

private:
    std::deque<std::optional<std::string>> script_;
    std::vector<FileDialogRequest> shown_;
};

}  // namespace ui
