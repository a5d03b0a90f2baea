#include "TfrmNames.h"

#include "ui/ModalUi.h"
#include "ui/WindowPlacement.h"
#include "config/Settings.h"
#include "data/ProjectFile.h"
#include "device/LinkRequests.h"
#include "platform/Messages.h"
#include "ui/WindowButton.h"

#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace grx {
namespace {

constexpr TextPair kFromDevice{"Из прибора", "From tester"};
constexpr TextPair kToDevice{"В прибор", "Into tester"};
constexpr TextPair kFromFile{"Из файла", "From file"};
constexpr TextPair kToFile{"В файл", "To file"};
constexpr TextPair kDefault{"По умолчанию", "Default"};
constexpr TextPair kClose{"Закрыть", "Close"};
constexpr TextPair kOpenTitle{"Открыть файл...", "Open file..."};
constexpr TextPair kSaveTitle{"Сохранить как...", "Save as..."};
constexpr TextPair kSaveToDevice{"Названия были изменены. Записать изменения в прибор?",
                                 "Parameters was changed. Save parameters to device?"};

// A name slot holds 19 characters: a key is refused when the box already holds more than 18.
constexpr int kTypingLimit = 18;

constexpr int kClientWidth = 328;
constexpr int kClientHeight = 248;
constexpr int kEditWidth = 121;
constexpr int kEditHeight = 21;
constexpr int kRowPitch = 25;

// A key that the edit boxes see as a typed character (arrows and the like are not).
bool isCharacterKey(const QKeyEvent* key) {
  return !key->text().isEmpty() || key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Tab ||
         key->key() == Qt::Key_Backtab;
}

}  // namespace

