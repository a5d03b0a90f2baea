// grx1-cli control: argument errors, the exit code by the lots' verdicts and where the requirements
// come from, the JSON form of two lots, and the output forms by --format and extension.
#include "ControlSets.h"
#include "cli/CliControl.h"
#include "data/ProjectFile.h"
#include "support/CliRun.h"
#include "support/FileBytes.h"

#include "data/ImpactRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <tuple>

namespace grx {
namespace {

const QByteArray kRequire20 = R"({"requirements": [{"object": "*", "material": "*", "minDynamic": 20}]})";
const QByteArray kRequire40 = R"({"requirements": [{"object": "Дорога", "material": "*", "minDynamic": 40},
                                                   {"object": "Парк", "material": "*", "minDynamic": 40}]})";

class CliControl : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(writeProjectFile(*test::twoLotSet(), path("s.grx")), ProjectWriteResult::Ok);
    ASSERT_EQ(writeProjectFile(*std::make_unique<MeasurementSet>(), path("empty.grx")), ProjectWriteResult::Ok);
    ASSERT_TRUE(test::writeFileBytes(path("req20.json"), kRequire20));
  }
  QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
  // Runs with the temporary folder as the one of GRX1.ini; s.grx unless another file comes first.
  int run(QStringList args, QString* out = nullptr, QString* err = nullptr) {
    QString o, e;
    QTextStream os(&o), es(&e);
    if (args.isEmpty() || args[0].startsWith(u'-')) args.prepend(path("s.grx"));
    const int code = runCliControl(args, os, es, dir_.path());
    os.flush();
    es.flush();
    if (out) *out = o;
    if (err) *err = e;
    return code;
  }
  QTemporaryDir dir_;
};

TEST_F(CliControl, ArgumentAndFileErrorsAreOneLineWithExitTwo) {
  ASSERT_TRUE(test::writeFileBytes(path("neg.json"), R"({"requirements": [{"object": "*", "material": "Песок", "minDynamic": -1}]})"));
  const std::pair<QStringList, QString> cases[] = {
      {{"--rule", "median"}, "--rule takes each or stat, not \"median\""},
      {{"--require-dyn", "-5"}, "--require-dyn needs a number of 0 or more, not \"-5\""},
      {{"--seating", "16"}, "--seating takes a whole number from 0 to 15, not \"16\""},
      {{"--k", "11"}, "--k takes a number from 0 to 10, not \"11\""},
      {{"--format", "xml"}, "--format takes text, csv or json, not \"xml\""},
      {{"--k"}, "--k needs a value"},
      {{"-o", "x.doc"},
       "unknown output format \"doc\"; -o takes .json, .csv or a report's .pdf, .png, .xlsx, .ods, "
       ".odt, .html, .txt, .rtf (or give --format)"},
      {{"--requirements", path("none.json")}, "File is not readable or damaged: none.json"},
      {{"--requirements", path("s.grx")}, "s.grx: not JSON: a fault near byte 1"},
      {{"--requirements", path("neg.json"), "--lang", "ru"}, "neg.json: требование 1 (объект «*», материал «Песок»): minDynamic должен быть больше 0"},
      {{path("empty.grx"), "--lang", "ru"}, "Данных нет"},
      {{path("damaged.grx")}, "File is not readable or damaged: damaged.grx"},
      {{path("s.grx"), path("empty.grx")},
       "unexpected argument \"" + path("empty.grx") +
           "\"; usage: grx1-cli control FILE.grx "
           "[--requirements FILE.json] [--require-dyn MPA] [--require-stat MPA] [--max-sv MS] [--seating N] "
           "[--rule each|stat] [--k K] [--format text|csv|json] [-o OUT] [--lang ru|en]"},
      {{"-o", path("no/such/folder/p.pdf")},
       "Can't create data file " + path("no/such/folder/p.pdf") +
           ". It may be no free space or disk is write protected"},
  };
  for (const auto& [args, line] : cases) {
    QString out, err;
    EXPECT_EQ(run(args, &out, &err), 2) << line.toStdString();
    EXPECT_EQ(err, line + u'\n');
    EXPECT_TRUE(out.isEmpty());
  }
}

