#include "docs/option_docs.h"

#include "cli/keywords.h"
#include "convert/format_tables.h"
#include "convert/naming.h"
#include "i18n/product.h"
#include "settings/defaults.h"
#include "settings/fields.h"
#include "settings/format_lists.h"

#include <QRegularExpression>

#include <algorithm>

#include <optional>
#include <variant>

namespace docs {

namespace {

using R = OptionRole;
using K = ValueKind;

struct SectionText {
  const char* key;  // a role group ("first", "main", "console") or a setting group
  const char* title;
  const char* intro;
};

constexpr SectionText kSections[] = {
    {"first", "Switches of the first parameter",
     "These count only as the first parameter; anywhere else they are ignored. Each one ends the "
     "program when it is done."},
    {"main", "Main options", "What to convert, where to, and a profile file to read settings from."},
    {"console", "Console switches", "What the console prints, and a pause at the end."},
    {"Input", "Input load options",
     "Load settings of other input formats. They are accepted and stored, but a JPEG conversion uses "
     "none of them."},
    {"Output", "Output options",
     "One bit-depth option per output format, and the save settings of other formats. A bit depth "
     "of 0 keeps the depth the conversion chooses itself. Only --hdr-bpp changes a conversion of "
     "this program; the others are accepted and stored."},
    {"Transform", "Transform options", "Rotation, resizing and mirroring, applied in this order."},
    {"Adjustment", "Adjustment options",
     "Colour correction, greyscale and a black-and-white threshold, applied after the transforms."},
    {"Frame", "Frame options",
     "A solid frame of four bands over the picture's edges; the picture keeps its size. Only the "
     "four widths turn the frame on."},
    {"Watermark", "Watermark options",
     "A text or a picture stamped onto the converted picture. Positions, offsets and rotations apply "
     "to both kinds through their own options."},
    {"Advanced", "Advanced options", "The output file's name and date."},
};

struct AlsoText {
  const char* target;
  int value;
  const char* text;
};

constexpr AlsoText kAlsoTexts[] = {
    {"Transform/Do Image Rotation", 1, "Also turns rotation on."},
    {"Transform/Do Image Resize", 1, "Also turns resizing on."},
    {"Adjustment/Do Image Color Correction", 1,
     "Also turns colour correction on, so that brightness, contrast and gamma are checked and "
     "applied."},
    {"Adjustment/Do Image Threshold", 1, "Also turns the black-and-white threshold on."},
    {"Frame/Do Frame", 1, "Also turns the solid frame on."},
    {"Watermark/Do Watermark", 1,
     "Also chooses the text watermark; of --wm-text and --wm-image the later one decides."},
    {"Watermark/Do Watermark", 2,
     "Also chooses the image watermark; of --wm-text and --wm-image the later one decides."},
};

QString sectionKey(const OptionSpec& option) {
  switch (option.role) {
    case R::Help:
    case R::Version:
    case R::Uninstall:
    case R::Screenshot:
      return QStringLiteral("first");
    case R::Input:
    case R::Output:
    case R::Conversion:
    case R::Profile:
      return QStringLiteral("main");
    case R::Debug:
    case R::Quiet:
    case R::Pause:
      return QStringLiteral("console");
    case R::Setting:
      break;
  }
  return QString::fromLatin1(option.target).section(QLatin1Char('/'), 0, 0);
}

// The format a compression option belongs to: "--PNG-COMPRESSION" -> "png".
QString optionFormat(const OptionSpec& option) {
  return longName(option).mid(2).section(QLatin1Char('-'), 0, 0).toLower();
}

std::optional<QString> fieldText(const char* target, Settings& settings, const OptionSpec& option) {
  const QString path = QString::fromLatin1(target);
  const SettingField* field =
      findSettingField(path.section(QLatin1Char('/'), 0, 0), path.section(QLatin1Char('/'), 1));
  if (field == nullptr) return std::nullopt;
  return std::visit(
      [&](auto* slot) -> QString {
        using T = std::remove_pointer_t<decltype(slot)>;
        if constexpr (std::is_same_v<T, QString>) {
          return *slot;
        } else if constexpr (std::is_same_v<T, float>) {
          return QString::number(static_cast<double>(*slot), 'f', 2);
        } else {
          if (option.kind == K::Keyword)
            return valueToKeyword(option.keywordList, static_cast<int32_t>(*slot), optionFormat(option));
          return QString::number(*slot);
        }
      },
      field->get(settings));
}

// The console default of a setting; nothing when it depends on the machine or the clock.
std::optional<QString> defaultText(const OptionSpec& option) {
  if (option.role != R::Setting || option.kind == K::None) return std::nullopt;
  Settings first;
  Settings second;
  applyDefaults(first, true, DefaultsEnvironment{0, 0, 0});
  applyDefaults(second, true, DefaultsEnvironment{1920, 1080, 1700000000});
  const std::optional<QString> a = fieldText(option.target, first, option);
  const std::optional<QString> b = fieldText(option.target, second, option);
  if (!a || !b || *a != *b || a->isEmpty()) return std::nullopt;
  return a;
}

struct TokenText {
  const char* token;
  const char* text;
};

constexpr TokenText kTokenTexts[] = {
    {"%filename%", "the input file's name without its folder and extension"},
    {"%filename[u]%", "the same in upper case"},
    {"%filename[l]%", "the same in lower case"},
    {"%filename[t]%", "the same with its first letter in upper case and the others in lower case"},
    {"%ext%", "the output extension, hdr"},
    {"%ext[u]%", "the output extension in upper case, HDR"},
    {"%ext[t]%", "the output extension with its first letter in upper case, Hdr"},
    {"%yyyy%", "the current year, four digits"},
    {"%mm%", "the current month, 01 to 12"},
    {"%dd%", "the current day of the month, 01 to 31"},
    {"%hh%", "the current hour, 00 to 23"},
    {"%ii%", "the current minute, 00 to 59"},
    {"%ss%", "the current second, 00 to 59"},
    {"%bpp%", "the output's bits per pixel, 96 for HDR"},
    {"%width%", "the picture's width after rotation and resizing"},
    {"%height%", "the picture's height after rotation and resizing"},
    {"%rnd%", "a random number from 1 to 99999, at least five digits (00042)"},
    {"%n%", "a counter that starts at 1 and rises after every file written, at least five digits (00001)"},
};

QString lowerName(const char* name) { return QString::fromLatin1(name).toLower(); }

Paragraph formOf(const char* name, const QString& hint) {
  const QString form = lowerName(name);
  Paragraph runs{{form, Style::Bold}};
  if (hint.isEmpty()) return runs;
  const bool optional = hint.startsWith(QLatin1Char('['));
  const QString bare = optional ? hint.mid(1, hint.size() - 2) : hint;
  const bool isLong = form.startsWith(QLatin1String("--"));
  QString joiner = isLong ? QStringLiteral("=") : QStringLiteral(" ");
  if (optional) joiner += QLatin1Char('[');
  runs.push_back({joiner});
  runs.push_back({bare, Style::Italic});
  if (optional) runs.push_back({QStringLiteral("]")});
  return runs;
}

void addSentence(Paragraph& text, const QString& sentence) {
  if (sentence.isEmpty()) return;
  text.push_back({(text.empty() ? QString() : QStringLiteral(" ")) + sentence});
}

bool describe(const OptionSpec& option, OptionEntry* entry, QString* error) {
  entry->spec = &option;
  const QString hint = QString::fromLatin1(option.valueHint);
  for (const char* name : option.names) {
    if (name != nullptr) entry->forms.push_back(formOf(name, hint));
  }
  Paragraph& text = entry->text;
  addSentence(text, QString::fromLatin1(option.description) + QLatin1Char('.'));
  const QStringList words = valueWords(option);
  if (!words.isEmpty()) {
    text.push_back({QStringLiteral(" ")});
    text.push_back({hint, Style::Italic});
    text.push_back({words.size() == 1 ? QStringLiteral(" can only be ") : QStringLiteral(" is one of ")});
    for (qsizetype i = 0; i < words.size(); ++i) {
      if (i > 0) text.push_back({QStringLiteral(", ")});
      text.push_back({words[i], Style::Bold});
    }
    text.push_back({QStringLiteral(".")});
  }
  addSentence(text, QString::fromLatin1(option.details));
  if (option.alsoSets != nullptr) {
    const AlsoText* also = nullptr;
    for (const AlsoText& candidate : kAlsoTexts) {
      if (qstrcmp(candidate.target, option.alsoSets) == 0 && candidate.value == option.alsoValue)
        also = &candidate;
    }
    if (also == nullptr) {
      *error = longName(option) + QStringLiteral(": no words for what it also sets");
      return false;
    }
    addSentence(text, QString::fromLatin1(also->text));
  }
  if (const std::optional<QString> value = defaultText(option)) {
    const bool quoted = option.kind == K::Text && value->contains(QLatin1Char(' '));
    text.push_back({QStringLiteral(" Default: ") + (quoted ? QStringLiteral("\"") : QString())});
    text.push_back({*value, Style::Bold});
    text.push_back({(quoted ? QStringLiteral("\"") : QString()) + QStringLiteral(".")});
  }
  if (option.profileName != nullptr) {
    text.push_back({QStringLiteral(" In a profile file its key is ")});
    text.push_back({lowerName(option.profileName), Style::Bold});
    text.push_back({QStringLiteral(".")});
  }
  return true;
}

QString slug(const QString& title) {
  return QStringLiteral("options-") +
         title.toLower().replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral("-"));
}

QString roffParagraph(const Paragraph& runs) {
  QString out;
  for (const Run& run : runs) {
    switch (run.style) {
      case Style::Plain:
        out += roffEscape(run.text);
        break;
      case Style::Bold:
        out += QStringLiteral("\\fB") + roffEscape(run.text) + QStringLiteral("\\fR");
        break;
      case Style::Italic:
        out += QStringLiteral("\\fI") + roffEscape(run.text) + QStringLiteral("\\fR");
        break;
    }
  }
  // A line may not begin with a control character.
  if (out.startsWith(QLatin1Char('.')) || out.startsWith(QLatin1Char('\'')))
    out.prepend(QStringLiteral("\\&"));
  return out;
}

QString htmlParagraph(const Paragraph& runs) {
  QString out;
  for (const Run& run : runs) {
    switch (run.style) {
      case Style::Plain:
        out += htmlEscape(run.text);
        break;
      case Style::Bold:
        out += QStringLiteral("<code>") + htmlEscape(run.text) + QStringLiteral("</code>");
        break;
      case Style::Italic:
        out += QStringLiteral("<var>") + htmlEscape(run.text) + QStringLiteral("</var>");
        break;
    }
  }
  return out;
}

QString shellWord(const QString& word) { return QLatin1Char('\'') + word + QLatin1Char('\''); }

QString shellList(const QStringList& words) {
  QStringList quoted;
  for (const QString& word : words) quoted << shellWord(word);
  return quoted.join(QLatin1Char(' '));
}

}  // namespace

