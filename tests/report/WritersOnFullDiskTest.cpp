// Every file the program writes, against a full disk, a read-only target and a FIFO in its place:
// failure reported (by grx1-cli in one line, exit 2), the old file as it was, no file left behind.
#include "cli/CliControl.h"
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

// RLIMIT_FSIZE for the lifetime of the object; its signal is ignored, so writes fail with EFBIG.
struct FileSizeLimit {
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit limited{bytes, saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
  rlimit saved{};
};

struct Writer {
  QString name;
  QString target;  // the file that must survive a failed write
  // Writes into the folder; true when it reports success. A command's refusal must be one line.
  std::function<bool(const QDir&)> write;
  rlim_t fullAt = 16;  // the file-size limit of the full disk, in bytes
  QStringList kept = {};  // further files of the group that must keep their old bytes as well
};

bool cliSucceeds(const test::CliRun& r) {
  EXPECT_TRUE(r.code == 0 || (r.code == 2 && r.err.count(u'\n') == 1 && r.err.endsWith(u'\n'))) << r.err.toStdString();
  return r.code == 0;
}

bool report(const QDir& dir, const QString& output, const char* command = "report", const char* set = "s.grx") {
  QString out, err;
  QTextStream o(&out), e(&err);
  const QStringList args = {dir.filePath(set), "-o", dir.filePath(output)};
  const int code = command == QLatin1String("report") ? runCliReport(args, o, e)
                                                      : runCliControl(args + QStringList{"--require-dyn", "1"}, o, e, dir.path());
  e.flush();
  return cliSucceeds({code, out, err});
}

bool cli(QStringList args) { return cliSucceeds(test::runCliCommand(args)); }

std::vector<Writer> writers() {
  std::vector<Writer> all = {
    {"project", "r.grx", [](const QDir& d) { return cli({"sample", "-o", d.filePath("r.grx"), "--impacts", "1"}); }},
    {"csv", "r.csv", [](const QDir& d) { return cli({"csv", d.filePath("s.grx"), "--series", "0", "--signal", "s", "-o", d.filePath("r.csv")}); }},
    {"wav", "r.wav", [](const QDir& d) { return cli({"wav", d.filePath("s.grx"), "--series", "0", "--signal", "f", "-o", d.filePath("r.wav")}); }},
    {"name list", "r.mtgrx",
     [](const QDir& d) { return writeNameListFile(d.filePath("r.mtgrx"), NameList::Materials, defaultNameBlock(NameList::Materials, Language::English)); }},
    {"screen picture", "r.bmp", [](const QDir& d) { return writePictureFile(d.filePath("r.bmp"), pictureBmp(framedPixelMap(), 0, 0xFFFFFF)); }},
    {"GRX1.ini", "GRX1.ini", [](const QDir& d) { return IniFile(d.filePath("GRX1.ini")).writeString("Config", "LangId", "Eng"); }},
  };
  for (const QString format : {"geojson", "gpx"}) {
    const QString output = "r." + format;
    all.push_back({format, output, [output](const QDir& d) { return cli({"geo", d.filePath("s.grx"), "-o", d.filePath(output)}); }});
  }
  // Every report format; PNG pages are replaced all together, so the first page stands for them.
  for (const QString format : {"pdf", "png", "xlsx", "ods", "odt", "html", "txt", "rtf"}) {
    const QString output = "r." + format;
    all.push_back({format, format == "png" ? "r-1.png" : output, [output](const QDir& d) { return report(d, output); }});
  }
  // Page 3 of a group of pages refused (read-only, a FIFO): pages 1 and 2 are not replaced either.
  all.push_back({"png page 3", "r-3.png", [](const QDir& d) { return report(d, "r.png"); }, 16,
                 {"r-1.png", "r-2.png"}});
  // A big workbook under a limit that cuts the library's own part files, not the packed workbook.
  for (const rlim_t kib : {20, 40, 60})
    for (const char* command : {"report", "control"})
      all.push_back({QString("%1 xlsx at %2 KiB").arg(command).arg(kib), "r.xlsx",
                     [command](const QDir& d) { return report(d, "r.xlsx", command, "big.grx"); }, kib * 1024});
  return all;
}

TEST(WritersOnFullDisk, FailureIsReportedAndTheOldFileStaysAsItWas) {
  QTemporaryDir tmp;
  const QDir dir(tmp.path());
  auto set = std::make_unique<MeasurementSet>();
  generateSampleMeasurements(*set, 500, 5);  // three report pages
  ASSERT_EQ(writeProjectFile(*set, dir.filePath("s.grx")), ProjectWriteResult::Ok);
  generateSampleMeasurements(*set, 3556, 1);
  ASSERT_EQ(writeProjectFile(*set, dir.filePath("big.grx")), ProjectWriteResult::Ok);
  const QByteArray old("[Config]\r\nLangId=Rus\r\n");
  const auto entries = [&] { return dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); };
  for (const Writer& w : writers()) {
    SCOPED_TRACE(w.name.toStdString());
    const QString target = dir.filePath(w.target);
    ASSERT_TRUE(test::writeFileBytes(target, old));
    for (const QString& k : w.kept) ASSERT_TRUE(test::writeFileBytes(dir.filePath(k), old));
    const auto keptAsTheyWere = [&] {
      for (const QString& k : w.kept) EXPECT_EQ(test::readFileBytes(dir.filePath(k)), old) << k.toStdString();
    };
    const QStringList before = entries();
    const bool written = [&] { const FileSizeLimit full(w.fullAt); return w.write(dir); }();
    EXPECT_FALSE(written) << "full disk";
    EXPECT_EQ(test::readFileBytes(target), old);
    EXPECT_EQ(entries(), before) << "a file left behind";

    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    EXPECT_FALSE(w.write(dir)) << "read-only target";
    EXPECT_EQ(test::readFileBytes(target), old);
    keptAsTheyWere();

    QFile::remove(target);
    ASSERT_EQ(::mkfifo(QFile::encodeName(target).constData(), 0644), 0);
    EXPECT_FALSE(w.write(dir)) << "FIFO target";  // would block, or replace the FIFO
    EXPECT_FALSE(QFileInfo(target).isFile());
    keptAsTheyWere();

    QFile::remove(target);
    ASSERT_TRUE(test::writeFileBytes(target, old));
    EXPECT_TRUE(w.write(dir)) << "room on the disk";
    EXPECT_NE(test::readFileBytes(target), old);
  }
}

}  // namespace
}  // namespace grx
