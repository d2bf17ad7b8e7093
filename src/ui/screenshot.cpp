#include "ui/screenshot.h"

#include "i18n/product.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "settings/format_lists.h"
#include "ui/gui_context.h"
#include "ui/main_window.h"
#include "ui/window_images.h"

#include <QComboBox>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <cmath>

namespace {

constexpr int kJpegQuality = 90;
constexpr int kSmallWidth = 180;

}  // namespace

QSize smallScreenshotSize(QSize outer) {
  if (outer.width() <= 0 || outer.height() <= 0) return QSize();
  const double ratio = static_cast<double>(outer.width()) / outer.height();
  return QSize(kSmallWidth, static_cast<int>(std::lround(kSmallWidth / ratio)));
}

QImage captureWindow(QWidget& window) {
  const QRect frame = window.frameGeometry();
  QPixmap shot;
  // A screen grab shows the frame the window manager drew; where the platform cannot grab the
  // screen, the window draws itself without a frame.
  if (QScreen* screen = window.screen(); screen != nullptr && window.isVisible()) {
    shot = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
  }
  if (shot.isNull() || shot.deviceIndependentSize().toSize() != frame.size()) shot = window.grab();

  // On a scaled screen the picture keeps every device pixel; the drawing below works in the
  // window's own units, as the window does.
  QImage image(shot.size(), QImage::Format_RGB32);
  image.setDevicePixelRatio(shot.devicePixelRatio());
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.drawPixmap(0, 0, shot);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QFont font(QStringLiteral("Tahoma"));
  font.setPointSize(8);
  font.setStyleStrategy(QFont::PreferQuality);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.setBackgroundMode(Qt::TransparentMode);
  const QString website = QString::fromLatin1(product::kWebsite);
  const int textWidth = painter.fontMetrics().horizontalAdvance(website);
  const QSize size = image.deviceIndependentSize().toSize();
  const QRect textBox(size.width() - 35 - textWidth, size.height() - 26, textWidth,
                      painter.fontMetrics().height());
  painter.drawText(textBox, Qt::AlignLeft | Qt::AlignTop, website);
  painter.end();
  return image;
}

void screenshotMode(GuiContext& context, const QString& folderPath) {
  QString folder = folderPath.isEmpty() ? context.job.programFolder : folderPath;
  if (folder.isEmpty()) folder = platform::programFolder();
  folder = platform::withTrailingSeparator(folder);
  if (!platform::isFolder(folder)) return;

  context.screenshotMode = true;
  MainWindow window(context);
  window.move(400, 400);
  window.resize(510, 260 + window.menuBarHeight());
  window.activateWindow();
  startMainWindow(window);

  const QStringList& formats = inputFormatList();
  const QString extension = formats.value(QRandomGenerator::global()->bounded(qMax(1, int(formats.size()))));
  window.inputEdit()->setText(QStringLiteral("/images/lumavane.") + extension);
  QComboBox* folders = window.outputFolderList();
  folders->addItem(setIcon(context, ImageSetName::MenuIcons, QStringLiteral("FavFolder")),
                   QStringLiteral("/converted/"));
  folders->setCurrentIndex(folders->count() - 1);
  window.outputFormatList()->setFocus();
  folders->setFocus();
  window.convertButton()->setFocus();

  QEventLoop loop;
  QTimer::singleShot(500, &loop, &QEventLoop::quit);
  QObject::connect(&window, &MainWindow::quitRequested, &loop, &QEventLoop::quit);
  loop.exec();
  if (!window.isVisible()) return;

  const QImage image = captureWindow(window);
  image.save(folder + QStringLiteral("quillet1.jpg"), "JPG", kJpegQuality);
  const QImage small =
      image.scaled(smallScreenshotSize(image.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  small.save(folder + QStringLiteral("quillet1x.jpg"), "JPG", kJpegQuality);
}
