// Build-time generator: fills a document template with the parts made from the option table.
//
//   quillet_docgen man|manual|completion TEMPLATE OUTPUT
//
// "man" fills @OPTIONS@ and @TOKENS@ with roff, "manual" the same with HTML, "completion"
// fills @DATA@ with the bash completion's word lists. Every template may also use @VERSION@,
// @TITLE@, @HOMEPAGE@, @WEBSITE@ and @SUPPORT_MAIL@. The output is written whole or not at all.
#include "docs/option_docs.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <cstdio>

namespace {

int fail(const QString& message) {
  std::fprintf(stderr, "quillet_docgen: %s\n", qPrintable(message));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return fail(QStringLiteral("usage: quillet_docgen man|manual|completion TEMPLATE OUTPUT"));
  const QString kind = QString::fromLocal8Bit(argv[1]);
  const QString templatePath = QString::fromLocal8Bit(argv[2]);
  const QString outputPath = QString::fromLocal8Bit(argv[3]);

  QFile input(templatePath);
  if (!input.open(QIODevice::ReadOnly)) return fail(QStringLiteral("cannot read ") + templatePath);
  const QString text = QString::fromUtf8(input.readAll());

  std::map<QString, QString> values = docs::productValues();
  QString error;
  if (kind == QLatin1String("man") || kind == QLatin1String("manual")) {
    std::vector<docs::OptionSection> sections;
    std::vector<std::pair<QString, QString>> tokens;
    if (!docs::buildOptionSections(&sections, &error) || !docs::buildTokenList(&tokens, &error))
      return fail(error);
    const bool man = kind == QLatin1String("man");
    values[QStringLiteral("OPTIONS")] = man ? docs::manOptions(sections) : docs::htmlOptions(sections);
    values[QStringLiteral("TOKENS")] = man ? docs::manTokens(tokens) : docs::htmlTokens(tokens);
  } else if (kind == QLatin1String("completion")) {
    values[QStringLiteral("DATA")] = docs::completionData();
  } else {
    return fail(QStringLiteral("unknown document kind ") + kind);
  }

  QString result;
  if (!docs::fillTemplate(text, values, &result, &error))
    return fail(templatePath + QStringLiteral(": ") + error);
  QSaveFile output(outputPath);
  if (!output.open(QIODevice::WriteOnly) || output.write(result.toUtf8()) < 0 || !output.commit())
    return fail(QStringLiteral("cannot write ") + outputPath);
  return 0;
}
