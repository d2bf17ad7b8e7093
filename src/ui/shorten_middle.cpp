#include "ui/shorten_middle.h"

QString shortenMiddle(const QString& text, int maxLength) {
  if (text.isEmpty() || text.size() <= maxLength) return text;
  const int keep = (maxLength - 3) / 2;
  if (keep <= 0) return QStringLiteral("...");
  return text.left(keep) + QStringLiteral("...") + text.right(keep);
}