// Exit 0 only when every lot passes, 1 when one fails, 3 when none fails but one could not be judged
// (said in one line); the requirements from the file the window keeps, a file named, or given.
TEST_F(CliControl, TheExitCodeSaysPassFailOrUndecided) {
  auto noSv = test::twoLotSet();  // the velocity minima 0: s/v cannot be computed
  for (std::uint32_t i = 0; i < noSv->count(); ++i) std::memset(noSv->record(i) + rec::VelocityMin, 0, 4);
  ASSERT_EQ(writeProjectFile(*noSv, path("nosv.grx")), ProjectWriteResult::Ok);
  const QString none = "no requirement is set: nothing was judged\n";
  const std::tuple<QStringList, int, QString> cases[] = {
      {{}, 3, none},
      {{"--require-dyn", "30"}, 0, {}},
      {{"--require-dyn", "40"}, 1, {}},  // "Парк" at 30
      {{"--requirements", path("req20.json")}, 0, {}},
      {{"--requirements", path("req20.json"), "--require-dyn", "40"}, 1, {}},
      {{"--requirements", path("req20.json"), "--require-stat", "101"}, 1, {}},
      {{"--requirements", path("req20.json"), "--max-sv", "3.9"}, 1, {}},
      {{"--max-sv", "5"}, 0, {}},
      {{path("nosv.grx"), "--max-sv", "5"}, 3,
       "undecided: Lot 1: Дорога / Песок: incomplete: 1/1, 2/1, 4/1 not decided; Lot 2: Парк / Глина: incomplete: 3/1 not "
       "decided\n"},
      {{"--rule", "stat", "--require-dyn", "20"}, 3,
       "undecided: Lot 1: Дорога / Песок: too few points; Lot 2: Парк / Глина: too few points\n"},
  };
  for (const auto& [args, code, said] : cases) {
    QString err;
    EXPECT_EQ(run(args, nullptr, &err), code) << args.join(u' ').toStdString();
    EXPECT_EQ(err, said);
  }
  ASSERT_TRUE(test::writeFileBytes(dir_.filePath(QStringLiteral("GRX1-control.json")), kRequire40));
  EXPECT_EQ(run({}), 1);
  EXPECT_EQ(run({"--requirements", path("req20.json")}), 0);
  for (const auto& [option, source] : {std::pair("--k", "file GRX1-control.json"), std::pair("--require-dyn", "given on the command line")}) {
    run({option, "1", "-o", path("p.txt")});  // the protocol's heading says where the requirements came from
    EXPECT_TRUE(QString::fromUtf8(test::readFileBytes(path("p.txt"))).simplified().contains(QString("Requirements ") + source));
  }
}

// One damaged impact of the sample's failing point: that lot is undecided, no longer a pass.
TEST_F(CliControl, ADamagedImpactNeverTurnsAFailingLotIntoAPass) {
  ASSERT_EQ(test::runCliCommand({"sample", "-o", path("big.grx"), "--impacts", "3556"}).code, 0);
  QString err;
  EXPECT_EQ(run({path("big.grx"), "--require-dyn", "22.6912"}, nullptr, &err), 1);
  QByteArray bytes = test::readFileBytes(path("big.grx"));
  const qsizetype record2020 = 16 + 3556 * 4 + 2020 * 2196;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  bytes.replace(record2020 + 76, 4, QByteArray(reinterpret_cast<const char*>(&nan), 4));
  ASSERT_TRUE(test::writeFileBytes(path("big.grx"), bytes));
  EXPECT_EQ(run({path("big.grx"), "--require-dyn", "22.6912"}, nullptr, &err), 3);
  EXPECT_TRUE(err.contains("607/3") && err.count(u'\n') == 1) << err.toStdString();
}

