#include "data/ProjectFile.h"

#include "data/SampleMeasurements.h"
#include "platform/AppPaths.h"
#include "support/FileBytes.h"
#include "support/RecordBuilder.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

namespace grx {
namespace {

using test::readFileBytes;

void putBytes(const QString& path, const QByteArray& bytes) { ASSERT_TRUE(test::writeFileBytes(path, bytes)); }

// Everything of a set that a reader can see, for before/after comparisons.
QByteArray snapshot(const MeasurementSet& set) {
  QByteArray s(reinterpret_cast<const char*>(set.directory()), kDirectorySize);
  s.append(reinterpret_cast<const char*>(set.recordStore()), qsizetype(set.count()) * kRecordSize);
  s.append(reinterpret_cast<const char*>(set.currentRecord()), kRecordSize);
  for (std::uint32_t st : set.seriesStarts()) s.append(QByteArray::number(st) + ',');
  s.append(QByteArray::number(set.count()) + '/' + QByteArray::number(set.currentIndex()));
  return s;
}

class ProjectFileTest : public ::testing::Test {
 protected:
  QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

  QTemporaryDir dir_;
  std::unique_ptr<MeasurementSet> shown_ = std::make_unique<MeasurementSet>();
  std::unique_ptr<MeasurementSet> staging_ = std::make_unique<MeasurementSet>();
};

TEST_F(ProjectFileTest, ThreeImpactsMake6616Bytes) {
  test::fillSet(*shown_, test::recordsWithSeries({5, 5, 7}));
  ASSERT_EQ(writeProjectFile(*shown_, path("three.grx")), ProjectWriteResult::Ok);
  const QByteArray bytes = readFileBytes(path("three.grx"));
  ASSERT_EQ(bytes.size(), 6616);
  EXPECT_EQ(std::memcmp(bytes.constData(), "GRX-1.0\0", 8), 0);
  EXPECT_EQ(readU32(reinterpret_cast<const std::uint8_t*>(bytes.constData()) + 8), 12u);
  EXPECT_EQ(readU32(reinterpret_cast<const std::uint8_t*>(bytes.constData()) + 12), 6588u);
  EXPECT_EQ(bytes.mid(16, 12), QByteArray(reinterpret_cast<const char*>(shown_->directory()), 12));
  EXPECT_EQ(bytes.mid(28), QByteArray(reinterpret_cast<const char*>(shown_->recordStore()), 3 * kRecordSize));
}

TEST_F(ProjectFileTest, SaveOpenSaveIsByteIdentical) {
  generateSampleMeasurements(*shown_, 250, 7);
  ASSERT_EQ(writeProjectFile(*shown_, path("a.grx")), ProjectWriteResult::Ok);
  auto reopened = std::make_unique<MeasurementSet>();
  ASSERT_EQ(openProjectFile(path("a.grx"), *reopened, *staging_), ProjectReadResult::Ok);
  EXPECT_EQ(reopened->count(), 250u);
  EXPECT_EQ(reopened->seriesStarts(), shown_->seriesStarts());
  EXPECT_EQ(std::memcmp(reopened->recordStore(), shown_->recordStore(), 250 * kRecordSize), 0);
  EXPECT_EQ(std::memcmp(reopened->directory(), shown_->directory(), 250 * kDirectoryEntrySize), 0);
  ASSERT_EQ(writeProjectFile(*reopened, path("b.grx")), ProjectWriteResult::Ok);
  EXPECT_EQ(readFileBytes(path("a.grx")), readFileBytes(path("b.grx")));
}

TEST_F(ProjectFileTest, LargestFileOpens) {
  generateSampleMeasurements(*shown_, kMaxRecords, 3);
  ASSERT_EQ(writeProjectFile(*shown_, path("full.grx")), ProjectWriteResult::Ok);
  EXPECT_EQ(QFileInfo(path("full.grx")).size(), 16 + 2200 * kMaxRecords);
  auto other = std::make_unique<MeasurementSet>();
  ASSERT_EQ(openProjectFile(path("full.grx"), *other, *staging_), ProjectReadResult::Ok);
  EXPECT_EQ(other->count(), std::uint32_t(kMaxRecords));
}

TEST_F(ProjectFileTest, EmptyFileOpensAsAnEmptySet) {
  generateSampleMeasurements(*shown_, 10, 1);
  putBytes(path("empty.grx"), QByteArray("GRX-1.0\0", 8) + QByteArray(8, '\0'));
  ASSERT_EQ(openProjectFile(path("empty.grx"), *shown_, *staging_), ProjectReadResult::Ok);
  EXPECT_TRUE(shown_->isEmpty());
  EXPECT_EQ(shown_->seriesCount(), 0u);
}

QByteArray header(std::uint32_t d, std::uint32_t r, const char* magic = "GRX-1.0") {
  QByteArray h(magic, 7);
  h.append('\0');
  std::uint8_t sizes[8];
  writeU32(sizes, d);
  writeU32(sizes + 4, r);
  h.append(reinterpret_cast<const char*>(sizes), 8);
  return h;
}

TEST_F(ProjectFileTest, DamagedFilesLeaveTheShownSetUntouched) {
  generateSampleMeasurements(*shown_, 3, 5);
  ASSERT_EQ(writeProjectFile(*shown_, path("good.grx")), ProjectWriteResult::Ok);
  const QByteArray good = readFileBytes(path("good.grx"));
  const QByteArray body = good.mid(16);

  struct Case {
    const char* what;
    QByteArray bytes;
  };
  QByteArray spaceMagic = good;
  spaceMagic[7] = ' ';
  QByteArray otherMagic = good;
  otherMagic[6] = '1';
  const Case cases[] = {
      {"space instead of the zero byte", spaceMagic},
      {"other version", otherMagic},
      {"one byte longer", good + 'x'},
      {"one byte shorter", good.left(good.size() - 1)},
      {"header cut short", good.left(10)},
      {"no bytes at all", QByteArray()},
      {"directory too large", header(14232, 0) + QByteArray(14232, '\x01')},
      {"directory not whole entries", header(6, 2196 * 3 - 6) + body},
      // Only the entry rule catches these: D / 4 entries and R = 2196 per entry add up.
      {"5 directory bytes, one record", header(5, 2196) + body.left(5 + 2196)},
      {"6 directory bytes, one record", header(6, 2196) + body.left(6 + 2196)},
      {"11 directory bytes, two records", header(11, 2 * 2196) + body.left(11 + 2 * 2196)},
      {"records do not match entries", header(8, 2196 * 3 + 4) + body},
      {"records without directory", header(0, 2196) + QByteArray(2196, '\0')},
      {"sizes that wrap around", header(0xFFFFFFF0u, 0x10 + 12 + 2196 * 3) + body},
  };
  // The shown set has been drawn from: its current record and index must survive as well.
  shown_->selectImpact(2);
  shown_->setCurrentIndex(2);
  const QByteArray before = snapshot(*shown_);
  for (const Case& c : cases) {
    putBytes(path("bad.grx"), c.bytes);
    EXPECT_EQ(openProjectFile(path("bad.grx"), *shown_, *staging_), ProjectReadResult::Damaged) << c.what;
    EXPECT_EQ(snapshot(*shown_), before) << c.what;
  }
  EXPECT_EQ(openProjectFile(path("missing.grx"), *shown_, *staging_), ProjectReadResult::CannotOpen);
  EXPECT_EQ(snapshot(*shown_), before);
}

// A save file that fails after a number of bytes, as a full disk does.
class FailingSaveFile : public QSaveFile {
 public:
  FailingSaveFile(const QString& name, qint64 budget) : QSaveFile(name), budget_(budget) {}

