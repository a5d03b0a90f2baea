#include "ReportOds.h"

#include "ColumnGrid.h"
#include "StoredZip.h"
#include "platform/SafeFile.h"

#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>
#include <vector>

namespace grx {
namespace {

constexpr auto kMimeType = "application/vnd.oasis.opendocument.spreadsheet";
constexpr auto kOdfVersion = "1.2";

QString mm(double v) { return QString::number(v, 'f', 2) + QStringLiteral("mm"); }

struct Cell {
  int left = 0;
  int span = 1;
  QStringList lines;
  QString style;
};

struct Row {
  QString style;
  std::vector<Cell> cells;  // left to right
};

// Automatic styles, one per distinct look, named as they are first needed.
class Styles {
 public:
  QString cell(const PlacedText& t) {
    const auto key = std::make_tuple(t.font.family, t.font.pointSize, t.font.bold, t.frame, int(t.hAlign));
    return name(cells_, key, "ce");
  }
  QString row(double heightMm, bool pageBreak) {
    return name(pageBreak ? breakRows_ : rows_, std::llround(heightMm * 100), pageBreak ? "rb" : "ro");
  }
  void write(QXmlStreamWriter& w, const ColumnGrid& columns) const;
  std::set<QString> fonts() const {
    std::set<QString> out;
    for (const auto& [key, name] : cells_) out.insert(std::get<0>(key));
    return out;
  }

