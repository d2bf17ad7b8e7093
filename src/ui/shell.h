// "Shell open": web pages, mail links and local files handed to the desktop's default handler.
#pragma once

#include <QUrl>

class ShellOpener {
 public:
  virtual ~ShellOpener() = default;
  // Hands the target to the desktop; the result is ignored, as nothing can be done about it.
  virtual void open(const QUrl& target) = 0;
};

// QDesktopServices::openUrl.
class DesktopShell : public ShellOpener {
 public:
  void open(const QUrl& target) override;
};
