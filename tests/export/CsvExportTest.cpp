// CSV files of one impact, checked line by line against values worked out by hand.
#include "export/CsvExport.h"

#include "support/RecordBuilder.h"

#include <gtest/gtest.h>

namespace grx {
namespace {

using test::RecordBuilder;

QStringList linesOf(const QByteArray& csv) { return QString::fromLatin1(csv).split(u'\n'); }

// Acceleration maximum 32767 makes the acceleration scale exactly 1 and full scale 32767 the force
// scale, so every value below is the code sum times the period factors.
// Codes 1000, -500, 250, then 0: V = 1000, 500, 750, 750 ...; S = 1000, 1500, 2250, 3000 ... 384000.
RecordBuilder unitScaleRecord() {
  RecordBuilder r;
  r.series(3, 2).stamp(7, 3, 16, 14, 5, 9).peaks(-100, 32767, 0, 0).f32(rec::ForceFullScale, 32767);
  r.accelCode(0, 1000).accelCode(1, -500).accelCode(2, 250).forceCode(0, 1234).forceCode(1, -7);
  return r;
}

TEST(CsvExport, SingleSignalFilesHaveSixHeaderLinesAndOneValuePerSample) {
  const RecordBuilder r = unitScaleRecord();
  struct Case {
    ExportSignal signal;
    const char* header;
    QStringList first;  // lines 7, 8, 9
    QString last;       // line 518
  };
  const QString stamp = QStringLiteral(";Series/Impact: 3/2\n;Date: 07.03.16\n;Time: 14:05:09\n;Period, 64 mkS\n");
  const Case cases[] = {
      {ExportSignal::Acceleration, ";GRX-1.0, accelerate|m/c^2", {"1000,0", "-500,0", "250,0"}, "0,0"},
      // the running sum includes sample 0: line 7 is A[0] x scale x 0.000064
      {ExportSignal::Velocity, ";GRX-1.0, velocity|m/c", {"0,064", "0,032", "0,048"}, "0,048"},
      {ExportSignal::Displacement, ";GRX-1.0, displacement|mm", {"0,004", "0,006", "0,009"}, "1,573"},
      {ExportSignal::Force, ";GRX-1.0, force|kN", {"1234,000", "-7,000", "0,000"}, "0,000"},
  };
  for (const Case& c : cases) {
    const QByteArray csv = signalCsv(ImpactRecordView(r.bytes()), c.signal);
    const QStringList header = QString::fromLatin1(c.header).split(u'|');
    EXPECT_TRUE(csv.startsWith((header[0] + u'\n' + stamp + ";Units: " + header[1] + u'\n').toLatin1())) << csv.left(200).data();
    EXPECT_EQ(csv.count('\n'), 518) << c.header;
    EXPECT_FALSE(csv.contains('\r'));
    const QStringList lines = linesOf(csv);
    ASSERT_EQ(lines.size(), 519);  // the file ends with the line feed of line 518
    EXPECT_EQ(lines[518], "");
    EXPECT_EQ(lines.mid(6, 3), c.first) << c.header;
    EXPECT_EQ(lines[517], c.last) << c.header;
  }
}

TEST(CsvExport, AllSignalsFileInBothViews) {
  const RecordBuilder r = unitScaleRecord();
  const QByteArray full = allSignalsCsv(ImpactRecordView(r.bytes()), false);
  const QByteArray reduced = allSignalsCsv(ImpactRecordView(r.bytes()), true);
  EXPECT_EQ(full.count('\n'), 523);
  EXPECT_EQ(reduced.count('\n'), 521);
  const QStringList f = linesOf(full);
  EXPECT_EQ(f.mid(0, 13), QStringList({";GRX-1.0, accelerate, velocity, displacement, force", ";Series/Impact: 3/2",
                                       ";Date: 07.03.16", ";Time: 14:05:09", ";Period, 64 mkS", ";Units:",
                                       "; - accelerate: m/s^2", "; - velocity: m/s", "; - displacement: mm",
                                       "; - force: kN", "Accelerate; Velocity; Displacement; Force",
                                       "1000,0; 0,064; 0,004; 1234,000", "-500,0; 0,032; 0,006; -7,000"}));
  EXPECT_EQ(f[522], "0,0; 0,048; 1,573; 0,000");
  const QStringList s = linesOf(reduced);
  EXPECT_EQ(s.mid(0, 11), QStringList({";GRX-1.0, displacement, force", ";Series/Impact: 3/2", ";Date: 07.03.16",
                                       ";Time: 14:05:09", ";Period, 64 mkS", ";Units:", "; - displacement: mm",
                                       "; - force: kN", "Accelerate; Velocity; Displacement; Force",
                                       "0,004; 1234,000", "0,006; -7,000"}));
  EXPECT_EQ(s[520], "1,573; 0,000");
}

TEST(CsvExport, AccelerationScaleTakesTheLargerPeakAndTheMaximumOnTies) {
  struct Case {
    float min, max;
    const char* line7;  // code 32767 x P / 32767 = P
  };
  for (const Case& c : {Case{-20, 10, "20,0"}, Case{-10, 20, "20,0"}, Case{-15, 15, "15,0"}, Case{-15.04f, -30, "15,0"}}) {
    RecordBuilder r;
    r.peaks(c.min, c.max, 0, 0).accelCode(0, 32767);
    EXPECT_EQ(linesOf(signalCsv(ImpactRecordView(r.bytes()), ExportSignal::Acceleration))[6], c.line7) << c.min << " " << c.max;
  }
}

TEST(CsvExport, ForceScaleDividesTheFullScaleBy32767) {
  RecordBuilder r;
  r.f32(rec::ForceFullScale, 25000).forceCode(0, 32767).forceCode(1, 16384).forceCode(2, -100);
  const QStringList lines = linesOf(signalCsv(ImpactRecordView(r.bytes()), ExportSignal::Force));
  EXPECT_EQ(lines.mid(6, 3), QStringList({"25000,000", "12500,381", "-76,296"}));
}

TEST(CsvExport, DisplacementStaysExactWhereThirtyTwoBitSumsWouldOverflow) {
  RecordBuilder r;
  r.peaks(-1, 32767, 0, 0).accelCodes(32767);
  // S[511] = 32767 x 512 x 513 / 2 = 4303224576; x 0.000064^2 x 1000 = 17626,0078...
  const QStringList lines = linesOf(signalCsv(ImpactRecordView(r.bytes()), ExportSignal::Displacement));
  EXPECT_EQ(lines[517], "17626,008");
}

TEST(CsvExport, SeriesAndImpactZeroLeaveTheHeaderEmpty) {
  struct Case {
    std::uint32_t series, impact;
    const char* line2;
  };
  for (const Case& c : {Case{3, 0, ";Series/Impact: 3/"}, Case{0, 0, ";Series/Impact: /"}, Case{1234, 15, ";Series/Impact: 1234/15"}}) {
    RecordBuilder r;
    r.series(c.series, c.impact);
    EXPECT_EQ(linesOf(signalCsv(ImpactRecordView(r.bytes()), ExportSignal::Force))[1], c.line2);
    EXPECT_EQ(linesOf(allSignalsCsv(ImpactRecordView(r.bytes()), true))[1], c.line2);
  }
}

}  // namespace
}  // namespace grx
