#include "support/CliRun.h"
#include "cli/CliCommands.h"
#include "platform/LocalFiles.h"
#include "platform/SafeFile.h"

#include "data/ProjectFile.h"
#include "data/SampleMeasurements.h"
#include "data/TextForms.h"
#include "support/FileBytes.h"
#include "support/RecordBuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string_view>

#include <sys/stat.h>

namespace grx {
namespace {

using test::CliRun;

CliRun run(const QStringList& args) { return test::runCliCommand(args); }

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
      {{"archive"}, {}},
      {{"archive", "--db", dir_.filePath("a.sqlite"), "add"}, {}},
      {{"archive", "--db", dir_.filePath("a.sqlite"), "export"}, {}},
      {{"archive", "--db", dir_.filePath("a.sqlite"), "list", "--from", "2026-3-1"}, {}},
      {{"archive", "--db", dir_.filePath("a.sqlite"), "list", "--format", "xml"}, {}},
      {{"archive", "--db", dir_.filePath("a.sqlite"), "add", badFile}, "File is not readable or damaged: bad.grx\n"},
      {{"archive", "--db", badFile, "list"}, "\"" + badFile + "\" is damaged or not an archive of this program; it was left as it is\n"},
      {{"archive", "--db", "", "list"}, {}},
      {{"archive", "--db", " ", "export", "-o", dir_.filePath("x.grx")}, {}},
      // A misspelt archive is not made by looking into it.
      {{"archive", "--db", dir_.filePath("arhive.sqlite"), "list"},
       "There is no archive at \"" + dir_.filePath("arhive.sqlite") + "\"; adding measurements makes one\n"},
      {{"archive", "--db", dir_.filePath("arhive.sqlite"), "export", "-o", dir_.filePath("x.grx")},
       "There is no archive at \"" + dir_.filePath("arhive.sqlite") + "\"; adding measurements makes one\n"},
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
  EXPECT_FALSE(QFile::exists(dir_.filePath("arhive.sqlite")));
  EXPECT_FALSE(QFile::exists(dir_.filePath("x.grx")));
}

TEST_F(CliTest, ArchiveAddListsNewAndDuplicateImpactsAndExportGivesTheFileBack) {
  const QString db = dir_.filePath(QStringLiteral("archive.sqlite"));
  const QString out = dir_.filePath(QStringLiteral("out.grx"));
  EXPECT_EQ(run({"archive", "--db", db, "add", file_}).out, file_ + QStringLiteral(": 40 impacts, 40 new, 0 duplicates\n"));
  EXPECT_EQ(run({"archive", "--db", db, "add", file_}).out, file_ + QStringLiteral(": 40 impacts, 0 new, 40 duplicates\n"));
  EXPECT_EQ(run({"archive", "--db", db, "list"}).out.count(u'\n'), int(set_->seriesCount()));
  EXPECT_EQ(run({"archive", "--db", db, "export", "-o", out}).code, 0);
  EXPECT_EQ(test::readFileBytes(out), test::readFileBytes(file_));
  // Nothing matches: the file named stays as it was.
  const CliRun none = run({"archive", "--db", db, "export", "--object", "nosuch", "-o", out});
  EXPECT_EQ(none.code, 2);
  EXPECT_EQ(none.err, "no impact matches the filters; " + out + " was not written\n");
  EXPECT_EQ(test::readFileBytes(out), test::readFileBytes(file_));
}

// A name that breaks a line or starts a formula, and a mean that cannot be computed, in each form.
TEST_F(CliTest, ArchiveListKeepsNamesOnTheirLineAndShowsNoMeanItCannotCompute) {
  std::vector<test::RecordBuilder> r(2);
  for (int i = 0; i < 2; ++i)
    r[i].series(4, i + 1).stamp(7, 7, 26, 9, i, 0).moduli(i ? 40 : std::nanf(""), 80 + 10 * i).soil("Sa\r\nnd").object("=SUM(A1)");
  auto set = std::make_unique<MeasurementSet>();
  test::fillSet(*set, r);
  const QString file = dir_.filePath("names.grx"), db = dir_.filePath("names.sqlite");
  ASSERT_EQ(writeProjectFile(*set, file), ProjectWriteResult::Ok);
  ASSERT_EQ(run({"archive", "--db", db, "add", file}).code, 0);
  const QString text = run({"archive", "--db", db, "list"}).out;
  EXPECT_TRUE(text.startsWith("2026-07-07\t09:00:00\t4\t2\tNAN\t85,0\tSa  nd\t=SUM(A1)\t") && text.count(u'\n') == 1) << text.toStdString();
  const QString csv = run({"archive", "--db", db, "list", "--format", "csv"}).out;
  EXPECT_TRUE(csv.section("\r\n", 1, 1).startsWith("2026-07-07;09:00:00;4;2;NAN;85,0;Sa  nd;'=SUM(A1);")) << csv.toStdString();
  const QString json = run({"archive", "--db", db, "list", "--format", "json"}).out;
  EXPECT_TRUE(json.contains("\"dynamic_modulus\": null") && json.contains("\"static_modulus\": 85")) << json.toStdString();
}

TEST(CliHelp, HelpGoesToStdoutWithExitCode0) {
  const CliRun r = run({"--help"});
  EXPECT_EQ(r.code, 0);
  EXPECT_TRUE(r.err.isEmpty());
  EXPECT_TRUE(r.out.startsWith("usage: grx1-cli series FILE.grx")) << r.out.toStdString();
  for (const char* command : {"impacts", "sample", "read", "csv|wav", "calibration", "report", "control", "names get", "names put", "screenshot",
                              "archive [--db URL] add", "archive [--db URL] list", "archive [--db URL] export"})
    EXPECT_TRUE(r.out.contains(QStringLiteral("grx1-cli ") + command + u' ')) << command;
}

#ifndef _WIN32  // FIFOs and /dev exist on POSIX systems only
TEST_F(CliTest, NamesThatAreNotRegularFilesAreDamagedWithoutWaiting) {
  // A FIFO would keep an open (or a read) waiting for a writer that never comes.
  const QString fifo = dir_.filePath(QStringLiteral("pipe.grx"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.grx")));
  const struct {
    QString name;
    const char* err;
  } cases[] = {
      {fifo, "File is not readable or damaged: pipe.grx\n"},
      {dir_.filePath(QStringLiteral("folder.grx")), "File is not readable or damaged: folder.grx\n"},
      {QStringLiteral("/dev/null"), "File is not readable or damaged: null\n"},
  };
  for (const auto& c : cases) {
    const CliRun r = run({"series", c.name});
    EXPECT_EQ(r.code, 2) << c.name.toStdString();
    EXPECT_EQ(r.err, QString::fromLatin1(c.err));
    EXPECT_TRUE(r.out.isEmpty());
  }
}
#endif

// UTF-16 code units as they stand, lone surrogates included.
QString units(std::u16string_view s) { return QString(reinterpret_cast<const QChar*>(s.data()), qsizetype(s.size())); }

TEST(CliArguments, BytesThatAreNotUtf8ReachTheFileSystemUnchanged) {
  const struct {
    QByteArray bytes;
    QString text;  // as the commands see the argument
  } cases[] = {
      {"plain.grx", QStringLiteral("plain.grx")},
      {"d\xc3\xa9j\xc3\xa0.grx", QStringLiteral("d\u00e9j\u00e0.grx")},
      {"\xcf\xf0\xe8\xe1\xee\xf0.grx", units(u"\xdccf\xdcf0\xdce8\xdce1\xdcee\xdcf0.grx")},  // Windows-1251
      {"a\xc3(", units(u"a\xdcc3(")},               // a sequence cut short
      {"\xed\xa0\x80", units(u"\xdced\xdca0\xdc80")},  // an encoded surrogate
      {"\xf4\x90\x80\x80", units(u"\xdcf4\xdc90\xdc80\xdc80")},  // above U+10FFFF
      {"\xc0\xaf", units(u"\xdcc0\xdcaf")},           // an overlong '/'
      {"\xf0\x9f\x98\x80", units(u"\U0001F600")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(argumentText(c.bytes), c.text) << c.bytes.toHex().constData();
    EXPECT_EQ(localFileName(argumentText(c.bytes)), c.bytes) << c.bytes.toHex().constData();
  }

  // The commands write and read such a name byte for byte.
  QTemporaryDir dir;
  const QByteArray name = QFile::encodeName(dir.path()) + "/\xcf\xf0\xe8\xe1\xee\xf0.grx";
  QByteArray sampleArgs[] = {"grx1-cli", "sample", "-o", name, "--impacts", "12"};
  char* argv[6];
  for (int i = 0; i < 6; ++i) argv[i] = sampleArgs[i].data();
  EXPECT_EQ(run(commandLineArguments(6, argv)).code, 0);
  struct stat st {};
  ASSERT_EQ(::stat(name.constData(), &st), 0) << "the file has exactly the bytes given";
  EXPECT_EQ(st.st_size, 16 + 2200 * 12);
  QByteArray seriesArgs[] = {"grx1-cli", "series", name};
  for (int i = 0; i < 3; ++i) argv[i] = seriesArgs[i].data();
  const CliRun series = run(commandLineArguments(3, argv));
  EXPECT_EQ(series.code, 0) << series.err.toStdString();
  EXPECT_GT(series.out.count(QStringLiteral("\r\n")), 3);

  // Every other name a command takes keeps its bytes too: two names that differ only in a byte
  // that is not UTF-8 are two files, and no stand-in for the byte is ever made.
  const QByteArray folder = QFile::encodeName(dir.path()) + '/';
  ASSERT_EQ(writeFileSafely(argumentText(folder + "r\xff.json"), R"({"requirements": [{"object": "*", "material": "*", "minDynamic": 1}]})"),
            SafeWriteResult::Ok);
  const std::pair<QList<QByteArray>, QByteArray> commands[] = {  // the arguments, and the file made (none: exit 2)
      {{"csv", name, "--series", "0", "--signal", "s", "-o", folder + "r\xff.csv"}, folder + "r\xff.csv"},
      {{"geo", name, "--requirements", folder + "r\xff.json", "-o", folder + "r\xfe.csv"}, folder + "r\xfe.csv"},
      {{"archive", "--db", folder + "a\xff.sqlite", "add", name}, folder + "a\xff.sqlite"},
      {{"archive", "--db", folder + "a\xfe.sqlite", "list"}, {}},  // another archive, never made
      {{"archive", "--db", folder + "a\xff.sqlite", "export", "-o", folder + "e\xff.grx"}, folder + "e\xff.grx"},
  };
  for (const auto& [args, made] : commands) {
    std::vector<QByteArray> bytes{"grx1-cli"};
    bytes.insert(bytes.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (QByteArray& b : bytes) pointers.push_back(b.data());
    const CliRun r = run(commandLineArguments(int(pointers.size()), pointers.data()));
    EXPECT_EQ(r.code, made.isEmpty() ? 2 : 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
    if (!made.isEmpty()) EXPECT_EQ(::stat(made.constData(), &st), 0) << made.toStdString();
  }
  for (const char* none : {"a\xfe.sqlite", "a?.sqlite", "r\xef\xbf\xbd.csv", "a\xef\xbf\xbd.sqlite"})
    EXPECT_NE(::stat((folder + none).constData(), &st), 0) << none;
}

TEST_F(CliTest, AZeroByteInANameNeverReachesTheOutput) {
  QByteArray bytes = test::readFileBytes(file_);
  const qsizetype record0 = 16 + 40 * 4;
  const QByteArray soil("\x06Sa\0ndy", 7);
  bytes.replace(record0 + rec::SoilName, soil.size(), soil);
  ASSERT_TRUE(test::writeFileBytes(file_, bytes));
  const CliRun r = run({"series", file_});
  ASSERT_EQ(r.code, 0);
  EXPECT_FALSE(r.out.contains(QChar(0)));
  EXPECT_TRUE(r.out.contains(QStringLiteral("\tSa\t"))) << r.out.toStdString();
}

}  // namespace
}  // namespace grx
