// Quillon's welcome page and About box as real Qt windows.

#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <filesystem>
#include <string>

#include "GuiWorld.h"
#include "Screens.h"
#include "foundation/KAEAbout.h"
#include "foundation/KAEIntro.h"
#include "netcfg/core/QuillonModule.h"
#include "support/QuillonGuiWorld.h"

namespace {

using guitest::GuiWorld;
using guitest::widgetAs;

QString labelText(const ui::Label& l) {
    auto* w = widgetAs<QLabel>(l);
    return w ? w->text() : QStringLiteral("<no widget>");
}

struct QtPages : ::testing::Test, testsupport::QuillonGuiWorld {
    foundation::KAEIntro& intro() { return *module->KAEIntroForm.loaded(); }
};

TEST_F(QtPages, WelcomePageShowsItsTexts) {
    module->Main("");
    ASSERT_NE(module->KAEIntroForm.loaded(), nullptr);
    QWidget* win = ui::windowOf(intro());
    ASSERT_NE(win, nullptr);
    EXPECT_TRUE(win->isVisible());
    EXPECT_EQ(win->windowTitle(), "Welcome");
    const auto texts = netcfg::QuillonTexts();
    EXPECT_EQ(labelText(intro().Label1), QString::fromStdString(texts.welcomeHeading));
    EXPECT_EQ(labelText(intro().Label3), QString::fromStdString(texts.welcomeText));
    EXPECT_EQ(labelText(intro().Label4),
              "For more complete control over your network printers, please use the Fenwold Console (FWC).");
    EXPECT_EQ(labelText(intro().Label2), "To continue, click Next");
    EXPECT_EQ(widgetAs<QPushButton>(intro().About)->text(), "About");
    EXPECT_EQ(widgetAs<QPushButton>(intro().Exit)->text(), "Exit");
    EXPECT_EQ(widgetAs<QPushButton>(intro().Next)->text(), "Next >");
    EXPECT_TRUE(widgetAs<QPushButton>(intro().Next)->isDefault());
    EXPECT_EQ(win->focusWidget(), ui::widgetOf(intro().Next));
    EXPECT_FALSE(widgetAs<QLabel>(intro().Logo)->pixmap().isNull());
    EXPECT_EQ(win->windowModality(), Qt::NonModal);
}

TEST_F(QtPages, AboutButtonOpensTheAboutBoxModally) {
    module->Main("");
    auto* aboutButton = widgetAs<QPushButton>(intro().About);
    ASSERT_NE(aboutButton, nullptr);

    bool seen = false;
    QString caption, title, version;
    Qt::WindowModality modality = Qt::NonModal;
    QWidget* activeModal = nullptr;
    QWidget* aboutWindow = nullptr;
    int depth = 0;
    guitest::whenReady([&] { return module->KAEAboutForm.loaded() != nullptr; },
                       [&] {
                           auto& about = *module->KAEAboutForm.loaded();
                           seen = true;
                           aboutWindow = ui::windowOf(about);
                           caption = aboutWindow ? aboutWindow->windowTitle() : QString();
                           modality = aboutWindow ? aboutWindow->windowModality() : Qt::NonModal;
                           activeModal = QApplication::activeModalWidget();
                           title = labelText(about.lblTitle);
                           version = labelText(about.lblVersion);
                           depth = world->pump.depth();
                           // Ends the nested modal loop.
                           if (auto* ok = widgetAs<QPushButton>(about.cmdOK)) ok->click();
                       });
    aboutButton->click();

    ASSERT_TRUE(seen);
    EXPECT_EQ(caption, "About Quillon");
    EXPECT_EQ(title, "7391-Q25 Quillon");
    EXPECT_EQ(version, "Version 1.00D");
    EXPECT_EQ(modality, Qt::ApplicationModal);
    EXPECT_EQ(activeModal, aboutWindow);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(module->KAEAboutForm.loaded(), nullptr);
    EXPECT_EQ(world->pump.depth(), 0);
    // The welcome page is still there.
    EXPECT_TRUE(ui::windowOf(intro())->isVisible());
    EXPECT_FALSE(world->app.ended());
}

TEST_F(QtPages, CloseButtonOfTheWelcomePageRunsExitWizard) {
    module->Main("");
    QPointer<QWidget> win = ui::windowOf(intro());
    ASSERT_FALSE(win.isNull());
    win->close();
    // Nothing changed: no question, every form unloaded, the program ends.
    EXPECT_EQ(world->messages.count(), 0u);
    EXPECT_EQ(module->KAEIntroForm.loaded(), nullptr);
    EXPECT_EQ(module->KAEAboutForm.loaded(), nullptr);
    EXPECT_TRUE(world->app.loadedForms().empty());
    EXPECT_TRUE(world->app.ended());
    EXPECT_TRUE(world->pump.quitRequested());
    guitest::flushDeletes();
    EXPECT_TRUE(win.isNull());
}

TEST_F(QtPages, CloseButtonOfTheAboutBoxEndsTheWizard) {
    module->Main("");
    bool closed = false;
    guitest::whenReady([&] { return module->KAEAboutForm.loaded() != nullptr; },
                       [&] {
                           closed = true;
                           ui::windowOf(*module->KAEAboutForm.loaded())->close();
                       });
    widgetAs<QPushButton>(intro().About)->click();
    EXPECT_TRUE(closed);
    EXPECT_EQ(module->KAEAboutForm.loaded(), nullptr);
    EXPECT_EQ(module->KAEIntroForm.loaded(), nullptr);
    EXPECT_TRUE(world->app.ended());
    EXPECT_EQ(world->pump.depth(), 0);
}

TEST_F(QtPages, ExitButtonAsksAndEndsOnYes) {
    module->Main("");
    world->messages.answer(ui::IDYES);
    widgetAs<QPushButton>(intro().Exit)->click();
    ASSERT_EQ(world->messages.count(), 1u);
    EXPECT_EQ(world->messages.last().title, "Caution Exiting Wizard");
    EXPECT_TRUE(world->app.ended());
}

TEST_F(QtPages, WelcomeAndAboutRenderToPng) {
    module->Main("");
    const QFont heading = ui::widgetOf(intro().Label1)->font();
    EXPECT_TRUE(heading.bold());
    EXPECT_EQ(heading.pointSize(), 12);
    QWidget* welcome = ui::windowOf(intro());
    const auto welcomePng = guitest::saveScreen(intro(), "KAEIntro");
    QImage w(QString::fromStdString(welcomePng.string()));
    ASSERT_FALSE(w.isNull());
    EXPECT_EQ(w.size(), welcome->size() * welcome->devicePixelRatio());

    auto& about = module->KAEAboutForm();
    about.show();
    QWidget* aboutWin = ui::windowOf(about);
    const auto aboutPng = guitest::saveScreen(about, "KAEAbout");
    QImage a(QString::fromStdString(aboutPng.string()));
    ASSERT_FALSE(a.isNull());
    EXPECT_EQ(a.size(), aboutWin->size() * aboutWin->devicePixelRatio());
    EXPECT_GE(a.width(), 480);
}

TEST_F(QtPages, GrabOfAFormWithoutWindowFails) {
    GuiWorld headless;
    headless.app.setViews(nullptr);
    netcfg::QuillonModule m(headless.app, os, "/nonexistent-program-folder");
    auto& about = m.KAEAboutForm();
    EXPECT_FALSE(ui::grabToPng(about, (guitest::screensDir() / "none.png").string()));
}

}  // namespace
