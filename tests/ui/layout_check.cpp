#include "layout_check.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTextDocumentFragment>
#include <QToolBar>

#include <optional>
#include <vector>

namespace {

// Parts of compound controls (a list's button, a toolbar's buttons) are the toolkit's to lay out.
bool isPartOfCompound(const QWidget* widget, const QWidget* window) {
  for (const QWidget* up = widget->parentWidget(); up != nullptr && up != window; up = up->parentWidget()) {
    if (qobject_cast<const QComboBox*>(up) || qobject_cast<const QToolBar*>(up) ||
        qobject_cast<const QStatusBar*>(up) || qobject_cast<const QMenuBar*>(up) ||
        qobject_cast<const QAbstractSpinBox*>(up) || qobject_cast<const QLineEdit*>(up))
      return true;
    if (const auto* area = qobject_cast<const QAbstractScrollArea*>(up);
        area != nullptr && !area->viewport()->isAncestorOf(widget))
      return true;  // scroll bars and corners
  }
  return false;
}

bool insideScrolledContent(const QWidget* widget, const QWidget* window) {
  for (const QWidget* up = widget->parentWidget(); up != nullptr && up != window; up = up->parentWidget()) {
    if (const auto* area = qobject_cast<const QAbstractScrollArea*>(up); area != nullptr) return true;
  }
  return false;
}

// A plain panel (a container or an empty box) is a background, not a control.
bool isPanel(const QWidget* widget) {
  if (qobject_cast<const QLabel*>(widget) != nullptr) return false;
  const QByteArray type = widget->metaObject()->className();
  return type == "QWidget" || type == "QFrame" || type == "QScrollArea" || type == "QStackedWidget";
}

QString nameOf(const QWidget* widget) {
  QString text;
  if (const auto* label = qobject_cast<const QLabel*>(widget)) text = label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) text = button->text();
  if (!widget->objectName().isEmpty()) text = widget->objectName() + QStringLiteral(" ") + text;
  return QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(widget->metaObject()->className()), text);
}

// The area a control's text needs, in the control's own coordinates; nothing for controls
// without text. Sets `fits` to whether the control holds it.
std::optional<QRect> textArea(const QWidget* widget, bool* fits) {
  *fits = true;
  const QFontMetrics metrics = widget->fontMetrics();
  if (const auto* label = qobject_cast<const QLabel*>(widget)) {
    if (label->text().isEmpty() || !label->pixmap().isNull()) return std::nullopt;
    const QString text = Qt::mightBeRichText(label->text())
                             ? QTextDocumentFragment::fromHtml(label->text()).toPlainText()
                             : label->text();
    const int margin = label->margin();
    const QRect area = label->contentsRect().adjusted(margin, margin, -margin, -margin);
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine);
    const QRect needed = metrics.boundingRect(area, flags, text);
    *fits = area.contains(needed);
    return needed & area;
  }
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
    if (button->text().isEmpty()) return std::nullopt;
    const QString text = QString(button->text()).remove(QLatin1Char('&'));
    int width = metrics.horizontalAdvance(text);
    if (qobject_cast<const QCheckBox*>(button) != nullptr) {
      width += button->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, button) +
               button->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, button);
    } else {
      width += 4;  // the button's frame
    }
    *fits = width <= button->width() && metrics.height() <= button->height();
    return button->rect();
  }
  return std::nullopt;
}

struct Item {
  const QWidget* widget;
  QRect box;  // in the parent's coordinates: the text for labels, else the control
  bool label;
};

}  // namespace

QStringList layoutProblems(const QWidget& window) {
  QStringList problems;
  std::vector<Item> items;
  const QRect windowArea = window.rect();
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    if (!widget->isVisibleTo(&window) || widget->isWindow() || isPartOfCompound(widget, &window)) continue;
    if (qobject_cast<const QToolBar*>(widget) == nullptr &&
        qobject_cast<const QMenuBar*>(widget) == nullptr &&
        qobject_cast<const QStatusBar*>(widget) == nullptr && !insideScrolledContent(widget, &window)) {
      const QRect inWindow(widget->mapTo(&window, QPoint(0, 0)), widget->size());
      if (!windowArea.contains(inWindow))
        problems << nameOf(widget) + QStringLiteral(" reaches outside the window");
    }
    if (isPanel(widget)) continue;
    bool fits = true;
    const std::optional<QRect> text = textArea(widget, &fits);
    if (!fits) problems << nameOf(widget) + QStringLiteral(" cuts off its text");
    const bool label = qobject_cast<const QLabel*>(widget) != nullptr;
    if (label && !text) {
      if (qobject_cast<const QLabel*>(widget)->pixmap().isNull()) continue;  // an empty caption
    }
    const QRect box = label && text ? text->translated(widget->pos()) : widget->geometry();
    items.push_back({widget, box, label});
  }
  for (size_t i = 0; i < items.size(); ++i) {
    for (size_t j = i + 1; j < items.size(); ++j) {
      const Item& a = items[i];
      const Item& b = items[j];
      if (a.widget->parentWidget() != b.widget->parentWidget()) continue;
      if (a.box.intersects(b.box))
        problems << nameOf(a.widget) + QStringLiteral(" and ") + nameOf(b.widget) +
                        QStringLiteral(" overlap");
    }
  }
  return problems;
}
