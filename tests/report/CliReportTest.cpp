#include "cli/CliReport.h"

#include "data/MeasurementSet.h"
#include "data/ProjectFile.h"
#include "data/SampleMeasurements.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <memory>

namespace grx {
namespace {

struct CliResult {
  int code;
  QString err;
  QString out = {};
};

CliResult report(const QStringList& args) {
  QString out, err;
  QTextStream o(&out), e(&err);
  const int code = runCliReport(args, o, e);
  o.flush();
  e.flush();
  return {code, err, out};
}

class CliReport : public ::testing::Test {
 protected:
  void SetUp() override {
    auto set = std::make_unique<MeasurementSet>();
    generateSampleMeasurements(*set, 40, 3);
    ASSERT_EQ(writeProjectFile(*set, path("s.grx")), ProjectWriteResult::Ok);
    set->clear();
    ASSERT_EQ(writeProjectFile(*set, path("empty.grx")), ProjectWriteResult::Ok);
  }
  QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
  QStringList files() const { return QDir(dir_.path()).entryList(QDir::Files, QDir::Name); }
  QTemporaryDir dir_;
};

TEST_F(CliReport, WritesEachFormatByExtension) {
  for (const char* name : {"r.pdf", "r.xlsx", "r.ods", "r.odt", "r.html", "r.txt", "r.rtf"}) {
    const CliResult r = report({path("s.grx"), QStringLiteral("-o"), path(name), QStringLiteral("--lang"), QStringLiteral("ru")});
    EXPECT_EQ(r.code, 0) << name << ' ' << r.err.toStdString();
    EXPECT_GT(QFileInfo(path(name)).size(), 500) << name;
  }
  // The text names the series in Russian headings.
  const QString text = QString::fromUtf8(test::readFileBytes(path("r.txt")));
  EXPECT_TRUE(text.startsWith(QStringLiteral("Измеренные значения модуля упругости\r\n№")));
  EXPECT_EQ(QFileInfo(path("r.pdf")).size() > 0 && test::readFileBytes(path("r.pdf")).startsWith("%PDF"), true);
}

TEST_F(CliReport, PngWritesNumberedPages) {
  const CliResult r = report({path("s.grx"), QStringLiteral("-o"), path("page.png")});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  EXPECT_EQ(files(), (QStringList{"empty.grx", "page-1.png", "s.grx"}));
}

TEST_F(CliReport, APngReportRemovesTheFurtherPagesOfAnEarlierOneAndNothingElse) {
  auto set = std::make_unique<MeasurementSet>();
  generateSampleMeasurements(*set, 3556, 3);  // 22 pages
  ASSERT_EQ(writeProjectFile(*set, path("long.grx")), ProjectWriteResult::Ok);
  ASSERT_EQ(report({path("long.grx"), "-o", path("r.png")}).code, 0);
  const QByteArray png("\x89PNG\r\n\x1a\n", 8);
  const std::pair<const char*, QByteArray> stay[] = {{"r-5.png", "not a picture"}, {"r-x.png", png}, {"r-07.png", png},
                                                     {"r-0.png", png}, {"rr-3.png", png}, {"r-3.PNG", png}, {"r-3.png.bak", png}};
  for (const auto& [name, bytes] : stay) ASSERT_TRUE(test::writeFileBytes(path(name), bytes));
  const CliResult r = report({path("s.grx"), "-o", path("r.png")});
  EXPECT_EQ(r.out, "removed 20 pages of an earlier report: r-2.png ... r-22.png\n") << r.err.toStdString();
  for (const auto& [name, bytes] : stay) EXPECT_EQ(test::readFileBytes(path(name)), bytes) << name;
  for (int page = 2; page <= 23; ++page) EXPECT_EQ(QFileInfo::exists(path(qPrintable(QString("r-%1.png").arg(page)))), page == 5);
}

TEST_F(CliReport, RefusalsAreOneLineAndWriteNothing) {
  struct Case {
    QStringList args;
    std::string err;
  };
  const Case cases[] = {
      {{path("empty.grx"), "-o", path("r.pdf")}, "No Data\n"},
      {{path("empty.grx"), "-o", path("r.pdf"), "--lang", "ru"}, "Данных нет\n"},
      {{path("s.grx"), "-o", path("r.doc")},
       "unknown report format \"doc\"; the output name ends in .pdf, .png, .xlsx, .ods, .odt, .html, .txt or .rtf\n"},
      {{path("s.grx"), "-o", path("missing/r.pdf")},
       "Can't create data file " + path("missing/r.pdf").toStdString() + ". It may be no free space or disk is write protected\n"},
      {{path("nothing.grx"), "-o", path("r.pdf")}, "File is not readable or damaged: nothing.grx\n"},
      {{path("s.grx")}, "usage: grx1-cli report FILE.grx -o OUT [--lang ru|en]\n"},
      {{path("s.grx"), "-o", path("r.pdf"), "--lang", "de"}, "--lang takes ru or en, not \"de\"\n"},
  };
  for (const Case& c : cases) {
    const CliResult r = report(c.args);
    EXPECT_EQ(r.code, 2) << c.err;
    EXPECT_EQ(r.err.toStdString(), c.err);
  }
  EXPECT_EQ(files(), (QStringList{"empty.grx", "s.grx"}));
}

}  // namespace
}  // namespace grx
