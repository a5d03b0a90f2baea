#include "ControlTables.h"

#include "ControlTexts.h"
#include "data/TextForms.h"
#include "platform/NumberFormat.h"
#include "platform/TextCells.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

namespace grx {
namespace {

constexpr TextPair kLotHeadings[] = {
    {"№", "№"},
    {"Объект", "Object"},         {"Материал", "Material"},     {"Дата", "Date"},
    {"n", "n"},                   {"Среднее, МПа", "Mean, MPa"}, {"s, МПа", "s, MPa"},
    {"V, %", "CV, %"},            {"Мин., МПа", "Min, MPa"},   {"Макс., МПа", "Max, MPa"},
    {"Ниже треб.", "Below"},      {"Ниже, %", "Below, %"},     {"Характ., МПа", "Characteristic, MPa"},
    {"Треб., МПа", "Required, MPa"}, {"Заключение", "Verdict"},
};
constexpr int kDateColumn = 3;

constexpr TextPair kFlagDuration{"длительность %1 мс вне %2–%3 мс", "duration %1 ms outside %2–%3 ms"};
constexpr TextPair kFlagNonFinite{"нечисловой модуль", "non-finite modulus"};
constexpr TextPair kFlagSv{"s/v %1 мс выше %2 мс", "s/v %1 ms above %2 ms"};
constexpr TextPair kReasonNoRequirement{"нет требования", "no requirement"};
constexpr TextPair kReasonNoImpacts{"нет ударов после установочных", "no impact after the seating impacts"};
constexpr TextPair kReasonNonFinite{"нечисловой модуль в ударе %1", "non-finite modulus in impact %1"};
constexpr TextPair kReasonSv{"s/v не вычисляется", "s/v not computable"};
constexpr TextPair kReasonNoCalibration{"калибровка требования не применима", "the requirement's calibration cannot be used"};
constexpr TextPair kReasonTooFew{"мало точек", "too few points"};
constexpr TextPair kReasonIncomplete{"не определены точки %1", "incomplete: %1 not decided"};

constexpr TextPair kPointHeadings[] = {
    {"№", "№"},       {"Дата", "Date"}, {"Время", "Time"}, {"Объект", "Object"},
    {"Материал", "Material"}, {"Дин.модуль, МПа", "Din.modulus, MPa"}, {"Стат.модуль, МПа", "Stat.modulus, MPa"},
    {"s/v, мс", "s/v, ms"},   {"Признаки", "Flags"}, {"Заключение", "Verdict"},
};

// The reference columns: headed with the quantity when all points share it, else in general words
// with the quantity in each cell.
constexpr TextPair kReferenceEstimate{"%1 оценка", "%1 est."};
constexpr TextPair kReferenceLower{"%1 нижн. граница", "%1 lower"};
constexpr TextPair kAnyReferenceEstimate{"Эталон: оценка", "Reference est."};
constexpr TextPair kAnyReferenceLower{"Эталон: нижн. граница", "Reference lower"};
constexpr TextPair kOutsideCalibration{"%1 (вне калибровки)", "%1 (outside the calibration)"};

}  // namespace

QString controlNumber(double value, QStringView picture) {
  return std::isfinite(value) ? formatFloat(value, picture) : QStringLiteral("-");
}

QString flagsText(const FlagCounts& f, std::uint32_t impacts, Language language) {
  const QString of = (language == Language::Russian ? QStringLiteral(" из ") : QStringLiteral(" of ")) + QString::number(impacts);
  QStringList parts;
  if (f.duration) parts << (language == Language::Russian ? QStringLiteral("длит. ") : QStringLiteral("duration ")) + QString::number(f.duration) + of;
  if (f.nonFinite) parts << QStringLiteral("NaN ") + QString::number(f.nonFinite) + of;
  if (f.svAbove) parts << QStringLiteral("s/v ") + QString::number(f.svAbove) + of;
  return parts.join(QStringLiteral(", "));
}

QString impactFlagsText(const ImpactRecordView& record, const EvaluationSettings& s, double maxSv, Language l) {
  const ImpactFlags flags = impactFlags(record, s.durationMinMs, s.durationMaxMs, maxSv);
  QStringList parts;
  if (flags.duration)
    parts << kFlagDuration.text(l).arg(formatFloat(impactDurationMs(record), u"0.0"), formatFloat(s.durationMinMs, u"0.0"),
                                       formatFloat(s.durationMaxMs, u"0.0"));
  if (flags.nonFinite) parts << kFlagNonFinite.text(l);
  if (flags.svAbove) parts << kFlagSv.text(l).arg(formatFloat(record.svRatio(), u"0.000"), formatFloat(maxSv, u"0.000"));
  return parts.join(QStringLiteral("; "));
}

QString pointReasonText(const PointResult& p, Language l) {
  switch (p.reason) {
    case Reason::NoRequirement: return kReasonNoRequirement.text(l);
    case Reason::NoImpacts: return kReasonNoImpacts.text(l);
    case Reason::NonFiniteModulus: return kReasonNonFinite.text(l).arg(p.impact);
    case Reason::SvNotComputable: return kReasonSv.text(l);
    case Reason::NoCalibration: return kReasonNoCalibration.text(l);
    default: return {};
  }
}

QString lotReasonText(const LotResult& lot, const ControlResult& result, Language l) {
  switch (lot.reason) {
    case Reason::NoRequirement: return kReasonNoRequirement.text(l);
    case Reason::TooFewPoints: return kReasonTooFew.text(l);
    case Reason::Incomplete: {
      QStringList labels;
      for (const int i : lot.undecided) labels << result.points[std::size_t(i)].label;
      return kReasonIncomplete.text(l).arg(labels.join(QStringLiteral(", ")));
    }
    default: return {};
  }
}

namespace {
QString withReason(Verdict v, const QString& reason, Language l) {
  return reason.isEmpty() || v != Verdict::Undecided ? verdictText(v, l) : verdictText(v, l) + QStringLiteral(" (") + reason + u')';
}
}  // namespace

QString pointVerdictText(const PointResult& p, Language l) { return withReason(p.verdict, pointReasonText(p, l), l); }

QString lotVerdictText(const LotResult& lot, const ControlResult& result, Language l) {
  return withReason(lot.verdict, lotReasonText(lot, result, l), l);
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
    QStringList cells = {QString::number(lot.number), lot.object, lot.material};
    if (byDate)
      cells << lot.date.toString(language == Language::Russian ? QStringLiteral("dd.MM.yyyy") : QStringLiteral("MM.dd.yyyy"));
    cells << QString::number(lot.n) << controlNumber(lot.mean, u"0.0") << controlNumber(lot.sd, u"0.0")
          << controlNumber(lot.cv * 100, u"0.0") << controlNumber(lot.min, u"0.0") << controlNumber(lot.max, u"0.0")
          << (r ? QString::number(lot.below) : QString()) << (r ? controlNumber(lot.belowShare * 100, u"0") : QString())
          << controlNumber(lot.characteristic, u"0.0") << (r ? controlNumber(r->minDynamic, u"0.0") : QString())
          << lotVerdictText(lot, result, language);
    for (int c = 0; c < columns; ++c) grid.cell(int(i) + 1, c) = cells[c];
  }
  return grid;
}

