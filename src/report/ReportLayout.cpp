#include "ReportLayout.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>

#include <algorithm>
#include <memory>
#include <numeric>
#include <utility>
#include <vector>

namespace grx {

int PreparedReport::recordCount() const {
  int n = 0;
  for (const ReportPage& p : pages)
    for (const PlacedBand& b : p.bands) n += b.kind == BandKind::MasterData;
  return n;
}

namespace {

// Text is measured as if printed at 1200 dots per inch with hinting off, where advances scale
// linearly, so the layout is the same on every device it is painted on.
constexpr double kReferenceDpi = 1200;
constexpr double kMmPerReferenceDot = 25.4 / kReferenceDpi;

// The reports name Windows' families. A Windows without one of them (Wine has none) gets its
// metric twin when that is installed, as fontconfig gives it on Linux, so that texts are measured
// and laid out alike everywhere.
void useMetricTwins() {
#ifdef Q_OS_WIN
  static const bool done = [] {
    const QStringList families = QFontDatabase::families();
    const std::pair<const char*, const char*> twins[] = {
        {"Times New Roman", "Liberation Serif"}, {"Arial", "Liberation Sans"}, {"Courier New", "Liberation Mono"}};
    for (const auto& [family, twin] : twins)
      if (!families.contains(QLatin1String(family)) && families.contains(QLatin1String(twin)))
        QFont::insertSubstitution(QLatin1String(family), QLatin1String(twin));
    return true;
  }();
  (void)done;
#endif
}

class Measure {
 public:
  explicit Measure(const ReportFont& font) : metrics_(makeFont(font), referenceDevice()) {}

  double widthMm(QStringView text) const { return metrics_.horizontalAdvance(text.toString()) * kMmPerReferenceDot; }
  double lineHeightMm() const { return metrics_.height() * kMmPerReferenceDot; }

  static QFont makeFont(const ReportFont& font) {
    useMetricTwins();
    QFont f(font.family);
    f.setPointSizeF(font.pointSize);
    f.setBold(font.bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
  }

 private:
  static QPaintDevice* referenceDevice() {
    static QImage image = [] {
      QImage i(1, 1, QImage::Format_Mono);
      const int dotsPerMeter = int(kReferenceDpi / 0.0254 + 0.5);
      i.setDotsPerMeterX(dotsPerMeter);
      i.setDotsPerMeterY(dotsPerMeter);
      return i;
    }();
    return &image;
  }

  QFontMetricsF metrics_;
};

// The fonts of one layout, measured once each. Kept per layout rather than for the whole run, so no
// font outlives the application object.
class FontMeasures {
 public:
  const Measure& of(const ReportFont& font) {
    for (const auto& [f, m] : fonts_)
      if (f.pointSize == font.pointSize && f.bold == font.bold && f.family == font.family) return *m;
    fonts_.emplace_back(font, std::make_unique<Measure>(font));
    return *fonts_.back().second;
  }