QStringList valueWords(const OptionSpec& option) {
  QStringList words;
  if (option.role == R::Conversion) {
    words = outputFormatList();
  } else if (option.kind == K::Keyword) {
    for (const QString& word : listKeywords(option.keywordList, optionFormat(option)))
      words << word.toLower();
  }
  return words;
}

QString valueCompletion(const OptionSpec& option) {
  if (!valueWords(option).isEmpty()) return QStringLiteral("words");
  switch (option.role) {
    case R::Input:
      return QStringLiteral("input");
    case R::Output:
    case R::Screenshot:
      return QStringLiteral("folder");
    case R::Profile:
      return QStringLiteral("file");
    default:
      break;
  }
  if (option.kind == K::Text && qstrcmp(option.valueHint, "FILE") == 0) return QStringLiteral("file");
  return QString();
}

bool buildOptionSections(std::vector<OptionSection>* sections, QString* error) {
  sections->clear();
  for (const SectionText& text : kSections)
    sections->push_back(OptionSection{QString::fromLatin1(text.title), QString::fromLatin1(text.intro), {}});
  for (const OptionSpec& option : optionTable()) {
    const QString key = sectionKey(option);
    size_t index = std::size(kSections);
    for (size_t i = 0; i < std::size(kSections); ++i) {
      if (key == QLatin1String(kSections[i].key)) index = i;
    }
    if (index == std::size(kSections)) {
      *error = longName(option) + QStringLiteral(": no section for \"") + key + QLatin1Char('"');
      return false;
    }
    OptionEntry entry;
    if (!describe(option, &entry, error)) return false;
    (*sections)[index].options.push_back(std::move(entry));
  }
  std::erase_if(*sections, [](const OptionSection& section) { return section.options.empty(); });
  return true;
}

