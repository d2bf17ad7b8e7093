// The command line's documentation made from its option table: the man page's option sections,
// the manual's option reference and the word lists of the bash completion. A build-time
// generator writes them, so the documents and the parser never disagree.
#pragma once

#include "cli/options.h"

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace docs {

// A run of documentation text in one style.
enum class Style { Plain, Bold, Italic };
struct Run {
  QString text;
  Style style = Style::Plain;
};
using Paragraph = std::vector<Run>;

// One option as the documents show it.
struct OptionEntry {
  const OptionSpec* spec = nullptr;
  std::vector<Paragraph> forms;  // "-i FILE", "--input=FILE"
  Paragraph text;                // description, details, what else it sets, values, default
};

// A section of the reference: a heading, a sentence about its options, its options in table order.
struct OptionSection {
  QString title;
  QString intro;
  std::vector<OptionEntry> options;
};

// The option table in sections. False, with `error` naming the option, when an option fits no
// section or sets something the documents cannot name: the documents must learn about it first.
bool buildOptionSections(std::vector<OptionSection>* sections, QString* error);

// The words an option's value can take, in lower case: its keywords, or the output types for
// "-c"; empty for free values.
QStringList valueWords(const OptionSpec& option);

// What completion offers for an option's value: "words", "input" (JPEG files), "file",
// "folder", or "" for free values.
QString valueCompletion(const OptionSpec& option);

// The filename mask's tokens with what each stands for, in their order of expansion. False, with
// `error`, when the mask knows a token the documents do not, or the other way round.
bool buildTokenList(std::vector<std::pair<QString, QString>>* tokens, QString* error);
QString manTokens(const std::vector<std::pair<QString, QString>>& tokens);
QString htmlTokens(const std::vector<std::pair<QString, QString>>& tokens);

// The sections as man page source (roff), as HTML, and as the bash completion's data.
QString manOptions(const std::vector<OptionSection>& sections);
QString htmlOptions(const std::vector<OptionSection>& sections);
QString completionData();

// Escapes for the two markups.
QString roffEscape(const QString& text);
QString htmlEscape(const QString& text);

// The template with every "@NAME@" replaced by its value. False, with `error`, when the template
// names a value that is not given or a given value is not used.
bool fillTemplate(const QString& text, const std::map<QString, QString>& values, QString* result,
                  QString* error);

// The values every template may use besides its generated part: VERSION, HOMEPAGE, WEBSITE,
// SUPPORT_MAIL, TITLE.
std::map<QString, QString> productValues();

}  // namespace docs
