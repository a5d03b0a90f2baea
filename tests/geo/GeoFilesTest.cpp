// Positions in degrees, and the GIS files of grx1-cli geo read back by a real GIS reader (ogrinfo).
#include "control/Requirements.h"
#include "data/ProjectFile.h"
#include "geo/GeoPoints.h"
#include "geo/MapProjection.h"
#include "support/CliRun.h"
#include "support/FileBytes.h"
#include "support/RecordBuilder.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace grx {
namespace {

using test::coordinate;

TEST(GeoPoints, DegreesOfCoordinateWords) {
  struct Case {
    std::int32_t word;
    CoordinateKind kind;
    std::optional<double> degrees;
  };
  const Case cases[] = {
      {coordinate(5509, 26214), CoordinateKind::Latitude, 55.156666564941406},   // 55°09.39999' N
      {coordinate(3352, 0, true), CoordinateKind::Latitude, -33.866666666666667},  // south
      {coordinate(15112, 13107, true), CoordinateKind::Longitude, -151.20333328247070},  // west
      {coordinate(0, 0xFFFF), CoordinateKind::Latitude, 0.016666412353515625},   // 0.99998' N
      {coordinate(9000, 0), CoordinateKind::Latitude, 90.0},
      {coordinate(18000, 0, true), CoordinateKind::Longitude, -180.0},
      {coordinate(9100, 0), CoordinateKind::Latitude, std::nullopt},  // degrees out of range
      {coordinate(18100, 0), CoordinateKind::Longitude, std::nullopt},
      {0, CoordinateKind::Latitude, std::nullopt},                    // nothing recorded
      {std::numeric_limits<std::int32_t>::min(), CoordinateKind::Longitude, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    const auto d = coordinateDegrees(c.word, c.kind);
    ASSERT_EQ(d.has_value(), c.degrees.has_value());
    if (d) {
      EXPECT_NEAR(*d, *c.degrees, 1e-12);
    }
  }
}

TEST(MapProjection, APointOnAZonesCentralMeridianHasTheFalseEastingExactly) {
  const std::tuple<double, double, int> cases[] = {{55.75, 27, 35}, {-33.9, 27, 35}, {0, 3, 31}, {10, -177, 1}, {40, 177, 60}};
  for (const auto& [latitude, longitude, zone] : cases) {
    const MapProjection p(latitude, longitude);
    EXPECT_TRUE(p.zone() == zone && p.toMetres(latitude, longitude).x() == 500000.0) << longitude;
  }
}

// One feature as ogrinfo lists it: its fields and its point.
struct Feature {
  std::map<QString, QString> fields;
  double x = 0, y = 0;
};

std::vector<Feature> readWithOgr(const QString& file, const QStringList& openOptions) {
  QProcess ogr;
  ogr.start("ogrinfo", QStringList{"-ro", "-al", "-q"} + openOptions + QStringList{file});
  EXPECT_TRUE(ogr.waitForFinished(30000));
  EXPECT_EQ(ogr.exitCode(), 0) << ogr.readAllStandardError().toStdString();
  std::vector<Feature> features;
  static const QRegularExpression field(R"(^  (\w+) \(\w+\) = (.*)$)");
  static const QRegularExpression point(R"(^  POINT \((\S+) (\S+)\)$)");
  for (const QString& line : QString::fromUtf8(ogr.readAllStandardOutput()).split(u'\n')) {
    if (line.startsWith("OGRFeature(")) features.emplace_back();
    if (features.empty()) continue;
    if (const auto m = field.match(line); m.hasMatch()) features.back().fields[m.captured(1)] = m.captured(2);
    if (const auto m = point.match(line); m.hasMatch()) {
      features.back().x = m.captured(1).toDouble();
      features.back().y = m.captured(2).toDouble();
    }
  }
  return features;
}

class GeoFiles : public ::testing::Test {
 protected:
  // Series 3 (two impacts, north-east, Cyrillic names), 5 (south-west, a quote and a comma in the
  // material), 7 (the fraction 0xFFFF, longitude 180) and 9 (no latitude: no position). The
  // requirement for the object "Трасса" (a dynamic modulus of 50 MPa) gives 3 a pass and 5 a fail;
  // 7 has none.
  void SetUp() override {
    using test::RecordBuilder;
    auto record = [](std::uint32_t series, std::uint32_t impact, float dyn, const QString& soil, const QString& object,
                     std::int32_t lat, std::int32_t lon) {
      RecordBuilder b;
      b.series(series, impact).stamp(12, 5, 26, 8, 40, 10 * int(impact)).moduli(dyn, dyn + 10).peaks(-10, 10, -0.5f, 0.5f);
      b.displacement(1.25f).soil(soil).object(object).coordinates(lat, lon);
      return b;
    };
    const std::int32_t ne[] = {coordinate(5509, 26214), coordinate(3730, 32768)};
    auto set = std::make_unique<MeasurementSet>();
    test::fillSet(*set, {record(3, 1, 60, "Песок", "Трасса", ne[0], ne[1]), record(3, 2, 61, "Песок", "Трасса", ne[0], ne[1]),
                         record(5, 1, 40.25f, "Щебень \"5,20\"", "Трасса", coordinate(3352, 0, true), coordinate(15112, 13107, true)),
                         record(7, 1, 55, "Глина", "Двор \\2", coordinate(0, 0xFFFF), coordinate(18000, 0)),
                         record(9, 1, 55, "Глина", "Двор", 0, coordinate(3730, 0))});
    ASSERT_EQ(writeProjectFile(*set, path("set.grx")), ProjectWriteResult::Ok);
    ControlSetup setup;
    setup.requirements = {Requirement{"Трасса", "*", 50, std::nullopt, std::nullopt, {}, {}}};
    ASSERT_TRUE(writeControlSetup(path("req.json"), setup));
  }
  QString path(const QString& name) const { return QDir(dir_.path()).filePath(name); }
  QTemporaryDir dir_;
};

TEST_F(GeoFiles, EveryFormatReadsBackInAGisReader) {
  struct Format {
    QString extension;
    QStringList openOptions;
    QString labelField;
    QStringList fields;  // checked against the expected values below
  };
  const QStringList all = {"date", "impacts", "dyn_modulus_mpa", "stat_modulus_mpa", "sv_ms", "material", "object", "verdict"};
  const Format formats[] = {
      {"geojson", {}, "series", all},
      {"kml", {}, "Name", QStringList{"series"} + all},
      {"gpx", {}, "name", {"time"}},
      {"csv", {"-oo", "X_POSSIBLE_NAMES=longitude", "-oo", "Y_POSSIBLE_NAMES=latitude"}, "series", all},
  };
  // ogrinfo's forms: GeoJSON numbers and dates are typed; KML, GPX and CSV fields are texts.
  struct Expected {
    QString label;
    double latitude, longitude;
    std::map<QString, QStringList> values;  // field: accepted forms
  };
  const Expected expected[] = {
      {"3/2", 55.1566666, 37.5083333,
       {{"date", {"2026/05/12 08:40:10", "2026-05-12T08:40:10"}}, {"time", {"2026/05/12 08:40:10"}}, {"impacts", {"2"}},
        {"dyn_modulus_mpa", {"60.5"}}, {"stat_modulus_mpa", {"70.5"}}, {"sv_ms", {"2.5", "2.500"}},
        {"material", {"Песок"}}, {"object", {"Трасса"}}, {"verdict", {"pass"}}, {"series", {"3/2"}}}},
      {"5/1", -33.8666667, -151.2033333,
       {{"impacts", {"1"}}, {"dyn_modulus_mpa", {"40.3"}}, {"material", {"Щебень \"5,20\""}}, {"verdict", {"fail"}}}},
      {"7/1", 0.0166664, 180.0, {{"verdict", {"", "(null)"}}, {"object", {"Двор \\2"}}}},
  };
  for (const Format& f : formats) {
    SCOPED_TRACE(f.extension.toStdString());
    const QString out = path("points." + f.extension);
    const test::CliRun r = test::runCliCommand({"geo", path("set.grx"), "-o", out, "--requirements", path("req.json")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, "1 series has no position: 9/1\n");
    const std::vector<Feature> features = readWithOgr(out, f.openOptions);
    ASSERT_EQ(features.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
      const Expected& e = expected[i];
      const Feature& got = features[i];
      SCOPED_TRACE(e.label.toStdString());
      EXPECT_EQ(got.fields.at(f.labelField), e.label);
      EXPECT_NEAR(got.y, e.latitude, 1e-7);
      EXPECT_NEAR(got.x, e.longitude, 1e-7);
      for (const auto& [key, forms] : e.values) {
        if (!f.fields.contains(key)) continue;
        const auto it = got.fields.find(key);
        const QString value = it == got.fields.end() ? QString() : it->second;
        EXPECT_TRUE(forms.contains(value)) << key.toStdString() << " = " << value.toStdString();
      }
    }
  }
}

TEST_F(GeoFiles, RefusalsAreOneLineAndWriteNothing) {
  ASSERT_TRUE(test::writeFileBytes(path("broken.grx"), "GRX"));
  const QStringList cases[] = {
      {"geo", path("set.grx"), "-o", path("x.shp")},
      {"geo", path("set.grx")},
      {"geo", path("broken.grx"), "-o", path("x.geojson")},
      {"geo", path("set.grx"), "-o", path("x.geojson"), "--requirements", path("missing.json")},
      {"geo", path("set.grx"), "-o", path("no-such-folder/x.geojson")},
  };
  for (const QStringList& args : cases) {
    SCOPED_TRACE(args.join(' ').toStdString());
    const test::CliRun r = test::runCliCommand(args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.count(u'\n'), 1);
    EXPECT_FALSE(QFileInfo::exists(path("x.geojson")));
  }
}

}  // namespace
}  // namespace grx
