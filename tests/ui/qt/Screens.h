#pragma once
// Pictures of forms for people to look at: saveScreen(form, "PortSelect")
// writes build/tests/screens/PortSelect.png, saveScreen(form, "marrowby/Selection")
// writes build/tests/screens/marrowby/Selection.png. The form must be loaded
// with the Qt renderer; a hidden form is laid out and rendered all the same.

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "ui/Form.h"
#include "ui/qt/QtView.h"

#ifndef QUILL_SCREENS_DIR
#define QUILL_SCREENS_DIR QUILL_BIN_DIR "/../tests/screens"
#endif

namespace guitest {

// The folder of the pictures (made when missing).
inline std::filesystem::path screensDir() {
    std::filesystem::path dir = QUILL_SCREENS_DIR;
    std::filesystem::create_directories(dir);
    return dir;
}

// Renders the form into <screens>/<name>.png, making sub-folders as needed;
// returns the file's path, or an empty path after a test failure.
inline std::filesystem::path saveScreen(ui::Form& form, const std::string& name) {
    const std::filesystem::path path = screensDir() / (name + ".png");
    std::filesystem::create_directories(path.parent_path());
    if (!ui::grabToPng(form, path.string())) {
        ADD_FAILURE() << "no picture of " << form.name() << " at " << path;
        return {};
    }
    return path;
}

}  // namespace guitest
