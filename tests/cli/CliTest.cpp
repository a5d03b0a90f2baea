#include "cli/CliCommands.h"

#include "data/ProjectFile.h"
#include "data/SampleMeasurements.h"
#include "data/TextForms.h"
#include "support/FileBytes.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <memory>

namespace grx {
namespace {

struct CliRun {
  int code;
  QString out;
  QString err;
};

CliRun run(const QStringList& args) {
  QString out, err;
  QTextStream o(&out), e(&err);
  const int code = runCli(args, o, e);
  o.flush();
  e.flush();
  return {code, out, err};
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = dir_.filePath(QStringLiteral("sample.grx"));
    ASSERT_EQ(run({"sample", "-o", file_, "--impacts", "40", "--seed", "3"}).code, 0);
    generateSampleMeasurements(*set_, 40, 3);
  }
  QTemporaryDir dir_;
  QString file_;
  std::unique_ptr<MeasurementSet> set_ = std::make_unique<MeasurementSet>();
};

TEST_F(CliTest, SampleWritesAProjectFileOfTheGeneratedSet) {
  EXPECT_EQ(QFileInfo(file_).size(), 16 + 2200 * 40);
  auto staging = std::make_unique<MeasurementSet>();
  auto read = std::make_unique<MeasurementSet>();
  ASSERT_EQ(openProjectFile(file_, *read, *staging), ProjectReadResult::Ok);
  EXPECT_EQ(std::memcmp(read->recordStore(), set_->recordStore(), 40 * kRecordSize), 0);
}

TEST_F(CliTest, SeriesTableInEitherLanguage) {
  const CliRun en = run({"series", file_});
  ASSERT_EQ(en.code, 0) << en.err.toStdString();
  EXPECT_TRUE(en.err.isEmpty());
  const QStringList lines = en.out.split(QStringLiteral("\r\n"));
  ASSERT_EQ(lines.size(), int(set_->seriesCount()) + 3);  // headings, units, series, and "" after the last CR LF
  EXPECT_TRUE(lines[0].startsWith(QStringLiteral("№\tDate\tTime\tDin.modulus")));
  EXPECT_TRUE(lines[2].startsWith(QString::number(set_->view(0).seriesNumber()) + u'/'));
  EXPECT_TRUE(lines[2].contains(dateText(set_->view(0), Language::English)));

  const CliRun ru = run({"series", file_, "--lang", "ru"});
  ASSERT_EQ(ru.code, 0);
  EXPECT_TRUE(ru.out.startsWith(QStringLiteral("№\tДата\tВремя\tДин.модуль")));
}

TEST_F(CliTest, ImpactsTableOfTheChosenSeries) {
  const CliRun r = run({"impacts", file_, "--series", "1"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QStringList lines = r.out.split(QStringLiteral("\r\n"));
  ASSERT_EQ(lines.size(), 9);
  EXPECT_TRUE(lines[0].startsWith(dateTimeText(set_->view(set_->seriesStart(1))) + u'\t'));
  EXPECT_EQ(lines[0].count(u'\t'), int(set_->seriesLength(1)));
  EXPECT_TRUE(lines[7].startsWith(QStringLiteral("Impact force, N\t")));
}

TEST_F(CliTest, BadArgumentsAndFilesGiveExitTwoAndOneLine) {
  const QString badFile = dir_.filePath(QStringLiteral("bad.grx"));
  ASSERT_TRUE(test::writeFileBytes(badFile, "GRX-1.0 and nothing else"));
  const QString missing = dir_.filePath(QStringLiteral("missing.grx"));
  struct Case {
    QStringList args;
    QString err;  // the whole message when given, else just one line
  };
  const Case cases[] = {
      {{"series", badFile}, "File is not readable or damaged: bad.grx\n"},
      {{"series", badFile, "--lang", "ru"}, "Файл не читается или испорчен: bad.grx\n"},
      {{"series", missing}, "File is not readable or damaged: missing.grx\n"},
      {{"impacts", file_, "--series", "999"}, {}},
      {{"impacts", file_, "--series", "-1"}, {}},
      {{"impacts", file_, "--series", "x"}, {}},
      {{"impacts", file_}, {}},
      {{"series"}, {}},
      {{"series", file_, "--lang", "de"}, {}},
      {{"series", file_, "--lang"}, {}},
      {{"series", file_, "extra"}, {}},
      {{"series", file_, "--bogus"}, {}},
      {{"print", file_}, {}},
      {{}, {}},
      {{"sample"}, {}},
      {{"sample", "-o", dir_.filePath("no-folder/x.grx")}, {}},
  };
  for (const Case& c : cases) {
    const CliRun r = run(c.args);
    EXPECT_EQ(r.code, 2) << c.args.join(' ').toStdString();
    EXPECT_TRUE(r.out.isEmpty()) << c.args.join(' ').toStdString();
    EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.endsWith(u'\n'));
    if (!c.err.isEmpty()) {
      EXPECT_EQ(r.err, c.err);
    }
  }
}

}  // namespace
}  // namespace grx
