#include "ReportPreview.h"

#include "ReportPainter.h"
#include "platform/Messages.h"
#include "ui/WindowPlacement.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace grx {
namespace {

constexpr TextPair kPreviewCaption{"Предварительный просмотр", "Preview"};
constexpr TextPair kPrint{"Печать", "Print"};
constexpr TextPair kSave{"Сохранить как PDF", "Save as PDF"};
constexpr TextPair kExport{"Экспорт", "Export"};
constexpr TextPair kPageSetup{"Параметры страницы", "Page setup"};
constexpr TextPair kFind{"Найти", "Find"};
constexpr TextPair kFindHint{"Что искать", "Find what"};
constexpr TextPair kNotFound{"Текст не найден: ", "Text not found: "};
constexpr TextPair kFirstPage{"Первая страница", "First page"};
constexpr TextPair kPreviousPage{"Предыдущая страница", "Previous page"};
constexpr TextPair kNextPage{"Следующая страница", "Next page"};
constexpr TextPair kLastPage{"Последняя страница", "Last page"};
constexpr TextPair kPageOf{"из %1", "of %1"};
constexpr TextPair kPageWidth{"По ширине страницы", "Page width"};
constexpr TextPair kWholePage{"Страница целиком", "Whole page"};
constexpr TextPair kClose{"Закрыть", "Close"};
constexpr TextPair kNoPrinter{"Принтер не найден", "No printer found"};
constexpr TextPair kPrintFailed{"Печать не удалась", "Printing failed"};

struct FormatEntry {
  ReportFormat format;
  TextPair name;
};
constexpr FormatEntry kFormats[] = {
    {ReportFormat::Pdf, {"Документ PDF", "PDF document"}},
    {ReportFormat::Xlsx, {"Таблица Excel", "Excel spreadsheet"}},
    {ReportFormat::Ods, {"Таблица OpenDocument", "OpenDocument spreadsheet"}},
    {ReportFormat::Odt, {"Текст OpenDocument", "OpenDocument text"}},
    {ReportFormat::Html, {"Веб-страница HTML", "HTML web page"}},
    {ReportFormat::Rtf, {"Документ RTF", "Rich text (RTF)"}},
    {ReportFormat::Text, {"Простой текст", "Plain text"}},
    {ReportFormat::Png, {"Рисунки PNG, по файлу на страницу", "PNG pictures, one file per page"}},
};

constexpr int kZoomSteps[] = {50, 75, 100, 125, 150, 200};

}  // namespace

QPrinter& reportPrinter() {
  // Freed with the application object, while the print system is still there.
  static QPrinter* printer = nullptr;
  if (!printer) {
    printer = new QPrinter(QPrinter::HighResolution);
    qAddPostRoutine([] {
      delete printer;
      printer = nullptr;
    });
  }
  return *printer;
}