 protected:
  qint64 writeData(const char* data, qint64 len) override {
    if (len > budget_) return -1;
    budget_ -= len;
    return QSaveFile::writeData(data, len);
  }

 private:
  qint64 budget_;
};

TEST_F(ProjectFileTest, AFailedSaveKeepsTheExistingFile) {
  generateSampleMeasurements(*shown_, 20, 2);
  ASSERT_EQ(writeProjectFile(*shown_, path("keep.grx")), ProjectWriteResult::Ok);
  const QByteArray original = readFileBytes(path("keep.grx"));
  generateSampleMeasurements(*shown_, 30, 9);
  for (qint64 budget : {0, 16, 16 + 80, 5000}) {
    FailingSaveFile file(path("keep.grx"), budget);
    EXPECT_EQ(writeProjectFile(*shown_, file), ProjectWriteResult::WriteIncomplete) << budget;
    EXPECT_EQ(readFileBytes(path("keep.grx")), original) << budget;
  }
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"keep.grx"});  // no temporary left
}

TEST_F(ProjectFileTest, SaveIntoAMissingFolderCannotCreate) {
  generateSampleMeasurements(*shown_, 2, 2);
  EXPECT_EQ(writeProjectFile(*shown_, path("no-such-folder/x.grx")), ProjectWriteResult::CannotCreate);
}