 private:
  std::vector<std::pair<ReportFont, std::unique_ptr<Measure>>> fonts_;
};

void wrapParagraph(const QString& paragraph, const Measure& m, double width, QStringList& out) {
  if (m.widthMm(paragraph) <= width) {
    out.append(paragraph);
    return;
  }
  const QStringList words = paragraph.split(u' ', Qt::SkipEmptyParts);
  QString line;
  for (const QString& word : words) {
    const QString candidate = line.isEmpty() ? word : line + u' ' + word;
    if (m.widthMm(candidate) <= width) {
      line = candidate;
      continue;
    }
    if (!line.isEmpty()) out.append(line);
    line = word;
    // A word wider than the cell is broken where it has to be.
    while (line.size() > 1 && m.widthMm(line) > width) {
      qsizetype fit = line.size() - 1;
      while (fit > 1 && m.widthMm(QStringView(line).left(fit)) > width) --fit;
      out.append(line.left(fit));
      line = line.mid(fit);
    }
  }
  if (!line.isEmpty() || out.isEmpty()) out.append(line);
}

struct Laid {
  QVector<PlacedText> texts;
  QVector<PlacedDrawing> drawings;
  double heightMm = 0;
};

// Resolves and measures one band without placing it yet.
QStringList wrapWith(const QString& text, const Measure& m, double widthMm);

Laid measureBand(const ReportBand& band, const ReportSources& sources, int record, int page, FontMeasures& fonts,
                 int pageCount = 0) {
  Laid laid;
  laid.heightMm = band.heightMm;
  laid.texts.reserve(band.cells.size());
  QVector<const ReportCell*> textCells;
  int column = 0;
  for (const ReportCell& cell : band.cells) {
    const QRectF rect(cell.leftMm, cell.topMm, cell.widthMm, cell.heightMm);
    if (!cell.drawing.isEmpty()) {
      // A picture keeps its place and size; it holds no text for the exports.
      if (sources.drawings) laid.drawings.append({rect, sources.drawings(cell.drawing, record, rect.size())});
      continue;
    }
    PlacedText t;
    const QString text = expandVariables(cell.text, sources.variables, record, page, pageCount);
    const Measure& m = fonts.of(cell.font);
    t.lines = wrapWith(text, m, cell.widthMm - 2 * kCellPaddingXMm);
    t.lineHeightMm = m.lineHeightMm();
    t.font = cell.font;
    t.hAlign = cell.hAlign;
    t.vAlign = cell.vAlign;
    t.frame = cell.frame;
    t.column = column++;
    t.rect = rect;
    if (band.stretch) {
      const double needed = t.lines.size() * t.lineHeightMm + 2 * kCellPaddingYMm;
      laid.heightMm = std::max(laid.heightMm, cell.topMm + needed);
    }
    laid.texts.append(std::move(t));
    textCells.append(&cell);
  }
  for (int i = 0; i < laid.texts.size(); ++i) {
    const ReportCell& cell = *textCells[i];
    if (cell.stretch) laid.texts[i].rect.setHeight(laid.heightMm - cell.topMm);
  }
  return laid;
}

void place(ReportPage& page, BandKind kind, Laid laid, double left, double top, int record) {
  PlacedBand b;
  b.kind = kind;
  b.topMm = top;
  b.heightMm = laid.heightMm;
  b.firstText = page.texts.size();
  b.textCount = laid.texts.size();
  b.record = record;
  b.firstDrawing = page.drawings.size();
  b.drawingCount = laid.drawings.size();
  page.bands.append(b);
  for (PlacedText& t : laid.texts) {
    t.rect.translate(left, top);
    if (t.frame) {
      const QRectF& r = t.rect;
      page.lines.append({r.topLeft(), r.topRight()});
      page.lines.append({r.bottomLeft(), r.bottomRight()});
      page.lines.append({r.topLeft(), r.bottomLeft()});
      page.lines.append({r.topRight(), r.bottomRight()});
    }
    page.texts.append(std::move(t));
  }
  for (PlacedDrawing& d : laid.drawings) {
    d.rect.translate(left, top);
    page.drawings.append(std::move(d));
  }
}

}  // namespace

namespace {

QStringList wrapWith(const QString& text, const Measure& m, double widthMm) {
  QStringList lines;
  if (!text.contains(u'\n') && !text.contains(u'\r')) {
    wrapParagraph(text, m, widthMm, lines);
    return lines;
  }
  QString plain = text;
  plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  for (const QString& paragraph : plain.split(u'\n')) wrapParagraph(paragraph, m, widthMm, lines);
  return lines;
}

}  // namespace

double lineHeightMm(const ReportFont& font) { return Measure(font).lineHeightMm(); }

double textWidthMm(const QString& text, const ReportFont& font) { return Measure(font).widthMm(text); }

QVector<double> tableColumnWidths(const QVector<QStringList>& columns, int headingRows, const ReportFont& font,
                                  double widthMm) {
  const Measure m(font);
  QHash<QString, double> measured;  // the same dates, names and words come again and again
  auto width = [&](const QString& text) {
    auto it = measured.constFind(text);
    if (it == measured.cend()) it = measured.insert(text, m.widthMm(text));
    return *it;
  };
  // The padding, a hair so that no rounding breaks a line, and some air beside the frame.
  const double room = 2 * kCellPaddingXMm + 0.05 + 1.0;
  // Three widths of each column, from the least to the most: its widest word, its longest data
  // line, its longest line of all.
  const int n = int(columns.size());
  QVector<double> levels[3] = {QVector<double>(n), QVector<double>(n), QVector<double>(n)};
  for (int c = 0; c < n; ++c) {
    double word = 0, data = 0, line = 0;
    for (qsizetype r = 0; r < columns[c].size(); ++r)
      for (const QString& paragraph : QString(columns[c][r]).replace(u'\r', u'\n').split(u'\n')) {
        line = std::max(line, width(paragraph));
        if (r >= headingRows) data = std::max(data, width(paragraph));
        for (const QString& w : paragraph.split(u' ', Qt::SkipEmptyParts)) word = std::max(word, width(w));
      }
    levels[0][c] = word + room;
    levels[1][c] = std::max(word, data) + room;
    levels[2][c] = line + room;
  }
  auto sum = [](const QVector<double>& v) { return std::accumulate(v.begin(), v.end(), 0.0); };
  if (sum(levels[0]) >= widthMm) {  // the words alone are too wide: the widest of them break
    QVector<double> widths = levels[0];
    for (double& w : widths) w *= widthMm / sum(levels[0]);
    return widths;
  }
  if (sum(levels[2]) <= widthMm) {  // every line fits: the room left goes to the columns by their lines
    QVector<double> widths = levels[2];
    for (double& w : widths) w += (widthMm - sum(levels[2])) * w / sum(levels[2]);
    return widths;
  }
  // The highest level that fits whole, and the room left shared by what the next one would add:
  // headings are broken into lines before data.
  const int fit = sum(levels[1]) <= widthMm ? 1 : 0;
  const double more = sum(levels[fit + 1]) - sum(levels[fit]);
  QVector<double> widths = levels[fit];
  for (int c = 0; c < n; ++c) widths[c] += (widthMm - sum(levels[fit])) * (levels[fit + 1][c] - levels[fit][c]) / more;
  return widths;
}

QStringList wrapText(const QString& text, const ReportFont& font, double widthMm) {
  return wrapWith(text, Measure(font), widthMm);
}

QString expandVariables(const QString& text, const ReportVariables& variables, int recordNumber, int page,
                        int pageCount) {
  if (!text.contains(u'[')) return text;
  QString out;
  out.reserve(text.size());
  qsizetype i = 0;
  while (i < text.size()) {
    const qsizetype open = text.indexOf(u'[', i);
    const qsizetype close = open < 0 ? -1 : text.indexOf(u']', open + 1);
    if (open < 0 || close < 0) {
      out += QStringView(text).mid(i);
      break;
    }
    out += QStringView(text).mid(i, open - i);
    const QString name = text.mid(open + 1, close - open - 1);
    if (name == u"PAGE#")
      out += QString::number(page);
    else if (name == u"TOTALPAGES#")
      out += QString::number(pageCount);
    else if (variables)
      out += variables(name, recordNumber);
    i = close + 1;
  }
  return out;
}

PreparedReport layOutReport(const ReportTemplate& report, const ReportVariables& variables,
                            const ReportRowSource& rows) {
  return layOutReport(report, ReportSources{variables, {rows}, {}});
}

PreparedReport layOutReport(const ReportTemplate& report, const ReportSources& sources) {
  PreparedReport prepared;
  prepared.pageWidthMm = report.pageWidthMm;
  prepared.pageHeightMm = report.pageHeightMm;
  prepared.leftMarginMm = report.leftMarginMm;
  prepared.rightMarginMm = report.rightMarginMm;
  prepared.topMarginMm = report.topMarginMm;
  prepared.bottomMarginMm = report.bottomMarginMm;
  const ReportBand* title = report.band(BandKind::ReportTitle);
  const ReportBand* header = report.band(BandKind::PageHeader);
  const ReportBand* footer = report.band(BandKind::PageFooter);
  const double left = report.leftMarginMm;
  const double footerTop = report.pageHeightMm - report.bottomMarginMm - (footer ? footer->heightMm : 0);

  FontMeasures fonts;
  double y = 0;
  int bodyOnPage = 0;  // data rows and data headers on the page
  auto pageNumber = [&] { return int(prepared.pages.size()); };
  auto put = [&](const ReportBand& band, BandKind kind, int record) {
    Laid laid = measureBand(band, sources, record, pageNumber(), fonts);
    const double h = laid.heightMm;
    place(prepared.pages.last(), kind, std::move(laid), left, y, record);
    y += h;
  };
  auto startPage = [&] {
    prepared.pages.append(ReportPage{});
    y = report.topMarginMm;
    bodyOnPage = 0;
    if (title && pageNumber() == 1) put(*title, BandKind::ReportTitle, -1);
    if (header) put(*header, BandKind::PageHeader, -1);
  };
  auto fits = [&](double height) { return y + height <= footerTop + 1e-9 || bodyOnPage == 0; };

  startPage();
  QVector<const ReportBand*> headers;  // the data headers of the next data band
  for (const ReportBand& band : report.bands) {
    if (band.kind == BandKind::DataHeader) headers.append(&band);
    if (band.kind != BandKind::MasterData) continue;
    const QVector<const ReportBand*> own = std::exchange(headers, {});
    if (band.source < 0 || band.source >= sources.rows.size()) continue;
    const ReportRowSource& rows = sources.rows[band.source];
    if (!rows.eof) continue;
    if (rows.first) rows.first();
    for (int record = 0; !rows.eof(record); ++record) {
      Laid laid = measureBand(band, sources, record, pageNumber(), fonts);
      // A row that does not fit goes whole to the next page (its headers with the first row); a row
      // taller than an empty page is printed anyway rather than looping for ever.
      double needed = laid.heightMm;
      if (record == 0)
        for (const ReportBand* h : own) needed += measureBand(*h, sources, -1, pageNumber(), fonts).heightMm;
      const bool breakBefore = !fits(needed);
      if (breakBefore) startPage();
      for (const ReportBand* h : own)
        if (record == 0 || (breakBefore && h->reprint)) {
          put(*h, BandKind::DataHeader, -1);
          ++bodyOnPage;
        }
      const double h = laid.heightMm;
      place(prepared.pages.last(), BandKind::MasterData, std::move(laid), left, y, record);
      y += h;
      ++bodyOnPage;
    }
  }
  // The footers come last, when the number of pages is known.
  if (footer)
    for (int p = 0; p < prepared.pages.size(); ++p)
      place(prepared.pages[p], BandKind::PageFooter, measureBand(*footer, sources, -1, p + 1, fonts, pageNumber()), left,
            footerTop, -1);
  return prepared;
}

}  // namespace grx
