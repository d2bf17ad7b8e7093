#include "ui/message_boxes.h"
#include "fakes.h"
#include "i18n/product.h"
#include "i18n/string_table.h"
#include "ui/shorten_middle.h"
#include "ui/uninstall_feedback.h"

#include <QCheckBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

StringTable builtinTexts() {
  StringTable table;
  table.load(QString());
  return table;
}

TEST(ShortenMiddle, KeepsShortTextsAndCutsTheMiddleOfLongOnes) {
  const QString hundred = QString(50, QLatin1Char('a')) + QString(50, QLatin1Char('b'));
  struct Case {
    QString text;
    int max;
    QString expected;
  } cases[] = {
      {QString(), 5, QString()},
      {QStringLiteral("abcde"), 5, QStringLiteral("abcde")},
      {QStringLiteral("abcdef"), 5, QStringLiteral("a...f")},
      // A 100-character path in a label of 46 characters: 21 + "..." + 21.
      {hundred, 46, QString(21, QLatin1Char('a')) + QStringLiteral("...") + QString(21, QLatin1Char('b'))},
      {QStringLiteral("abcdefgh"), 6, QStringLiteral("a...h")},
      // Too small for any kept characters.
      {QStringLiteral("abcdef"), 2, QStringLiteral("...")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(shortenMiddle(c.text, c.max), c.expected) << c.text.toStdString() << " " << c.max;
  }
}

TEST(MessageBoxes, TitlesIconsAndTextsGoThroughTheDialogInterface) {
  const StringTable strings = builtinTexts();
  FakeDialogs dialogs;
  showWarning(dialogs, strings, nullptr, QStringLiteral("careful"));
  showError(dialogs, strings, nullptr, QStringLiteral("broken"));
  showInfo(dialogs, nullptr, QStringLiteral("About"), QStringLiteral("hello"));
  ASSERT_EQ(dialogs.messages.size(), 3);
  EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Warning);
  EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Warning"));
  EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("careful"));
  EXPECT_EQ(dialogs.messages[1].icon, MessageIcon::Error);
  EXPECT_EQ(dialogs.messages[1].title, QStringLiteral("Error"));
  EXPECT_EQ(dialogs.messages[2].icon, MessageIcon::Information);
  EXPECT_EQ(dialogs.messages[2].title, QStringLiteral("About"));
  EXPECT_EQ(dialogs.messages[2].text, QStringLiteral("hello"));
}

TEST(MessageBoxes, BreakQuestionAnswersYesOrNo) {
  const StringTable strings = builtinTexts();
  FakeDialogs dialogs;
  dialogs.answerYes = true;
  EXPECT_TRUE(askBreakConversion(dialogs, strings, nullptr));
  dialogs.answerYes = false;
  EXPECT_FALSE(askBreakConversion(dialogs, strings, nullptr));
  ASSERT_EQ(dialogs.questions.size(), 2);
  EXPECT_EQ(dialogs.questions[0].icon, MessageIcon::Warning);
  EXPECT_EQ(dialogs.questions[0].title, QStringLiteral("Warning"));
  EXPECT_EQ(dialogs.questions[0].text, QStringLiteral("Do you want to break the conversion?"));
}

TEST(QtDialogs, FilterTextsForTheOpenFileDialog) {
  EXPECT_EQ(qtFilterText({QStringLiteral("JPEG File"), QStringLiteral("*.jif;*.jpe;*.jpeg;*.jpg")}),
            QStringLiteral("JPEG File (*.jif *.jpe *.jpeg *.jpg)"));
  EXPECT_EQ(qtFilterText({QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")}),
            QStringLiteral("All Files (*.*)"));
}

TEST(UninstallFeedback, WindowLayoutAndTexts) {
  const StringTable strings = builtinTexts();
  RecordingShell shell;
  UninstallFeedbackWindow window(strings, shell);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Uninstall"));
  EXPECT_EQ(window.size(), QSize(300, 100));
  EXPECT_EQ(window.visitBox()->text(), QStringLiteral("Full Uninstall - Visit Uninstall Center"));
  EXPECT_EQ(window.visitBox()->geometry(), QRect(30, 20, 250, 20));
  EXPECT_TRUE(window.visitBox()->isChecked());
  EXPECT_EQ(window.nextButton()->text(), QStringLiteral("Next"));
  EXPECT_EQ(window.nextButton()->geometry(), QRect(200, 60, 80, 25));
}

TEST(UninstallFeedback, NextOpensThePageOnlyWhenTicked) {
  const StringTable strings = builtinTexts();
  {
    RecordingShell shell;
    UninstallFeedbackWindow window(strings, shell);
    window.show();
    window.nextButton()->click();
    ASSERT_EQ(shell.opened.size(), 1);
    EXPECT_EQ(shell.opened[0], QUrl(QString::fromLatin1(product::kUninstallPage)));
    EXPECT_FALSE(window.isVisible());
  }
  {
    RecordingShell shell;
    UninstallFeedbackWindow window(strings, shell);
    window.show();
    window.visitBox()->click();
    window.nextButton()->click();
    EXPECT_TRUE(shell.opened.isEmpty());
    EXPECT_FALSE(window.isVisible());
  }
  {
    // Closing the window opens nothing.
    RecordingShell shell;
    UninstallFeedbackWindow window(strings, shell);
    window.show();
    window.close();
    EXPECT_TRUE(shell.opened.isEmpty());
    EXPECT_FALSE(window.isVisible());
  }
}

}  // namespace
