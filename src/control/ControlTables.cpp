#include "ControlTables.h"

#include "ControlTexts.h"
#include "data/TextForms.h"
#include "platform/NumberFormat.h"

#include <cmath>

namespace grx {
namespace {

constexpr TextPair kLotHeadings[] = {
    {"Объект", "Object"},         {"Материал", "Material"},     {"Дата", "Date"},
    {"n", "n"},                   {"Среднее, МПа", "Mean, MPa"}, {"s, МПа", "s, MPa"},
    {"V, %", "CV, %"},            {"Мин., МПа", "Min, MPa"},   {"Макс., МПа", "Max, MPa"},
    {"Ниже треб.", "Below"},      {"Ниже, %", "Below, %"},     {"Характ., МПа", "Characteristic, MPa"},
    {"Треб., МПа", "Required, MPa"}, {"Заключение", "Verdict"},
};
constexpr int kDateColumn = 2;

constexpr TextPair kPointHeadings[] = {
    {"№", "№"},       {"Дата", "Date"}, {"Время", "Time"}, {"Объект", "Object"},
    {"Материал", "Material"}, {"Дин.модуль, МПа", "Din.modulus, MPa"}, {"Стат.модуль, МПа", "Stat.modulus, MPa"},
    {"s/v, мс", "s/v, ms"},   {"Признаки", "Flags"}, {"Заключение", "Verdict"},
};

}  // namespace

QString controlNumber(double value, QStringView picture) {
  return std::isfinite(value) ? formatFloat(value, picture) : QStringLiteral("-");
}

QString flagsText(const FlagCounts& f, Language language) {
  QStringList parts;
  if (f.duration) parts << (language == Language::Russian ? QStringLiteral("длит. ") : QStringLiteral("duration ")) + QString::number(f.duration);
  if (f.nonFinite) parts << QStringLiteral("NaN ") + QString::number(f.nonFinite);
  if (f.svAbove) parts << QStringLiteral("s/v ") + QString::number(f.svAbove);
  return parts.join(QStringLiteral(", "));
}

TextGrid lotTableText(const ControlResult& result, const ControlSetup& setup, Language language) {
  const bool byDate = setup.settings.splitLotsByDate;
  const int columns = int(std::size(kLotHeadings)) - (byDate ? 0 : 1);
  TextGrid grid(1 + int(result.lots.size()), columns);
  for (int c = 0, h = 0; c < columns; ++c, ++h) {
    if (!byDate && h == kDateColumn) ++h;
    grid.cell(0, c) = kLotHeadings[h].text(language);
  }
  for (std::size_t i = 0; i < result.lots.size(); ++i) {
    const LotResult& lot = result.lots[i];
    const Requirement* r = lot.requirement >= 0 ? &setup.requirements[lot.requirement] : nullptr;
    QStringList cells = {lot.object, lot.material};
    if (byDate)
      cells << lot.date.toString(language == Language::Russian ? QStringLiteral("dd.MM.yyyy") : QStringLiteral("MM.dd.yyyy"));
    cells << QString::number(lot.n) << controlNumber(lot.mean, u"0.0") << controlNumber(lot.sd, u"0.0")
          << controlNumber(lot.cv * 100, u"0.0") << controlNumber(lot.min, u"0.0") << controlNumber(lot.max, u"0.0")
          << (r ? QString::number(lot.below) : QString()) << (r ? controlNumber(lot.belowShare * 100, u"0") : QString())
          << controlNumber(lot.characteristic, u"0.0") << (r ? controlNumber(r->minDynamic, u"0.0") : QString())
          << verdictText(lot.verdict, language);
    for (int c = 0; c < columns; ++c) grid.cell(int(i) + 1, c) = cells[c];
  }
  return grid;
}

TextGrid pointTableText(const MeasurementSet& set, const ControlResult& result, Language language) {
  const int columns = int(std::size(kPointHeadings));
  TextGrid grid(1 + int(result.points.size()), columns);
  for (int c = 0; c < columns; ++c) grid.cell(0, c) = kPointHeadings[c].text(language);
  for (std::size_t i = 0; i < result.points.size(); ++i) {
    const PointResult& p = result.points[i];
    const SeriesSummary s = set.seriesSummary(p.series);
    const ImpactRecordView head = set.view(set.seriesStart(p.series));
    const QString cells[] = {QString::number(s.seriesNumber) + u'/' + QString::number(s.runLength),
                             dateText(head, language),
                             timeText(head),
                             p.object,
                             p.material,
                             controlNumber(p.dynamic, u"0.0"),
                             controlNumber(p.statics, u"0.0"),
                             controlNumber(p.sv, u"0.000"),
                             flagsText(p.flags, language),
                             verdictText(p.verdict, language)};
    for (int c = 0; c < columns; ++c) grid.cell(int(i) + 1, c) = cells[c];
  }
  return grid;
}

}  // namespace grx
