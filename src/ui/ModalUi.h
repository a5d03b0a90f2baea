#pragma once
// Every modal interaction of the program (message boxes, file dialogs, colour dialogs, the language
// dialog) goes through this interface, so the windows can be driven by tests that answer the
// questions and record what was asked, and nothing ever waits on a real modal dialog in a test.
#include "platform/TextPair.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace grx {

class ModalUi {
 public:
  enum class Icon { None, Information, Warning, Error, Question };
  enum Button {
    Ok = 0x1, Cancel = 0x2, Abort = 0x4, Retry = 0x8, Ignore = 0x10, Yes = 0x20, No = 0x40, Save = 0x80, Discard = 0x100
  };

  struct Message {
    QString title;
    QString text;
    Icon icon = Icon::None;
    int buttons = Ok;
    int defaultButton = Ok;
  };

  // A file dialog. Filters are "Description (*.ext)" texts; filterChanged runs when the user picks
  // another filter (1-based index) and may change the file name and the default suffix shown.
  struct FileDialog {
    QString title;
    QString fileName;  // folder and proposed name
    QStringList filters;
    QString defaultSuffix;
    bool save = false;
    bool confirmOverwrite = true;
    std::function<void(int filterIndex, QString& fileName, QString& defaultSuffix)> filterChanged;
  };

  virtual ~ModalUi() = default;

  // Returns the button that closed the box.
  virtual int message(QWidget* parent, const Message& message) = 0;
  // The chosen file, or none when the user cancelled.
  virtual std::optional<QString> fileName(QWidget* parent, const FileDialog& dialog) = 0;
  virtual std::optional<QColor> color(QWidget* parent, const QColor& initial) = 0;
  // The language dialog of the first start: calls `choose` at once when a language is picked and
  // returns true; returns false when it was closed without a choice. Throws nothing; a dialog that
  // cannot be shown returns false with `failed` set.
  virtual bool chooseLanguage(const std::function<void(Language)>& choose, bool* failed) = 0;
  // The printer setup (pageOnly: the page setup) on the program's printer settings; true when
  // confirmed. Nothing is shown where no printing is possible.
  virtual bool printerSetup(QWidget* /*parent*/, QPrinter& /*printer*/, bool /*pageOnly*/) { return false; }
};

// The real dialogs of the desktop.
class QtModalUi : public ModalUi {
 public:
  int message(QWidget* parent, const Message& message) override;
  std::optional<QString> fileName(QWidget* parent, const FileDialog& dialog) override;
  std::optional<QColor> color(QWidget* parent, const QColor& initial) override;
  bool chooseLanguage(const std::function<void(Language)>& choose, bool* failed) override;
  bool printerSetup(QWidget* parent, QPrinter& printer, bool pageOnly) override;
};

}  // namespace grx