ReportPreview::ReportPreview(PreparedReport report, ModalUi& ui, QString exportFolder, QWidget* parent)
    : QDialog(parent), report_(std::move(report)), ui_(ui), exportFolder_(std::move(exportFolder)) {
  const Language lang = currentLanguage();
  setObjectName(QStringLiteral("ReportPreview"));
  setWindowTitle(kPreviewCaption.text(lang));
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  ToolBar = new QToolBar(this);
  ToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  ToolBar->addAction(kPrint.text(lang), this, &ReportPreview::printReport);
  ToolBar->addAction(kSave.text(lang), this, &ReportPreview::saveAsPdf);
  auto* exportButton = new QToolButton(ToolBar);
  exportButton->setText(kExport.text(lang));
  exportButton->setPopupMode(QToolButton::InstantPopup);
  auto* exportMenu = new QMenu(exportButton);
  for (const FormatEntry& f : kFormats) {
    const ReportFormat format = f.format;
    exportMenu->addAction(f.name.text(lang) + QStringLiteral(" (*.") + reportFormatSuffix(format) + u')', this,
                          [this, format] { exportAs(format); });
  }
  exportButton->setMenu(exportMenu);
  ToolBar->addWidget(exportButton);
  ToolBar->addAction(kPageSetup.text(lang), this, &ReportPreview::pageSetup);
  ToolBar->addSeparator();

  ZoomBox = new QComboBox(ToolBar);
  for (int z : kZoomSteps) ZoomBox->addItem(QString::number(z) + QStringLiteral(" %"), z);
  ZoomBox->addItem(kPageWidth.text(lang), -1);
  ZoomBox->addItem(kWholePage.text(lang), -2);
  ZoomBox->setCurrentIndex(2);  // 100 %
  ZoomBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  ZoomBox->setMinimumContentsLength(7);
  connect(ZoomBox, &QComboBox::activated, this, &ReportPreview::zoomChosen);
  ToolBar->addWidget(ZoomBox);
  ToolBar->addSeparator();

  FindEdit = new QLineEdit(ToolBar);
  FindEdit->setPlaceholderText(kFindHint.text(lang));
  FindEdit->setMaximumWidth(160);
  ToolBar->addWidget(FindEdit);
  auto find = [this] {
    const Language l = currentLanguage();
    if (!FindEdit->text().isEmpty() && !findNext(FindEdit->text()))
      ui_.message(this, {kAppTitle.text(l), kNotFound.text(l) + FindEdit->text(), ModalUi::Icon::Information});
  };
  connect(FindEdit, &QLineEdit::returnPressed, this, find);
  ToolBar->addAction(kFind.text(lang), this, find);
  ToolBar->addSeparator();

  ToolBar->addAction(QStringLiteral("|<"), this, [this] { setPage(0); })->setToolTip(kFirstPage.text(lang));
  ToolBar->addAction(QStringLiteral("<"), this, [this] { setPage(page_ - 1); })->setToolTip(kPreviousPage.text(lang));
  PageEdit = new QSpinBox(ToolBar);
  PageEdit->setRange(1, std::max(1, pageCount()));
  connect(PageEdit, &QSpinBox::valueChanged, this, [this](int v) { setPage(v - 1); });
  ToolBar->addWidget(PageEdit);
  pageOf_ = new QLabel(kPageOf.text(lang).arg(pageCount()), ToolBar);
  pageOf_->setContentsMargins(4, 0, 4, 0);
  ToolBar->addWidget(pageOf_);
  ToolBar->addAction(QStringLiteral(">"), this, [this] { setPage(page_ + 1); })->setToolTip(kNextPage.text(lang));
  ToolBar->addAction(QStringLiteral(">|"), this, [this] { setPage(pageCount() - 1); })->setToolTip(kLastPage.text(lang));
  ToolBar->addSeparator();
  ToolBar->addAction(kClose.text(lang), this, &QDialog::accept);

  PageLabel = new QLabel;
  PageLabel->setAlignment(Qt::AlignCenter);
  scroll_ = new QScrollArea(this);
  scroll_->setWidget(PageLabel);
  scroll_->setWidgetResizable(true);
  scroll_->setAlignment(Qt::AlignCenter);
  scroll_->setBackgroundRole(QPalette::Dark);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(ToolBar);
  layout->addWidget(scroll_, 1);
  resize(1000, 880);  // where the screen has room; a smaller one gets its free area, frame included
  keepInScreen(*this);
  render();
}

void ReportPreview::setPage(int page) {
  page = std::clamp(page, 0, std::max(0, pageCount() - 1));
  if (page == page_ && !PageLabel->pixmap().isNull()) return;
  page_ = page;
  render();
}

void ReportPreview::setZoomPercent(int percent) {
  zoom_ = std::clamp(percent, 10, 800);
  render();
}

void ReportPreview::zoomChosen(int index) {
  const int z = ZoomBox->itemData(index).toInt();
  if (z > 0) {
    setZoomPercent(z);
    return;
  }
  // Fit the page's width, or the whole page, into the visible area.
  const QSize area = scroll_->viewport()->size() - QSize(24, 24);
  const double dpi = logicalDpiX();
  const double widthPercent = area.width() / (report_.pageWidthMm / 25.4 * dpi) * 100;
  const double heightPercent = area.height() / (report_.pageHeightMm / 25.4 * dpi) * 100;
  setZoomPercent(int(z == -1 ? widthPercent : std::min(widthPercent, heightPercent)));
}

