#pragma once
// The material names window (`TfrmMaterials`) and the object names window (`TfrmObjects`): twins
// that read the tester's list of 13 names, let the user edit it, write it back, load and save it
// as a name-list file and restore the built-in defaults. One class holds the controls and the
// handlers; the twin description (NameListKind) says which list it edits. The file format, the
// defaults and the name rules live in NameLists; the exchanges with the tester in LinkRequests.
#include "NameLists.h"

#include <QWidget>

#include <array>
#include <functional>

class QLineEdit;
class QPushButton;

namespace grx {

class IniFile;
class ModalUi;
class UiWaiter;

class TfrmNames : public QWidget {
  Q_OBJECT
 public:
  struct Environment {
    LinkShared* link = nullptr;       // the link state and the name blocks (required)
    NameListFlags* flags = nullptr;   // the list's flags, kept by the main window for the run
    ModalUi* ui = nullptr;
    UiWaiter* waiter = nullptr;       // how the tester exchanges wait (processing events)
    const IniFile* config = nullptr;  // GRX1.ini (LastReadPath)
    QString dataFolder;  // where files are written and proposed (beside the program when it may write there)
    std::function<void()> closed;     // clears the main window's guard flag
    std::function<QDateTime()> now;   // the clock of the proposed file name (default: the system's)
  };

  // A modeless window of `mainWindow`, freed when it closes.
  TfrmNames(const NameListKind& kind, Environment environment, QWidget* mainWindow);
  ~TfrmNames() override;

  // Fills the edit boxes from the name block, sets the captions, centres the window on the main
  // window and reads the names from the tester.
  void FormCreate();

  NameList list() const { return kind_.list; }

  std::array<QLineEdit*, kNameSlots> EditName{};  // EditName1 .. EditName13
  QPushButton* btnFromDevice = nullptr;
  QPushButton* btnToDevice = nullptr;
  QPushButton* btnFromFile = nullptr;
  QPushButton* btnToFile = nullptr;
  QPushButton* ButtonDefault = nullptr;
  QPushButton* btnClose = nullptr;

  void btnFromDeviceClick();
  void btnToDeviceClick();
  void btnFromFileClick();
  void btnToFileClick();
  void ButtonDefaultClick();
  void btnCloseClick();

 protected:
  void closeEvent(QCloseEvent* event) override;  // FormClose
  bool eventFilter(QObject* watched, QEvent* event) override;  // EditName1KeyPress and the file button

 private:
  void createControls();
  void setCaptions();
  void fillEditsFromBlock(const NameBlock& block);
  NameBlock blockFromEdits() const;
  bool linkIdle() const;
  void exchangeEnds();

  // A tester exchange waits while the window handles its events; a close asked for meanwhile is
  // carried out when the exchange has ended, so the window is never freed inside its own wait.
  bool exchanging_ = false;
  bool closeAfterExchange_ = false;

  const NameListKind& kind_;
  Environment env_;
  QWidget* mainWindow_;
};

class TfrmMaterials final : public TfrmNames {
  Q_OBJECT
 public:
  TfrmMaterials(Environment environment, QWidget* mainWindow);
};

class TfrmObjects final : public TfrmNames {
  Q_OBJECT
 public:
  TfrmObjects(Environment environment, QWidget* mainWindow);
};

}  // namespace grx
