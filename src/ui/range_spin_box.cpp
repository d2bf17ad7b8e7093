#include "ui/range_spin_box.h"

#include "ui/preferences_values.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

#include <algorithm>

RangeSpinBox::RangeSpinBox(int minimum, int maximum, bool hundredths, QWidget* parent)
    : QAbstractSpinBox(parent),
      minimum_(minimum),
      maximum_(maximum),
      hundredths_(hundredths),
      position_(minimum) {
  // Digits with a sign where the range allows one, or a decimal fraction; the owner reads and
  // clamps whatever is typed.
  const QString pattern =
      hundredths_ ? QStringLiteral("[0-9]{0,4}([.][0-9]*)?")
                  : (minimum_ < 0 ? QStringLiteral("-?[0-9]{0,9}") : QStringLiteral("[0-9]{0,9}"));
  lineEdit()->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), this));
  setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
  connect(lineEdit(), &QLineEdit::textEdited, this, &RangeSpinBox::textTyped);
  // Leaving the box shows the position in its normal form ("5" for "05", "0.01" for "0").
  connect(this, &QAbstractSpinBox::editingFinished, this, [this] {
    if (lineEdit()->text() != positionText()) lineEdit()->setText(positionText());
  });
  lineEdit()->setText(positionText());
}

void RangeSpinBox::setPosition(int position) {
  setPositionKeepingText(position);
  lineEdit()->setText(positionText());
}

void RangeSpinBox::setPositionKeepingText(int position) {
  position_ = std::clamp(position, minimum_, maximum_);
}

QString RangeSpinBox::positionText() const {
  return hundredths_ ? gammaText(position_) : QString::number(position_);
}

void RangeSpinBox::stepBy(int steps) {
  setPosition(position_ + steps);
  emit stepped();
}

QAbstractSpinBox::StepEnabled RangeSpinBox::stepEnabled() const {
  StepEnabled enabled = StepNone;
  if (position_ > minimum_) enabled |= StepDownEnabled;
  if (position_ < maximum_) enabled |= StepUpEnabled;
  return enabled;
}

// The base class never holds a value of its own here, so the text is always "in progress" for
// it; the line edit's validator decides what may be typed.
QValidator::State RangeSpinBox::validate(QString&, int&) const { return QValidator::Intermediate; }

void RangeSpinBox::fixup(QString& input) const { input = positionText(); }