bool buildTokenList(std::vector<std::pair<QString, QString>>* tokens, QString* error) {
  tokens->clear();
  const QStringList& known = maskTokens();
  for (const QString& token : known) {
    const auto text = std::find_if(std::begin(kTokenTexts), std::end(kTokenTexts),
                                   [&](const TokenText& t) { return token == QLatin1String(t.token); });
    if (text == std::end(kTokenTexts)) {
      *error = token + QStringLiteral(": no words for this filename-mask token");
      return false;
    }
    tokens->emplace_back(token, QString::fromLatin1(text->text));
  }
  if (tokens->size() != std::size(kTokenTexts)) {
    *error = QStringLiteral("a documented filename-mask token is not one the mask knows");
    return false;
  }
  return true;
}

QString manTokens(const std::vector<std::pair<QString, QString>>& tokens) {
  QString out;
  for (const auto& [token, text] : tokens) {
    out += QStringLiteral(".TP\n") + roffParagraph({{token, Style::Bold}}) + QLatin1Char('\n');
    out += roffParagraph({{text.left(1).toUpper() + text.mid(1) + QLatin1Char('.')}}) + QLatin1Char('\n');
  }
  return out;
}

QString htmlTokens(const std::vector<std::pair<QString, QString>>& tokens) {
  QString out = QStringLiteral("<table class=\"tokens\">\n");
  for (const auto& [token, text] : tokens) {
    out += QStringLiteral("<tr><td><code>") + htmlEscape(token) + QStringLiteral("</code></td><td>") +
           htmlEscape(text) + QStringLiteral("</td></tr>\n");
  }
  return out + QStringLiteral("</table>\n");
}

