// Test helpers for the Preferences window: a fake for the standard dialogs, a context with a
// temporary config.ini, and field-by-field comparison of Settings.
#pragma once

#include "convert/batch.h"
#include "convert/conversion_job.h"
#include "fakes.h"
#include "i18n/string_table.h"
#include "settings/defaults.h"
#include "settings/fields.h"
#include "settings/key_value_file.h"
#include "settings/settings.h"
#include "support/field_text.h"
#include "themes/image_sets.h"
#include "themes/themes.h"
#include "ui/dialog_service.h"
#include "ui/gui_context.h"
#include "ui/preferences_window.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

inline const DefaultsEnvironment kTestEnv{1920, 1080, 1700000000};

// Answers every dialog from values set beforehand and records how it was asked.
class ScriptedDialogs : public DialogService {
 public:
  bool questionAnswer = false;
  std::optional<QColor> colourAnswer;
  std::optional<QFont> fontAnswer;
  QString fileAnswer;

  int questions = 0;
  MessageIcon questionIcon = MessageIcon::Information;
  QString questionTitle;
  QString questionText;
  QColor colourAsked;
  QFont fontAsked;
  QString fileTitle;
  QString fileStart;
  QList<FileFilter> fileFilters;

  void message(QWidget*, MessageIcon, const QString&, const QString&) override {}
  bool question(QWidget*, MessageIcon icon, const QString& title, const QString& text) override {
    ++questions;
    questionIcon = icon;
    questionTitle = title;
    questionText = text;
    return questionAnswer;
  }
  QString openFile(QWidget*, const QString& title, const QString& startPath,
                   const QList<FileFilter>& filters) override {
    fileTitle = title;
    fileStart = startPath;
    fileFilters = filters;
    return fileAnswer;
  }
  QString chooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
  std::optional<QColor> chooseColor(QWidget*, const QColor& initial) override {
    colourAsked = initial;
    return colourAnswer;
  }
  std::optional<QFont> chooseFont(QWidget*, const QFont& initial) override {
    fontAsked = initial;
    return fontAnswer;
  }
};

// Every option field as text, keyed "Group/Key".
inline std::map<std::string, QString> fieldTexts(const Settings& settings) {
  std::map<std::string, QString> texts;
  for (const SettingField& field : settingFields())
    texts[std::string(field.group) + "/" + field.key] = fieldText(settings, field);
  return texts;
}

// The fields whose text differs between two records.
inline std::set<std::string> changedFields(const Settings& before, const Settings& after) {
  const auto a = fieldTexts(before);
  const auto b = fieldTexts(after);
  std::set<std::string> changed;
  for (const auto& [name, text] : a)
    if (b.at(name) != text) changed.insert(name);
  return changed;
}

class PreferencesTest : public ::testing::Test {
 protected:
  PreferencesTest() {
    strings.load(QString());
    applyDefaults(settings, false, kTestEnv);
    settings.configPath = folder.filePath(QStringLiteral("config.ini"));
    themes::loadBuiltInImages(images);
    themeRegistry.names = {{QStringLiteral("handdrawn"), QStringLiteral("Hand Drawn")},
                           {QStringLiteral("classic"), QStringLiteral("Classic")},
                           {QStringLiteral("unnamed"), QString()}};
    gui = std::make_unique<GuiContext>(settings, job, queue, strings, images, themeRegistry, dialogs, shell);
  }
  ~PreferencesTest() override {
    if (window) delete window.data();
  }

  PreferencesContext context() {
    return PreferencesContext{*gui,
                              [this](int index) {
                                appliedIndexes.push_back(index);
                                appliedWhileOpen.push_back(window && window->isVisible());
                              },
                              [] { return kTestEnv; }};
  }

  PreferencesWindow& open(int page = 0) {
    startPage = page;
    window = openPreferences(context(), nullptr);
    return *window;
  }

  // Runs pending deletions so that a closed window is gone.
  static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  template <typename T>
  T* control(const QString& name) const {
    T* found = window->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
  }

  bool configSaved() const { return QFile::exists(settings.configPath); }

  QTemporaryDir folder;
  StringTable strings;
  Settings settings;
  ConversionJob job;
  FileQueue queue;
  themes::ImageSets images;
  themes::ThemeRegistry themeRegistry;  // listed as "Classic", "Hand Drawn"; "unnamed" is not offered
  ScriptedDialogs dialogs;
  RecordingShell shell;
  std::unique_ptr<GuiContext> gui;
  int32_t& startPage = job.preferencesPage;
  int32_t& changeFlag = job.interfaceChangeFlag;
  std::vector<int> appliedIndexes;
  std::vector<bool> appliedWhileOpen;
  QPointer<PreferencesWindow> window;
};
