// What the exports share: the selected impact, file names, folder and extension rules, the writing
// of finished files, and the calibration lists.
#include "export/CalibrationText.h"
#include "export/ImpactExport.h"

#include "config/Settings.h"
#include "support/FileBytes.h"
#include "support/RecordBuilder.h"

#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace grx {
namespace {

using test::RecordBuilder;

TEST(ImpactExport, SelectedImpactFollowsTheTables) {
  auto set = std::make_unique<MeasurementSet>();
  test::fillSet(*set, test::recordsWithSeries({4, 4, 4, 9, 9}));  // series 0: impacts 0..2, series 1: 3..4
  struct Case {
    int row, column;
    std::uint32_t impact;
  };
  const Case cases[] = {
      {2, 1, 0}, {2, 3, 2}, {3, 2, 4},
      {3, -1, 3},  // nothing selected in the impacts table: the series' first impact
      {3, 0, 3},   // the label column
      {3, 3, 3},   // past the series' last impact
      {1, 2, 1},   // a heading row: series 0
      {9, 1, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(selectedImpact(*set, c.row, c.column), c.impact) << c.row << "," << c.column;
}

TEST(ImpactExport, FileNamesHoldSeriesAndImpactNumbers) {
  struct Case {
    std::uint32_t series, impact;
    ExportSignal signal;
    const char* extension;
    const char* name;
  };
  const Case cases[] = {
      {3, 2, ExportSignal::Force, ".csv", "Force_3_2.csv"},
      {3, 0, ExportSignal::Displacement, ".wav", "Displacement_3_0.wav"},
      {0, 0, ExportSignal::Acceleration, ".csv", "Accelerate_0_0.csv"},
      {1234, 15, ExportSignal::Velocity, ".wav", "Velocity_1234_15.wav"},
  };
  for (const Case& c : cases) {
    RecordBuilder r;
    r.series(c.series, c.impact);
    EXPECT_EQ(exportFileName(c.signal, ImpactRecordView(r.bytes()), QString::fromLatin1(c.extension)), c.name);
  }
  RecordBuilder r;
  r.series(12, 4);
  EXPECT_EQ(exportFileName(QString::fromLatin1(kAllSignalsPrefix), ImpactRecordView(r.bytes()), ".csv"), "All_12_4.csv");
}

TEST(ImpactExport, AllSignalCommandsCoverTheSignalsOfTheView) {
  using S = ExportSignal;
  EXPECT_EQ(allExportSignals(true), (std::vector<S>{S::Displacement, S::Force}));
  EXPECT_EQ(allExportSignals(false), (std::vector<S>{S::Acceleration, S::Velocity, S::Displacement, S::Force}));
}

TEST(ImpactExport, ExtensionRuleAsksAgainWithTheCorrectedName) {
  struct Case {
    const char* chosen;
    const char* extension;
    const char* fileName;
    bool askAgain;
  };
  const Case cases[] = {
      {"/d/data.csv", ".csv", "/d/data.csv", false},
      {"/d/data.CSV", ".csv", "/d/data.csv", true},
      {"/d/data", ".csv", "/d/data.csv", true},
      {"/d/data.", ".csv", "/d/data.csv", true},
      {"/d/data.txt", ".wav", "/d/data.wav", true},
      {"/d.x/data", ".wav", "/d.x/data.wav", true},
      {"C:\\d.x\\data.Wav", ".wav", "C:\\d.x\\data.wav", true},
      {"/d/data.wav", ".wav", "/d/data.wav", false},
  };
  for (const Case& c : cases) {
    const ExportNameDecision d = exportSaveName(QString::fromLatin1(c.chosen), QString::fromLatin1(c.extension));
    EXPECT_EQ(d.fileName, c.fileName) << c.chosen;
    EXPECT_EQ(d.askAgain, c.askAgain) << c.chosen;
  }
}

TEST(ImpactExport, ExportFolderIsLastReadPathWhenItExists) {
  QTemporaryDir program, other;
  const IniFile ini(QDir(program.path()).filePath("GRX1.ini"));
  const QString sep = QDir::separator();
  EXPECT_EQ(exportFolder(ini, program.path()), program.path() + sep);  // no key
  writeLastReadPath(ini, other.path());
  EXPECT_EQ(exportFolder(ini, program.path()), other.path() + sep);
  writeLastReadPath(ini, other.path() + "/gone/");
  EXPECT_EQ(exportFolder(ini, program.path()), program.path() + sep);
}

// A file that accepts fewer bytes than it is given, as a full disk does.
class ShortSaveFile : public QSaveFile {
 public:
  using QSaveFile::QSaveFile;

 protected:
  qint64 writeData(const char* data, qint64 len) override { return QSaveFile::writeData(data, len / 2); }
};

TEST(ImpactExport, AFailedWriteLeavesTheOldFileAndNoPartialFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Force_3_2.csv");
  ASSERT_TRUE(test::writeFileBytes(path, "old content\n"));
  ShortSaveFile file(path);
  EXPECT_EQ(writeExportFile(file, QByteArray(5000, 'x')), ExportWriteResult::WriteIncomplete);
  EXPECT_EQ(test::readFileBytes(path), "old content\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"Force_3_2.csv"}));

  EXPECT_EQ(writeExportFile(path, "new\n"), ExportWriteResult::Ok);
  EXPECT_EQ(test::readFileBytes(path), "new\n");
  EXPECT_EQ(writeExportFile(dir.filePath("missing/x.csv"), "new\n"), ExportWriteResult::CannotCreate);
}

TEST(ImpactExport, AllSignalsWavStopsAtTheFirstFailureAndKeepsTheFilesBefore) {
  QTemporaryDir dir;
  const QString folder = dir.path() + u'/';
  ASSERT_TRUE(QDir(dir.path()).mkdir("Displacement_5_1.wav"));  // a folder where a file should go
  RecordBuilder r;
  r.series(5, 1);
  const AllSignalsWavResult result = writeAllSignalsWav(ImpactRecordView(r.bytes()), false, folder);
  EXPECT_NE(result.result, ExportWriteResult::Ok);
  EXPECT_EQ(result.failedFile, folder + "Displacement_5_1.wav");
  EXPECT_EQ(result.written, QStringList({folder + "Accelerate_5_1.wav", folder + "Velocity_5_1.wav"}));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList({"Accelerate_5_1.wav", "Velocity_5_1.wav"}));
}

TEST(CalibrationText, OneLinePerImpactSeriesBySeries) {
  auto set = std::make_unique<MeasurementSet>();
  std::vector<RecordBuilder> records = test::recordsWithSeries({1, 1, 1, 2, 2});
  const float forces[] = {7000.25f, 6512.5f, 0.0f, -12.04f, 123456.0f};
  const float displacements[] = {0.5f, 1.25f, 0.03125f, 0.0f, 12.345678f};
  for (std::size_t i = 0; i < records.size(); ++i) records[i].f32(rec::ImpactForce, forces[i]).displacement(displacements[i]);
  test::fillSet(*set, records);
  EXPECT_EQ(calibrationText(*set, CalibrationValue::Force), "7000,3\n6512,5\n0,0\n-12,0\n123456,0\n");
  EXPECT_EQ(calibrationText(*set, CalibrationValue::Displacement), "0,5000\n1,2500\n0,0313\n0,0000\n12,3457\n");
  set->clear();
  EXPECT_EQ(calibrationText(*set, CalibrationValue::Force), "");
}

}  // namespace
}  // namespace grx
