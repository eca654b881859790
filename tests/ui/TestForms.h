#pragma once
// A small headless world for forms-layer tests.

#include <memory>
#include <string>
#include <vector>

#include "support/UiWorld.h"
#include "ui/Application.h"
#include "ui/Clocks.h"
#include "ui/ControlArray.h"
#include "ui/Form.h"
#include "ui/FormSlot.h"
#include "ui/Scripted.h"
#include "ui/VirtualPump.h"

namespace uitest {

using World = testsupport::UiWorld;

// A page that records what happens to it.
class Page : public ui::Form {
public:
    Page(ui::Application& app, std::vector<std::string>& log, std::string name = "Page")
        : ui::Form(app, name, "Caption"), log_(log) {
        Text1.onChange = [this] { log_.push_back("Text1_Change " + Text1.text()); };
        Check1.onClick = [this] { log_.push_back("Check1_Click " + std::to_string(Check1.value())); };
        Next.onClick = [this] { log_.push_back("Next_Click"); };
    }

    ui::TextBox Text1{*this, "Text1"};
    ui::CheckBox Check1{*this, "Check1", "Tick"};
    ui::CommandButton Next{*this, "Next", "Next >"};

    int cancelQuery = 0;
    std::vector<int> queryModes;

protected:
    void Form_Load() override {
        log_.push_back("Form_Load " + name());
        Text1.setText("default");
    }
    void Form_QueryUnload(int& cancel, int mode) override {
        queryModes.push_back(mode);
        log_.push_back("Form_QueryUnload " + std::to_string(mode));
        cancel = cancelQuery;
    }
    void Form_Unload(int&) override { log_.push_back("Form_Unload " + name()); }
    void Form_Hide() override { log_.push_back("Form_Hide " + name()); }

    std::vector<std::string>& log_;
};

}  // namespace uitest
