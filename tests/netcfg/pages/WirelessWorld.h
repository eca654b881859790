#pragma once
// What the tests of the wireless and security pages share.

#include <gtest/gtest.h>

#include <string>

#include "netcfg/core/FinishDialog.h"
#include "netcfg/pages/EncryptQuestionDlg.h"
#include "netcfg/pages/LEAPDlg.h"
#include "netcfg/pages/WEPDlg.h"
#include "netcfg/pages/WEPkeyDlg.h"
#include "netcfg/pages/WEPphraseDlg.h"
#include "netcfg/pages/WPADlg.h"
#include "netcfg/pages/WirelessDlg.h"
#include "netcfg/pages/WirelessQuestionDlg.h"
#include "support/QuillonWorld.h"

namespace wirelesstest {

// Names parameterised cases after their `name` field.
struct CaseName {
    template <class P>
    std::string operator()(const ::testing::TestParamInfo<P>& info) const {
        return info.param.name;
    }
};

struct WirelessWorld : testsupport::QuillonWorld {
    netcfg::WirelessQuestionDlg& choice() { return q.WirelessQuestionDlgForm(); }
    netcfg::WirelessDlg& radio() { return q.WirelessDlgForm(); }
    netcfg::EncryptQuestionDlg& security() { return q.EncryptQuestionDlgForm(); }

    // Clicks a button of a page by its name.
    static void press(ui::Form& page, const std::string& button) {
        auto* b = dynamic_cast<ui::CommandButton*>(page.find(button));
        ASSERT_NE(b, nullptr) << page.name() << "." << button;
        b->click();
    }
    // Lets virtual time pass, timers firing on the way.
    void wait(std::uint32_t ms) {
        for (std::uint32_t t = 0; t < ms; t += 10) pump.doEvents();
    }
};

}  // namespace wirelesstest
