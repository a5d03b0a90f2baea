#include "TfrmScreenshot.h"

#include "ui/ModalUi.h"
#include "ui/WindowPlacement.h"
#include "config/ScreenshotSettings.h"
#include "device/LinkRequests.h"
#include "platform/AppPaths.h"
#include "ui/WindowButton.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace grx {
namespace {

constexpr TextPair kCaption{"Экран прибора", "Screenshot"};
constexpr TextPair kGetPicture{"Считать образ экрана", "Consider the image of the screen"};
constexpr TextPair kPenColor{"Цвет чернил", "Ink color"};
constexpr TextPair kBackgroundColor{"Цвет фона", "Background"};
constexpr TextPair kClose{"Закрыть", "Close"};

// The client area inside the outer 189 x 218 of a captioned, bordered window.
constexpr int kClientWidth = 181;
constexpr int kClientHeight = 190;

// The window keeps its fixed width: a caption longer than its button gets a smaller font.
void fitCaption(QPushButton* button) {
  QFont font = button->font();
  while (font.pointSizeF() > 6 && QFontMetrics(font).horizontalAdvance(button->text()) > button->width() - 8)
    font.setPointSizeF(font.pointSizeF() - 0.5);
  button->setFont(font);
}

QColor toQColor(WinColor c) { return QColor(winRed(c), winGreen(c), winBlue(c)); }
WinColor toWinColor(const QColor& c) { return winColor(c.red(), c.green(), c.blue()); }

}  // namespace

TfrmScreenshot::TfrmScreenshot(Environment environment, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window), env_(std::move(environment)), mainWindow_(mainWindow),
      poll_(new QTimer(this)), map_(framedPixelMap()) {
  setObjectName(QStringLiteral("frmScreenshot"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(kClientWidth, kClientHeight);
  poll_->setInterval(10);
  connect(poll_, &QTimer::timeout, this, &TfrmScreenshot::pollRead);
  createControls();
}

TfrmScreenshot::~TfrmScreenshot() = default;

void TfrmScreenshot::createControls() {
  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::Panel);
  frame->setFrameShadow(QFrame::Sunken);
  frame->setLineWidth(2);
  frame->setGeometry((kClientWidth - kPictureWidth - 4) / 2, 6, kPictureWidth + 4, kPictureHeight + 4);
  DeviceScreenShotImage = new QLabel(frame);
  DeviceScreenShotImage->setObjectName(QStringLiteral("DeviceScreenShotImage"));
  DeviceScreenShotImage->setGeometry(2, 2, kPictureWidth, kPictureHeight);

  auto button = [this](const char* name, int x, int y, int w) {
    QPushButton* b = windowButton(name, this);
    b->setGeometry(x, y, w, 25);
    return b;
  };
  BtnGetPicture = button("BtnGetPicture", 4, 84, kClientWidth - 8);
  BtnPenColor = button("BtnPenColor", 4, 113, (kClientWidth - 8) / 2 - 1);
  BtnBackgroundColor = button("BtnBackgroundColor", kClientWidth / 2 + 1, 113, (kClientWidth - 8) / 2 - 1);
  BtnClose = button("BtnClose", 4, 159, kClientWidth - 8);

  connect(BtnGetPicture, &QPushButton::clicked, this, &TfrmScreenshot::BtnGetPictureClick);
  connect(BtnPenColor, &QPushButton::clicked, this, &TfrmScreenshot::BtnPenColorClick);
  connect(BtnBackgroundColor, &QPushButton::clicked, this, &TfrmScreenshot::BtnBackgroundColorClick);
  connect(BtnClose, &QPushButton::clicked, this, &TfrmScreenshot::BtnCloseClick);
}

void TfrmScreenshot::FormCreate() {
  setWindowTitle(kCaption.text());
  BtnGetPicture->setText(kGetPicture.text());
  BtnPenColor->setText(kPenColor.text());
  BtnBackgroundColor->setText(kBackgroundColor.text());
  BtnClose->setText(kClose.text());
  for (QPushButton* b : {BtnGetPicture, BtnPenColor, BtnBackgroundColor, BtnClose}) fitCaption(b);

  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
  const QRect main = mainWindow_ ? QRect(mainWindow_->pos(), mainWindow_->size()) : QRect(QPoint(0, 0), screenSize);
  move(readScreenshotPosition(*env_.config, main, QSize(kOuterWidth, kOuterHeight), screenSize));
  keepInScreen(*this);  // the kept position knows neither the task bars nor the real frame

  pen_ = readPenColor(*env_.config);
  background_ = readBackgroundColor(*env_.config);
  pictureFile_ = screenshotFilePath(env_.dataFolder);
  map_ = framedPixelMap();
  Paint();
  BtnGetPictureClick();
}

void TfrmScreenshot::BtnGetPictureClick() {
  if (reading_) return;
  BtnGetPicture->setEnabled(false);
  BtnClose->setEnabled(false);
  reading_ = true;
  posted_ = false;
  pollRead();
  if (reading_) poll_->start();
}

// The request is posted once the worker is idle (never into the middle of a data read), then
// the window waits for the worker to leave lsReadScreen. The window stays usable meanwhile.
void TfrmScreenshot::pollRead() {
  if (!posted_) posted_ = postScreenRequest(*env_.link);
  if (posted_ && env_.link->state() != lsReadScreen) finishRead();
}

void TfrmScreenshot::finishRead() {
  poll_->stop();
  reading_ = false;
  image_ = env_.link->screenImage();
  decodeScreenImage(image_, map_);
  Paint();
  BtnGetPicture->setEnabled(true);
  BtnClose->setEnabled(true);
}

void TfrmScreenshot::Paint() {
  QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
  const QRgb ink = toQColor(pen_).rgb();
  const QRgb back = toQColor(background_).rgb();
  for (int x = 0; x < kPictureWidth; ++x)
    for (int y = 0; y < kPictureHeight; ++y) picture.setPixel(x, y, map_.pixel(x, y) ? ink : back);
  DeviceScreenShotImage->setPixmap(QPixmap::fromImage(picture));
  // Neither a file nor a clipboard that cannot be written is reported.
  writePictureFile(pictureFile_, pictureBmp(map_, pen_, background_));
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setImage(picture);
}

void TfrmScreenshot::BtnPenColorClick() {
  if (const std::optional<QColor> c = env_.ui->color(this, toQColor(pen_))) pen_ = toWinColor(*c);
  Paint();  // also when cancelled: the file and the clipboard are written again
  writePenColor(*env_.config, pen_);
}

void TfrmScreenshot::BtnBackgroundColorClick() {
  if (const std::optional<QColor> c = env_.ui->color(this, toQColor(background_))) background_ = toWinColor(*c);
  Paint();
  writeBackgroundColor(*env_.config, background_);
}

void TfrmScreenshot::BtnCloseClick() { close(); }

void TfrmScreenshot::closeEvent(QCloseEvent* event) {
  if (closing_) {
    event->ignore();  // the first close is still waiting; it closes the window
    return;
  }
  closing_ = true;
  writeScreenshotPosition(*env_.config, pos());
  BtnGetPicture->setEnabled(false);
  BtnPenColor->setEnabled(false);
  BtnBackgroundColor->setEnabled(false);
  if (reading_) {
    poll_->stop();
    // Only a request this window posted is withdrawn; one still waiting for an idle link was never
    // posted. A withdrawn read shows what the worker wrote, else the empty frame.
    if (posted_) {
      withdrawScreenRequest(*env_.link, *env_.waiter);
      finishRead();
    }
    reading_ = false;
  }
  event->accept();
}

}  // namespace grx
