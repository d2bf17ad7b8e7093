#include "ui/about_window.h"
#include "fakes.h"
#include "i18n/string_table.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

class AboutWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    strings.load(QString());
    owner.setGeometry(200, 150, 510, 260);
    owner.show();
  }
  void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  // Opens the window and checks what holds while it is open.
  AboutWindow* open() {
    AboutWindow* window = openAboutWindow(owner, strings, shell);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(owner.isEnabled());
    return window;
  }

  // After closing: the window is gone and the owner is usable again.
  static void expectClosed(QPointer<AboutWindow> window, const QMainWindow& owner) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(owner.isEnabled());
  }

  StringTable strings;
  RecordingShell shell;
  QMainWindow owner;
};

TEST_F(AboutWindowTest, ShowsTheProductAndItsAddresses) {
  AboutWindow* window = open();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("About..."));
  EXPECT_EQ(window->size(), QSize(360, 240));
  EXPECT_EQ(window->parentWidget(), &owner);
  EXPECT_LE((window->frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);
  EXPECT_EQ(window->banner()->geometry(), QRect(0, 0, 360, 40));
  EXPECT_EQ(window->banner()->pixmap().size(), QSize(360, 40));
  EXPECT_EQ(window->titleLine()->text(), QStringLiteral("Lumavane JPG to HDR 2.2"));
  EXPECT_EQ(window->noticeLine()->text(), QStringLiteral("Copyright (c) Lumavane Software"));
  EXPECT_TRUE(window->titleLine()->alignment() & Qt::AlignHCenter);
  EXPECT_EQ(window->webCaption()->text(), QStringLiteral("Web:"));
  EXPECT_EQ(window->emailCaption()->text(), QStringLiteral("E-mail:"));
  EXPECT_EQ(window->webLink()->text(), QStringLiteral("http://www.lumavane.example/"));
  EXPECT_EQ(window->emailLink()->text(), QStringLiteral("support@lumavane.example"));
  EXPECT_EQ(window->webLink()->geometry(), QRect(140, 100, 215, 20));
  EXPECT_EQ(window->emailLink()->geometry(), QRect(140, 120, 215, 20));
  for (const QLabel* link : {window->webLink(), window->emailLink()}) {
    EXPECT_EQ(link->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(link->palette().color(QPalette::Inactive, QPalette::WindowText), QColor(0, 0, 255));
  }
  EXPECT_EQ(window->okButton()->text(), QStringLiteral("OK"));
  EXPECT_EQ(window->okButton()->geometry(), QRect(140, 200, 80, 25));
  window->okButton()->click();
}

TEST_F(AboutWindowTest, LinksOpenTheSiteAndTheMailbox) {
  AboutWindow* window = open();
  QTest::mouseClick(window->webLink(), Qt::LeftButton);
  QTest::mouseClick(window->emailLink(), Qt::LeftButton);
  QTest::mouseClick(window->emailLink(), Qt::RightButton);
  ASSERT_EQ(shell.opened.size(), 2);
  EXPECT_EQ(shell.opened[0].toString(), QStringLiteral("http://www.lumavane.example/"));
  EXPECT_EQ(shell.opened[1].toString(), QStringLiteral("mailto:support@lumavane.example"));
  EXPECT_TRUE(window->isVisible());  // a link leaves the window open
  window->okButton()->click();
}

TEST_F(AboutWindowTest, OkReturnEscapeAndTheCloseBoxClose) {
  const std::pair<const char*, std::function<void(AboutWindow*)>> ways[] = {
      {"OK", [](AboutWindow* w) { QTest::mouseClick(w->okButton(), Qt::LeftButton); }},
      {"Return", [](AboutWindow* w) { QTest::keyClick(w, Qt::Key_Return); }},
      {"Escape", [](AboutWindow* w) { QTest::keyClick(w, Qt::Key_Escape); }},
      {"close box", [](AboutWindow* w) { w->close(); }},
  };
  for (const auto& [name, close] : ways) {
    SCOPED_TRACE(name);
    QPointer<AboutWindow> window = open();
    close(window);
    expectClosed(window, owner);
  }
  EXPECT_TRUE(shell.opened.isEmpty());
}

TEST_F(AboutWindowTest, SecondOpenBringsTheSameWindowForward) {
  AboutWindow* first = open();
  EXPECT_EQ(openAboutWindow(owner, strings, shell), first);
  QPointer<AboutWindow> window = first;
  first->okButton()->click();
  expectClosed(window, owner);
}

}  // namespace
