#include "GuardedApplication.h"

#include "platform/Messages.h"

#include <QMessageBox>

#include <exception>

namespace grx {
namespace {

constexpr TextPair kUnknownError{"Непредвиденная ошибка", "Unexpected error"};

}  // namespace

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

std::function<void(const QString&)>& GuardedApplication::errorReporter() {
  static std::function<void(const QString&)> reporter = [](const QString& text) {
    QMessageBox::critical(nullptr, kAppTitle.text(), text);
  };
  return reporter;
}

void GuardedApplication::showError(const QString& text) { errorReporter()(text); }

bool runGuarded(const std::function<void()>& work) {
  try {
    work();
    return true;
  } catch (const std::exception& e) {
    GuardedApplication::showError(QString::fromLocal8Bit(e.what()));
  } catch (...) {
    GuardedApplication::showError(kUnknownError.text());
  }
  return false;
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  runGuarded([&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

}  // namespace grx
