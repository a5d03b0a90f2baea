// The main window's print command, printer setup and About box.
#include "app/MainActions.h"
#include "app/TAboutBox.h"
#include "app/TfrmLanguage.h"
#include "control/MainWindowControl.h"
#include "report/ReportPreview.h"
#include "report/SeriesReport.h"
#include "support/MainWindowFixture.h"
#include "support/RecordBuilder.h"
#include "views/StringGridView.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <optional>

namespace grx {
namespace {

using test::RecordBuilder;

// What a shown report preview held.
struct Shown {
  PreparedReport report;
  int zoom = 0;
  int page = -1;
  QString caption;
  QRect frame, screenArea;  // where it opened, and the screen's free area
};

class MainWindowReport : public test::MainWindowFixture {
 protected:
  TForm1& startWith(int series, const char* lang) {
    writeIni(QByteArray("[Config]\r\nLangId=") + lang + "\r\n");
    TForm1& form = start();
    std::vector<RecordBuilder> records;
    for (int s = 0; s < series; ++s) records.push_back(RecordBuilder().series(s + 1).stamp(1, 2, 25, 10, s, 0));
    test::fillSet(form.measurements(), records);
    form.RebuildTables();
    form.runDialog = [this](QDialog& d) {
      ++dialogs_;
      if (auto* p = qobject_cast<ReportPreview*>(&d)) {
        p->show();
        previews_.push_back({p->report(), p->zoomPercent(), p->currentPage(), p->windowTitle(), p->frameGeometry(),
                             p->screen()->availableGeometry()});
      }
      if (auto* a = qobject_cast<TAboutBox*>(&d)) {
        aboutCaption_ = a->windowTitle();
        aboutVersion_ = a->Version->text();
        aboutProduct_ = a->ProductName->text();
      }
    };
    return form;
  }
  static QStringList rowTexts(const ReportPage& page, BandKind kind, int nth = 0) {
    for (const PlacedBand& b : page.bands) {
      if (b.kind != kind || nth-- > 0) continue;
      QStringList out;
      for (int i = 0; i < b.textCount; ++i) out.append(page.texts[b.firstText + i].text());
      return out;
    }
    return {};
  }
  int dialogs_ = 0;
  std::vector<Shown> previews_;
  QString aboutCaption_, aboutVersion_, aboutProduct_;
};

TEST_F(MainWindowReport, WithoutSeriesPrintDoesNothing) {
  TForm1& form = startWith(0, "Eng");
  form.Actions->APrint->trigger();
  EXPECT_EQ(dialogs_, 0);
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(MainWindowReport, TwelveSeriesPrintTwelveLinesInAPreviewAtOneHundredPercent) {
  TForm1& form = startWith(12, "Eng");
  form.Actions->APrint->trigger();
  ASSERT_EQ(previews_.size(), 1u);
  const Shown& shown = previews_[0];
  EXPECT_EQ(shown.zoom, 100);
  EXPECT_EQ(shown.page, 0);
  EXPECT_EQ(shown.caption, QStringLiteral("Preview"));
  EXPECT_TRUE(shown.screenArea.contains(shown.frame)) << shown.frame.width() << "x" << shown.frame.height();
  ASSERT_EQ(shown.report.pages.size(), 1);
  EXPECT_EQ(shown.report.recordCount(), 12);
  const ReportPage& page = shown.report.pages[0];
  EXPECT_EQ(rowTexts(page, BandKind::ReportTitle), QStringList{QStringLiteral("Measured elastic modulus values")});
  for (int s = 0; s < 12; ++s) {
    const QStringList row = rowTexts(page, BandKind::MasterData, s);
    ASSERT_EQ(row.size(), 9);
    EXPECT_EQ(row[0], QStringLiteral("%1/1").arg(s + 1));
    EXPECT_EQ(row[2], QStringLiteral("10:%1:00").arg(s, 2, 10, QLatin1Char('0')));
  }
}

// The acceptance protocol names a read taken over by the version text the worker showed.
TEST_F(MainWindowReport, TheProtocolNamesTheReadTakenOverAndTheTestersVersion) {
  TForm1& form = startWith(0, "Eng");
  MeasurementSet read;
  test::fillSet(read, {RecordBuilder().series(1)});
  form.StatusPanel[0]->setText("GRX-1 v2.05 ");
  form.takeOverMeasurements(read);
  form.ControlPart->showProtocol();
  EXPECT_TRUE(rowTexts(previews_.at(0).report.pages[0], BandKind::MasterData).value(1).startsWith("read from the tester (GRX-1 v2.05), "));
}

TEST_F(MainWindowReport, ALanguageSwitchChangesTheHeadersOfTheNextPreviewAndCellsAreTakenAsTheyStand) {
  TForm1& form = startWith(3, "Eng");
  form.Actions->APrint->trigger();
  form.Actions->ALangRus->trigger();
  form.StringGrid1->setCell(3, 6, QStringLiteral("Торф"));
  form.Actions->APrint->trigger();
  ASSERT_EQ(previews_.size(), 2u);
  const QStringList english = rowTexts(previews_[0].report.pages[0], BandKind::PageHeader);
  const QStringList russian = rowTexts(previews_[1].report.pages[0], BandKind::PageHeader);
  ASSERT_EQ(english.size(), 9);
  ASSERT_EQ(russian.size(), 9);
  EXPECT_EQ(english[1], QStringLiteral("Date"));
  EXPECT_EQ(russian[1], QStringLiteral("Дата"));
  EXPECT_EQ(russian[6], QStringLiteral("Грунт"));
  EXPECT_EQ(rowTexts(previews_[1].report.pages[0], BandKind::ReportTitle),
            QStringList{QStringLiteral("Измеренные значения модуля упругости")});
  EXPECT_EQ(previews_[1].caption, QStringLiteral("Предварительный просмотр"));
  EXPECT_EQ(rowTexts(previews_[1].report.pages[0], BandKind::MasterData, 1)[6], QStringLiteral("Торф"));
}

TEST_F(MainWindowReport, EveryWindowOpensInsideTheScreenWithItsFrame) {
  TForm1& form = startWith(40, "Eng");
  form.show();
  const QRect area = form.screen()->availableGeometry();
  form.move(area.bottomRight() - QPoint(300, 200));  // windows centred on it would reach past the edge
  TfrmLanguage language({}, &form);
  language.move(area.bottomRight());
  int windows = 0;
  const auto inside = [&](QWidget& w) { ++windows; EXPECT_TRUE(area.contains(w.frameGeometry())) << qPrintable(w.objectName()); };
  form.runDialog = [&](QDialog& d) { d.show(); inside(d); };
  ui_.messageAnswers = {ModalUi::Yes};  // a new archive for the archive window
  for (QAction* a : {form.Actions->AArchive, form.Actions->APrint, form.Actions->AAbout, form.Actions->AMaterialEdit, form.Actions->AObjectEdit,
                     form.Actions->AScreenshot, form.Actions->ACompactionControl})
    a->trigger();
  language.show();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->parentWidget() == &form) inside(*w);
  EXPECT_EQ(windows, 8);
}

TEST_F(MainWindowReport, PrinterSetupAsksForThePrinterDialog) {
  TForm1& form = startWith(1, "Eng");
  form.APrinterExecute();  // the menu entry is hidden; the command still works
  EXPECT_EQ(ui_.printerSetups, std::vector<bool>{false});
}

// Printing puts the template's page on the printer, whatever paper the printer had before.
TEST_F(MainWindowReport, PrintingPutsTheTemplatesA4PortraitPageOnThePrinter) {
  TForm1& form = startWith(2, "Eng");
  QPrinter& printer = reportPrinter();
  printer.setOutputFileName(dir_.filePath(QStringLiteral("printed.pdf")));
  printer.setPageSize(QPageSize(QPageSize::Letter));
  printer.setPageOrientation(QPageLayout::Landscape);
  form.runDialog = [](QDialog& d) {
    auto* preview = qobject_cast<ReportPreview*>(&d);
    preview->show();
    QTest::mouseClick(preview->ToolBar->widgetForAction(preview->ToolBar->actions().front()), Qt::LeftButton);
  };
  form.Actions->APrint->trigger();
  printer.setOutputFileName({});
  EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
  EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
  EXPECT_GT(QFileInfo(dir_.filePath(QStringLiteral("printed.pdf"))).size(), 1000);
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(MainWindowReport, AboutShowsTheBoxInTheCurrentLanguage) {
  TForm1& form = startWith(0, "Eng");
  form.Actions->AAbout->trigger();
  EXPECT_EQ(dialogs_, 1);
  EXPECT_EQ(aboutCaption_, QStringLiteral("About GRX1"));
  EXPECT_EQ(aboutProduct_, QStringLiteral("GRX-1"));
  EXPECT_TRUE(aboutVersion_.startsWith(QStringLiteral("Version "))) << aboutVersion_.toStdString();
  form.Actions->ALangRus->trigger();
  form.Actions->AAbout->trigger();
  EXPECT_EQ(aboutCaption_, QStringLiteral("О программе GRX1"));
  EXPECT_TRUE(aboutVersion_.endsWith(QStringLiteral(" г."))) << aboutVersion_.toStdString();
}

// ---------------------------------------------------------------------------------------------

AboutInfo makerInfo() {
  AboutInfo info;
  info.internalName = QStringLiteral("GRX1");
  info.fileVersion = QStringLiteral("1.5.0.36");
  info.buildDate = QStringLiteral("Feb 16 2017");
  info.legalCopyright = QStringLiteral("© Изготовитель");
  info.legalCopyrightEn = QStringLiteral("(c) Maker");
  info.www = QStringLiteral("https://example.org");
  info.email = QStringLiteral("info@example.org");
  return info;
}

class AboutBox : public ::testing::Test {
 protected:
  void TearDown() override { setCurrentLanguage(Language::Russian); }
};

TEST_F(AboutBox, EnglishTextsAndHiddenEmptyRows) {
  setCurrentLanguage(Language::English);
  TAboutBox box(makerInfo());
  EXPECT_EQ(box.windowTitle(), QStringLiteral("About GRX1"));
  EXPECT_EQ(box.Version->text(), QStringLiteral("Version 1.5.0.36, 16 Feb 2017"));
  EXPECT_EQ(box.txtCopyright->text(), QStringLiteral("(c) Maker"));
  EXPECT_EQ(box.LabelSite->text(), QStringLiteral("Site:"));
  EXPECT_EQ(box.LabelInfo->text(), QStringLiteral("General questions:"));
  EXPECT_EQ(box.LabelEMail->toolTip(), QStringLiteral("Write a letter"));
  EXPECT_EQ(box.ProgramIcon->toolTip(), QStringLiteral("https://example.org"));
  EXPECT_EQ(box.size(), QSize(312, 259));
  EXPECT_EQ(box.Panel1->geometry(), QRect(8, 8, 297, 201));
  EXPECT_TRUE(box.OKButton->isDefault());
  // No phone and no support address in this build: those rows are not shown.
  EXPECT_TRUE(box.LabelFax->isHidden());
  EXPECT_TRUE(box.LabelMulti->isHidden());
  EXPECT_TRUE(box.Label2->isHidden());
  EXPECT_TRUE(box.LabelTech->isHidden());
  EXPECT_FALSE(box.LabelWWW->isHidden());
  EXPECT_FALSE(box.txtCopyright->isHidden());
}

TEST_F(AboutBox, AnEmptyLegalNoticeIsNotShown) {
  setCurrentLanguage(Language::English);
  AboutInfo info = makerInfo();
  info.legalCopyrightEn.clear();
  TAboutBox box(info);
  EXPECT_TRUE(box.txtCopyright->isHidden());
}

TEST_F(AboutBox, RussianTexts) {
  setCurrentLanguage(Language::Russian);
  TAboutBox box(makerInfo());
  EXPECT_EQ(box.windowTitle(), QStringLiteral("О программе GRX1"));
  EXPECT_EQ(box.ProductName->text(), QStringLiteral("ГРХ-1"));
  EXPECT_EQ(box.Version->text(), QStringLiteral("Версия 1.5.0.36 от 16 февраля 2017 г."));
  EXPECT_EQ(box.txtCopyright->text(), QStringLiteral("© Изготовитель"));
  EXPECT_EQ(box.LabelTech->text(), QStringLiteral("Техподдержка:"));
  EXPECT_EQ(box.LabelEMail->toolTip(), QStringLiteral("Написать письмо"));
}

TEST_F(AboutBox, LinksOpenTheWebPageAndMail) {
  setCurrentLanguage(Language::English);
  TAboutBox box(makerInfo());
  box.show();
  std::vector<QString> opened;
  box.openUrl = [&opened](const QUrl& u) { opened.push_back(u.toString()); };
  QTest::mouseClick(box.LabelWWW, Qt::LeftButton);
  QTest::mouseClick(box.ProgramIcon, Qt::LeftButton);
  QTest::mouseClick(box.LabelEMail, Qt::LeftButton);
  EXPECT_EQ(opened, (std::vector<QString>{QStringLiteral("https://example.org"), QStringLiteral("https://example.org"),
                                          QStringLiteral("mailto:info@example.org?Subject=GRX-1")}));
}

TEST_F(AboutBox, WithoutVersionInformationTheDesignTextsStay) {
  setCurrentLanguage(Language::English);
  AboutInfo none;
  TAboutBox box(none);
  EXPECT_EQ(box.windowTitle(), QStringLiteral("О программе..."));
  EXPECT_EQ(box.Version->text(), QStringLiteral("Version"));
  EXPECT_EQ(box.ProductName->text(), QStringLiteral("Product Name"));
}

// ---------------------------------------------------------------------------------------------

PreparedReport threePages() {
  TextGrid t(72, 10);
  for (int k = 0; k < 70; ++k) {
    t.cell(k + 2, 0) = QString::number(101 + k) + QStringLiteral("/7");
    t.cell(k + 2, 8) = QStringLiteral("55°47'59,4\" N");
    t.cell(k + 2, 9) = QStringLiteral("37°37'34,5\" E");
  }
  t.cell(60, 6) = QStringLiteral("Торф");
  return prepareSeriesReport(t, Language::English);
}

class Preview : public ::testing::Test {
 protected:
  void SetUp() override { setCurrentLanguage(Language::English); }
  void TearDown() override { setCurrentLanguage(Language::Russian); }
  test::FakeModalUi ui_;
  QTemporaryDir dir_;
};

TEST_F(Preview, NavigatesZoomsAndFinds) {
  ReportPreview preview(threePages(), ui_, dir_.path());
  EXPECT_EQ(preview.pageCount(), 3);
  EXPECT_EQ(preview.zoomPercent(), 100);
  const QSize at100 = preview.PageLabel->pixmap().deviceIndependentSize().toSize();
  EXPECT_NEAR(at100.width(), 794, 2);  // A4 at 96 dpi
  preview.setZoomPercent(50);
  EXPECT_NEAR(preview.PageLabel->pixmap().deviceIndependentSize().width(), 397, 2);
  preview.setPage(5);
  EXPECT_EQ(preview.currentPage(), 2);
  preview.setPage(-1);
  EXPECT_EQ(preview.currentPage(), 0);
  // Row 60 of the table is record 58, on the third page.
  ASSERT_TRUE(preview.findNext(QStringLiteral("торф")));
  EXPECT_EQ(preview.currentPage(), 2);
  EXPECT_EQ(preview.report().pages[2].texts[preview.foundText()].text(), QStringLiteral("Торф"));
  EXPECT_FALSE(preview.findNext(QStringLiteral("Глина")));
  // Find from the tool bar: not found is said in a message.
  preview.FindEdit->setText(QStringLiteral("nothing like it"));
  QTest::keyClick(preview.FindEdit, Qt::Key_Return);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, QStringLiteral("Text not found: nothing like it"));
}

TEST_F(Preview, ExportsThroughTheFileDialogAndReportsAFileThatCannotBeWritten) {
  ReportPreview preview(threePages(), ui_, dir_.path());
  ui_.fileAnswers = {dir_.filePath(QStringLiteral("out.xlsx")), dir_.filePath(QStringLiteral("no/such/out.pdf"))};
  preview.exportAs(ReportFormat::Xlsx);
  preview.saveAsPdf();
  ASSERT_EQ(ui_.fileDialogs.size(), 2u);
  EXPECT_EQ(ui_.fileDialogs[0].fileName, dir_.filePath(QStringLiteral("Report.xlsx")));
  EXPECT_EQ(ui_.fileDialogs[0].filters, QStringList{QStringLiteral("Excel spreadsheet (*.xlsx)")});
  EXPECT_TRUE(ui_.fileDialogs[1].save);
  EXPECT_GT(QFileInfo(dir_.filePath(QStringLiteral("out.xlsx"))).size(), 1000);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, QStringLiteral("Can't create data file ") + dir_.filePath(QStringLiteral("no/such/out.pdf")) +
                                      QStringLiteral(".\nIt may be no free space or disk is write protected"));
  preview.pageSetup();
  EXPECT_EQ(ui_.printerSetups, std::vector<bool>{true});
}

TEST_F(Preview, APngExportSaysWhichPagesOfAnEarlierReportItRemoved) {
  ui_.fileAnswers = {dir_.filePath("out.png"), dir_.filePath("out.png")};
  ReportPreview(threePages(), ui_, dir_.path()).exportAs(ReportFormat::Png);
  setCurrentLanguage(Language::Russian);
  ReportPreview(prepareSeriesReport(TextGrid(3, 10), Language::Russian), ui_, dir_.path()).exportAs(ReportFormat::Png);
  EXPECT_EQ(ui_.messages.at(0).text, QStringLiteral("Удалено страниц прежнего отчета: 2 (out-2.png, out-3.png)"));
}

// The export list offers the OpenDocument spreadsheet beside the others.
TEST_F(Preview, TheExportListOffersTheOpenDocumentSpreadsheet) {
  ReportPreview preview(threePages(), ui_, dir_.path());
  preview.show();
  QMenu* menu = nullptr;
  for (QToolButton* b : preview.ToolBar->findChildren<QToolButton*>())
    if (b->text() == u"Export") menu = b->menu();
  ASSERT_TRUE(menu);
  QStringList offered;
  for (QAction* a : menu->actions()) offered << a->text();
  EXPECT_EQ(offered.join(u'|').toStdString(), "PDF document (*.pdf)|Excel spreadsheet (*.xlsx)|OpenDocument spreadsheet (*.ods)|"
            "OpenDocument text (*.odt)|HTML web page (*.html)|Rich text (RTF) (*.rtf)|Plain text (*.txt)|PNG pictures, one file per page (*.png)");
}

}  // namespace
}  // namespace grx
