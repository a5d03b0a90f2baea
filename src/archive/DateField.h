#pragma once
// A date that can be typed whole ("01.04.2026", or "1.4.2026", or "2026-04-01") or picked from a
// calendar. A spin-box date editor takes typing only section by section, and a date typed in one go
// over its selected text is lost: here the text is read as a whole whenever it changes, and a text
// that is no date yet leaves the date as it was (shown in red) until the field is left.
#include <QDate>
#include <QLocale>
#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QMenu;
class QToolButton;

namespace grx {

class DateField : public QWidget {
  Q_OBJECT
 public:
  explicit DateField(const QDate& date, QWidget* parent = nullptr);

  QDate date() const { return date_; }
  void setDate(const QDate& date);
  // The form dates are shown and typed in (for example "dd.MM.yyyy"), and the calendar's language.
  void setDisplayFormat(const QString& format, const QLocale& locale);
  QLineEdit* lineEdit() const { return edit_; }

 signals:
  void dateChanged(const QDate& date);

 private:
  void textEdited(const QString& text);
  QDate parse(const QString& text) const;
  void showDate();

  QDate date_;
  QString format_ = QStringLiteral("dd.MM.yyyy");
  QLineEdit* edit_ = nullptr;
  QToolButton* button_ = nullptr;
  QMenu* popup_ = nullptr;
  QCalendarWidget* calendar_ = nullptr;
};

}  // namespace grx
