// How the renderer lays a page out: the window's width on large and small
// screens, long captions and descriptions that wrap instead of being cut,
// descriptions lined up with the option above them, lists as wide as their
// rows, frames with their caption in the border, and columns that line up
// across grids and frames.

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <memory>
#include <string>
#include <utility>

#include "GuiWorld.h"
#include "ui/Form.h"
#include "ui/qt/QtControls.h"
#include "ui/qt/QtWindowBoard.h"
#include "ui/qt/QtWindows.h"

namespace {

using guitest::GuiWorld;

const char* const LongCaption =
    "Assign an IP Address to your network adapter, or specify how the IP Address is assigned to it.";
const char* const LongHint =
    "The passphrase can contain any alpha-numeric characters except spaces. Length of the passphrase must be "
    "between 8 to 63 characters long.";
const char* const LongRow = "Mixed: 802.11b and 802.11g";

class LayoutForm : public ui::Form {
public:
    explicit LayoutForm(ui::Application& app)
        : ui::Form(app, "frmLayout", "Layout"),
          lblHeading(*this, "lblHeading", "Network Settings"),
          optAscii(*this, "optAscii", "&ASCII String"),
          lblAscii(*this, "lblAscii", "The ASCII string can contain any alpha-numeric characters except spaces."),
          chkLong(*this, "chkLong", LongCaption),
          cmdHelp1(*this, "cmdHelp1", "What is this?"),
          chkShort(*this, "chkShort", "Speed"),
          cmdHelp2(*this, "cmdHelp2", "What is this?"),
          optFile(*this, "optFile", "&File"),
          lblFile(*this, "lblFile", "Configuration commands are saved in this file."),
          lblPass(*this, "lblPass", "Passphrase:"),
          txtPass(*this, "txtPass"),
          chkShow(*this, "chkShow", "Show Passphrase"),
          lblHint(*this, "lblHint", LongHint),
          fraMedia(*this, "fraMedia", "         Media Setup"),
          chkSpeed(*this, "chkSpeed", {}, -1, &fraMedia),
          lblSpeed(*this, "lblSpeed", "Speed:", -1, &fraMedia),
          cboSpeed(*this, "cboSpeed", ui::ComboBox::Style::DropDownList, -1, &fraMedia),
          fraSensor(*this, "fraSensor", "Sensor Setup"),
          chkGap(*this, "chkGap", {}, -1, &fraSensor),
          lblGap(*this, "lblGap", "*Gap Sensor Type:", -1, &fraSensor),
          cboGap(*this, "cboGap", ui::ComboBox::Style::DropDownList, -1, &fraSensor),
          cmdNext(*this, "cmdNext", "Next >") {
        lblHeading.setFont(ui::HeadingFont);
        layoutGrid({{&chkLong, &cmdHelp1}, {&chkShort, &cmdHelp2}});
        layoutGrid({{&optFile}, {&lblFile}, {&lblPass, &txtPass, &chkShow}, {nullptr, &lblHint, nullptr}});
        layoutGrid({{&chkSpeed, &lblSpeed, &cboSpeed}});
        layoutGrid({{&chkGap, &lblGap, &cboGap}});
        for (const char* row : {"Auto", LongRow}) cboSpeed.addItem(row);
        cboGap.addItem("Gap");
    }
    ui::Label lblHeading;
    ui::OptionButton optAscii;
    ui::Label lblAscii;
    ui::CheckBox chkLong;
    ui::CommandButton cmdHelp1;
    ui::CheckBox chkShort;
    ui::CommandButton cmdHelp2;
    ui::OptionButton optFile;
    ui::Label lblFile;
    ui::Label lblPass;
    ui::TextBox txtPass;
    ui::CheckBox chkShow;
    ui::Label lblHint;
    ui::Frame fraMedia;
    ui::CheckBox chkSpeed;
    ui::Label lblSpeed;
    ui::ComboBox cboSpeed;
    ui::Frame fraSensor;
    ui::CheckBox chkGap;
    ui::Label lblGap;
    ui::ComboBox cboGap;
    ui::CommandButton cmdNext;
};

class QtLayout : public ::testing::Test {
protected:
    void SetUp() override {
        form->show();
        win = ui::windowOf(*form);
    }
    void TearDown() override {
        form.reset();
        world.reset();
        guitest::flushDeletes();
    }
    // A control's place in window coordinates.
    QRect place(const ui::Control& c) const {
        QWidget* w = ui::widgetOf(c);
        return {w->mapTo(win, QPoint(0, 0)), w->size()};
    }
    std::unique_ptr<GuiWorld> world = std::make_unique<GuiWorld>();
    std::shared_ptr<LayoutForm> form = std::make_shared<LayoutForm>(world->app);
    QWidget* win = nullptr;
};

TEST_F(QtLayout, WindowsTakeThePageWidthAndFitSmallScreens) {
    EXPECT_EQ(win->width(), ui::PreferredWindowWidth);
    const QSize frame = ui::frameAllowance(win->screen());
    const QSize desktop = ui::fittedWindowSize(win, QRect(0, 0, 1920, 1080), frame);
    EXPECT_EQ(desktop, ui::fittedWindowSize(win, QRect(0, 0, 800, 600), frame));
    EXPECT_EQ(desktop, win->size());
    // A narrow screen: narrower, texts on more lines, nothing cut.
    const QSize narrow = ui::fittedWindowSize(win, QRect(0, 0, 500, 900), frame);
    EXPECT_LE(narrow.width(), 500);
    EXPECT_GE(narrow.width(), win->layout()->totalMinimumSize().width());
    EXPECT_GT(narrow.height(), desktop.height());
    // A low screen: wider, so that the texts need fewer lines.
    const QSize low = ui::fittedWindowSize(win, QRect(0, 0, 1920, desktop.height()), frame);
    EXPECT_GT(low.width(), desktop.width());
    EXPECT_LE(low.height(), desktop.height());
}

TEST_F(QtLayout, LongCaptionsAndDescriptionsWrapInsideTheWindow) {
    const QRect inside = win->rect().adjusted(10, 10, -10, -10);
    for (const ui::Control* c :
         {static_cast<ui::Control*>(&form->chkLong), static_cast<ui::Control*>(&form->lblHint)}) {
        QWidget* w = ui::widgetOf(*c);
        EXPECT_TRUE(inside.contains(place(*c))) << c->name();
        EXPECT_GE(w->height(), w->heightForWidth(w->width())) << c->name();
        EXPECT_GT(w->height(), 2 * w->fontMetrics().height() - 2) << c->name() << " takes two lines";
    }
    // The check box leaves its help button on the right, level with the others.
    EXPECT_LT(place(form->chkLong).right(), place(form->cmdHelp1).left());
    EXPECT_EQ(place(form->cmdHelp1).left(), place(form->cmdHelp2).left());
    EXPECT_GT(place(form->cmdHelp1).right(), win->width() - 40);
    // The description starts under the input and takes the columns after it.
    EXPECT_EQ(place(form->lblHint).left(), place(form->txtPass).left());
    EXPECT_EQ(place(form->lblHint).right(), place(form->chkShow).right());
    // A click on the second line of the caption ticks the box.
    QWidget* box = ui::widgetOf(form->chkLong);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() / 2, box->height() - 3));
    EXPECT_EQ(form->chkLong.value(), 1);
    EXPECT_EQ(qobject_cast<QCheckBox*>(box)->text(), LongCaption);
}

