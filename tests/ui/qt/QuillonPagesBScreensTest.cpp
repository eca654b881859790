// The wireless and security pages of Quillon as real Qt windows, each
// rendered into a picture with its rows enabled.

#include <gtest/gtest.h>
#include <QWidget>
#include <functional>
#include <string>

#include "Screens.h"
#include "netcfg/core/QuillonModule.h"
#include "netcfg/pages/EncryptQuestionDlg.h"
#include "netcfg/pages/LEAPDlg.h"
#include "netcfg/pages/WEPDlg.h"
#include "netcfg/pages/WEPkeyDlg.h"
#include "netcfg/pages/WEPphraseDlg.h"
#include "netcfg/pages/WPADlg.h"
#include "netcfg/pages/WirelessDlg.h"
#include "netcfg/pages/WirelessQuestionDlg.h"
#include "support/QuillonGuiWorld.h"

namespace {

using netcfg::QuillonModule;

struct Screen {
    const char* name;
    std::function<ui::Form&(QuillonModule&)> prepare;  // the page in a state with its rows enabled
};

const Screen Screens[] = {
    {"WirelessQuestionDlg",
     [](QuillonModule& m) -> ui::Form& {
         for (int i : {0, 3, 9}) m.WirelessQuestionDlgForm().check[i].setValue(1);
         m.WirelessQuestionDlgForm().EncryptionCB.setValue(1);
         return m.WirelessQuestionDlgForm();
     }},
    {"WirelessDlg",
     [](QuillonModule& m) -> ui::Form& {
         for (auto& c : m.WirelessQuestionDlgForm().check) c.setValue(1);
         m.WirelessDlgForm().SetDefaultState();
         m.WirelessDlgForm().SSID.setText("Warehouse-2");
         return m.WirelessDlgForm();
     }},
    {"EncryptQuestionDlg",
     [](QuillonModule& m) -> ui::Form& {
         m.EncryptQuestionDlgForm().click[2].setValue(true);
         m.EncryptQuestionDlgForm().WPA.setValue(1);
         return m.EncryptQuestionDlgForm();
     }},
    {"WEPDlg", [](QuillonModule& m) -> ui::Form& { return m.WEPDlgForm(); }},
    {"WEPkeyDlg",
     [](QuillonModule& m) -> ui::Form& {
         m.WEPkeyDlgForm().KeyText[0].setText("A7F3-0C9E-5B21-D84A-36E0-F19B-7C");
         m.WEPkeyDlgForm().ShowChk[1].setValue(1);
         return m.WEPkeyDlgForm();
     }},
    {"WEPphraseDlg",
     [](QuillonModule& m) -> ui::Form& {
         m.WEPphraseDlgForm().KeyText[0].setText("gatehouse");
         return m.WEPphraseDlgForm();
     }},
    {"WPADlg", [](QuillonModule& m) -> ui::Form& { return m.WPADlgForm(); }},
    {"LEAPDlg", [](QuillonModule& m) -> ui::Form& { return m.LEAPDlgForm(); }},
};

struct WirelessScreens : ::testing::TestWithParam<Screen>, testsupport::QuillonGuiWorld {};

TEST_P(WirelessScreens, RendersToPng) {
    ui::Form& page = GetParam().prepare(*module);
    page.show();
    ASSERT_TRUE(ui::windowOf(page)->isVisible());
    guitest::saveScreen(page, GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Quillon, WirelessScreens, ::testing::ValuesIn(Screens),
                         [](const ::testing::TestParamInfo<Screen>& screen) { return std::string(screen.param.name); });

}  // namespace