QString referenceNumber(const Calibration& c, double value) {
  switch (c.quantity) {
    case ReferenceQuantity::Ev2:
    case ReferenceQuantity::Ev1: return controlNumber(value, u"0.0");
    case ReferenceQuantity::Compaction:
    case ReferenceQuantity::DryDensity: return controlNumber(value, u"0.000");
    case ReferenceQuantity::Other: break;
  }
  // About three significant digits of the largest reference value measured: 0,985; 1,85; 42,5; 112.
  double largest = 0;
  for (const CalibrationPair& p : c.pairs)
    if (std::isfinite(p.reference)) largest = std::max(largest, std::abs(p.reference));
  const int decimals = largest > 0 ? std::clamp(2 - int(std::floor(std::log10(largest))), 0, 3) : 3;
  constexpr const char16_t* kPictures[] = {u"0", u"0.0", u"0.00", u"0.000"};
  return controlNumber(value, kPictures[decimals]);
}

QString referenceNameText(const Calibration& c, Language language) {
  return spreadsheetSafeCell(singleLineText(referenceName(c, language)));
}

namespace {

// "Ev2, MPa" or "Kcom": the quantity's name and its unit when it has one.
QString withUnit(const QString& text, const Calibration& c, Language language) {
  const QString unit = singleLineText(referenceUnit(c, language));
  return unit.isEmpty() ? text : text + QStringLiteral(", ") + unit;
}

// The calibration of each point whose index is sound; null for the others.
std::vector<const Calibration*> pointCalibrations(const ControlResult& result, const ControlSetup& setup) {
  std::vector<const Calibration*> out;
  for (const PointResult& p : result.points)
    out.push_back(p.calibration >= 0 && p.calibration < setup.calibrations.size() ? &setup.calibrations[p.calibration]
                                                                                   : nullptr);
  return out;
}

// The two reference cells of a point: the estimate and its lower bound, as numbers when the
// headings name the quantity, else each with it ("Ev2 112,0 MPa").
std::pair<QString, QString> referenceCells(const PointResult& p, const Calibration* c, bool named, Language language) {
  if (!c) return {};
  auto cell = [&](double value) {
    const QString number = referenceNumber(*c, value);
    if (named) return number;
    const QString unit = singleLineText(referenceUnit(*c, language));
    return referenceNameText(*c, language) + u' ' + number + (unit.isEmpty() ? QString() : u' ' + unit);
  };
  const QString lower = cell(p.referenceLower);
  return {cell(p.reference), p.outsideCalibration ? kOutsideCalibration.text(language).arg(lower) : lower};
}

}  // namespace

