// Targets that lead out of the program (manual, feedback mail, homepage, maker's site, converter
// search) and handing them to the shell.
#pragma once

#include <QString>

class ShellOpener;

// The HTML manual: "manual.html" beside the executable when it is there (a build folder),
// otherwise "<prefix>/share/doc/quillet/manual.html" of an installed program ("<prefix>/bin/" as
// `programFolder`) when that exists; the path beside the executable when neither exists.
QString manualPath(const QString& programFolder);

// "mailto:" + the support mailbox.
QString supportMailTarget();
// The support mail with the subject "Lumavane JPG to HDR 2.2 Feedback".
QString feedbackMailTarget();

// The text with only the characters 0-9, A-Z and a-z kept.
QString keepAlphanumeric(const QString& text);
// The converter search page for two extensions: ".../find/<from>-<to>/".
QString converterSearchTarget(const QString& from, const QString& to);

// Hands a target to the shell: an absolute path as a local file, anything else as an address.
void shellOpen(ShellOpener& shell, const QString& target);

// The commands that only open a target.
void openManual(ShellOpener& shell, const QString& programFolder);
void openFeedbackMail(ShellOpener& shell);
void openHomepage(ShellOpener& shell);
