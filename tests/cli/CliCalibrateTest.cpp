// grx1-cli calibrate: the statistics of the pairs of a file, and one line with exit 2 for every
// file or pairs that cannot give them.
#include "support/CliRun.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace grx {
namespace {

class CliCalibrate : public ::testing::Test {
 protected:
  QString pairsFile(const QByteArray& bytes) {
    const QString name = dir_.filePath(QStringLiteral("pairs%1.csv").arg(++count_));
    QFile file(name);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return name;
  }
  QTemporaryDir dir_;
  int count_ = 0;
};

// y = 2x with residuals +1, −2, 0, +2, −1: a = 0, b = 2, s = √(10/3), R² = 1 − 10/4010; the
// smallest dynamic modulus whose 90 % lower bound reaches 60 is 31.6396.
TEST_F(CliCalibrate, ThePairsOfAnyCsvFormGiveTheirFitAndTheDerivedRequirement) {
  for (const QByteArray& bytes : {QByteArray("Evd;Ev2\r\n10;21\r\n20;38\r\n30;60\r\n40;82\r\n50;99\r\n"),
                                  QByteArray("10,0\t21,0\n20\t38\n30\t60\n\n40\t82\n50\t99"),
                                  QByteArray("dynamic,reference\n10.0,21\n20,38\n30,60\n40,82.0\n50,99\n")}) {
    const test::CliRun r = test::runCliCommand({"calibrate", pairsFile(bytes), "--require", "60"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("model: linear\nequation: y = 0 + 2·Evd\nn: 5\na: 0\nb: 2\nR²: 0,9975\ns: 1,826\n"
                                    "confidence: 90 %\nt: 1,638\nrange of Evd, MPa: 10,0–50,0\n"
                                    "warning: only 5 pairs (10 or more advised)\nrequired: y ≥ 60 ⇒ Evd ≥ 31,6 MPa\n"));
  }
  const test::CliRun json = test::runCliCommand(
      {"calibrate", pairsFile("10;21\n20;38\n30;60\n40;82\n50;99\n"), "--format", "json", "--confidence", "0.95"});
  ASSERT_EQ(json.code, 0);
  // t(0.95, 3) = 2.353363
  EXPECT_TRUE(json.out.startsWith(QStringLiteral("{\"model\": \"linear\", \"n\": 5, \"a\": 0, \"b\": 2, \"r2\": 0.99750623441396")))
      << json.out.toStdString();
  EXPECT_TRUE(json.out.contains(QStringLiteral("\"confidence\": 0.95, \"t\": 2.35336")));
  EXPECT_TRUE(json.out.endsWith(QStringLiteral("\"required\": null, \"requiredDynamic\": null}\n")));
}

TEST_F(CliCalibrate, FilesAndPairsThatGiveNoFitAreOneLineWithExitTwo) {
  const struct {
    QByteArray bytes;
    QStringList options;
    const char* line;  // after "FILE: " unless it starts with "!"
  } cases[] = {
      {"10;21\n20;38\n30;60\n40;82\n", {}, "the pairs cannot be fitted: fewer than 5 pairs"},
      {"40;21\n40;38\n40;60\n40;82\n40;99\n", {}, "the pairs cannot be fitted: every dynamic modulus is the same"},
      {"10;21\n20;-38\n30;60\n40;82\n50;99\n", {"--model", "power"}, "the pairs cannot be fitted: the power model needs values above 0"},
      {"10;21\n20;38\n30;1e999\n40;82\n50;99\n", {}, "line 3: not two numbers"},
      {"Evd;Ev2\nEvd;Ev2\n", {}, "line 2: not two numbers"},
      {"10;21;5\n", {}, "line 1: not two numbers"},
      {"Evd;Ev2\n", {}, "the file holds no pairs"},
      {"10;21\n20;38\n30;60\n40;82\n50;99\n", {"--require", "97"}, "!97 is not reached within the range 10,0–50,0 MPa of the dynamic modulus"},
      {"10;21\n", {"--confidence", "0.5"}, "!--confidence takes a number from 0.8 to 0.99, not \"0.5\""},
      {"10;21\n", {"--model", "cubic"}, "!--model takes linear or power, not \"cubic\""},
  };
  for (const auto& c : cases) {
    const QString file = pairsFile(c.bytes);
    const test::CliRun r = test::runCliCommand(QStringList{"calibrate", file} + c.options);
    const QString line = QString::fromUtf8(c.line);
    EXPECT_EQ(r.code, 2) << c.line;
    EXPECT_EQ(r.err, (line.startsWith(u'!') ? line.mid(1) : file + QStringLiteral(": ") + line) + u'\n');
    EXPECT_TRUE(r.out.isEmpty());
  }
  const test::CliRun missing = test::runCliCommand({"calibrate", dir_.filePath("none.csv")});
  EXPECT_EQ(missing.code, 2);
  EXPECT_TRUE(missing.err.endsWith(QStringLiteral("none.csv\n")));
}

}  // namespace
}  // namespace grx