QString manOptions(const std::vector<OptionSection>& sections) {
  QString out;
  for (const OptionSection& section : sections) {
    out += QStringLiteral(".SS \"") + roffEscape(section.title) + QStringLiteral("\"\n");
    out += roffParagraph({{section.intro}}) + QLatin1Char('\n');
    for (const OptionEntry& entry : section.options) {
      out += QStringLiteral(".TP\n");
      QStringList forms;
      for (const Paragraph& form : entry.forms) forms << roffParagraph(form);
      out += forms.join(QStringLiteral(", ")) + QLatin1Char('\n');
      out += roffParagraph(entry.text) + QLatin1Char('\n');
    }
  }
  return out;
}

QString htmlOptions(const std::vector<OptionSection>& sections) {
  QString out;
  for (const OptionSection& section : sections) {
    out += QStringLiteral("<h3 id=\"") + slug(section.title) + QStringLiteral("\">") +
           htmlEscape(section.title) + QStringLiteral("</h3>\n");
    out +=
        QStringLiteral("<p>") + htmlEscape(section.intro) + QStringLiteral("</p>\n<dl class=\"options\">\n");
    for (const OptionEntry& entry : section.options) {
      QStringList forms;
      for (const Paragraph& form : entry.forms) {
        Paragraph plain;
        for (const Run& run : form)
          plain.push_back({run.text, run.style == Style::Bold ? Style::Plain : run.style});
        forms << QStringLiteral("<code>") + htmlParagraph(plain) + QStringLiteral("</code>");
      }
      out += QStringLiteral("<dt>") + forms.join(QStringLiteral(", ")) + QStringLiteral("</dt>\n");
      out += QStringLiteral("<dd>") + htmlParagraph(entry.text) + QStringLiteral("</dd>\n");
    }
    out += QStringLiteral("</dl>\n");
  }
  return out;
}

