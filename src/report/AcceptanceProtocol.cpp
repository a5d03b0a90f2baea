#include "AcceptanceProtocol.h"

#include "CalibrationSection.h"
#include "ControlChart.h"
#include "control/ControlTables.h"
#include "control/ControlTexts.h"
#include "platform/NumberFormat.h"

#include <QVector>

#include <algorithm>
#include <numeric>
#include <utility>
#include <vector>

namespace grx {
namespace {

constexpr TextPair kRequirementsHeading{"Требования", "Requirements"};
constexpr TextPair kLotsHeading{"Партии", "Lots"};
constexpr TextPair kPointsHeading{"Точки испытаний", "Test points"};
constexpr TextPair kChartsHeading{"Контрольные карты", "Control charts"};
constexpr TextPair kCalibrationsHeading{"Калибровки", "Calibrations"};
// The heading block: what each line tells, and the words of its values.
constexpr TextPair kSourceLabel{"Измерения", "Measurements"};
constexpr TextPair kFileSource{"файл проекта %1", "project file %1"};
constexpr TextPair kTesterSource{"считано из прибора", "read from the tester"};
constexpr TextPair kArchiveSource{"архив %1", "archive %1"};
constexpr TextPair kIssuedLabel{"Дата выдачи", "Date of issue"};
constexpr TextPair kRuleLabel{"Оценка партии", "Lot rule"};
constexpr TextPair kStatisticalRule{"статистическое: среднее − k·s не ниже требования",
                                    "statistical: mean − k·s at or above the requirement"};
constexpr TextPair kEachPointRule{"каждая точка не ниже требования", "each point at or above the requirement"};
constexpr TextPair kKLabel{"Коэффициент k", "Constant k"};
constexpr TextPair kMinPointsLabel{"Наименьшее число точек в партии", "Least points per lot"};
constexpr TextPair kSeatingLabel{"Первых ударов серии не учитывается", "Seating impacts left out of each series"};
constexpr TextPair kDurationLabel{"Длительность удара", "Sound impact duration"};
constexpr TextPair kDurationValue{"%1–%2 мс", "%1–%2 ms"};
constexpr TextPair kLotsLabel{"Партии", "Lots"};
constexpr TextPair kLotsByDate{"по объекту, материалу и дате", "by object, material and date"};
constexpr TextPair kLotsByName{"по объекту и материалу", "by object and material"};
constexpr TextPair kRequirementsLabel{"Требования", "Requirements"};
constexpr TextPair kRequirementsFile{"файл %1", "file %1"};
constexpr TextPair kRequirementsGiven{"заданы в командной строке", "given on the command line"};
constexpr TextPair kNoRequirements{"не заданы: заключений нет", "none set: no verdicts"};

constexpr TextPair kFooter{"страница [PAGE#] из [TOTALPAGES#]", "page [PAGE#] of [TOTALPAGES#]"};

// The lines to sign on: who, and under each blank what goes there.
constexpr TextPair kSignatureRoles[] = {{"Выполнил:", "Performed by:"}, {"Проверил:", "Checked by:"}};
constexpr TextPair kSignatureCaptions[] = {
    {"Ф. И. О.", "name"}, {"должность", "position"}, {"подпись", "signature"}, {"дата", "date"}};
constexpr double kSignatureWeights[] = {3, 3, 2, 2};

constexpr TextPair kRequirementHeadings[] = {
    {"Объект", "Object"},
    {"Материал", "Material"},
    {"Дин. модуль не менее, МПа", "Min. dyn. modulus, MPa"},
    {"Стат. модуль не менее, МПа", "Min. static modulus, MPa"},
    {"s/v не более, мс", "Max. s/v, ms"},
};
// Only when a requirement is given in a calibration's reference quantity: how it became dynamic.
constexpr TextPair kDerivationHeading{"Задано по калибровке", "Given by calibration"};

constexpr double kTablePoints = 8;
constexpr double kHeadingPoints = 9;
constexpr double kCaptionPoints = 7;
constexpr double kChartHeightMm = 55;
constexpr double kCaptionHeightMm = 7;
constexpr double kCalibrationChartHeightMm = 62;
constexpr double kCalibrationLinesShare = 0.48;  // of the width, the chart beside them

// The row sources, in the order the template's data bands name them.
enum Source { IdentityRows, RequirementRows, LotRows, PointRows, ChartRows, SignatureRows, CalibrationRows };

QString dateText(const QDate& date, Language language) {
  return date.toString(language == Language::Russian ? QStringLiteral("dd.MM.yyyy") : QStringLiteral("MM.dd.yyyy"));
}

QString sourceText(const MeasurementSource& source, Language language) {
  switch (source.kind) {
    case MeasurementSource::Kind::File: return kFileSource.text(language).arg(source.name);
    case MeasurementSource::Kind::Archive: return kArchiveSource.text(language).arg(source.name);
    case MeasurementSource::Kind::Tester: {
      QString text = kTesterSource.text(language);
      // The tester pads its version with blanks.
      const QString version = source.name.simplified();
      if (!version.isEmpty()) text += QStringLiteral(" (") + version + u')';
      if (source.readAt.isValid())
        text += QStringLiteral(", ") + dateText(source.readAt.date(), language) + u' ' +
                source.readAt.time().toString(QStringLiteral("HH:mm"));
      return text;
    }
    case MeasurementSource::Kind::Unknown: break;
  }
  return QStringLiteral("-");
}

QString requirementsText(const ControlSetup& setup, const DocumentIdentity& identity, Language language) {
  if (setup.requirements.isEmpty()) return kNoRequirements.text(language);
  if (identity.requirementsOnCommandLine) return kRequirementsGiven.text(language);
  if (!identity.requirementsFile.isEmpty()) return kRequirementsFile.text(language).arg(identity.requirementsFile);
  return QStringLiteral("-");
}

// The heading block's lines: what, and its value.
QVector<std::pair<QString, QString>> identityLines(const ControlSetup& setup, const DocumentIdentity& identity,
                                                    Language language) {
  const EvaluationSettings& s = setup.settings;
  const bool statistical = s.lotRule == LotRule::Statistical;
  return {
      {kSourceLabel.text(language), sourceText(identity.measurements, language)},
      {kIssuedLabel.text(language), identity.issued.isValid() ? dateText(identity.issued, language) : QStringLiteral("-")},
      {kRuleLabel.text(language), (statistical ? kStatisticalRule : kEachPointRule).text(language)},
      {kKLabel.text(language), formatFloat(s.k, u"0.00")},
      {kMinPointsLabel.text(language), QString::number(s.minPoints)},
      {kSeatingLabel.text(language), QString::number(s.seatingImpacts)},
      {kDurationLabel.text(language),
       kDurationValue.text(language).arg(formatFloat(s.durationMinMs, u"0.0"), formatFloat(s.durationMaxMs, u"0.0"))},
      {kLotsLabel.text(language), (s.splitLotsByDate ? kLotsByDate : kLotsByName).text(language)},
      {kRequirementsLabel.text(language), requirementsText(setup, identity, language)},
  };
}

TextGrid requirementTableText(const ControlSetup& setup, Language language) {
  const bool derived = std::any_of(setup.requirements.begin(), setup.requirements.end(),
                                   [](const Requirement& r) { return !r.calibration.isEmpty(); });
  const int columns = int(std::size(kRequirementHeadings));
  TextGrid grid(1 + int(setup.requirements.size()), columns + (derived ? 1 : 0));
  for (int c = 0; c < columns; ++c) grid.cell(0, c) = kRequirementHeadings[c].text(language);
  if (derived) grid.cell(0, columns) = kDerivationHeading.text(language);
  for (int i = 0; i < setup.requirements.size(); ++i) {
    const Requirement& r = setup.requirements[i];
    const QString cells[] = {r.object, r.material, controlNumber(r.minDynamic, u"0.0"),
                             controlNumber(r.minStatic.value_or(kNoValue), u"0.0"),
                             controlNumber(r.maxSv.value_or(kNoValue), u"0.000")};
    for (int c = 0; c < columns; ++c) grid.cell(i + 1, c) = cells[c];
    if (derived) grid.cell(i + 1, columns) = derivationText(r, setup, language);
  }
  return grid;
}

ReportFont fontOf(double points, bool bold = false) {
  ReportFont f;
  f.pointSize = points;
  f.bold = bold;
  return f;
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

// A framed table: its column headings on every page it runs over, one row per record, each column
// as wide as its texts need. The cells read "[XH<column>]" and "[X<column>]" for the table named
// by the prefix X.
void addTable(ReportTemplate& t, QChar prefix, const TextGrid& grid, int source) {
  QVector<QStringList> columns(grid.columnCount());
  for (int c = 0; c < grid.columnCount(); ++c)
    for (int r = 0; r < grid.rowCount(); ++r) columns[c].append(grid.cell(r, c));
  const QVector<double> widths = tableColumnWidths(columns, 1, fontOf(kTablePoints), t.printableWidthMm());
  QVector<ReportCell> head, row;
  double left = 0;
  for (int c = 0; c < widths.size(); ++c) {
    head.append(cell(QStringLiteral("[%1H%2]").arg(prefix).arg(c), left, 0, widths[c], 5, kTablePoints, true));
    row.append(cell(QStringLiteral("[%1%2]").arg(prefix).arg(c), left, 0, widths[c], 5, kTablePoints, true));
    left += widths[c];
  }
  ReportBand header = band(BandKind::DataHeader, 5, true, head);
  header.reprint = true;
  t.bands << header << band(BandKind::MasterData, 5, true, row, source);
}

// The heading block: one line per thing it names, the names in a column as wide as the longest
// (at most half the page), the values beside them.
void addIdentity(ReportTemplate& t, const QVector<std::pair<QString, QString>>& lines) {
  const double width = t.printableWidthMm();
  double labels = 0;
  for (const auto& line : lines) labels = std::max(labels, textWidthMm(line.first, fontOf(kHeadingPoints)));
  labels = std::min(labels + 2 * kCellPaddingXMm + 3, width / 2);
  ReportCell label = cell(QStringLiteral("[IdentityLabel]"), 0, 0, labels, 4.5, kHeadingPoints, false, HAlign::Left);
  ReportCell value = cell(QStringLiteral("[IdentityValue]"), labels, 0, width - labels, 4.5, kHeadingPoints, false,
                          HAlign::Left);
  label.stretch = value.stretch = true;
  label.vAlign = value.vAlign = VAlign::Top;
  t.bands << band(BandKind::MasterData, 4.5, true, {label, value}, IdentityRows);
}

// A blank to sign on, as wide as the cell: underscores, which every output shows as a line.
QString blankLine(double widthMm) {
  const double underscore = textWidthMm(QStringLiteral("_"), fontOf(kHeadingPoints));
  return QString(std::max(1, int((widthMm - 2 * kCellPaddingXMm - 0.1) / underscore)), u'_');
}

// The lines to sign on at the end, kept together on one page: per role its name and four blanks,
// under each blank what goes there.
void addSignatures(ReportTemplate& t, Language language) {
  const double width = t.printableWidthMm();
  double roles = 0;
  for (const TextPair& role : kSignatureRoles) roles = std::max(roles, textWidthMm(role.text(language), fontOf(kHeadingPoints)));
  roles += 2 * kCellPaddingXMm + 3;
  const double weights = std::accumulate(std::begin(kSignatureWeights), std::end(kSignatureWeights), 0.0);
  t.bands << band(BandKind::DataHeader, 12, false, {});  // room above them
  for (std::size_t r = 0; r < std::size(kSignatureRoles); ++r) {
    QVector<ReportCell> blanks{cell(kSignatureRoles[r].text(language), 0, 0, roles, 6, kHeadingPoints, false, HAlign::Left)};
    QVector<ReportCell> captions{cell(QString(), 0, 0, roles, 4, kCaptionPoints, false)};  // under the role
    double left = roles;
    for (std::size_t c = 0; c < std::size(kSignatureCaptions); ++c) {
      const double w = (width - roles) * kSignatureWeights[c] / weights;
      // The blanks a little shorter than their cells, so that they stay apart.
      blanks.append(cell(blankLine(w - 3), left, 0, w, 6, kHeadingPoints, false));
      captions.append(cell(kSignatureCaptions[c].text(language), left, 0, w, 4, kCaptionPoints, false));
      left += w;
    }
    const bool last = r + 1 == std::size(kSignatureRoles);
    t.bands << band(BandKind::DataHeader, 6, false, blanks)
            << band(last ? BandKind::MasterData : BandKind::DataHeader, last ? 4 : 8, false, captions, SignatureRows);
  }
}

// Per calibration used its caption, and under it its lines with its chart beside them, kept whole on
// a page. Each has a band and a row source of its own (CalibrationRows + i, one record), so that the
// caption is a band of its own in every output.
void addCalibrations(ReportTemplate& t, int count) {
  const double width = t.printableWidthMm();
  if (count > 0) t.bands << heading("Calibrations", width);
  for (int i = 0; i < count; ++i) {
    ReportCell caption = cell(QStringLiteral("[CalibrationCaption%1]").arg(i), 0, 2, width, kCaptionHeightMm - 2, 9,
                              false, HAlign::Left);
    caption.font.bold = true;
    ReportCell lines = cell(QStringLiteral("[CalibrationLines%1]").arg(i), 0, 0, width * kCalibrationLinesShare,
                            kCalibrationChartHeightMm, kTablePoints, false, HAlign::Left);
    lines.vAlign = VAlign::Top;
    ReportCell chart;
    chart.leftMm = width * kCalibrationLinesShare + 2;
    chart.widthMm = width - chart.leftMm;
    chart.heightMm = kCalibrationChartHeightMm;
    chart.drawing = QStringLiteral("calibration%1").arg(i);
    t.bands << band(BandKind::DataHeader, kCaptionHeightMm, false, {caption})
            << band(BandKind::MasterData, kCalibrationChartHeightMm, true, {lines, chart}, CalibrationRows + i);
  }
}

ReportTemplate protocolTemplate(const QVector<std::pair<QString, QString>>& identity, const ProtocolTables& texts,
                                int calibrationCount, Language language) {
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
  addIdentity(t, identity);

  t.bands << heading("Requirements", width);
  addTable(t, u'R', texts.requirements, RequirementRows);
  t.bands << heading("Lots", width);
  addTable(t, u'L', texts.lots, LotRows);
  t.bands << heading("Points", width);
  addTable(t, u'P', texts.points, PointRows);
  addCalibrations(t, calibrationCount);

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
  addSignatures(t, language);

  t.bands << band(BandKind::PageFooter, 10, false, {cell(kFooter.text(language), 0, 0, width, 10, 10, false)});
  return t;
}

ReportRowSource recordsOf(int count) {
  ReportRowSource rows;
  rows.eof = [count](int record) { return record >= count; };
  return rows;
}

}  // namespace

ProtocolTables protocolTables(const MeasurementSet& set, const ControlSetup& setup, const ControlResult& result,
                              Language language) {
  return {requirementTableText(setup, language), lotTableText(result, setup, language),
          pointTableText(set, result, setup, language)};
}

PreparedReport prepareAcceptanceProtocol(const MeasurementSet& set, const ControlSetup& setup,
                                         const ControlResult& result, const DocumentIdentity& identity,
                                         Language language) {
  const QVector<std::pair<QString, QString>> lines = identityLines(setup, identity, language);
  const ProtocolTables texts = protocolTables(set, setup, result, language);
  const std::vector<int> calibrations = usedCalibrations(setup, result);

  ReportSources sources;
  sources.rows = {recordsOf(int(lines.size())), recordsOf(int(setup.requirements.size())),
                  recordsOf(int(result.lots.size())),    recordsOf(int(result.points.size())),
                  recordsOf(int(result.lots.size())),    recordsOf(1)};
  for (std::size_t i = 0; i < calibrations.size(); ++i) sources.rows.append(recordsOf(1));
  // The calibration of "CalibrationCaption2" or "calibration2" (the third used), as its index in the
  // setup; -1 for another name.
  auto calibrationOf = [&](const QString& name, QStringView prefix) {
    bool ok = false;
    const int i = name.startsWith(prefix) ? QStringView(name).mid(prefix.size()).toInt(&ok) : -1;
    return ok && i >= 0 && i < int(calibrations.size()) ? calibrations[std::size_t(i)] : -1;
  };
  sources.variables = [&](const QString& name, int record) -> QString {
    if (name == u"Title") return kProtocolTitle.text(language);
    if (name == u"IdentityLabel") return lines.value(record).first;
    if (name == u"IdentityValue") return lines.value(record).second;
    if (name == u"Requirements") return kRequirementsHeading.text(language);
    if (name == u"Lots") return kLotsHeading.text(language);
    if (name == u"Points") return kPointsHeading.text(language);
    if (name == u"Charts") return kChartsHeading.text(language);
    if (name == u"Calibrations") return kCalibrationsHeading.text(language);
    if (const int c = calibrationOf(name, u"CalibrationCaption"); c >= 0)
      return calibrationCaption(setup.calibrations[c], language);
    if (const int c = calibrationOf(name, u"CalibrationLines"); c >= 0)
      return calibrationLines(setup.calibrations[c], language).join(u'\n');
    if (name == u"Caption") {
      const LotResult& lot = result.lots[std::size_t(record)];
      QString caption = kLotCaption.text(language).arg(QString::number(record + 1), lot.object, lot.material);
      if (lot.date.isValid()) caption += QStringLiteral(", ") + dateText(lot.date, language);
      if (lot.verdict != Verdict::None) caption += QStringLiteral(" — ") + lotVerdictText(lot, result, language);
      return caption;
    }
    // A table's cell: R, L or P for the requirement, lot and point table, H for its headings.
    const TextGrid* grid = name.startsWith(u'R')   ? &texts.requirements
                           : name.startsWith(u'L') ? &texts.lots
                           : name.startsWith(u'P') ? &texts.points
                                                   : nullptr;
    const bool head = name.size() > 1 && name[1] == u'H';
    bool ok = false;
    const int column = QStringView(name).mid(head ? 2 : 1).toInt(&ok);
    const int row = head ? 0 : record + 1;
    if (!grid || !ok || row < 0 || row >= grid->rowCount() || column < 0 || column >= grid->columnCount()) return {};
    return grid->cell(row, column);
  };
  sources.drawings = [&](const QString& name, int record, QSizeF size) {
    if (const int c = calibrationOf(name, u"calibration"); c >= 0) return calibrationChartDrawing(setup, c, size, language);
    return controlChartDrawing(lotChart(set, result, setup, record), size, language);
  };
  return layOutReport(protocolTemplate(lines, texts, int(calibrations.size()), language), sources);
}

}  // namespace grx
