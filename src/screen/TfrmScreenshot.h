#pragma once
// The screen image window: a copy of the tester's 128 x 64 display, framed, in an ink and a
// background colour the user chooses; every paint also writes "Screenshot.bmp" in the program
// folder and puts the picture on the clipboard. Controls and handlers only: the decode, the bitmap
// bytes and the configuration keys live in the core (ScreenPicture, ScreenshotSettings).
#include "ScreenPicture.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace grx {

class IniFile;
class ModalUi;
class UiWaiter;

class TfrmScreenshot : public QWidget {
  Q_OBJECT
 public:
  struct Environment {
    LinkShared* link = nullptr;       // the link state and the shared screen image (required)
    ModalUi* ui = nullptr;
    UiWaiter* waiter = nullptr;       // the short wait of closing
    const IniFile* config = nullptr;  // GRX1.ini, section Screenshot
    QString dataFolder;  // where files are written and proposed (beside the program when it may write there)
  };

  // The outer size the position keys are computed with.
  static constexpr int kOuterWidth = 189;
  static constexpr int kOuterHeight = 218;

  // A new modeless window over `mainWindow`, freed when it closes.
  TfrmScreenshot(Environment environment, QWidget* mainWindow);
  ~TfrmScreenshot() override;

  // Captions, position, colours, the empty frame painted (file and clipboard), then the read.
  void FormCreate();

  QLabel* DeviceScreenShotImage = nullptr;
  QPushButton* BtnGetPicture = nullptr;
  QPushButton* BtnPenColor = nullptr;
  QPushButton* BtnBackgroundColor = nullptr;
  QPushButton* BtnClose = nullptr;

  void BtnGetPictureClick();
  void BtnPenColorClick();
  void BtnBackgroundColorClick();
  void BtnCloseClick();
  // Shows the pixel map in the two colours, writes the picture file and the clipboard.
  void Paint();

  // From the click of BtnGetPicture until the posted request has left lsReadScreen.
  bool reading() const { return reading_; }
  WinColor penColor() const { return pen_; }
  WinColor backgroundColor() const { return background_; }
  const PixelMap& pixels() const { return map_; }
  const QString& pictureFile() const { return pictureFile_; }

 protected:
  void closeEvent(QCloseEvent* event) override;  // FormClose

 private:
  void createControls();
  void pollRead();     // every 10 ms while reading
  void finishRead();   // decode, paint, buttons back

  Environment env_;
  QWidget* mainWindow_;
  QTimer* poll_ = nullptr;
  PixelMap map_;
  ScreenImage image_{};  // the window's copy of the shared image; decoding leaves it zero
  WinColor pen_ = 0;
  WinColor background_ = 0;
  QString pictureFile_;
  bool reading_ = false;
  bool posted_ = false;
  bool closing_ = false;  // the close box pressed again during the withdrawal's wait
};

}  // namespace grx
