// A spin box whose text the owner interprets: it holds a position within a range, shows it as
// a whole number or, with a divisor of 100, with two decimals, and reports typing and arrow
// steps separately so that the slider beside it can be kept in step.
#pragma once

#include <QAbstractSpinBox>

class RangeSpinBox : public QAbstractSpinBox {
  Q_OBJECT

 public:
  // `hundredths`: the position is shown divided by 100 with two decimals (the gamma control).
  RangeSpinBox(int minimum, int maximum, bool hundredths, QWidget* parent);

  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }
  bool hundredths() const { return hundredths_; }

  int position() const { return position_; }
  // Sets the position (clamped to the range) and shows it.
  void setPosition(int position);
  // Sets the position (clamped) and leaves the text as the user typed it.
  void setPositionKeepingText(int position);
  // The position as the box shows it: "42", or "2.35" with hundredths.
  QString positionText() const;

  void stepBy(int steps) override;

 signals:
  // The user changed the text by typing or pasting.
  void textTyped(const QString& text);
  // An arrow, key or wheel step changed the position; the text already shows it.
  void stepped();

 protected:
  StepEnabled stepEnabled() const override;
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;

 private:
  int minimum_;
  int maximum_;
  bool hundredths_;
  int position_;
};
