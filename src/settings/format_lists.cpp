#include "settings/format_lists.h"

const QStringList& inputFormatList() {
  static const QStringList list{QStringLiteral("jpg")};
  return list;
}

const QStringList& outputFormatList() {
  static const QStringList list{QStringLiteral("hdr")};
  return list;
}
