#include "CliCalibrate.h"

#include "control/Calibration.h"
#include "platform/IniFile.h"
#include "platform/LocalFiles.h"
#include "platform/Messages.h"
#include "platform/NumberFormat.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QRegularExpression>
#include <QTextStream>

#include <cmath>
#include <optional>

namespace grx {
namespace {

constexpr const char* kCalibrateUsage =
    "usage: grx1-cli calibrate PAIRS.csv [--model linear|power] [--confidence 0.9] [--require VALUE] "
    "[--format text|json] [--lang ru|en]";

constexpr TextPair kNotTwoNumbers{"строка %1: не два числа", "line %1: not two numbers"};
constexpr TextPair kNoPairs{"в файле нет пар", "the file holds no pairs"};
constexpr TextPair kCannotFit{"пары нельзя аппроксимировать: %1", "the pairs cannot be fitted: %1"};
constexpr TextPair kUnreached{"%1 не достигается в диапазоне %2–%3 МПа динамического модуля",
                              "%1 is not reached within the range %2–%3 MPa of the dynamic modulus"};

struct CalibrateOptions {
  QString file;
  CalibrationModel model = CalibrationModel::Linear;
  double confidence = 0.9;
  std::optional<double> required;
  bool json = false;
  Language language = Language::English;
};

std::optional<QString> parseCalibrate(const QStringList& args, CalibrateOptions& o) {
  const QString usage = QString::fromLatin1(kCalibrateUsage);
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == u"--model" || a == u"--confidence" || a == u"--require" || a == u"--format" || a == u"--lang") {
      if (i + 1 >= args.size()) return a + QStringLiteral(" needs a value; ") + usage;
      const QString v = args[++i];
      bool ok = true;
      if (a == u"--model") {
        const std::optional<CalibrationModel> m = modelFromKey(v);
        if (!m) return QStringLiteral("--model takes linear or power, not \"") + v + u'"';
        o.model = *m;
      } else if (a == u"--confidence") {
        o.confidence = parseDecimal(v, &ok);
        if (!ok || !(o.confidence >= kMinConfidence && o.confidence <= kMaxConfidence))
          return QStringLiteral("--confidence takes a number from 0.8 to 0.99, not \"") + v + u'"';
      } else if (a == u"--require") {
        o.required = parseDecimal(v, &ok);
        if (!ok || !std::isfinite(*o.required) || !(*o.required > 0))
          return QStringLiteral("--require takes a number above 0, not \"") + v + u'"';
      } else if (a == u"--format") {
        if (v != u"text" && v != u"json") return QStringLiteral("--format takes text or json, not \"") + v + u'"';
        o.json = v == u"json";
      } else if (v == u"ru" || v == u"en") {
        o.language = v == u"ru" ? Language::Russian : Language::English;
      } else {
        return QStringLiteral("--lang takes ru or en, not \"") + v + u'"';
      }
    } else if (a.startsWith(u'-') && a.size() > 1) {
      return QStringLiteral("unknown option \"") + a + QStringLiteral("\"; ") + usage;
    } else if (o.file.isEmpty()) {
      o.file = a;
    } else {
      return QStringLiteral("unexpected argument \"") + a + QStringLiteral("\"; ") + usage;
    }
  }
  if (o.file.isEmpty()) return usage;
  return std::nullopt;
}

// The pairs of the file's text; else the line that is not two numbers (from 1).
std::optional<int> readPairs(const QString& text, QList<CalibrationPair>& pairs) {
  const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
  for (int i = 0; i < lines.size(); ++i) {
    const QString line = lines[i].trimmed();
    if (line.isEmpty()) continue;
    // ";" or a tab leave the comma to the decimals; otherwise the comma parts the columns.
    const QChar separator = line.contains(u';') ? u';' : line.contains(u'\t') ? u'\t' : u',';
    const QStringList cells = line.split(separator);
    bool okX = false, okY = false;
    const double x = cells.size() == 2 ? parseDecimal(cells[0].trimmed(), &okX) : 0;
    const double y = cells.size() == 2 ? parseDecimal(cells[1].trimmed(), &okY) : 0;
    if (okX && okY) {
      pairs.append({x, y});
    } else if (!(pairs.isEmpty() && i == 0 && !line.front().isDigit())) {
      return i + 1;  // only the first line may be a header
    }
  }
  return std::nullopt;
}

QJsonValue number(double v) { return std::isfinite(v) ? QJsonValue(v) : QJsonValue(QJsonValue::Null); }