QString completionData() {
  QStringList firstOnly;
  QStringList switches;
  QStringList shortValued;
  QStringList longValued;
  QString cases;
  for (const OptionSpec& option : optionTable()) {
    const bool takesValue = option.kind != K::None;
    QStringList names;
    for (const char* name : option.names) {
      if (name == nullptr) continue;
      const QString form = lowerName(name);
      names << shellWord(form);
      if (isFirstParameterSwitch(option))
        firstOnly << form;
      else if (!takesValue)
        switches << form;
      else if (form.startsWith(QLatin1String("--")))
        longValued << form;
      else
        shortValued << form;
    }
    const QString kind = valueCompletion(option);
    if (kind.isEmpty()) continue;
    QString value = kind;
    if (kind == QLatin1String("words")) value += QLatin1Char(' ') + valueWords(option).join(QLatin1Char(' '));
    cases += QStringLiteral("    ") + names.join(QLatin1Char('|')) + QStringLiteral(") echo ") +
             shellWord(value) + QStringLiteral(" ;;\n");
  }
  QString out;
  out += QStringLiteral("_quillet_first_only=(") + shellList(firstOnly) + QStringLiteral(")\n");
  out += QStringLiteral("_quillet_switches=(") + shellList(switches) + QStringLiteral(")\n");
  out += QStringLiteral("_quillet_short_valued=(") + shellList(shortValued) + QStringLiteral(")\n");
  out += QStringLiteral("_quillet_long_valued=(") + shellList(longValued) + QStringLiteral(")\n");
  out += QStringLiteral("_quillet_input_extensions=(") + shellList(acceptedInputExtensions()) +
         QStringLiteral(")\n");
  out += QStringLiteral(
             "# What the value of an option (given in lower case) completes to: \"words\" and the words,\n"
             "# \"input\", \"file\", \"folder\", or nothing.\n"
             "_quillet_value_kind() {\n"
             "  case $1 in\n") +
         cases + QStringLiteral("  esac\n}\n");
  return out;
}

QString roffEscape(const QString& text) {
  QString out;
  for (const QChar c : text) {
    if (c == QLatin1Char('\\'))
      out += QStringLiteral("\\e");
    else if (c == QLatin1Char('-'))
      out += QStringLiteral("\\-");
    else
      out += c;
  }
  return out;
}

QString htmlEscape(const QString& text) { return text.toHtmlEscaped(); }

bool fillTemplate(const QString& text, const std::map<QString, QString>& values, QString* result,
                  QString* error) {
  static const QRegularExpression marker(QStringLiteral("@([A-Z_]+)@"));
  QString out;
  std::map<QString, bool> used;
  qsizetype from = 0;
  QRegularExpressionMatchIterator it = marker.globalMatch(text);
  while (it.hasNext()) {
    const QRegularExpressionMatch match = it.next();
    const auto value = values.find(match.captured(1));
    if (value == values.end()) {
      *error = QStringLiteral("no value for @") + match.captured(1) + QLatin1Char('@');
      return false;
    }
    used[value->first] = true;
    out += text.mid(from, match.capturedStart() - from) + value->second;
    from = match.capturedEnd();
  }
  out += text.mid(from);
  for (const auto& [name, value] : values) {
    (void)value;
    if (!used.count(name) && !productValues().count(name)) {
      *error = QStringLiteral("@") + name + QStringLiteral("@ is not used");
      return false;
    }
  }
  *result = out;
  return true;
}

std::map<QString, QString> productValues() {
  return {
      {QStringLiteral("VERSION"), product::versionText(product::kVersion)},
      {QStringLiteral("TITLE"), QString::fromLatin1(product::kTitle)},
      {QStringLiteral("HOMEPAGE"), QString::fromLatin1(product::kHomepage)},
      {QStringLiteral("WEBSITE"), QString::fromLatin1(product::kWebsite)},
      {QStringLiteral("SUPPORT_MAIL"), QString::fromLatin1(product::kSupportMail)},
  };
}

}  // namespace docs