TEST_F(QtLayout, DescriptionsBelowAnOptionLineUpWithItsCaption) {
    const std::pair<ui::OptionButton*, ui::Label*> pairs[] = {{&form->optAscii, &form->lblAscii},
                                                              {&form->optFile, &form->lblFile}};
    for (auto [option, description] : pairs) {
        auto* button = guitest::widgetAs<QAbstractButton>(*option);
        const int caption = place(*option).left() + ui::captionOffset(button);
        EXPECT_EQ(place(*description).left() + guitest::widgetAs<QLabel>(*description)->indent(), caption)
            << description->name();
        EXPECT_GT(ui::captionOffset(button), 10);
    }
    EXPECT_LE(guitest::widgetAs<QLabel>(form->lblPass)->indent(), 0);  // a caption under a description: not moved
}

TEST_F(QtLayout, AWindowGrowsWhenItsTextsGetLonger) {
    const int before = win->height();
    form->lblHint.setCaption(std::string(LongHint) + " " + LongHint + " " + LongHint);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    EXPECT_GT(win->height(), before);
    QWidget* hint = ui::widgetOf(form->lblHint);
    EXPECT_GE(hint->height(), hint->heightForWidth(hint->width()));
    EXPECT_EQ(win->width(), ui::PreferredWindowWidth);
}

TEST_F(QtLayout, ListsAreAsWideAsTheirLongestRow) {
    auto* list = guitest::widgetAs<QComboBox>(form->cboSpeed);
    EXPECT_GT(list->width(), list->fontMetrics().horizontalAdvance(LongRow) + 16);
    form->cboGap.addItem(LongRow);  // rows added later widen the list too
    EXPECT_GE(guitest::widgetAs<QComboBox>(form->cboGap)->minimumSizeHint().width(), list->minimumSizeHint().width());
}

TEST_F(QtLayout, FramesCarryTheirCaptionInTheBorderAndLineUpTheirColumns) {
    auto* media = guitest::widgetAs<QGroupBox>(form->fraMedia);
    EXPECT_EQ(media->title(), "Media Setup");
    EXPECT_EQ(form->fraMedia.caption(), "         Media Setup");
    QStyleOptionGroupBox opt;
    opt.initFrom(media);
    opt.text = media->title();
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect frame = media->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxFrame, media);
    const QRect title = media->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, media);
    EXPECT_LE(qAbs(title.center().y() - frame.top()), 1) << "the caption sits on the top line";
    // The first row comes right below the caption.
    const int below = ui::widgetOf(form->chkSpeed)->geometry().top() - title.bottom();
    EXPECT_GT(below, 0);
    EXPECT_LT(below, 16);
    // Captions of different widths in two frames: the lists still start at one x.
    EXPECT_EQ(place(form->cboSpeed).left(), place(form->cboGap).left());
    EXPECT_EQ(place(form->lblSpeed).left(), place(form->lblGap).left());
}

}  // namespace
