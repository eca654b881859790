// The wireless and security pages of Quillon as real Qt windows, each
// rendered into a picture with its rows enabled.

#include <QImage>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "GuiWorld.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/pages/EncryptQuestionDlg.h"
#include "netcfg/pages/LEAPDlg.h"
#include "netcfg/pages/WEPDlg.h"
#include "netcfg/pages/WEPkeyDlg.h"
#include "netcfg/pages/WEPphraseDlg.h"
#include "netcfg/pages/WPADlg.h"
#include "netcfg/pages/WirelessDlg.h"
#include "netcfg/pages/WirelessQuestionDlg.h"
#include "platform/Platform.h"

namespace {

using guitest::GuiWorld;

struct Screen {
    const char* name;
    std::function<ui::Form&(netcfg::QuillonModule&)> prepare;  // shows the page in its state
};

const Screen Screens[] = {
    {"WirelessQuestionDlg",
     [](netcfg::QuillonModule& m) -> ui::Form& {
         auto& p = m.WirelessQuestionDlgForm();
         for (int i : {0, 3, 9}) p.check[i].setValue(1);
         p.EncryptionCB.setValue(1);
         p.show();
         return p;
     }},
    {"WirelessDlg",
     [](netcfg::QuillonModule& m) -> ui::Form& {
         for (auto& c : m.WirelessQuestionDlgForm().check) c.setValue(1);
         auto& p = m.WirelessDlgForm();
         p.show();
         p.SetDefaultState();
         p.SSID.setText("Warehouse-2");
         return p;
     }},
    {"EncryptQuestionDlg",
     [](netcfg::QuillonModule& m) -> ui::Form& {
         auto& p = m.EncryptQuestionDlgForm();
         p.click[2].setValue(true);
         p.WPA.setValue(1);
         p.show();
         return p;
     }},
    {"WEPDlg",
     [](netcfg::QuillonModule& m) -> ui::Form& {
         m.WEPDlgForm().show();
         return m.WEPDlgForm();
     }},
    {"WEPkeyDlg",
     [](netcfg::QuillonModule& m) -> ui::Form& {
         auto& p = m.WEPkeyDlgForm();
         p.KeyText[0].setText("A7F3-0C9E-5B21-D84A-36E0-F19B-7C");
         p.ShowChk[1].setValue(1);
         p.show();
         return p;
     }},
    {"WEPphraseDlg",
     [](netcfg::QuillonModule& m) -> ui::Form& {
         auto& p = m.WEPphraseDlgForm();
         p.KeyText[0].setText("gatehouse");
         p.show();
         return p;
     }},
    {"WPADlg",
     [](netcfg::QuillonModule& m) -> ui::Form& {
         m.WPADlgForm().show();
         return m.WPADlgForm();
     }},
    {"LEAPDlg",
     [](netcfg::QuillonModule& m) -> ui::Form& {
         m.LEAPDlgForm().show();
         return m.LEAPDlgForm();
     }},
};

class WirelessScreens : public ::testing::TestWithParam<Screen> {
protected:
    void TearDown() override {
        module.reset();
        world.reset();
        guitest::flushDeletes();
    }
    platform::Platform os;
    std::unique_ptr<GuiWorld> world = std::make_unique<GuiWorld>();
    std::unique_ptr<netcfg::QuillonModule> module =
        std::make_unique<netcfg::QuillonModule>(world->app, os, "/nonexistent-program-folder");
};

TEST_P(WirelessScreens, RendersToPng) {
    const std::string dir = QUILL_SCREENS_DIR;
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/" + GetParam().name + ".png";
    std::filesystem::remove(path);
    ui::Form& page = GetParam().prepare(*module);
    ASSERT_TRUE(ui::windowOf(page)->isVisible());
    ASSERT_TRUE(ui::grabToPng(page, path));
    QImage image(QString::fromStdString(path));
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 480);
}

INSTANTIATE_TEST_SUITE_P(Quillon, WirelessScreens, ::testing::ValuesIn(Screens),
                         [](const ::testing::TestParamInfo<Screen>& screen) { return std::string(screen.param.name); });

}  // namespace
