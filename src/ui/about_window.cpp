#include "ui/about_window.h"

#include "i18n/product.h"
#include "i18n/string_table.h"
#include "themes/image_sets.h"
#include "ui/owned_window.h"
#include "ui/web_links.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

#include <functional>
#include <utility>

namespace {

constexpr int kWidth = 360;
constexpr int kHeight = 240;

// A label that looks like a link (blue, also under the mouse) and runs an action when clicked.
class HyperlinkLabel : public QLabel {
 public:
  HyperlinkLabel(const QString& text, std::function<void()> action, QWidget* parent)
      : QLabel(text, parent), action_(std::move(action)) {
    QPalette colours = palette();
    const QColor blue(0, 0, 255);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      colours.setColor(group, QPalette::WindowText, blue);
    }
    setPalette(colours);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && action_)
      action_();
    QLabel::mouseReleaseEvent(event);
  }

 private:
  std::function<void()> action_;
};

QLabel* placedLabel(const QString& text, const QRect& geometry, Qt::Alignment alignment, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(geometry);
  label->setAlignment(alignment);
  return label;
}

}  // namespace

AboutWindow::AboutWindow(QWidget& owner, const StringTable& strings, ShellOpener& shell) : QDialog(&owner) {
  setObjectName(QStringLiteral("aboutWindow"));
  setWindowTitle(strings.text(QStringLiteral("About"), QStringLiteral("Title")));
  setFixedSize(kWidth, kHeight);

  banner_ = new QLabel(this);
  banner_->setGeometry(0, 0, kWidth, 40);
  banner_->setPixmap(QPixmap::fromImage(themes::aboutBanner()));

  auto* box = new QFrame(this);
  box->setGeometry(0, 40, kWidth, 150);
  box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  box->setLineWidth(1);

  titleLine_ = placedLabel(product::fullTitle(), QRect(20, 50, 320, 20), Qt::AlignCenter, this);
  noticeLine_ = placedLabel(QLatin1String(product::kNotice), QRect(20, 70, 320, 20), Qt::AlignCenter, this);
  const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
  webCaption_ = placedLabel(strings.text(QStringLiteral("About"), QStringLiteral("Website")),
                            QRect(80, 100, 60, 20), left, this);
  emailCaption_ = placedLabel(strings.text(QStringLiteral("About"), QStringLiteral("Email")),
                              QRect(80, 120, 50, 20), left, this);

  ShellOpener* const opener = &shell;
  webLink_ = new HyperlinkLabel(
      QLatin1String(product::kWebsite), [opener] { shellOpen(*opener, QLatin1String(product::kWebsite)); },
      this);
  webLink_->setGeometry(140, 100, 215, 20);
  emailLink_ = new HyperlinkLabel(
      QLatin1String(product::kSupportMail), [opener] { shellOpen(*opener, supportMailTarget()); }, this);
  emailLink_->setGeometry(140, 120, 215, 20);

  okButton_ = new QPushButton(strings.text(QStringLiteral("Dialog"), QStringLiteral("OK")), this);
  okButton_->setGeometry(140, 200, 80, 25);
  okButton_->setDefault(true);
  okButton_->setFocus();
  // Return reaches the default button; Escape and the close box reject: all of them close.
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
}

AboutWindow* openAboutWindow(QWidget& owner, const StringTable& strings, ShellOpener& shell) {
  if (AboutWindow* open = owner.findChild<AboutWindow*>(QString(), Qt::FindDirectChildrenOnly);
      open && open->isVisible()) {
    open->raise();
    open->activateWindow();
    return open;
  }
  auto* window = new AboutWindow(owner, strings, shell);
  openOwnedWindow(*window, owner);
  return window;
}
