#pragma once
// The application object of the window program. An exception that escapes an event handler is
// shown in a message box with its text, and the program goes on, instead of ending silently.
#include <QApplication>

#include <functional>

namespace grx {

class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Shows an error that escaped: a message box with the program's title (tests replace it).
  static void showError(const QString& text);
  static std::function<void(const QString&)>& errorReporter();
};

// Runs `work`; an exception escaping it is shown with showError. Returns false then.
bool runGuarded(const std::function<void()>& work);

}  // namespace grx