 private:
  template <class Map>
  static QString name(Map& map, const typename Map::key_type& key, const char* prefix) {
    const auto it = map.find(key);
    if (it != map.end()) return it->second;
    return map.emplace(key, QString::fromLatin1(prefix) + QString::number(map.size() + 1)).first->second;
  }
  std::map<std::tuple<QString, double, bool, bool, int>, QString> cells_;
  std::map<long long, QString> rows_, breakRows_;
};

void Styles::write(QXmlStreamWriter& w, const ColumnGrid& columns) const {
  w.writeStartElement(QStringLiteral("style:style"));
  w.writeAttribute(QStringLiteral("style:name"), QStringLiteral("ta1"));
  w.writeAttribute(QStringLiteral("style:family"), QStringLiteral("table"));
  w.writeAttribute(QStringLiteral("style:master-page-name"), QStringLiteral("Default"));
  w.writeEmptyElement(QStringLiteral("style:table-properties"));
  w.writeAttribute(QStringLiteral("table:display"), QStringLiteral("true"));
  w.writeEndElement();
  for (int c = 0; c < columns.count(); ++c) {
    w.writeStartElement(QStringLiteral("style:style"));
    w.writeAttribute(QStringLiteral("style:name"), QStringLiteral("co%1").arg(c + 1));
    w.writeAttribute(QStringLiteral("style:family"), QStringLiteral("table-column"));
    w.writeEmptyElement(QStringLiteral("style:table-column-properties"));
    w.writeAttribute(QStringLiteral("style:column-width"), mm(columns.widthMm(c)));
    w.writeEndElement();
  }
  for (const auto* rows : {&rows_, &breakRows_}) {
    for (const auto& [height, name] : *rows) {
      w.writeStartElement(QStringLiteral("style:style"));
      w.writeAttribute(QStringLiteral("style:name"), name);
      w.writeAttribute(QStringLiteral("style:family"), QStringLiteral("table-row"));
      w.writeEmptyElement(QStringLiteral("style:table-row-properties"));
      w.writeAttribute(QStringLiteral("style:row-height"), mm(height / 100.0));
      w.writeAttribute(QStringLiteral("style:use-optimal-row-height"), QStringLiteral("false"));
      if (rows == &breakRows_) w.writeAttribute(QStringLiteral("fo:break-before"), QStringLiteral("page"));
      w.writeEndElement();
    }
  }
  for (const auto& [key, name] : cells_) {
    const auto& [family, pointSize, bold, frame, align] = key;
    w.writeStartElement(QStringLiteral("style:style"));
    w.writeAttribute(QStringLiteral("style:name"), name);
    w.writeAttribute(QStringLiteral("style:family"), QStringLiteral("table-cell"));
    w.writeEmptyElement(QStringLiteral("style:table-cell-properties"));
    w.writeAttribute(QStringLiteral("style:text-align-source"), QStringLiteral("fix"));
    w.writeAttribute(QStringLiteral("style:vertical-align"), QStringLiteral("middle"));
    w.writeAttribute(QStringLiteral("fo:wrap-option"), QStringLiteral("wrap"));
    if (frame) w.writeAttribute(QStringLiteral("fo:border"), QStringLiteral("0.5pt solid #000000"));
    w.writeEmptyElement(QStringLiteral("style:paragraph-properties"));
    w.writeAttribute(QStringLiteral("fo:text-align"), align == int(HAlign::Left)    ? QStringLiteral("start")
                                                      : align == int(HAlign::Right) ? QStringLiteral("end")
                                                                                    : QStringLiteral("center"));
    w.writeEmptyElement(QStringLiteral("style:text-properties"));
    w.writeAttribute(QStringLiteral("style:font-name"), family);
    w.writeAttribute(QStringLiteral("fo:font-size"), QString::number(pointSize) + QStringLiteral("pt"));
    w.writeAttribute(QStringLiteral("fo:font-weight"), bold ? QStringLiteral("bold") : QStringLiteral("normal"));
    w.writeEndElement();
  }
}

// One row per band, as the spreadsheet export lays them out.
std::vector<Row> sheetRows(const PreparedReport& report, const ColumnGrid& columns, Styles& styles) {
  std::vector<Row> rows;
  for (int p = 0; p < report.pages.size(); ++p) {
    const ReportPage& page = report.pages[p];
    for (int b = 0; b < page.bands.size(); ++b) {
      const PlacedBand& band = page.bands[b];
      Row row{styles.row(tableRowHeightMm(page, band), p > 0 && b == 0), {}};
      for (int i = 0; i < band.textCount; ++i) {
        const PlacedText& t = page.texts[band.firstText + i];
        const int left = columns.columnAt(t.rect.left(), false);
        const int right = std::max(left, columns.columnAt(t.rect.right(), true));
        row.cells.push_back({left, right - left + 1, t.lines, styles.cell(t)});
      }
      std::sort(row.cells.begin(), row.cells.end(), [](const Cell& a, const Cell& b) { return a.left < b.left; });
      rows.push_back(std::move(row));
    }
  }
  return rows;
}

void writeRepeated(QXmlStreamWriter& w, const QString& element, int count) {
  if (count <= 0) return;
  w.writeEmptyElement(element);
  if (count > 1) w.writeAttribute(QStringLiteral("table:number-columns-repeated"), QString::number(count));
}

void writeRow(QXmlStreamWriter& w, const Row& row) {
  w.writeStartElement(QStringLiteral("table:table-row"));
  w.writeAttribute(QStringLiteral("table:style-name"), row.style);
  int next = 0;  // the first column not written yet
  for (const Cell& c : row.cells) {
    if (c.left < next) continue;  // texts that share a column: the first one keeps it
    writeRepeated(w, QStringLiteral("table:table-cell"), c.left - next);
    w.writeStartElement(QStringLiteral("table:table-cell"));
    w.writeAttribute(QStringLiteral("table:style-name"), c.style);
    w.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("string"));
    if (c.span > 1) {
      w.writeAttribute(QStringLiteral("table:number-columns-spanned"), QString::number(c.span));
      w.writeAttribute(QStringLiteral("table:number-rows-spanned"), QStringLiteral("1"));
    }
    for (const QString& line : c.lines) w.writeTextElement(QStringLiteral("text:p"), line);
    w.writeEndElement();
    writeRepeated(w, QStringLiteral("table:covered-table-cell"), c.span - 1);
    next = c.left + c.span;
  }
  w.writeEndElement();
}

void startDocument(QXmlStreamWriter& w, const QString& root, std::initializer_list<const char*> prefixes) {
  static const std::map<QString, QString> kNamespaces = {
      {"office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0"},
      {"style", "urn:oasis:names:tc:opendocument:xmlns:style:1.0"},
      {"text", "urn:oasis:names:tc:opendocument:xmlns:text:1.0"},
      {"table", "urn:oasis:names:tc:opendocument:xmlns:table:1.0"},
      {"fo", "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"},
      {"svg", "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"},
      {"meta", "urn:oasis:names:tc:opendocument:xmlns:meta:1.0"},
      {"dc", "http://purl.org/dc/elements/1.1/"},
  };
  w.writeStartDocument();
  w.writeStartElement(root);
  for (const char* p : prefixes)
    w.writeAttribute(QStringLiteral("xmlns:") + QLatin1String(p), kNamespaces.at(QLatin1String(p)));
  w.writeAttribute(QStringLiteral("office:version"), QLatin1String(kOdfVersion));
}

QByteArray contentXml(const PreparedReport& report) {
  const ColumnGrid columns(report);
  Styles styles;
  const std::vector<Row> rows = sheetRows(report, columns, styles);
  QByteArray out;
  QXmlStreamWriter w(&out);
  startDocument(w, QStringLiteral("office:document-content"), {"office", "style", "text", "table", "fo", "svg"});
  w.writeStartElement(QStringLiteral("office:font-face-decls"));
  for (const QString& font : styles.fonts()) {
    w.writeEmptyElement(QStringLiteral("style:font-face"));
    w.writeAttribute(QStringLiteral("style:name"), font);
    w.writeAttribute(QStringLiteral("svg:font-family"), u'\'' + font + u'\'');
  }
  w.writeEndElement();
  w.writeStartElement(QStringLiteral("office:automatic-styles"));
  styles.write(w, columns);
  w.writeEndElement();
  w.writeStartElement(QStringLiteral("office:body"));
  w.writeStartElement(QStringLiteral("office:spreadsheet"));
  w.writeStartElement(QStringLiteral("table:table"));
  w.writeAttribute(QStringLiteral("table:name"), QStringLiteral("Sheet1"));
  w.writeAttribute(QStringLiteral("table:style-name"), QStringLiteral("ta1"));
  for (int c = 0; c < columns.count(); ++c) {
    w.writeEmptyElement(QStringLiteral("table:table-column"));
    w.writeAttribute(QStringLiteral("table:style-name"), QStringLiteral("co%1").arg(c + 1));
  }
  for (const Row& row : rows) writeRow(w, row);
  w.writeEndDocument();  // closes every open element
  return out;
}

// The page: the template's paper and margins under the master page the sheet names.
QByteArray stylesXml(const PreparedReport& report) {
  QByteArray out;
  QXmlStreamWriter w(&out);
  startDocument(w, QStringLiteral("office:document-styles"), {"office", "style", "fo"});
  w.writeStartElement(QStringLiteral("office:automatic-styles"));
  w.writeStartElement(QStringLiteral("style:page-layout"));
  w.writeAttribute(QStringLiteral("style:name"), QStringLiteral("pm1"));
  w.writeEmptyElement(QStringLiteral("style:page-layout-properties"));
  w.writeAttribute(QStringLiteral("fo:page-width"), mm(report.pageWidthMm));
  w.writeAttribute(QStringLiteral("fo:page-height"), mm(report.pageHeightMm));
  w.writeAttribute(QStringLiteral("style:print-orientation"),
                   report.pageWidthMm > report.pageHeightMm ? QStringLiteral("landscape") : QStringLiteral("portrait"));
  w.writeAttribute(QStringLiteral("fo:margin-top"), mm(report.topMarginMm));
  w.writeAttribute(QStringLiteral("fo:margin-bottom"), mm(report.bottomMarginMm));
  w.writeAttribute(QStringLiteral("fo:margin-left"), mm(report.leftMarginMm));
  w.writeAttribute(QStringLiteral("fo:margin-right"), mm(report.rightMarginMm));
  w.writeEndElement();
  w.writeEndElement();
  w.writeStartElement(QStringLiteral("office:master-styles"));
  w.writeEmptyElement(QStringLiteral("style:master-page"));
  w.writeAttribute(QStringLiteral("style:name"), QStringLiteral("Default"));
  w.writeAttribute(QStringLiteral("style:page-layout-name"), QStringLiteral("pm1"));
  w.writeEndDocument();
  return out;
}

// The document's language is English, as the report's export settings have always had it.
QByteArray metaXml() {
  QByteArray out;
  QXmlStreamWriter w(&out);
  startDocument(w, QStringLiteral("office:document-meta"), {"office", "meta", "dc"});
  w.writeStartElement(QStringLiteral("office:meta"));
  w.writeTextElement(QStringLiteral("meta:generator"), QStringLiteral("GRX-1"));
  w.writeTextElement(QStringLiteral("dc:language"), QStringLiteral("en"));
  w.writeEndDocument();
  return out;
}

QByteArray manifestXml() {
  QByteArray out;
  QXmlStreamWriter w(&out);
  w.writeStartDocument();
  w.writeStartElement(QStringLiteral("manifest:manifest"));
  w.writeAttribute(QStringLiteral("xmlns:manifest"), QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"));
  w.writeAttribute(QStringLiteral("manifest:version"), QLatin1String(kOdfVersion));
  const std::pair<const char*, const char*> entries[] = {
      {"/", kMimeType}, {"content.xml", "text/xml"}, {"styles.xml", "text/xml"}, {"meta.xml", "text/xml"}};
  for (const auto& [path, type] : entries) {
    w.writeEmptyElement(QStringLiteral("manifest:file-entry"));
    w.writeAttribute(QStringLiteral("manifest:full-path"), QLatin1String(path));
    if (QLatin1String(path) == u"/") w.writeAttribute(QStringLiteral("manifest:version"), QLatin1String(kOdfVersion));
    w.writeAttribute(QStringLiteral("manifest:media-type"), QLatin1String(type));
  }
  w.writeEndDocument();
  return out;
}

}  // namespace

QByteArray reportOds(const PreparedReport& report) {
  StoredZip zip(QDateTime::currentDateTime());
  zip.add(QStringLiteral("mimetype"), kMimeType);  // first and stored, so a reader finds the type at byte 38
  zip.add(QStringLiteral("META-INF/manifest.xml"), manifestXml());
  zip.add(QStringLiteral("meta.xml"), metaXml());
  zip.add(QStringLiteral("styles.xml"), stylesXml(report));
  zip.add(QStringLiteral("content.xml"), contentXml(report));
  return zip.bytes();
}

bool writeReportOds(const PreparedReport& report, const QString& path) {
  return writeFileSafely(path, reportOds(report)) == SafeWriteResult::Ok;
}

}  // namespace grx