TextGrid pointTableText(const MeasurementSet& set, const ControlResult& result, Language language) {
  return pointTableText(set, result, ControlSetup{}, language);
}

TextGrid pointTableText(const MeasurementSet& set, const ControlResult& result, const ControlSetup& setup,
                        Language language) {
  const std::vector<const Calibration*> calibrations = pointCalibrations(result, setup);
  // The quantity's heading when every calibrated point shares it; empty when none or several.
  QStringList quantities;
  for (const Calibration* c : calibrations)
    if (c && !quantities.contains(withUnit(referenceNameText(*c, language), *c, language)))
      quantities << withUnit(referenceNameText(*c, language), *c, language);
  const bool calibrated = !quantities.isEmpty();
  const bool named = quantities.size() == 1;
  const int columns = int(std::size(kPointHeadings)) + (calibrated ? 2 : 0);
  TextGrid grid(1 + int(result.points.size()), columns);
  for (std::size_t c = 0; c < std::size(kPointHeadings); ++c) grid.cell(0, int(c)) = kPointHeadings[c].text(language);
  if (calibrated) {
    const Calibration* first = *std::find_if(calibrations.begin(), calibrations.end(), [](auto c) { return c; });
    const QString name = referenceNameText(*first, language);
    grid.cell(0, columns - 2) =
        named ? withUnit(kReferenceEstimate.text(language).arg(name), *first, language) : kAnyReferenceEstimate.text(language);
    grid.cell(0, columns - 1) =
        named ? withUnit(kReferenceLower.text(language).arg(name), *first, language) : kAnyReferenceLower.text(language);
  }
  for (std::size_t i = 0; i < result.points.size(); ++i) {
    const PointResult& p = result.points[i];
    const ImpactRecordView head = set.view(set.seriesStart(p.series));
    const QString cells[] = {p.label,
                             dateText(head, language),
                             timeText(head),
                             p.object,
                             p.material,
                             controlNumber(p.dynamic, u"0.0"),
                             controlNumber(p.statics, u"0.0"),
                             controlNumber(p.sv, u"0.000"),
                             flagsText(p.flags, p.impacts, language),
                             pointVerdictText(p, language)};
    for (std::size_t c = 0; c < std::size(cells); ++c) grid.cell(int(i) + 1, int(c)) = cells[c];
    if (calibrated)
      std::tie(grid.cell(int(i) + 1, columns - 2), grid.cell(int(i) + 1, columns - 1)) =
          referenceCells(p, calibrations[i], named, language);
  }
  return grid;
}

}  // namespace grx