TfrmNames::TfrmNames(const NameListKind& kind, Environment environment, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Dialog), kind_(kind), env_(std::move(environment)), mainWindow_(mainWindow) {
  setObjectName(kind.list == NameList::Materials ? QStringLiteral("frmMaterials") : QStringLiteral("frmObjects"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(kClientWidth, kClientHeight);
  createControls();
}

TfrmNames::~TfrmNames() = default;

TfrmMaterials::TfrmMaterials(Environment environment, QWidget* mainWindow)
    : TfrmNames(nameListKind(NameList::Materials), std::move(environment), mainWindow) {}

TfrmObjects::TfrmObjects(Environment environment, QWidget* mainWindow)
    : TfrmNames(nameListKind(NameList::Objects), std::move(environment), mainWindow) {}

void TfrmNames::createControls() {
  // Names 1 .. 5 in the left column, 6 .. 13 in the right one, each with its number.
  for (int k = 0; k < kNameSlots; ++k) {
    const bool left = k < 5;
    const int row = left ? k : k - 5;
    const int x = left ? 28 : 196;
    const int y = 8 + row * kRowPitch;
    auto* number = new QLabel(QString::number(k + 1), this);
    number->setGeometry(x - 22, y, 18, kEditHeight);
    number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QLineEdit* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("EditName%1").arg(k + 1));
    edit->setGeometry(x, y, kEditWidth, kEditHeight);
    edit->installEventFilter(this);
    EditName[std::size_t(k)] = edit;
  }
  EditName[0]->setEnabled(false);  // name 1 ("not chosen") cannot be edited

  auto button = [this](const char* name, int x, int y, int w) {
    QPushButton* b = windowButton(name, this);
    b->setGeometry(x, y, w, 25);
    return b;
  };
  // The tester and file buttons under the left column, the tester pair first.
  btnFromDevice = button("btnFromDevice", 6, 138, 76);
  btnToDevice = button("btnToDevice", 6, 168, 76);
  btnFromFile = button("btnFromFile", 85, 138, 76);
  btnToFile = button("btnToFile", 85, 168, 76);
  ButtonDefault = button("ButtonDefault", 6, 215, 155);
  btnClose = button("btnClose", 167, 215, 155);
  btnFromFile->installEventFilter(this);

  connect(btnFromDevice, &QPushButton::clicked, this, &TfrmNames::btnFromDeviceClick);
  connect(btnToDevice, &QPushButton::clicked, this, &TfrmNames::btnToDeviceClick);
  connect(btnFromFile, &QPushButton::clicked, this, &TfrmNames::btnFromFileClick);
  connect(btnToFile, &QPushButton::clicked, this, &TfrmNames::btnToFileClick);
  connect(ButtonDefault, &QPushButton::clicked, this, &TfrmNames::ButtonDefaultClick);
  connect(btnClose, &QPushButton::clicked, this, &TfrmNames::btnCloseClick);
}

void TfrmNames::setCaptions() {
  setWindowTitle(kind_.caption.text());
  btnFromDevice->setText(kFromDevice.text());
  btnToDevice->setText(kToDevice.text());
  btnFromFile->setText(kFromFile.text());
  btnToFile->setText(kToFile.text());
  ButtonDefault->setText(kDefault.text());
  btnClose->setText(kClose.text());
}

void TfrmNames::FormCreate() {
  fillEditsFromBlock(env_.link->names(kind_.list));
  setCaptions();
  if (mainWindow_) move(mainWindow_->geometry().center() - QPoint(width() / 2, height() / 2));
  fitIntoScreen(*this);  // a main window near the screen's edge would take its middle out of sight
  btnFromDeviceClick();
}

bool TfrmNames::linkIdle() const { return env_.link->state() == lsIdle; }

void TfrmNames::fillEditsFromBlock(const NameBlock& block) {
  const QStringList names = namesOfBlock(block);
  bool any = false;
  for (int k = 0; k < kNameSlots; ++k) {
    EditName[std::size_t(k)]->setText(names[k]);
    EditName[std::size_t(k)]->setCursorPosition(0);  // a long name shows its beginning
    any = any || !names[k].isEmpty();
  }
  if (any) env_.flags->NamesEmpty = false;
}

NameBlock TfrmNames::blockFromEdits() const {
  // Over the block as it stands: the bytes after a shorter name keep their content.
  NameBlock block = env_.link->names(kind_.list);
  QStringList names;
  for (const QLineEdit* edit : EditName) names.append(edit->text());
  setBlockNames(block, names);
  return block;
}

void TfrmNames::btnFromDeviceClick() {
  if (!linkIdle()) return;  // the worker is busy: nothing, without a message
  NameBlock block{};
  exchanging_ = true;
  const RequestResult result = readNamesFromTester(*env_.link, kind_.list, *env_.waiter, block);
  if (result != RequestResult::NotPosted) {
    // Also after a time-out: the boxes then show the block as it was.
    fillEditsFromBlock(block);
    env_.flags->NamesChanged = false;
  }
  exchangeEnds();
}

void TfrmNames::exchangeEnds() {
  exchanging_ = false;
  if (!closeAfterExchange_) return;
  closeAfterExchange_ = false;
  QTimer::singleShot(0, this, &QWidget::close);
}

void TfrmNames::btnToDeviceClick() {
  if (env_.flags->NamesEmpty || !linkIdle()) return;
  const NameBlock block = blockFromEdits();
  const bool nested = exchanging_;  // the close question's Yes runs inside a close
  exchanging_ = true;
  if (writeNamesToTester(*env_.link, kind_.list, block, *env_.waiter) == RequestResult::Done)
    env_.flags->NamesChanged = false;
  if (nested) return;
  exchangeEnds();
}

void TfrmNames::btnFromFileClick() {
  ModalUi::FileDialog dialog;
  dialog.title = kOpenTitle.text();
  dialog.fileName = proposedFolder(readLastReadPath(*env_.config), env_.dataFolder) + QStringLiteral("File");
  dialog.filters = nameListFilters(kind_.list);
  dialog.save = false;
  const std::optional<QString> chosen = env_.ui->fileName(this, dialog);
  if (!chosen) return;
  const QString name = QDir::toNativeSeparators(*chosen);
  writeLastReadPath(*env_.config, folderWithSeparator(name));
  NameBlock block = env_.link->names(kind_.list);
  if (!readNameListFile(*chosen, kind_.list, block)) {
    env_.ui->message(this, {kAppTitle.text(), kFileDamaged.text() + QStringLiteral(": ") + name,
                            ModalUi::Icon::Warning, ModalUi::Ok, ModalUi::Ok});
    return;
  }
  env_.link->setNames(kind_.list, block);
  fillEditsFromBlock(block);
  env_.flags->NamesChanged = true;
}

void TfrmNames::btnToFileClick() {
  if (env_.flags->NamesEmpty) return;
  const NameBlock block = blockFromEdits();
  env_.link->setNames(kind_.list, block);
  const QDateTime now = env_.now ? env_.now() : QDateTime::currentDateTime();
  QString name = proposedFolder(readLastReadPath(*env_.config), env_.dataFolder) +
                 proposedNameListFile(kind_.list, now);
  for (;;) {
    ModalUi::FileDialog dialog;
    dialog.title = kSaveTitle.text();
    dialog.fileName = name;
    dialog.filters = nameListFilters(kind_.list);
    dialog.save = true;
    dialog.confirmOverwrite = true;
    const std::optional<QString> chosen = env_.ui->fileName(this, dialog);
    if (!chosen) return;
    writeLastReadPath(*env_.config, folderWithSeparator(QDir::toNativeSeparators(*chosen)));
    bool askAgain = false;
    name = correctedNameListFile(kind_.list, *chosen, &askAgain);
    if (!askAgain) break;
  }
  if (!writeNameListFile(name, kind_.list, block)) {
    env_.ui->message(this, {kAppTitle.text(), cannotCreateFileText(QDir::toNativeSeparators(name), currentLanguage()),
                            ModalUi::Icon::Warning, ModalUi::Ok, ModalUi::Ok});
  }
}

void TfrmNames::ButtonDefaultClick() {
  const QStringList names = defaultNames(kind_.list, currentLanguage());
  for (int k = 0; k < kNameSlots; ++k) {
    EditName[std::size_t(k)]->setText(names[k]);
    EditName[std::size_t(k)]->setCursorPosition(0);
  }
  env_.flags->NamesEmpty = false;
  env_.flags->NamesChanged = true;
}

void TfrmNames::btnCloseClick() { close(); }

void TfrmNames::closeEvent(QCloseEvent* event) {
  if (exchanging_) {
    closeAfterExchange_ = true;
    event->ignore();
    return;
  }
  if (env_.flags->NamesChanged) {
    const int answer = env_.ui->message(this, {kAppTitle.text(), kSaveToDevice.text(), ModalUi::Icon::Warning,
                                               ModalUi::Yes | ModalUi::No | ModalUi::Cancel, ModalUi::No});
    if (answer == ModalUi::Cancel) {
      event->ignore();
      return;
    }
    if (answer == ModalUi::Yes) {
      exchanging_ = true;  // a second close during the write waits for this one
      btnToDeviceClick();
      exchanging_ = false;
      closeAfterExchange_ = false;
    }
  }
  event->accept();
  if (env_.closed) env_.closed();
}

bool TfrmNames::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (!isCharacterKey(key)) return QWidget::eventFilter(watched, event);
  if (watched == btnFromFile) {
    // Only the material window counts a key on its file button as a change.
    if (kind_.list == NameList::Materials) env_.flags->NamesChanged = true;
    return QWidget::eventFilter(watched, event);
  }
  auto* edit = qobject_cast<QLineEdit*>(watched);
  if (!edit) return QWidget::eventFilter(watched, event);
  env_.flags->NamesChanged = true;  // also for a key that is refused
  const int k = key->key();
  if (k == Qt::Key_Backspace || k == Qt::Key_Tab || k == Qt::Key_Backtab) return QWidget::eventFilter(watched, event);
  // Control characters (copy, paste, select all) are no typing; pasted text is cut when stored.
  const bool typed = !key->text().isEmpty() && key->text().front().isPrint();
  if (typed && edit->text().size() > kTypingLimit) return true;
  return QWidget::eventFilter(watched, event);
}

}  // namespace grx
