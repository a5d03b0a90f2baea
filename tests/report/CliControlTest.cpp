// grx1-cli control: argument errors, the exit code by the lots' verdicts and where the requirements
// come from, the JSON form of two lots, and the output forms by --format and extension.
#include "ControlSets.h"
#include "cli/CliControl.h"
#include "data/ProjectFile.h"
#include "support/CliRun.h"
#include "support/FileBytes.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

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

TEST_F(CliControl, ExitOneWhenALotFailsWithRequirementsFromTheFileTheWindowKeepsOrNamedOrGiven) {
  const std::pair<QStringList, int> cases[] = {
      {{}, 0},  // no requirements: no verdicts
      {{"--require-dyn", "30"}, 0},
      {{"--require-dyn", "40"}, 1},  // "Парк" at 30
      {{"--requirements", path("req20.json")}, 0},
      {{"--requirements", path("req20.json"), "--require-dyn", "40"}, 1},
      {{"--requirements", path("req20.json"), "--require-stat", "101"}, 1},
      {{"--requirements", path("req20.json"), "--max-sv", "3.9"}, 1},
  };
  for (const auto& [args, code] : cases) EXPECT_EQ(run(args), code) << args.join(u' ').toStdString();
  ASSERT_TRUE(test::writeFileBytes(dir_.filePath(QStringLiteral("GRX1-control.json")), kRequire40));
  EXPECT_EQ(run({}), 1);
  EXPECT_EQ(run({"--rule", "stat"}), 0);  // too few points in either lot
  EXPECT_EQ(run({"--requirements", path("req20.json")}), 0);
}

TEST_F(CliControl, JsonFormOfTwoLots) {
  QString out;
  ASSERT_EQ(run({"--require-dyn", "40", "--format", "json"}, &out), 1);
  // Lot 1: 50, 60, 70: s = 10, CV = 1/6, 60 - 1.28 * 10 = 47.2. No impact lasts 16 to 19 ms.
  const QByteArray expected = R"({"lots": [
    {"object": "Дорога", "material": "Песок", "n": 3, "mean": 60, "sd": 10, "cv": 0.16666666666666666,
     "min": 50, "max": 70, "below": 0, "characteristic": 47.2, "verdict": "pass"},
    {"object": "Парк", "material": "Глина", "n": 1, "mean": 30, "sd": null, "cv": null,
     "min": 30, "max": 30, "below": 1, "characteristic": null, "verdict": "fail"}],
   "points": [
    {"series": 0, "object": "Дорога", "material": "Песок", "dyn": 50, "stat": 100, "sv": 4,
     "flags": {"duration": 1, "nonfinite": 0, "sv": 0}, "verdict": "pass"},
    {"series": 1, "object": "Дорога", "material": "Песок", "dyn": 60, "stat": 100, "sv": 4,
     "flags": {"duration": 1, "nonfinite": 0, "sv": 0}, "verdict": "pass"},
    {"series": 2, "object": "Парк", "material": "Глина", "dyn": 30, "stat": 100, "sv": 4,
     "flags": {"duration": 1, "nonfinite": 0, "sv": 0}, "verdict": "fail"},
    {"series": 3, "object": "Дорога", "material": "Песок", "dyn": 70, "stat": 100, "sv": 4,
     "flags": {"duration": 1, "nonfinite": 0, "sv": 0}, "verdict": "pass"}]})";
  EXPECT_EQ(QJsonDocument::fromJson(out.toUtf8()), QJsonDocument::fromJson(expected)) << out.toStdString();
}

TEST_F(CliControl, FormsByFormatOrExtension) {
  const struct {
    QStringList args;
    const char* file;
    QByteArray start;
  } cases[] = {
      {{}, nullptr, "Object\tMaterial\tn\tMean, MPa\t"},
      {{"-o", path("p.pdf")}, "p.pdf", "%PDF"},
      {{"-o", path("p.txt"), "--lang", "ru"}, "p.txt", "Протокол приёмки\r\nТребования\r\n"},
      {{"--format", "csv", "-o", path("t.txt")}, "t.txt", "Object;Material;n;Mean, MPa;"},
      {{"-o", path("t.csv"), "--format", "text"}, "t.csv", "Object\tMaterial\t"},
      {{"-o", path("t.json")}, "t.json", "{"},
  };
  for (const auto& c : cases) {
    QString out;
    EXPECT_EQ(run(c.args, &out), 0) << c.args.join(u' ').toStdString();
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
