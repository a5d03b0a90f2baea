// grx1-cli csv, wav and calibration: the files and texts, and every refusal with exit code 2.
#include "support/CliRun.h"
#include "cli/CliCommands.h"

#include "data/ProjectFile.h"
#include "support/FileBytes.h"
#include "support/RecordBuilder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <memory>

namespace grx {
namespace {

using test::RecordBuilder;

using test::CliRun;

CliRun run(const QStringList& args) { return test::runCliCommand(args); }

class CliExport : public ::testing::Test {
 protected:
  // Series 4 with impacts 1 and 2, series 6 with impact 1; force code 10 s + j at sample 0.
  void SetUp() override {
    auto set = std::make_unique<MeasurementSet>();
    std::vector<RecordBuilder> r;
    for (const auto& [series, impact] : {std::pair{4u, 1u}, std::pair{4u, 2u}, std::pair{6u, 1u}}) {
      RecordBuilder b;
      b.series(series, impact).f32(rec::ForceFullScale, 32767).forceCode(0, std::int16_t(10 * series + impact));
      b.f32(rec::ImpactForce, float(100 * series + impact)).displacement(impact / 8.0f);
      r.push_back(b);
    }
    test::fillSet(*set, r);
    file_ = path("set.grx");
    ASSERT_EQ(writeProjectFile(*set, file_), ProjectWriteResult::Ok);
    set->clear();
    ASSERT_EQ(writeProjectFile(*set, path("empty.grx")), ProjectWriteResult::Ok);
  }
  QString path(const QString& name) const { return QDir(dir_.path()).filePath(name); }
  QTemporaryDir dir_;
  QString file_;
};

TEST_F(CliExport, OneSignalOfTheChosenImpact) {
  const CliRun r = run({"csv", file_, "--series", "0", "--impact", "2", "--signal", "f", "-o", path("f.csv")});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  EXPECT_TRUE(r.out.isEmpty());
  const QStringList lines = QString::fromLatin1(test::readFileBytes(path("f.csv"))).split(u'\n');
  ASSERT_EQ(lines.size(), 519);
  EXPECT_EQ(lines[0], ";GRX-1.0, force");
  EXPECT_EQ(lines[1], ";Series/Impact: 4/2");
  EXPECT_EQ(lines[6], "42,000");
  // the impact defaults to the first of the series
  ASSERT_EQ(run({"wav", file_, "--series", "1", "--signal", "a", "-o", path("a.wav")}).code, 0);
  EXPECT_EQ(test::readFileBytes(path("a.wav")).size(), 1068);
}

TEST_F(CliExport, AllSignalsGoIntoAFolderUnderTheWindowsNames) {
  struct Case {
    const char* command;
    const char* view;  // nullptr: the default, reduced
    QStringList files;
  };
  const Case cases[] = {
      {"wav", "full", {"Accelerate_6_1.wav", "Displacement_6_1.wav", "Force_6_1.wav", "Velocity_6_1.wav"}},
      {"wav", nullptr, {"Displacement_6_1.wav", "Force_6_1.wav"}},
      {"csv", "full", {"All_6_1.csv"}},
  };
  int n = 0;
  for (const Case& c : cases) {
    const QString out = path(QStringLiteral("new/out%1").arg(++n));  // created with its parent
    QStringList args = {c.command, file_, "--series", "1", "--signal", "all", "-o", out};
    if (c.view) args << "--view" << c.view;
    const CliRun r = run(args);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QDir(out).entryList(QDir::Files), c.files) << c.command;
  }
  EXPECT_EQ(test::readFileBytes(path("new/out3/All_6_1.csv")).count('\n'), 523);
}

TEST_F(CliExport, CalibrationListsGoToStandardOutput) {
  const CliRun f = run({"calibration", file_, "--signal", "f"});
  EXPECT_EQ(f.code, 0);
  EXPECT_EQ(f.out, "401,0\n402,0\n601,0\n");
  const CliRun s = run({"calibration", file_, "--signal", "s"});
  EXPECT_EQ(s.out, "0,1250\n0,2500\n0,1250\n");
  const CliRun empty = run({"calibration", path("empty.grx"), "--signal", "s"});
  EXPECT_EQ(empty.code, 0);
  EXPECT_TRUE(empty.out.isEmpty());
  EXPECT_TRUE(empty.err.isEmpty());
}

TEST_F(CliExport, RefusalsExitWithCodeTwoAndOneLine) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir("taken.csv"));
  struct Case {
    QStringList args;
    QString err;
  };
  const Case cases[] = {
      {{"csv", path("empty.grx"), "--series", "0", "--signal", "f", "-o", path("x.csv")}, "No Data\n"},
      {{"csv", file_, "--series", "2", "--signal", "f", "-o", path("x.csv")}, "Series 2 does not exist: the file holds 2 series\n"},
      {{"wav", file_, "--series", "1", "--impact", "2", "--signal", "f", "-o", path("x.wav")},
       "Impact 2 does not exist: series 1 holds 1 impacts\n"},
      {{"csv", file_, "--series", "0", "--impact", "0", "--signal", "f", "-o", path("x.csv")},
       "--impact needs a whole number of 1 or more, not \"0\"\n"},
      {{"csv", file_, "--series", "0", "--signal", "x", "-o", path("x.csv")}, "--signal takes a, v, s, f or all, not \"x\"\n"},
      {{"calibration", file_, "--signal", "a"}, "--signal takes f or s, not \"a\"\n"},
      {{"wav", file_, "--series", "0", "--signal", "f", "--view", "wide", "-o", path("x.wav")},
       "--view takes full or reduced, not \"wide\"\n"},
      {{"csv", file_, "--signal", "f", "-o", path("x.csv")}, "csv needs --series K\n"},
      {{"csv", file_, "--series", "0", "--signal", "f"}, "csv needs -o OUT\n"},
      {{"csv", file_, "--series", "0", "--signal", "f", "-o", path("taken.csv")},
       "Can't create data file " + QDir::toNativeSeparators(path("taken.csv")) +
           ". It may be no free space or disk is write protected\n"},
      {{"csv", path("missing.grx"), "--series", "0", "--signal", "f", "-o", path("x.csv")},
       "File is not readable or damaged: missing.grx\n"},
  };
  for (const Case& c : cases) {
    const CliRun r = run(c.args);
    EXPECT_EQ(r.code, 2) << c.args.join(u' ').toStdString();
    EXPECT_EQ(r.err, c.err) << c.args.join(u' ').toStdString();
    EXPECT_TRUE(r.out.isEmpty());
  }
  EXPECT_FALSE(QFileInfo::exists(path("x.csv")));
  EXPECT_FALSE(QFileInfo::exists(path("x.wav")));
}

}  // namespace
}  // namespace grx
