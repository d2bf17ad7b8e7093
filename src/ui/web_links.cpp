#include "ui/web_links.h"

#include "i18n/product.h"
#include "platform/paths.h"
#include "ui/shell.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

constexpr char kManualName[] = "manual.html";

}  // namespace

QString manualPath(const QString& programFolder) {
  const QString folder = platform::withTrailingSeparator(programFolder);
  const QString beside = folder + QLatin1String(kManualName);
  if (QFileInfo(beside).isFile()) return beside;
  const QString installed =
      QDir::cleanPath(folder + QStringLiteral("../share/doc/") + QLatin1String(product::kShortName) +
                      QLatin1Char('/') + QLatin1String(kManualName));
  if (QFileInfo(installed).isFile()) return installed;
  return beside;
}

QString supportMailTarget() { return QStringLiteral("mailto:") + QLatin1String(product::kSupportMail); }

QString feedbackMailTarget() {
  return supportMailTarget() + QStringLiteral("?subject=") + product::fullTitle() +
         QStringLiteral(" Feedback");
}

QString keepAlphanumeric(const QString& text) {
  QString kept;
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if ((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')) kept += c;
  }
  return kept;
}

QString converterSearchTarget(const QString& from, const QString& to) {
  return QLatin1String(product::kFinderPage) + from + QLatin1Char('-') + to + QLatin1Char('/');
}

void shellOpen(ShellOpener& shell, const QString& target) {
  if (platform::isAbsolutePath(target)) {
    shell.open(QUrl::fromLocalFile(target));
  } else {
    shell.open(QUrl(target, QUrl::TolerantMode));
  }
}

void openManual(ShellOpener& shell, const QString& programFolder) {
  shellOpen(shell, manualPath(programFolder));
}

void openFeedbackMail(ShellOpener& shell) { shellOpen(shell, feedbackMailTarget()); }

void openHomepage(ShellOpener& shell) { shellOpen(shell, QLatin1String(product::kHomepage)); }