int fail(QTextStream& err, const QString& line) {
  err << line << '\n';
  return 2;
}

}  // namespace

int runCliCalibrate(const QStringList& args, QTextStream& out, QTextStream& err) {
  CalibrateOptions o;
  if (const auto problem = parseCalibrate(args, o)) return fail(err, *problem);
  const Language l = o.language;
  QFile file;
  const LocalFileState state = localFileState(o.file);
  if (!state.exists || !state.isFile || !openForReading(o.file, file) || file.size() > kMaxIniFileSize)
    return fail(err, kFileDamaged.text(l) + QStringLiteral(": ") + o.file);
  QList<CalibrationPair> pairs;
  if (const std::optional<int> bad = readPairs(QString::fromUtf8(file.read(kMaxIniFileSize + 1)), pairs))
    return fail(err, o.file + QStringLiteral(": ") + kNotTwoNumbers.text(l).arg(*bad));
  if (pairs.isEmpty()) return fail(err, o.file + QStringLiteral(": ") + kNoPairs.text(l));
  const FitOutcome outcome = fitCalibration(pairs, o.model, o.confidence);
  if (!outcome.ok()) return fail(err, o.file + QStringLiteral(": ") + kCannotFit.text(l).arg(fitProblemText(outcome.problem, l)));
  const CalibrationFit& f = outcome.fit;
  std::optional<double> dynamic;
  if (o.required) {
    dynamic = derivedDynamic(f, *o.required);
    if (!dynamic)
      return fail(err, kUnreached.text(l).arg(calibrationNumber(*o.required), formatFloat(f.xMin, u"0.0"), formatFloat(f.xMax, u"0.0")));
  }
  const QStringList warnings = fitWarnings(f, l);
  if (o.json) {
    // Written by hand: the keys keep the order documented above (Qt's objects sort them).
    const auto key = [&](const char* k, const QJsonValue& v, bool last = false) {
      out << '"' << k << "\": " << QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact).mid(1).chopped(1)
          << (last ? "" : ", ");
    };
    out << '{';
    key("model", QString::fromLatin1(modelKey(f.model)));
    key("n", f.n);
    key("a", number(f.a));
    key("b", number(f.b));
    key("r2", number(f.r2));
    key("s", number(f.s));
    key("seA", number(f.seIntercept));
    key("seB", number(f.seSlope));
    key("confidence", f.confidence);
    key("t", number(f.t));
    key("xMin", f.xMin);
    key("xMax", f.xMax);
    key("warnings", QJsonArray::fromStringList(warnings));
    key("required", o.required ? QJsonValue(*o.required) : QJsonValue(QJsonValue::Null));
    key("requiredDynamic", dynamic ? QJsonValue(*dynamic) : QJsonValue(QJsonValue::Null), true);
    out << "}\n";
    return 0;
  }
  Calibration named;  // the reference is "y" on the command line: it has no quantity
  named.quantity = ReferenceQuantity::Other;
  named.quantityName = QStringLiteral("y");
  const bool ru = l == Language::Russian;
  const auto line = [&](const char* en, const char* rus, const QString& value) {
    out << QString::fromUtf8(ru ? rus : en) << ": " << value << '\n';
  };
  line("model", "модель", QString::fromLatin1(modelKey(f.model)));
  line("equation", "уравнение", fitEquation(named, f, l));
  line("n", "n", QString::number(f.n));
  line("a", "a", calibrationNumber(f.a));
  line("b", "b", calibrationNumber(f.b));
  line("R²", "R²", formatFloat(f.r2, u"0.0000"));
  line("s", "s", calibrationNumber(f.s));
  line("confidence", "доверительная вероятность", formatFloat(f.confidence * 100, u"0") + QStringLiteral(" %"));
  line("t", "t", formatFloat(f.t, u"0.000"));
  line("range of Evd, MPa", "диапазон Evd, МПа", formatFloat(f.xMin, u"0.0") + QStringLiteral("–") + formatFloat(f.xMax, u"0.0"));
  for (const QString& w : warnings) line("warning", "предупреждение", w);
  if (o.required)
    line("required", "требуется", QStringLiteral("y ≥ %1 ⇒ Evd ≥ %2 %3").arg(calibrationNumber(*o.required), formatFloat(*dynamic, u"0.0"),
                                                                          ru ? QStringLiteral("МПа") : QStringLiteral("MPa")));
  return 0;
}

}  // namespace grx
