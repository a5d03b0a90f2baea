#include "GeoWriters.h"

#include "control/ControlTexts.h"
#include "platform/NumberFormat.h"
#include "platform/TextCells.h"

#include <QFileInfo>

#include <cmath>
#include <cstdio>

namespace grx {
namespace {

// The moduli and the s/v ratio as the series table rounds them, with a point.
void appendValue(QByteArray& out, double value, QStringView picture, const char* none) {
  if (std::isfinite(value)) appendFloat(out, value, picture, '.');
  else out += none;
}

void appendDegrees(QByteArray& out, double degrees) { out += QByteArray::number(degrees, 'f', 7); }

// ISO 8601 without a zone: the tester keeps its local time and does not say which zone it is.
QByteArray isoTime(const GeoPoint& p) {
  if (!p.time.isValid()) return {};
  const QDate d = p.time.date();
  const QTime t = p.time.time();
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", d.year(), d.month(), d.day(), t.hour(), t.minute(),
                t.second());
  return QByteArray(text);
}

// A JSON string: quotes, backslashes and control characters escaped.
void appendJsonString(QByteArray& out, const QString& text) {
  out += '"';
  for (const char c : text.toUtf8()) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      static const char hex[] = "0123456789abcdef";
      out += "\\u00";
      out += hex[u >> 4];
      out += hex[u & 15];
    } else {
      out += c;
    }
  }
  out += '"';
}

// Text for XML: the five special characters as entities, characters XML 1.0 does not allow as
// blanks (a damaged name field may hold them).
void appendXml(QByteArray& out, const QString& text) {
  for (const char c : text.toUtf8()) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t') out += ' ';
        else out += c;
    }
  }
}

void appendCsvCell(QByteArray& out, const QString& text) {
  const QByteArray bytes = text.toUtf8();
  if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') && !bytes.contains('\r')) {
    out += bytes;
    return;
  }
  out += '"';
  for (const char c : bytes) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

// A tester's name as a CSV cell: on one line, and never a formula for the spreadsheet that opens it.
void appendCsvName(QByteArray& out, const QString& name) { appendCsvCell(out, spreadsheetSafeCell(singleLineText(name))); }

// Only a point that was judged carries a verdict in the files; the rest have none (and the grey style).
bool judged(Verdict v) { return v == Verdict::Pass || v == Verdict::Fail; }
const char* styleOf(Verdict v) { return v == Verdict::Pass ? "pass" : v == Verdict::Fail ? "fail" : "none"; }

// The values of a series as lines "name: value" in the language, for KML and GPX descriptions.
QString description(const GeoPoint& p, Language language) {
  const bool ru = language == Language::Russian;
  auto line = [](const char* name, const QString& value) { return QString::fromUtf8(name) + QStringLiteral(": ") + value + u'\n'; };
  QString text;
  text += line(ru ? "Серия" : "Series", p.label);
  if (p.time.isValid()) text += line(ru ? "Дата" : "Date", p.time.toString(QStringLiteral("dd.MM.yyyy, HH:mm:ss")));
  text += line(ru ? "Ударов" : "Impacts", QString::number(p.impacts));
  text += line(ru ? "Дин. модуль, МПа" : "Dynamic modulus, MPa", formatFloat(p.dynamic, u"0.0"));
  text += line(ru ? "Стат. модуль, МПа" : "Static modulus, MPa", formatFloat(p.statics, u"0.0"));
  text += line(ru ? "s/v, мс" : "s/v, ms", formatFloat(p.sv, u"0.000"));
  text += line(ru ? "Грунт" : "Soil", p.material);
  text += line(ru ? "Объект" : "Object", p.object);
  if (p.verdict != Verdict::None) text += line(ru ? "Оценка" : "Verdict", verdictText(p.verdict, language));
  text.chop(1);
  return text;
}

}  // namespace

std::optional<GeoFormat> geoFormatOfPath(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == u"geojson") return GeoFormat::GeoJson;
  if (suffix == u"kml") return GeoFormat::Kml;
  if (suffix == u"gpx") return GeoFormat::Gpx;
  if (suffix == u"csv") return GeoFormat::Csv;
  return std::nullopt;
}

QByteArray geoJson(const std::vector<GeoPoint>& points) {
  QByteArray out;
  out.reserve(qsizetype(points.size()) * 360 + 64);
  out += "{\"type\":\"FeatureCollection\",\"features\":[";
  bool first = true;
  for (const GeoPoint& p : points) {
    out += first ? "\n" : ",\n";
    first = false;
    out += "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[";
    appendDegrees(out, p.longitude);
    out += ',';
    appendDegrees(out, p.latitude);
    out += "]},\"properties\":{\"series\":";
    appendJsonString(out, p.label);
    out += ",\"date\":";
    if (p.time.isValid()) {
      out += '"';
      out += isoTime(p);
      out += '"';
    }
    else out += "null";
    out += ",\"impacts\":" + QByteArray::number(p.impacts) + ",\"dyn_modulus_mpa\":";
    appendValue(out, p.dynamic, u"0.0", "null");
    out += ",\"stat_modulus_mpa\":";
    appendValue(out, p.statics, u"0.0", "null");
    out += ",\"sv_ms\":";
    appendValue(out, p.sv, u"0.000", "null");
    out += ",\"material\":";
    appendJsonString(out, p.material);
    out += ",\"object\":";
    appendJsonString(out, p.object);
    out += ",\"verdict\":";
    out += p.verdict == Verdict::Pass ? "\"pass\"" : p.verdict == Verdict::Fail ? "\"fail\"" : "null";
    out += "}}";
  }
  out += "\n]}\n";
  return out;
}