TEST_F(CliControl, JsonFormOfTwoLots) {
  QString out;
  ASSERT_EQ(run({"--require-dyn", "40", "--format", "json"}, &out), 1);
  // Lot 1: 50, 60, 70: s = 10, CV = 16.7 %, 60 - 1.28 * 10 = 47.2. No impact lasts 16 to 19 ms.
  const QByteArray lots = R"([
    {"lot": 1, "object": "Дорога", "material": "Песок", "points": 3, "n": 3, "mean": 60, "sd": 10, "cv": 16.666666666666664,
     "min": 50, "max": 70, "below": 0, "characteristic": 47.2, "required": 40, "verdict": "pass", "reason": null, "undecided": []},
    {"lot": 2, "object": "Парк", "material": "Глина", "points": 1, "n": 1, "mean": 30, "sd": null, "cv": null,
     "min": 30, "max": 30, "below": 1, "characteristic": null, "required": 40, "verdict": "fail", "reason": null, "undecided": []}])";
  const QByteArray point3 = R"({"series": "3/1", "date": "2026-06-02", "time": "10:03:00", "latitude": null, "longitude": null,
     "object": "Парк", "material": "Глина", "lot": 2, "impacts": 1, "dyn": 30, "stat": 100, "sv": 4,
     "flags": {"duration": 1, "nonfinite": 0, "sv": 0}, "verdict": "fail", "reason": null, "impact": null})";
  const QJsonObject got = QJsonDocument::fromJson(out.toUtf8()).object();
  EXPECT_EQ(got["lots"].toArray(), QJsonDocument::fromJson(lots).array()) << out.toStdString();
  EXPECT_EQ(got["points"].toArray().at(2).toObject(), QJsonDocument::fromJson(point3).object());
  QStringList labels;
  for (const QJsonValue& p : got["points"].toArray()) labels << p["series"].toString();
  EXPECT_EQ(labels, QStringList({"1/1", "2/1", "3/1", "4/1"}));
  // The keys in their documented order, one object a line.
  EXPECT_TRUE(out.startsWith("{\n  \"lots\": [\n    {\"lot\": 1, \"object\": \"Дорога\", \"material\": \"Песок\", \"points\": 3, "
                             "\"n\": 3, \"mean\": 60, \"sd\": 10, \"cv\": 16.666666666666664, \"min\": 50,"))
      << out.toStdString();
}

// A requirement given as Ev2 ≥ 60 through a calibration on y = 2x (residuals +1, −2, 0, +2, −1):
// Evd ≥ 31.6396 judges the points, each estimated at 2·Evd with the bound 56.7245 at Evd 30.
TEST_F(CliControl, ACalibratedRequirementJudgesThePointsAndEstimatesTheirReference) {
  ASSERT_TRUE(test::writeFileBytes(path("cal.json"), R"({"version": 2,
      "requirements": [{"object": "*", "material": "*", "calibration": "Sand", "minReference": 60}],
      "calibrations": [{"name": "Sand", "quantity": "Ev2", "pairs": [[10, 21], [20, 38], [30, 60], [40, 82], [50, 99]]}]})"));
  QString out;
  ASSERT_EQ(run({"--requirements", path("cal.json"), "--format", "json"}, &out), 1);  // "Парк" at 30
  const QJsonObject got = QJsonDocument::fromJson(out.toUtf8()).object();
  EXPECT_NEAR(got["lots"].toArray().at(0)["required"].toDouble(), 31.63957775, 1e-7);
  const QJsonArray points = got["points"].toArray();
  const QJsonObject park = points.at(2).toObject();
  EXPECT_EQ(park["verdict"].toString(), "fail");
  EXPECT_EQ(park["calibration"].toString(), "Sand");
  EXPECT_NEAR(park["reference"].toDouble(), 60, 1e-9);
  EXPECT_NEAR(park["referenceLower"].toDouble(), 56.72451129, 1e-7);
  EXPECT_EQ(park["outsideCalibration"].toBool(), false);
  QList<bool> outside;
  for (const QJsonValue& p : points) outside << p["outsideCalibration"].toBool();
  EXPECT_EQ(outside, QList<bool>({false, true, false, true}));  // 50, 60, 30 and 70 against 10 to 50
}

