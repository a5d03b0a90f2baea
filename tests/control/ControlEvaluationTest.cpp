// Compaction control: points, lots and their verdicts against values worked out by hand, the
// impact duration of a force pulse of known width, and the requirements file.
#include "control/ControlEvaluation.h"
#include "control/ControlTables.h"
#include "export/ClipboardText.h"
#include "support/FileBytes.h"
#include "support/RecordBuilder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace grx {
namespace {

using test::RecordBuilder;

struct Series {
  const char* object;
  const char* material;
  std::vector<float> dynamic;  // one impact each
  float statics = 100;
  int day = 1;
  float velocityMin = -0.5f;  // 0: s/v cannot be computed
};

ControlResult evaluate(const std::vector<Series>& series, const ControlSetup& setup) {
  std::vector<RecordBuilder> records;
  for (std::size_t k = 0; k < series.size(); ++k)
    for (std::size_t j = 0; j < series[k].dynamic.size(); ++j)
      records.push_back(RecordBuilder()
                            .series(std::uint32_t(k + 1), std::uint32_t(j + 1))
                            .stamp(series[k].day, 6, 26, 10, int(k), 0)
                            .object(QString::fromUtf8(series[k].object))
                            .soil(QString::fromUtf8(series[k].material))
                            .moduli(series[k].dynamic[j], series[k].statics)
                            .peaks(-20, 20, series[k].velocityMin, 0.5f)
                            .displacement(2));  // s/v 4 ms
  auto set = std::make_unique<MeasurementSet>();
  test::fillSet(*set, records);
  return evaluateControl(*set, setup);
}

ControlSetup setupOf(std::vector<Requirement> requirements, LotRule rule = LotRule::EachPoint, int seating = 0) {
  ControlSetup s;
  s.requirements = QList<Requirement>(requirements.begin(), requirements.end());
  s.settings.lotRule = rule;
  s.settings.seatingImpacts = seating;
  return s;
}

Requirement req(double dyn, const char* object = "*", const char* material = "*") {
  Requirement r;
  r.object = QString::fromUtf8(object);
  r.material = QString::fromUtf8(material);
  r.minDynamic = dyn;
  return r;
}

constexpr double NaN = kNoValue;

Requirement svReq(double dyn, double maxSv) {
  Requirement r = req(dyn);
  r.maxSv = maxSv;
  return r;
}

// Nothing that could not be judged passes: the verdicts (with their reasons) of the points and the
// lot, and the lot's statistics over its decided points, all worked out by hand.
TEST(ControlEvaluation, LotStatisticsAndVerdictsWorkedOutByHand) {
  const std::vector<Series> three = {{"Road", "Sand", {50}}, {"Road", "Sand", {60}}, {"Road", "Sand", {40}}};
  const std::vector<Series> four = {{"Road", "Sand", {60}}, {"Road", "Sand", {70}}, {"Road", "Sand", {80}}, {"Road", "Sand", {90}}};
  const std::vector<Series> flat = {{"Road", "Sand", {70}}, {"Road", "Sand", {70}}, {"Road", "Sand", {70}}, {"Road", "Sand", {70}}};
  const QString nonFinite1 = "undecided (non-finite modulus in impact 1)";
  const struct {
    const char* name;
    std::vector<Series> series;
    ControlSetup setup;
    QString points;  // the points' verdicts as the tables say them, parted by "|"
    int n;
    double mean, sd, characteristic;
    int below;
    QString lot;
  } cases[] = {
      // A damaged impact never turns a failing lot into a pass: without it the lot is incomplete.
      {"a damaged impact in a lot that would fail", {{"Road", "Sand", {60}}, {"Road", "Sand", {45, NAN}}, {"Road", "Sand", {55}}},
       setupOf({req(50)}), "pass|undecided (non-finite modulus in impact 2)|pass", 2, 57.5, 3.535534, 52.974517, 0,
       "undecided (incomplete: 2/2 not decided)"},
      {"the decided points fail whatever the rest", {{"Road", "Sand", {NAN}}, {"Road", "Sand", {45}}}, setupOf({req(50)}),
       nonFinite1 + "|fail", 1, 45, NaN, NaN, 1, "fail"},
      {"every modulus a NaN", {{"Road", "Sand", {NAN}}, {"Road", "Sand", {NAN}}}, setupOf({req(50)}), nonFinite1 + "|" + nonFinite1,
       0, NaN, NaN, NaN, 0, "undecided (incomplete: 1/1, 2/1 not decided)"},
      {"s/v required, not computable", {{"Road", "Sand", {60}, 100, 1, 0}}, setupOf({svReq(50, 5)}),
       "undecided (s/v not computable)", 0, NaN, NaN, NaN, 0, "undecided (incomplete: 1/1 not decided)"},
      {"s/v required and met", {{"Road", "Sand", {60}}}, setupOf({svReq(50, 5)}), "pass", 1, 60, NaN, NaN, 0, "pass"},
      // Three seating drops left out: (60 + 70) / 2; two series left with nothing.
      {"seating impacts", {{"Road", "Sand", {10, 20, 30, 60, 70}}}, setupOf({req(65)}, LotRule::EachPoint, 3), "pass", 1, 65,
       NaN, NaN, 0, "pass"},
      {"points without impacts after seating", {{"Road", "Sand", {60, 70}}, {"Road", "Sand", {1, 2, 3, 80}}, {"Road", "Sand", {9}}},
       setupOf({req(50)}, LotRule::EachPoint, 3),
       "undecided (no impact after the seating impacts)|pass|undecided (no impact after the seating impacts)", 1, 80, NaN, NaN, 0,
       "undecided (incomplete: 1/2, 3/1 not decided)"},
      // sd = sqrt((0 + 100 + 100) / 2) = 10; 50 - 1.28 * 10 = 37.2; 50 passes at 50.
      {"each point, one below", three, setupOf({req(50)}), "pass|pass|fail", 3, 50, 10, 37.2, 1, "fail"},
      {"statistical, too few", three, setupOf({req(50)}, LotRule::Statistical), "pass|pass|fail", 3, 50, 10, 37.2, 1,
       "undecided (too few points)"},
      // sd = sqrt((225 + 25 + 25 + 225) / 3) = 12.909944; 75 - 1.28 * sd = 58.475272.
      {"statistical, pass", four, setupOf({req(58)}, LotRule::Statistical), "pass|pass|pass|pass", 4, 75, 12.909944, 58.475272, 0, "pass"},
      {"statistical, fail", four, setupOf({req(60)}, LotRule::Statistical), "pass|pass|pass|pass", 4, 75, 12.909944, 58.475272, 0, "fail"},
      {"zero spread at the requirement", flat, setupOf({req(70)}, LotRule::Statistical), "pass|pass|pass|pass", 4, 70, 0, 70, 0, "pass"},
      {"one point", {{"Road", "Sand", {55}}}, setupOf({req(50)}), "pass", 1, 55, NaN, NaN, 0, "pass"},
      {"no requirement matches", {{"Road", "Sand", {55}}}, setupOf({req(50, "Park")}), "undecided (no requirement)", 1, 55, NaN,
       NaN, 0, "undecided (no requirement)"},
      {"no requirement at all", {{"Road", "Sand", {55}}}, setupOf({}), "", 1, 55, NaN, NaN, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ControlResult r = evaluate(c.series, c.setup);
    ASSERT_EQ(r.lots.size(), 1u);
    QStringList points;
    for (const PointResult& p : r.points) points << pointVerdictText(p, Language::English);
    EXPECT_EQ(points.join(u'|'), c.points);
    const LotResult& lot = r.lots[0];
    EXPECT_EQ(lot.n, c.n);
    for (const auto& [got, want] : {std::pair{lot.mean, c.mean}, {lot.sd, c.sd}, {lot.characteristic, c.characteristic}})
      EXPECT_TRUE(std::isnan(want) ? std::isnan(got) : std::abs(got - want) < 1e-5) << got << " for " << want;
    EXPECT_EQ(lot.below, c.below);
    EXPECT_EQ(lotVerdictText(lot, r, Language::English), c.lot);
  }
}

TEST(ControlEvaluation, TheMostSpecificRequirementWinsAndLotsFollowObjectAndMaterial) {
  Requirement stat = req(40, "Дорога", "Песок");
  stat.minStatic = 120;  // the point's static modulus is 100
  const ControlSetup setup = setupOf({req(50), req(80, "Дорога"), req(30, "*", "Песок"), stat});
  const ControlResult r = evaluate({{"Дорога", "Глина", {70}}, {"Парк", "Глина", {70}}, {"Парк", "Песок", {35}},
                                    {"Дорога", "Песок", {70}}, {"Дорога", "Глина", {90}}},
                                   setup);
  constexpr Verdict P = Verdict::Pass, F = Verdict::Fail;
  std::vector<std::pair<int, Verdict>> points;
  for (const PointResult& p : r.points) points.push_back({p.requirement, p.verdict});
  EXPECT_EQ(points, (std::vector<std::pair<int, Verdict>>{{1, F}, {0, P}, {2, P}, {3, F}, {1, P}}));
  ASSERT_EQ(r.lots.size(), 4u);
  EXPECT_EQ(r.lots[0].points, (std::vector<int>{0, 4}));
  EXPECT_EQ(r.lots[0].object, QStringLiteral("Дорога"));
  EXPECT_TRUE(r.anyLotFails());
  EXPECT_EQ(tableCopyText(lotTableText(r, setup, Language::Russian)).section(QStringLiteral("\r\n"), 0, 1),
            QStringLiteral("№\tОбъект\tМатериал\tn\tСреднее, МПа\ts, МПа\tV, %\tМин., МПа\tМакс., МПа\tНиже треб.\tНиже, %\t"
                           "Характ., МПа\tТреб., МПа\tЗаключение\r\n1\tДорога\tГлина\t2\t80,0\t14,1\t17,7\t70,0\t90,0\t1\t50\t"
                           "61,9\t80,0\tне соответствует"));
  ControlSetup byDate = setup;
  byDate.settings.splitLotsByDate = true;
  EXPECT_EQ(evaluate({{"A", "B", {60}}, {"A", "B", {60}, 100, 2}}, byDate).lots.size(), 2u);
}

TEST(ControlEvaluation, AnObjectRowOutranksAMaterialRowAndOfEqualRowsTheFirstApplies) {
  const std::pair<std::vector<Requirement>, int> cases[] = {  // the rows, the one for "Дорога"/"Песок"
      {{req(80, "Дорога"), req(30, "*", "Песок")}, 0}, {{req(30, "*", "Песок"), req(80, "Дорога")}, 1},
      {{req(80, "Дорога"), req(60, "Дорога")}, 0},      {{req(30, "*", "Песок"), req(20, "*", "Песок")}, 0},
      {{req(50), req(40)}, 0}};
  for (const auto& [rows, applies] : cases)
    EXPECT_EQ(evaluate({{"Дорога", "Песок", {70}}}, setupOf(rows)).points.at(0).requirement, applies);
}

TEST(ImpactChecks, DurationIsTheRunAboveATenthOfThePeak) {
  for (const int sign : {1, -1}) {  // the tester may store the force negative
    RecordBuilder r;
    for (int i = 100; i < 300; ++i) r.forceCode(i, std::int16_t(sign * 1000));  // 200 samples at the peak
    for (int i = 90; i < 100; ++i) r.forceCode(i, std::int16_t(sign * 101));    // 10 just beyond a tenth
    for (int i = 300; i < 310; ++i) r.forceCode(i, std::int16_t(sign * 100));   // a tenth itself is not
    r.forceCode(310, std::int16_t(-sign * 900));                                 // the other side ends the run
    r.forceCode(400, std::int16_t(sign * 900));                                  // apart from the run
    EXPECT_DOUBLE_EQ(impactDurationMs(ImpactRecordView(r.bytes())), 210 * 0.064) << sign;
  }
  EXPECT_EQ(impactDurationMs(ImpactRecordView(RecordBuilder().bytes())), 0);
  RecordBuilder r;
  r.forceCode(5, 1000).moduli(NAN, 1).peaks(0, 0, -0.5f, 0).displacement(3);
  const ImpactFlags f = impactFlags(ImpactRecordView(r.bytes()), 16, 19, 5);
  EXPECT_TRUE(f.duration && f.nonFinite && f.svAbove);  // 0.064 ms, NaN, 6 ms above 5
}

TEST(ControlSetupFile, RefusalsNameTheEntryAndRoundTrip) {
  // A requirements list around the entry under test: {"requirements": [ENTRY]}.
  const auto list = [](const char* entries) { return "{\"requirements\": [" + QByteArray(entries) + "]}"; };
  const std::pair<QByteArray, const char*> cases[] = {
      {list(R"({"object": "*", "material": "*", "minDynamic": 50}, {"object": "*", "material": "Глина", "minDynamic": 9},
               {"object": "*", "material": "Песок", "minDynamic": 0})"),
       R"(r.json: requirement 3 (object "*", material "Песок"): minDynamic must be above 0)"},
      {list(R"({"object": "A", "material": "*", "minDynamic": -5})"), R"(r.json: requirement 1 (object "A", material "*"): minDynamic must be above 0)"},
      {list(R"({"object": "A", "material": "*", "minDynamic": 5, "minStatic": 0})"), R"(r.json: requirement 1 (object "A", material "*"): minStatic must be above 0)"},
      {list(R"({"object": "A", "material": "*", "minDynamic": 5, "maxSv": -0.1})"), R"(r.json: requirement 1 (object "A", material "*"): maxSv must not be below 0)"},
      {list(R"({"object": "*", "material": "*", "minDynamic": 5}, {"object": "*", "material": "Песок", "minDynamic": 5},
               {"object": "A", "material": "*", "minDynamic": 5}, {"object": " * ", "material": "Песок ", "minDynamic": 7})"),
       R"(r.json: requirement 4 duplicates requirement 2 (object "*", material "Песок"))"},
      {list(R"({"object": "*", "material": "*", "minDynamik": 80})"), R"(r.json: requirement 1: unknown key "minDynamik")"},
      {list(R"({"object": "*", "material": "*", "minDynamic": "80"})"), R"(r.json: requirement 1 (object "*", material "*"): minDynamic must be a number)"},
      {list(R"({"object": "*"})"), "r.json: requirement 1: material must be text"},
      {list("5"), "r.json: requirement 1: not an object"},
      {R"({"requirements": [], "settings": {"seating": 1}})", R"(r.json: "settings": unknown key "seating")"},
      {R"({"requirements": [], "settings": {"seatingImpacts": 1.5}})", R"(r.json: "settings": seatingImpacts must be a whole number from 0 to 15)"},
      {R"({"requirements": [], "settings": {"lotRule": "median"}})", R"(r.json: "settings": lotRule must be "each" or "statistical")"},
      {R"({"requirements": [], "settings": {"durationMinMs": 20, "durationMaxMs": 19}})",
       R"(r.json: "settings": durationMinMs must be a number above 0 and below durationMaxMs)"},
      {R"({"requirements": [], "lotRule": "each"})", R"(r.json: top level: unknown key "lotRule")"},
      {R"({"requirements": {}})", "r.json: top level: requirements must be a list"},
      {"[]", "r.json: not a JSON object"},
      {R"({"requirements": [})", "r.json: not JSON: a fault near byte 19"},
  };
  ControlSetup setup = setupOf({req(80, "Дорога", "Песок"), req(50)}, LotRule::Statistical, 3);
  setup.requirements[0].maxSv = 0;
  for (const auto& [json, line] : cases) {
    ControlSetup read = setup;
    const SetupReadResult result = parseControlSetup(json, read);
    EXPECT_EQ(result.status, SetupReadResult::Refused);
    EXPECT_EQ(setupRefusalLine("r.json", result.problem, Language::English), QString::fromUtf8(line));
    EXPECT_EQ(read, setup) << "a refused file changes nothing";
  }
  ControlSetup read;
  EXPECT_EQ(setupProblemText(parseControlSetup(cases[0].first, read).problem, Language::Russian),
            "требование 3 (объект «*», материал «Песок»): minDynamic должен быть больше 0");
  EXPECT_EQ(setupProblemText(parseControlSetup(cases[4].first, read).problem, Language::Russian),
            "требование 4 повторяет требование 2 (объект «*», материал «Песок»)");
  EXPECT_EQ(setupProblemText(parseControlSetup(cases[5].first, read).problem, Language::Russian),
            "требование 1: неизвестный ключ «minDynamik»");

  QTemporaryDir dir;
  const QString path = controlSetupPath(dir.path());
  ASSERT_TRUE(writeControlSetup(path, setup));  // what this program writes it reads again
  ASSERT_EQ(readControlSetup(path, read).status, SetupReadResult::Ok);
  EXPECT_EQ(read, setup);
  EXPECT_EQ(readControlSetup(dir.filePath("none.json"), read).status, SetupReadResult::Missing);
  EXPECT_EQ(setupRefusalLine("d", readControlSetup(dir.path(), read).problem, Language::English),
            "File is not readable or damaged: d");
}

}  // namespace
}  // namespace grx
