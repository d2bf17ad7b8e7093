#include "ui/web_links.h"
#include "fakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

bool touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write("<html></html>") > 0;
}

TEST(WebLinks, KeepsOnlyLettersAndDigits) {
  const std::pair<const char*, const char*> cases[] = {
      {".JPG ", "JPG"},     {"h d r", "hdr"},     {"***", ""}, {"", ""}, {"Tiff-16_bit", "Tiff16bit"},
      {"x/../y?z#", "xyz"}, {"09AZaz", "09AZaz"},
  };
  for (const auto& [in, out] : cases)
    EXPECT_EQ(keepAlphanumeric(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
  // Letters outside A-Z and a-z are dropped too.
  EXPECT_EQ(keepAlphanumeric(QStringLiteral(u"jpégé²")), QStringLiteral("jpg"));
}

TEST(WebLinks, Targets) {
  EXPECT_EQ(converterSearchTarget(QStringLiteral("jpg"), QStringLiteral("hdr")),
            QStringLiteral("http://www.lumavane.example/find/jpg-hdr/"));
  EXPECT_EQ(supportMailTarget(), QStringLiteral("mailto:support@lumavane.example"));
  EXPECT_EQ(feedbackMailTarget(),
            QStringLiteral("mailto:support@lumavane.example?subject=Lumavane JPG to HDR 2.2 Feedback"));
}

TEST(WebLinks, ShellReceivesAddressesAndFiles) {
  RecordingShell shell;
  openFeedbackMail(shell);
  openHomepage(shell);
  shellOpen(shell, QStringLiteral("/tmp/some folder/manual.html"));
  ASSERT_EQ(shell.opened.size(), 3);
  EXPECT_EQ(shell.opened[0].scheme(), QStringLiteral("mailto"));
  EXPECT_EQ(shell.opened[0].toString(),
            QStringLiteral("mailto:support@lumavane.example?subject=Lumavane JPG to HDR 2.2 Feedback"));
  EXPECT_EQ(shell.opened[1].toString(), QStringLiteral("http://www.lumavane.example/quillet/"));
  EXPECT_TRUE(shell.opened[2].isLocalFile());
  EXPECT_EQ(shell.opened[2].toLocalFile(), QStringLiteral("/tmp/some folder/manual.html"));
}

TEST(WebLinks, ManualBesideTheExecutableComesFirst) {
  QTemporaryDir prefix;
  ASSERT_TRUE(prefix.isValid());
  const QString bin = prefix.path() + QStringLiteral("/bin/");
  const QString beside = bin + QStringLiteral("manual.html");
  const QString installed = prefix.path() + QStringLiteral("/share/doc/quillet/manual.html");
  ASSERT_TRUE(QDir().mkpath(bin));

  // Neither exists: the path beside the executable is handed over all the same.
  EXPECT_EQ(manualPath(bin), beside);
  ASSERT_TRUE(touch(installed));
  EXPECT_EQ(manualPath(bin), installed);
  EXPECT_EQ(manualPath(prefix.path() + QStringLiteral("/bin")), installed);  // no trailing "/"
  ASSERT_TRUE(touch(beside));
  EXPECT_EQ(manualPath(bin), beside);

  RecordingShell shell;
  openManual(shell, bin);
  ASSERT_EQ(shell.opened.size(), 1);
  EXPECT_EQ(shell.opened[0], QUrl::fromLocalFile(beside));
}

}  // namespace
