#pragma once
// A stand-in for the program's dialogs: answers from a script and remembers what was asked.
#include "ui/ModalUi.h"

#include <deque>
#include <optional>
#include <vector>

namespace grx::test {

class FakeModalUi : public ModalUi {
 public:
  // Scripted answers, used in order; a message with no answer left gets its default button, a file
  // dialog with none left is cancelled.
  std::deque<int> messageAnswers;
  std::deque<QString> fileAnswers;  // an empty name cancels that dialog
  std::deque<std::optional<QColor>> colorAnswers;  // none: that colour dialog is cancelled
  std::optional<Language> languageAnswer;  // none: closed without a choice
  bool languageDialogFails = false;

  std::vector<Message> messages;
  std::vector<FileDialog> fileDialogs;
  std::vector<QColor> colorDialogs;  // the colour each colour dialog started from
  int languageDialogs = 0;
  std::vector<bool> printerSetups;  // pageOnly of each printer or page setup asked for

  int message(QWidget*, const Message& m) override {
    messages.push_back(m);
    if (messageAnswers.empty()) return m.defaultButton;
    const int answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
  }
  std::optional<QString> fileName(QWidget*, const FileDialog& d) override {
    fileDialogs.push_back(d);
    if (fileAnswers.empty()) return std::nullopt;
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (answer.isEmpty()) return std::nullopt;
    return answer;
  }
  // With no answer left a colour dialog is cancelled.
  std::optional<QColor> color(QWidget*, const QColor& initial) override {
    colorDialogs.push_back(initial);
    if (colorAnswers.empty()) return std::nullopt;
    const std::optional<QColor> answer = colorAnswers.front();
    colorAnswers.pop_front();
    return answer;
  }
  bool chooseLanguage(const std::function<void(Language)>& choose, bool* failed) override {
    ++languageDialogs;
    if (failed) *failed = languageDialogFails;
    if (languageDialogFails || !languageAnswer) return false;
    choose(*languageAnswer);
    return true;
  }
  bool printerSetup(QWidget*, QPrinter&, bool pageOnly) override {
    printerSetups.push_back(pageOnly);
    return false;
  }
};

}  // namespace grx::test
