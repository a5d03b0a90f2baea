#include "TableText.h"

#include "data/TextForms.h"
#include "platform/NumberFormat.h"

#include <cmath>

namespace grx {
namespace {

constexpr TextPair kSeriesHeadings[kSeriesTableColumns] = {
    {"№", "№"},
    {"Дата", "Date"},
    {"Время", "Time"},
    {"Дин.модуль", "Din.modulus"},
    {"Стат.модуль", "Stat.modulus"},
    {"s/v", "s/v"},
    {"Грунт", "Soil"},
    {"Объект", "Object"},
    {"Широта", "Latitude"},
    {"Долгота", "Longtitude"},
};

// Units of row 1; columns without a unit are not written.
constexpr const TextPair* kNoUnit = nullptr;
constexpr TextPair kUnitDate{"д.м.г", "d:m:y"};
constexpr TextPair kUnitTime{"ч:м:с", "h:m:s"};
constexpr TextPair kUnitMPa{"МПа", "MPa"};
constexpr TextPair kUnitMs{"мс", "ms"};
constexpr const TextPair* kSeriesUnits[kSeriesTableColumns] = {
    kNoUnit, &kUnitDate, &kUnitTime, &kUnitMPa, &kUnitMPa, &kUnitMs, kNoUnit, kNoUnit, kNoUnit, kNoUnit,
};

constexpr TextPair kImpactLabels[kImpactsTableRows - 1] = {
    {"Дин.модуль, МПа", "Din.modulus, MPa"},
    {"Стат.модуль, МПа", "Stat.modulus, MPa"},
    {"s/v, мс", "s/v, ms"},
    {"Виброускорение, м/с2", "Vibr.acceleration, m/c2"},
    {"Виброскорость, м/с", "Vibr.velocity, m/c"},
    {"Виброперемещение, мм", "Vibr.displacement, mm"},
    {"Сила удара, Н", "Impact force, N"},
};

constexpr TextPair kImpactSuffix{"-й удар", "-st impact"};

QString range(float low, float high, QStringView picture) {
  if (!std::isfinite(low) || !std::isfinite(high)) return QStringLiteral("NAN");
  return formatFloat(low, picture) + u'+' + formatFloat(high, picture);
}

}  // namespace

QString impactHeading(int column, Language language) {
  return QString::number(column) + kImpactSuffix.text(language);
}

void writeSeriesTableHeadings(TextGrid& grid, Language language) {
  for (int c = 0; c < kSeriesTableColumns; ++c) {
    grid.cell(0, c) = kSeriesHeadings[c].text(language);
    if (kSeriesUnits[c]) grid.cell(1, c) = kSeriesUnits[c]->text(language);
  }
}

void writeImpactsTableLabels(TextGrid& grid, Language language) {
  for (int r = 1; r < kImpactsTableRows; ++r) grid.cell(r, 0) = kImpactLabels[r - 1].text(language);
}

void writeSeriesRow(const MeasurementSet& set, std::uint32_t k, Language language, QString* cells) {
  const ImpactRecordView first = set.view(set.seriesStart(k));
  const SeriesSummary s = set.seriesSummary(k);
  cells[0] = QString::number(s.seriesNumber) + u'/' + QString::number(s.runLength);
  cells[1] = dateText(first, language);
  cells[2] = timeText(first);
  cells[3] = formatFloat(s.meanDynamicModulus, u"0.0");
  cells[4] = formatFloat(s.meanStaticModulus, u"0.0");
  cells[5] = formatFloat(s.svRatio, u"0.000");
  cells[6] = nameText(first.soilNameField());
  cells[7] = nameText(first.objectNameField());
  cells[8] = coordinateText(first.latitude(), CoordinateKind::Latitude, language);
  cells[9] = coordinateText(first.longitude(), CoordinateKind::Longitude, language);
}

TextGrid seriesTableText(const MeasurementSet& set, Language language) {
  const int series = int(set.seriesCount());
  TextGrid grid(std::max(3, series + kSeriesTableHeaderRows), kSeriesTableColumns);
  writeSeriesTableHeadings(grid, language);
  QString row[kSeriesTableColumns];
  for (int k = 0; k < series; ++k) {
    writeSeriesRow(set, std::uint32_t(k), language, row);
    for (int c = 0; c < kSeriesTableColumns; ++c) grid.cell(k + kSeriesTableHeaderRows, c) = std::move(row[c]);
  }
  return grid;
}

void writeImpactCells(const ImpactRecordView& r, QString* cells) {
  const double sv = r.svRatio();
  cells[0] = formatFloat(r.dynamicModulus(), u"0.0");
  cells[1] = formatFloat(r.staticModulus(), u"0.0");
  cells[2] = formatFloat(sv, u"0.000");
  cells[3] = range(r.accelMin(), r.accelMax(), u"0.0");
  cells[4] = range(r.velocityMin(), r.velocityMax(), u"0.000");
  cells[5] = formatFloat(r.displacement(), u"0.000");
  cells[6] = formatFloat(r.impactForce(), u"0");
}

TextGrid impactsTableText(const MeasurementSet& set, std::uint32_t k, Language language) {
  if (set.isEmpty() || k >= set.seriesCount()) {
    TextGrid grid(kImpactsTableRows, 2);
    grid.cell(0, 1) = impactHeading(1, language);
    writeImpactsTableLabels(grid, language);
    return grid;
  }
  const std::uint32_t a = set.seriesStart(k);
  const SeriesRun run = set.seriesRun(a);
  TextGrid grid(kImpactsTableRows, int(run.length) + 1);
  grid.cell(0, 0) = dateTimeText(set.view(a));
  writeImpactsTableLabels(grid, language);
  QString cells[kImpactsTableRows - 1];
  for (std::uint32_t j = 0; j < run.length; ++j) {
    const int column = int(j) + 1;
    grid.cell(0, column) = impactHeading(column, language);
    writeImpactCells(set.view(run.first + j), cells);
    for (int r = 1; r < kImpactsTableRows; ++r) grid.cell(r, column) = std::move(cells[r - 1]);
  }
  return grid;
}

}  // namespace grx
