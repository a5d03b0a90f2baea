#include "DateField.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QToolButton>
#include <QWidgetAction>

namespace grx {

DateField::DateField(const QDate& date, QWidget* parent) : QWidget(parent), date_(date) {
  edit_ = new QLineEdit(this);
  button_ = new QToolButton(this);
  button_->setArrowType(Qt::DownArrow);
  button_->setPopupMode(QToolButton::InstantPopup);
  button_->setFocusPolicy(Qt::NoFocus);
  popup_ = new QMenu(button_);
  calendar_ = new QCalendarWidget(popup_);
  auto* holder = new QWidgetAction(popup_);
  holder->setDefaultWidget(calendar_);
  popup_->addAction(holder);
  button_->setMenu(popup_);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(edit_, 1);
  layout->addWidget(button_);
  setFocusProxy(edit_);
  connect(edit_, &QLineEdit::textEdited, this, &DateField::textEdited);
  // Leaving the field shows the date in force again, written out whole.
  connect(edit_, &QLineEdit::editingFinished, this, &DateField::showDate);
  connect(popup_, &QMenu::aboutToShow, this, [this] { calendar_->setSelectedDate(date_); });
  connect(calendar_, &QCalendarWidget::clicked, this, [this](const QDate& d) {
    popup_->close();
    setDate(d);
  });
  connect(calendar_, &QCalendarWidget::activated, this, [this](const QDate& d) {
    popup_->close();
    setDate(d);
  });
  showDate();
}

void DateField::setDate(const QDate& date) {
  if (!date.isValid()) return;
  const bool changed = date != date_;
  date_ = date;
  showDate();
  if (changed) emit dateChanged(date_);
}

void DateField::setDisplayFormat(const QString& format, const QLocale& locale) {
  format_ = format;
  calendar_->setLocale(locale);
  showDate();
}

void DateField::showDate() {
  edit_->setText(date_.toString(format_));
  edit_->setStyleSheet(QString());
}

QDate DateField::parse(const QString& text) const {
  const QString t = text.trimmed();
  // The field's own form, with or without leading zeros, or the ISO form.
  static const QRegularExpression numbers(QStringLiteral("^(\\d{1,4})[./-](\\d{1,2})[./-](\\d{1,4})$"));
  const QRegularExpressionMatch m = numbers.match(t);
  if (!m.hasMatch()) return {};
  const int a = m.captured(1).toInt(), b = m.captured(2).toInt(), c = m.captured(3).toInt();
  if (m.captured(1).size() == 4) return QDate(a, b, c);  // yyyy-MM-dd
  if (m.captured(3).size() != 4) return {};
  return format_.startsWith(u'M') ? QDate(c, a, b) : QDate(c, b, a);
}

void DateField::textEdited(const QString& text) {
  const QDate typed = parse(text);
  if (!typed.isValid()) {
    edit_->setStyleSheet(QStringLiteral("color: red"));  // not a date (yet): the filter stays as it was
    return;
  }
  edit_->setStyleSheet(QString());
  if (typed != date_) {
    date_ = typed;
    emit dateChanged(date_);
  }
}

}  // namespace grx