QByteArray geoKml(const std::vector<GeoPoint>& points, Language language) {
  QByteArray out;
  out.reserve(qsizetype(points.size()) * 900 + 1024);
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n";
  out += "<name>GRX1</name>\n";
  // KML colours are aabbggrr: a green, a red and a grey pin.
  for (const auto& [id, colour] : {std::pair{"pass", "ff00b000"}, {"fail", "ff0000ff"}, {"none", "ff808080"}}) {
    out += "<Style id=\"";
    out += id;
    out += "\"><IconStyle><color>";
    out += colour;
    out += "</color></IconStyle></Style>\n";
  }
  for (const GeoPoint& p : points) {
    out += "<Placemark><name>";
    appendXml(out, p.label);
    out += "</name><description>";
    appendXml(out, description(p, language));
    out += "</description>";
    if (p.time.isValid()) out += "<TimeStamp><when>" + isoTime(p) + "</when></TimeStamp>";
    out += "<styleUrl>#";
    out += styleOf(p.verdict);
    out += "</styleUrl><ExtendedData>";
    auto data = [&out](const char* key, const QByteArray& value) {
      out += "<Data name=\"";
      out += key;
      out += "\"><value>";
      out += value;
      out += "</value></Data>";
    };
    auto number = [](double v, QStringView picture) {
      QByteArray b;
      appendValue(b, v, picture, "");
      return b;
    };
    auto xml = [](const QString& text) {
      QByteArray b;
      appendXml(b, text);
      return b;
    };
    data("series", xml(p.label));
    data("date", isoTime(p));
    data("impacts", QByteArray::number(p.impacts));
    data("dyn_modulus_mpa", number(p.dynamic, u"0.0"));
    data("stat_modulus_mpa", number(p.statics, u"0.0"));
    data("sv_ms", number(p.sv, u"0.000"));
    data("material", xml(p.material));
    data("object", xml(p.object));
    data("verdict", judged(p.verdict) ? QByteArray(styleOf(p.verdict)) : QByteArray());
    out += "</ExtendedData><Point><coordinates>";
    appendDegrees(out, p.longitude);
    out += ',';
    appendDegrees(out, p.latitude);
    out += "</coordinates></Point></Placemark>\n";
  }
  out += "</Document>\n</kml>\n";
  return out;
}

QByteArray geoGpx(const std::vector<GeoPoint>& points, Language language) {
  QByteArray out;
  out.reserve(qsizetype(points.size()) * 400 + 256);
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<gpx version=\"1.1\" creator=\"GRX1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
  for (const GeoPoint& p : points) {
    out += "<wpt lat=\"";
    appendDegrees(out, p.latitude);
    out += "\" lon=\"";
    appendDegrees(out, p.longitude);
    out += "\">";
    if (p.time.isValid()) out += "<time>" + isoTime(p) + "</time>";
    out += "<name>";
    appendXml(out, p.label);
    out += "</name><desc>";
    appendXml(out, description(p, language));
    out += "</desc></wpt>\n";
  }
  out += "</gpx>\n";
  return out;
}

QByteArray geoCsv(const std::vector<GeoPoint>& points) {
  QByteArray out;
  out.reserve(qsizetype(points.size()) * 160 + 128);
  out += "series,date,impacts,dyn_modulus_mpa,stat_modulus_mpa,sv_ms,material,object,verdict,latitude,longitude\r\n";
  for (const GeoPoint& p : points) {
    appendCsvCell(out, p.label);
    out += ',';
    out += isoTime(p);
    out += ',' + QByteArray::number(p.impacts) + ',';
    appendValue(out, p.dynamic, u"0.0", "");
    out += ',';
    appendValue(out, p.statics, u"0.0", "");
    out += ',';
    appendValue(out, p.sv, u"0.000", "");
    out += ',';
    appendCsvName(out, p.material);
    out += ',';
    appendCsvName(out, p.object);
    out += ',';
    if (judged(p.verdict)) out += styleOf(p.verdict);
    out += ',';
    appendDegrees(out, p.latitude);
    out += ',';
    appendDegrees(out, p.longitude);
    out += "\r\n";
  }
  return out;
}

QString geoPointDescription(const GeoPoint& point, Language language) { return description(point, language); }

QByteArray geoFile(GeoFormat format, const std::vector<GeoPoint>& points, Language language) {
  switch (format) {
    case GeoFormat::GeoJson: return geoJson(points);
    case GeoFormat::Kml: return geoKml(points, language);
    case GeoFormat::Gpx: return geoGpx(points, language);
    case GeoFormat::Csv: return geoCsv(points);
  }
  return {};
}

SafeWriteResult writeGeoFile(const QString& path, GeoFormat format, const std::vector<GeoPoint>& points, Language language) {
  return writeFileSafely(path, geoFile(format, points, language));
}

}  // namespace grx
