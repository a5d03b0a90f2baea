// The printed report of the largest series table a tester read can give: 3556 impacts, each its
// own series (the worst case of one data row per impact). Layout alone, layout and the PDF file,
// and the print command's road to the preview's first page. Runs on the offscreen platform.
#include "ui/ModalUi.h"
#include "data/SampleMeasurements.h"
#include "report/ReportExport.h"
#include "report/ReportPainter.h"
#include "report/ReportPreview.h"
#include "report/SeriesReport.h"
#include "views/TableText.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

class NoDialogs : public grx::ModalUi {
 public:
  int message(QWidget*, const Message& m) override { return m.defaultButton; }
  std::optional<QString> fileName(QWidget*, const FileDialog&) override { return std::nullopt; }
  std::optional<QColor> color(QWidget*, const QColor& c) override { return c; }
  bool chooseLanguage(const std::function<void(grx::Language)>&, bool*) override { return false; }
};

// 3556 series rows with the texts of a generated set (its rows repeated, labels k/1).
const grx::TextGrid& largestTable() {
  static const grx::TextGrid table = [] {
    auto set = std::make_unique<grx::MeasurementSet>();
    grx::generateSampleMeasurements(*set, grx::kMaxReadImpacts, 1);
    const grx::TextGrid sample = grx::seriesTableText(*set, grx::Language::Russian);
    const int series = grx::kMaxReadImpacts;
    grx::TextGrid t(series + 2, sample.columnCount());
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < t.columnCount(); ++c) t.cell(r, c) = sample.cell(r, c);
    for (int k = 0; k < series; ++k) {
      const int from = 2 + k % (sample.rowCount() - 2);
      for (int c = 0; c < t.columnCount(); ++c) t.cell(k + 2, c) = sample.cell(from, c);
      t.cell(k + 2, 0) = QString::number(k + 1) + QStringLiteral("/1");
    }
    return t;
  }();
  return table;
}

void BM_ReportLayout3556(benchmark::State& state) {
  const grx::TextGrid& table = largestTable();
  for (auto _ : state) {
    const grx::PreparedReport r = grx::prepareSeriesReport(table, grx::Language::Russian);
    benchmark::DoNotOptimize(r.pages.size());
    state.counters["pages"] = double(r.pages.size());
  }
}
BENCHMARK(BM_ReportLayout3556)->Unit(benchmark::kMillisecond);

void BM_ReportLayoutAndPdf3556(benchmark::State& state) {
  const grx::TextGrid& table = largestTable();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("report.pdf"));
  for (auto _ : state) {
    const grx::PreparedReport r = grx::prepareSeriesReport(table, grx::Language::Russian);
    if (!grx::writeReportPdf(r, path)) state.SkipWithError("PDF not written");
  }
  state.counters["bytes"] = double(QFileInfo(path).size());
}
BENCHMARK(BM_ReportLayoutAndPdf3556)->Unit(benchmark::kMillisecond);

// From the print command to the first page on the screen: layout, the window, the first picture.
void BM_PreviewFirstPage3556(benchmark::State& state) {
  const grx::TextGrid& table = largestTable();
  NoDialogs ui;
  for (auto _ : state) {
    grx::ReportPreview preview(grx::prepareSeriesReport(table, grx::Language::Russian), ui, QString());
    preview.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(preview.PageLabel->pixmap().width());
  }
}
BENCHMARK(BM_PreviewFirstPage3556)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
