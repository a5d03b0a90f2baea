// Every file the program writes, against a full disk (a file-size limit of 16 bytes, with the
// limit's signal ignored so the writes fail with EFBIG), a read-only target and a FIFO in the
// target's place: the failure is reported, the old file keeps its bytes and no temporary file is
// left. The command-line writers also say so in one line with exit code 2.
#include "cli/CliReport.h"
#include "data/MeasurementSet.h"
#include "data/ProjectFile.h"
#include "data/SampleMeasurements.h"
#include "names/NameLists.h"
#include "platform/IniFile.h"
#include "screen/ScreenPicture.h"
#include "support/CliRun.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <memory>

#include <sys/resource.h>
#include <sys/stat.h>

namespace grx {
namespace {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

struct Writer {
  const char* name;
  const char* target;  // the file that must survive a failed write (for PNG: its first page)
  // Writes into the folder; true when it reports success. A command's refusal must be one line.
  std::function<bool(const QDir&)> write;
};

bool cliSucceeds(const test::CliRun& r) {
  EXPECT_TRUE(r.code == 0 || (r.code == 2 && r.err.count(u'\n') == 1 && r.err.endsWith(u'\n'))) << r.err.toStdString();
  return r.code == 0;
}

bool report(const QDir& dir, const char* output) {
  QString out, err;
  QTextStream o(&out), e(&err);
  const int code = runCliReport({dir.filePath("s.grx"), "-o", dir.filePath(output)}, o, e);
  e.flush();
  return cliSucceeds({code, out, err});
}

bool cli(QStringList args) { return cliSucceeds(test::runCliCommand(args)); }

const Writer kWriters[] = {
    {"project", "r.grx", [](const QDir& d) { return cli({"sample", "-o", d.filePath("r.grx"), "--impacts", "1"}); }},
    {"csv", "r.csv", [](const QDir& d) { return cli({"csv", d.filePath("s.grx"), "--series", "0", "--signal", "s", "-o", d.filePath("r.csv")}); }},
    {"wav", "r.wav", [](const QDir& d) { return cli({"wav", d.filePath("s.grx"), "--series", "0", "--signal", "f", "-o", d.filePath("r.wav")}); }},
    {"pdf", "r.pdf", [](const QDir& d) { return report(d, "r.pdf"); }},
    {"png", "r-1.png", [](const QDir& d) { return report(d, "r.png"); }},
    {"xlsx", "r.xlsx", [](const QDir& d) { return report(d, "r.xlsx"); }},
    {"ods", "r.ods", [](const QDir& d) { return report(d, "r.ods"); }},
    {"odt", "r.odt", [](const QDir& d) { return report(d, "r.odt"); }},
    {"html", "r.html", [](const QDir& d) { return report(d, "r.html"); }},
    {"txt", "r.txt", [](const QDir& d) { return report(d, "r.txt"); }},
    {"rtf", "r.rtf", [](const QDir& d) { return report(d, "r.rtf"); }},
    {"name list", "r.mtgrx",
     [](const QDir& d) { return writeNameListFile(d.filePath("r.mtgrx"), NameList::Materials, defaultNameBlock(NameList::Materials, Language::English)); }},
    {"screen picture", "r.bmp", [](const QDir& d) { return writePictureFile(d.filePath("r.bmp"), pictureBmp(framedPixelMap(), 0, 0xFFFFFF)); }},
    {"GRX1.ini", "GRX1.ini", [](const QDir& d) { return IniFile(d.filePath("GRX1.ini")).writeString("Config", "LangId", "Eng"); }},
};

TEST(WritersOnFullDisk, FailureIsReportedAndTheOldFileStaysAsItWas) {
  QTemporaryDir tmp;
  const QDir dir(tmp.path());
  auto set = std::make_unique<MeasurementSet>();
  generateSampleMeasurements(*set, 3, 5);
  ASSERT_EQ(writeProjectFile(*set, dir.filePath("s.grx")), ProjectWriteResult::Ok);
  const QByteArray old("[Config]\r\nLangId=Rus\r\n");
  const auto setUp = [&](const Writer& w) {
    QFile::remove(dir.filePath(w.target));
    ASSERT_TRUE(test::writeFileBytes(dir.filePath(w.target), old));
  };
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.name);
    const QString target = dir.filePath(w.target);
    setUp(w);
    const QStringList before = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    {
      const FileSizeLimit full(16);
      EXPECT_FALSE(w.write(dir)) << "full disk";
    }
    EXPECT_EQ(test::readFileBytes(target), old);
    EXPECT_EQ(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before) << "a file left behind";

    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    EXPECT_FALSE(w.write(dir)) << "read-only target";
    EXPECT_EQ(test::readFileBytes(target), old);

    QFile::remove(target);
    ASSERT_EQ(::mkfifo(QFile::encodeName(target).constData(), 0644), 0);
    EXPECT_FALSE(w.write(dir)) << "FIFO target";  // would block, or replace the FIFO
    EXPECT_FALSE(QFileInfo(target).isFile());

    setUp(w);
    EXPECT_TRUE(w.write(dir)) << "room on the disk";
    EXPECT_NE(test::readFileBytes(target), old);
  }
}

}  // namespace
}  // namespace grx
