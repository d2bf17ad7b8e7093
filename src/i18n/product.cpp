#include "i18n/product.h"

namespace product {

QString versionText(int version) {
  QString digits = QStringLiteral("%1").arg(version, 3, 10, QLatin1Char('0'));
  QString text = digits.left(1) + QLatin1Char('.') + digits.mid(1, 1) + QLatin1Char('.') + digits.mid(2);
  if (text.endsWith(QLatin1Char('0'))) text = text.left(3);
  return text;
}

QString titleWithVersion(const QString& title, int version) {
  return title + QLatin1Char(' ') + versionText(version);
}

QString fullTitle() { return titleWithVersion(QString::fromLatin1(kTitle), kVersion); }

}  // namespace product