TEST_F(CliControl, FormsByFormatOrExtension) {
  const struct {
    QStringList args;
    const char* file;
    QByteArray start;
  } cases[] = {
      {{}, nullptr, "№\tObject\tMaterial\tn\tMean, MPa\t"},
      {{"-o", path("p.pdf")}, "p.pdf", "%PDF"},
      {{"-o", path("p.txt"), "--lang", "ru"}, "p.txt", "Протокол приёмки\r\nИзмерения "},
      {{"--format", "csv", "-o", path("t.txt")}, "t.txt", "№;Object;Material;n;Mean, MPa;"},
      {{"-o", path("t.csv"), "--format", "text"}, "t.csv", "№\tObject\tMaterial\t"},
      {{"-o", path("t.json")}, "t.json", "{"},
  };
  for (const auto& c : cases) {
    QString out;
    EXPECT_EQ(run(c.args, &out), 3) << c.args.join(u' ').toStdString();  // no requirement: nothing judged
    const QByteArray bytes = c.file ? test::readFileBytes(path(c.file)) : out.toUtf8();
    EXPECT_TRUE(bytes.startsWith(c.start)) << bytes.left(80).toStdString();
    EXPECT_EQ(out.isEmpty(), c.file != nullptr);
  }
  QString out;
  run({"--lang", "ru"}, &out);
  EXPECT_TRUE(out.contains(QStringLiteral("Глина\t1\t30,0\t-\t-\t30,0\t30,0\t\t\t-\t\t\r\n\r\n№\tДата\tВремя\t")));
}

// A name keeps its series on one line in the series table and the GIS CSV; a CSV name is no formula.
TEST_F(CliControl, NamesInTheSeriesTableTheGisCsvAndTheControlCsv) {
  const struct {
    QString name, line, geoCell, controlCell;
  } cases[] = {
      {"=1+2", "=1+2", ",'=1+2,", ";'=1+2;"},           {"+7 слой", "+7 слой", ",'+7 слой,", ";'+7 слой;"},
      {"-щебень", "-щебень", ",'-щебень,", ";'-щебень;"}, {"@A1", "@A1", ",'@A1,", ";'@A1;"},
      {"=\nA", "= A", ",'= A,", ";\"'=\nA\";"},           {"a\r\nb", "a  b", ",a  b,", ";\"a\r\nb\";"},
      {"-12,5", "-12,5", ",\"-12,5\",", ";-12,5;"},  // a number stays a number
  };
  std::vector<test::RecordBuilder> records(std::size(cases));
  for (std::uint32_t k = 0; k < records.size(); ++k)
    records[k].series(k + 1).soil(cases[k].name).coordinates(test::coordinate(5509, 0), test::coordinate(3730, 0));
  MeasurementSet set;
  test::fillSet(set, records);
  ASSERT_EQ(writeProjectFile(set, path("n.grx")), ProjectWriteResult::Ok);
  const QString series = test::runCliCommand({"series", path("n.grx")}).out;
  ASSERT_EQ(test::runCliCommand({"geo", path("n.grx"), "-o", path("n.csv")}).code, 0);
  const QString geo = QString::fromUtf8(test::readFileBytes(path("n.csv")));
  QString control;
  run({path("n.grx"), "--require-dyn", "1", "--format", "csv"}, &control);
  for (const auto& c : cases)
    EXPECT_TRUE(series.contains(u'\t' + c.line + u'\t') && geo.contains(c.geoCell) && control.contains(c.controlCell))
        << c.name.toStdString();
}

}  // namespace
}  // namespace grx