TEST(ProjectFileNames, SaveExtensionRule) {
  struct Case {
    const char* chosen;
    const char* result;
    bool askAgain;
  };
  for (const Case& c : {Case{"run.grx", "run.grx", false}, Case{"run.GRX", "run.GRX.grx", false},
                        Case{"run.", "run.grx", false}, Case{"run.mtgrx", "run.grx", true},
                        Case{"data.txt", "data.txt.grx", false}, Case{"run", "run.grx", false},
                        Case{"/home/a.b/run", "/home/a.b/run.grx", false},
                        Case{"C:\\My data\\x.grx", "C:\\My data\\x.grx", false}}) {
    const SaveNameDecision d = projectSaveName(QString::fromUtf8(c.chosen));
    EXPECT_EQ(d.fileName, QString::fromUtf8(c.result)) << c.chosen;
    EXPECT_EQ(d.askAgain, c.askAgain) << c.chosen;
  }
}

TEST(ProjectFileNames, NameListFilterRule) {
  struct Case {
    const char *name, *result;
  };
  for (const Case& c : {Case{"run.grx", "run.mtgrx"}, Case{"run.", "run.mtgrx"}, Case{"run.mtgrx", "run.mtgrx"},
                        Case{"run.txt", "run.txt.mtgrx"}, Case{"run", "run.mtgrx"}})
    EXPECT_EQ(nameForNameListFilter(QString::fromUtf8(c.name)), QString::fromUtf8(c.result)) << c.name;
}

TEST(ProjectFileNames, ProposedFolder) {
  QTemporaryDir dir;
  const QString program = QStringLiteral("/opt/grx1");
  const QString sep = pathSeparator();
  const QString existing = QDir::toNativeSeparators(dir.path());
  struct Case {
    QString lastReadPath, expected;
  };
  for (const Case& c : {Case{QString(), program + sep}, Case{QStringLiteral("/no/such/folder/"), program + sep},
                        Case{existing, existing + sep}, Case{existing + sep, existing + sep}})
    EXPECT_EQ(proposedFolder(c.lastReadPath, program), c.expected) << c.lastReadPath.toStdString();
}

TEST(ProjectFileNames, FolderOfAFileName) {
  EXPECT_EQ(folderWithSeparator(QStringLiteral("/data/run.grx")), QStringLiteral("/data/"));
  EXPECT_EQ(folderWithSeparator(QStringLiteral("C:\\My data\\x.grx")), QStringLiteral("C:\\My data\\"));
  EXPECT_EQ(folderWithSeparator(QStringLiteral("x.grx")), QString());
}

}  // namespace
}  // namespace grx