void ReportPreview::render() {
  const double dpi = logicalDpiX() * zoom_ / 100.0;
  const double ratio = devicePixelRatioF();
  QImage image = renderReportPage(report_, page_, dpi * ratio, page_ == foundPage_ ? found_ : -1);
  image.setDevicePixelRatio(ratio);
  PageLabel->setPixmap(QPixmap::fromImage(image));
  const QSignalBlocker block(PageEdit);
  PageEdit->setValue(page_ + 1);
}

bool ReportPreview::findNext(const QString& text) {
  int page = foundPage_ < 0 ? page_ : foundPage_;
  int from = foundPage_ < 0 ? 0 : found_ + 1;
  for (int n = 0; n <= pageCount(); ++n, ++page, from = 0) {
    if (page >= pageCount()) page = 0;
    if (pageCount() == 0) break;
    const ReportPage& p = report_.pages[page];
    for (int i = from; i < p.texts.size(); ++i) {
      if (p.texts[i].text().contains(text, Qt::CaseInsensitive)) {
        foundPage_ = page;
        found_ = i;
        page_ = page;
        render();
        return true;
      }
    }
  }
  return false;
}

void ReportPreview::printReport() {
  const Language lang = currentLanguage();
  QPrinter& printer = reportPrinter();
  if (printer.outputFormat() == QPrinter::NativeFormat && printer.printerName().isEmpty()) {
    ui_.message(this, {kAppTitle.text(lang), kNoPrinter.text(lang), ModalUi::Icon::Warning});
    return;
  }
  printer.setFullPage(true);
  // The pages are laid out in millimetres on the template's paper, whatever the printer had last.
  const bool landscape = report_.pageWidthMm > report_.pageHeightMm;
  const QSizeF paper = landscape ? QSizeF(report_.pageHeightMm, report_.pageWidthMm) : QSizeF(report_.pageWidthMm, report_.pageHeightMm);
  printer.setPageSize(QPageSize(paper, QPageSize::Millimeter));
  printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  printer.setDocName(report_.pages.isEmpty() ? QString() : documentName_.text(lang));
  QPainter painter;
  if (!painter.begin(&printer)) {
    ui_.message(this, {kAppTitle.text(lang), kPrintFailed.text(lang), ModalUi::Icon::Warning});
    return;
  }
  const double dotsPerMm = printer.resolution() / 25.4;
  for (int i = 0; i < pageCount(); ++i) {
    if (i > 0) printer.newPage();
    paintReportPage(painter, report_.pages[i], dotsPerMm);
  }
  painter.end();
}

void ReportPreview::pageSetup() { ui_.printerSetup(this, reportPrinter(), true); }

void ReportPreview::exportAs(ReportFormat format) {
  const Language lang = currentLanguage();
  const QString suffix = reportFormatSuffix(format);
  ModalUi::FileDialog dialog;
  dialog.title = kExport.text(lang);
  for (const FormatEntry& f : kFormats)
    if (f.format == format) dialog.filters = {f.name.text(lang) + QStringLiteral(" (*.") + suffix + u')'};
  dialog.fileName = QDir(exportFolder_).filePath(documentName_.text(lang) + u'.' + suffix);
  dialog.defaultSuffix = suffix;
  dialog.save = true;
  const auto name = ui_.fileName(this, dialog);
  if (!name) return;
  setCursor(Qt::WaitCursor);
  QStringList removed;
  const bool ok = exportReport(report_, format, *name, documentName_.text(lang), &removed);
  unsetCursor();
  if (!ok) {
    ui_.message(this, {kAppTitle.text(lang), cannotCreateFileText(*name, lang), ModalUi::Icon::Error});
  } else if (!removed.isEmpty()) {
    // Said once, so that nobody looks for the pages that went with the earlier report.
    QString text = removedPagesText(removed, lang);
    text[0] = text[0].toUpper();
    ui_.message(this, {kAppTitle.text(lang), text, ModalUi::Icon::Information});
  }
}

void ReportPreview::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_PageDown: setPage(page_ + 1); return;
    case Qt::Key_PageUp: setPage(page_ - 1); return;
    case Qt::Key_Home:
      if (event->modifiers() & Qt::ControlModifier) { setPage(0); return; }
      break;
    case Qt::Key_End:
      if (event->modifiers() & Qt::ControlModifier) { setPage(pageCount() - 1); return; }
      break;
    default: break;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace grx
