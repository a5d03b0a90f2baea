#include "AcceptanceProtocol.h"

#include "ControlChart.h"
#include "control/ControlTables.h"
#include "control/ControlTexts.h"
#include "platform/NumberFormat.h"

#include <numeric>
#include <vector>

namespace grx {
namespace {

constexpr TextPair kRequirementsHeading{"Требования", "Requirements"};
constexpr TextPair kLotsHeading{"Партии", "Lots"};
constexpr TextPair kPointsHeading{"Точки испытаний", "Test points"};
constexpr TextPair kChartsHeading{"Контрольные карты", "Control charts"};
// %1: the lot's number in the lot table, %2: object, %3: material; the date of a lot split by date
// and the lot's verdict follow.
constexpr TextPair kChartCaption{"Партия %1: %2 / %3", "Lot %1: %2 / %3"};

constexpr TextPair kRequirementHeadings[] = {
    {"Объект", "Object"},
    {"Материал", "Material"},
    {"Дин. модуль не менее, МПа", "Min. dyn. modulus, MPa"},
    {"Стат. модуль не менее, МПа", "Min. static modulus, MPa"},
    {"s/v не более, мс", "Max. s/v, ms"},
};

constexpr TextPair kRuleLine{"Оценка партии: %1.", "Lot rule: %1."};
// %1: k, %2: the least number of points
constexpr TextPair kStatisticalLine{"Характеристическое значение: среднее − k·s, k = %1; в партии не менее %2 точек.",
                                    "Characteristic value: mean − k·s, k = %1; at least %2 points per lot."};
constexpr TextPair kSeatingLine{"Первых ударов серии не учитывается: %1.",
                                "Seating impacts left out of each series: %1."};
constexpr TextPair kDurationLine{"Длительность удара: %1–%2 мс.", "Sound impact duration: %1–%2 ms."};
constexpr TextPair kByDateLine{"Партии разделены по датам.", "Lots are split by date."};
constexpr TextPair kNoRequirements{"Требования не заданы: заключений нет.", "No requirements are set: no verdicts."};

// Relative widths of the tables' columns, stretched to the printable width.
constexpr double kRequirementWidths[] = {40, 40, 35, 35, 35};
constexpr double kLotWidths[] = {6, 22, 22, 16, 7, 13, 11, 10, 12, 12, 11, 10, 15, 13, 24};  // with the date
constexpr int kLotDateColumn = 3;
constexpr double kPointWidths[] = {13, 17, 15, 26, 26, 17, 17, 13, 22, 24};

constexpr double kTablePoints = 8;
constexpr double kChartHeightMm = 55;
constexpr double kCaptionHeightMm = 7;

// The row sources, in the order the template's data bands name them.
enum Source { SettingsRow, RequirementRows, LotRows, PointRows, ChartRows };

TextGrid requirementTableText(const ControlSetup& setup, Language language) {
  TextGrid grid(1 + int(setup.requirements.size()), int(std::size(kRequirementHeadings)));
  for (int c = 0; c < grid.columnCount(); ++c) grid.cell(0, c) = kRequirementHeadings[c].text(language);
  for (int i = 0; i < setup.requirements.size(); ++i) {
    const Requirement& r = setup.requirements[i];
    const QString cells[] = {r.object, r.material, controlNumber(r.minDynamic, u"0.0"),
                             controlNumber(r.minStatic.value_or(kNoValue), u"0.0"),
                             controlNumber(r.maxSv.value_or(kNoValue), u"0.000")};
    for (int c = 0; c < grid.columnCount(); ++c) grid.cell(i + 1, c) = cells[c];
  }
  return grid;
}

QString settingsText(const ControlSetup& setup, Language language) {
  const EvaluationSettings& s = setup.settings;
  const bool statistical = s.lotRule == LotRule::Statistical;
  QStringList lines;
  lines << kRuleLine.text(language).arg((statistical ? kRuleStatistical : kRuleEachPoint).text(language));
  if (statistical)
    lines << kStatisticalLine.text(language).arg(formatFloat(s.k, u"0.00"), QString::number(s.minPoints));
  lines << kSeatingLine.text(language).arg(s.seatingImpacts)
        << kDurationLine.text(language).arg(formatFloat(s.durationMinMs, u"0.0"), formatFloat(s.durationMaxMs, u"0.0"));
  if (s.splitLotsByDate) lines << kByDateLine.text(language);
  if (setup.requirements.isEmpty()) lines << kNoRequirements.text(language);
  return lines.join(u' ');
}

ReportCell cell(const QString& text, double left, double top, double width, double height, double points, bool framed,
                HAlign align = HAlign::Center) {
  ReportCell c;
  c.leftMm = left;
  c.topMm = top;
  c.widthMm = width;
  c.heightMm = height;
  c.text = text;
  c.font.pointSize = points;
  c.frame = framed;
  c.stretch = framed;
  c.hAlign = align;
  return c;
}

ReportBand band(BandKind kind, double height, bool stretch, QVector<ReportCell> cells, int source = 0) {
  ReportBand b{QString(), kind, height, stretch, std::move(cells)};
  b.source = source;
  return b;
}

// A section's heading, printed with the first row of the band after it.
ReportBand heading(const char* variable, double width) {
  ReportCell c = cell(QStringLiteral("[%1]").arg(QLatin1String(variable)), 0, 3, width, 7, 12, false, HAlign::Left);
  c.font.bold = true;
  return band(BandKind::DataHeader, 10, false, {c});
}

// A framed table: its column headings on every page it runs over, one row per record. The cells
// read "[XH<column>]" and "[X<column>]" for the table named by the prefix X.
void addTable(ReportTemplate& t, QChar prefix, const std::vector<double>& weights, int source) {
  const double scale = t.printableWidthMm() / std::accumulate(weights.begin(), weights.end(), 0.0);
  QVector<ReportCell> head, row;
  double left = 0;
  for (std::size_t c = 0; c < weights.size(); ++c) {
    const double width = weights[c] * scale;
    head.append(cell(QStringLiteral("[%1H%2]").arg(prefix).arg(c), left, 0, width, 5, kTablePoints, true));
    row.append(cell(QStringLiteral("[%1%2]").arg(prefix).arg(c), left, 0, width, 5, kTablePoints, true));
    left += width;
  }
  ReportBand header = band(BandKind::DataHeader, 5, true, head);
  header.reprint = true;
  t.bands << header << band(BandKind::MasterData, 5, true, row, source);
}

ReportTemplate protocolTemplate(bool lotsByDate) {
  ReportTemplate t;
  t.name = QStringLiteral("AcceptanceProtocol");
  t.leftMarginMm = 20;
  t.rightMarginMm = 5;
  t.topMarginMm = 5;
  t.bottomMarginMm = 10;
  const double width = t.printableWidthMm();
  ReportCell title = cell(QStringLiteral("[Title]"), 0, 0, width, 12, 14, false);
  title.font.bold = true;
  t.bands << band(BandKind::ReportTitle, 12, false, {title});

  t.bands << heading("Requirements", width)
          << band(BandKind::MasterData, 5, true,
                  {cell(QStringLiteral("[Settings]"), 0, 0, width, 5, 9, false, HAlign::Left)}, SettingsRow);
  t.bands.last().cells[0].stretch = true;
  addTable(t, u'R', {std::begin(kRequirementWidths), std::end(kRequirementWidths)}, RequirementRows);

  std::vector<double> lotWidths(std::begin(kLotWidths), std::end(kLotWidths));
  if (!lotsByDate) lotWidths.erase(lotWidths.begin() + kLotDateColumn);
  t.bands << heading("Lots", width);
  addTable(t, u'L', lotWidths, LotRows);
  t.bands << heading("Points", width);
  addTable(t, u'P', {std::begin(kPointWidths), std::end(kPointWidths)}, PointRows);

  // One chart per lot, kept whole on a page with its caption above it.
  ReportCell caption = cell(QStringLiteral("[Caption]"), 0, 2, width, kCaptionHeightMm - 2, 9, false, HAlign::Left);
  caption.font.bold = true;
  ReportCell chart;
  chart.leftMm = 0;
  chart.topMm = kCaptionHeightMm;
  chart.widthMm = width;
  chart.heightMm = kChartHeightMm;
  chart.drawing = QStringLiteral("chart");
  t.bands << heading("Charts", width)
          << band(BandKind::MasterData, kCaptionHeightMm + kChartHeightMm, false, {caption, chart}, ChartRows);

  t.bands << band(BandKind::PageFooter, 10, false, {cell(QStringLiteral("- [PAGE#] -"), 0, 0, width, 10, 10, false)});
  return t;
}

ReportRowSource recordsOf(int count) {
  ReportRowSource rows;
  rows.eof = [count](int record) { return record >= count; };
  return rows;
}

}  // namespace

PreparedReport prepareAcceptanceProtocol(const MeasurementSet& set, const ControlSetup& setup,
                                         const ControlResult& result, Language language) {
  const TextGrid requirements = requirementTableText(setup, language);
  const TextGrid lots = lotTableText(result, setup, language);
  const TextGrid points = pointTableText(set, result, language);
  const QString settings = settingsText(setup, language);

  ReportSources sources;
  sources.rows = {recordsOf(1), recordsOf(int(setup.requirements.size())), recordsOf(int(result.lots.size())),
                  recordsOf(int(result.points.size())), recordsOf(int(result.lots.size()))};
  sources.variables = [&](const QString& name, int record) -> QString {
    if (name == u"Title") return kProtocolTitle.text(language);
    if (name == u"Settings") return settings;
    if (name == u"Requirements") return kRequirementsHeading.text(language);
    if (name == u"Lots") return kLotsHeading.text(language);
    if (name == u"Points") return kPointsHeading.text(language);
    if (name == u"Charts") return kChartsHeading.text(language);
    if (name == u"Caption") {
      const LotResult& lot = result.lots[std::size_t(record)];
      QString caption = kChartCaption.text(language).arg(QString::number(record + 1), lot.object, lot.material);
      if (lot.date.isValid())
        caption += lot.date.toString(language == Language::Russian ? QStringLiteral(", dd.MM.yyyy")
                                                                   : QStringLiteral(", MM.dd.yyyy"));
      if (lot.verdict != Verdict::None) caption += QStringLiteral(" — ") + lotVerdictText(lot, result, language);
      return caption;
    }
    // A table's cell: R, L or P for the requirement, lot and point table, H for its headings.
    const TextGrid* grid = name.startsWith(u'R')   ? &requirements
                           : name.startsWith(u'L') ? &lots
                           : name.startsWith(u'P') ? &points
                                                   : nullptr;
    const bool head = name.size() > 1 && name[1] == u'H';
    bool ok = false;
    const int column = QStringView(name).mid(head ? 2 : 1).toInt(&ok);
    const int row = head ? 0 : record + 1;
    if (!grid || !ok || row < 0 || row >= grid->rowCount() || column < 0 || column >= grid->columnCount()) return {};
    return grid->cell(row, column);
  };
  sources.drawings = [&](const QString&, int record, QSizeF size) {
    return controlChartDrawing(lotChart(set, result, setup, record), size, language);
  };
  return layOutReport(protocolTemplate(setup.settings.splitLotsByDate), sources);
}

}  // namespace grx
