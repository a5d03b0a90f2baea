#include "Requirements.h"

#include "platform/IniFile.h"
#include "platform/LocalFiles.h"
#include "platform/NumberFormat.h"
#include "platform/Messages.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace grx {
namespace {

using Kind = SetupProblem::Kind;

// The words of a refused file. Keys are the file's own and stay as written in both languages.
constexpr TextPair kRequirementEntry{"требование %1", "requirement %1"};
constexpr TextPair kEntryNames{" (объект «%1», материал «%2»)", " (object \"%1\", material \"%2\")"};
constexpr TextPair kSettingsEntry{"«settings»", "\"settings\""};
constexpr TextPair kTopLevelEntry{"верхний уровень", "top level"};
constexpr TextPair kUnreadable{"файл не читается", "the file cannot be read"};
constexpr TextPair kNotJson{"не объект JSON", "not a JSON object"};
constexpr TextPair kJsonFault{"не JSON: ошибка около байта %1", "not JSON: a fault near byte %1"};
constexpr TextPair kUnknownKey{"неизвестный ключ «%1»", "unknown key \"%1\""};
constexpr TextPair kNotList{"%1 должен быть списком", "%1 must be a list"};
constexpr TextPair kNotObject{"%1 должен быть объектом", "%1 must be an object"};
constexpr TextPair kEntryNotObject{"не объект", "not an object"};
constexpr TextPair kNotText{"%1 должен быть текстом", "%1 must be text"};
constexpr TextPair kNotNumber{"%1 должен быть числом", "%1 must be a number"};
constexpr TextPair kNotAboveZero{"%1 должен быть больше 0", "%1 must be above 0"};
constexpr TextPair kNegative{"%1 не может быть меньше 0", "%1 must not be below 0"};
constexpr TextPair kDuplicate{"требование %1 повторяет требование %2", "requirement %1 duplicates requirement %2"};
constexpr TextPair kOutOfRange{"%1 должен быть %2", "%1 must be %2"};
constexpr TextPair kNotLoaded{"Файл %1 не загружен: %2", "%1 is not loaded: %2"};
constexpr TextPair kCalibrationEntry{"калибровка %1", "calibration %1"};
constexpr TextPair kCalibrationName{" («%1»)", " (\"%1\")"};
constexpr TextPair kCalibrationDuplicate{"калибровка %1 повторяет имя калибровки %2", "calibration %1 repeats the name of calibration %2"};
constexpr TextPair kExcludes{"«%1» не допускается вместе с «calibration»", "\"%1\" and \"calibration\" exclude each other"};
constexpr TextPair kNeedsCalibration{"«minReference» требует «calibration»", "\"minReference\" needs \"calibration\""};
constexpr TextPair kEmpty{"%1 не может быть пустым", "%1 must not be empty"};
constexpr TextPair kUnknownCalibration{"калибровки «%1» нет в файле", "there is no calibration \"%1\" in the file"};
constexpr TextPair kUnusable{"калибровку «%1» нельзя построить: %2", "calibration \"%1\" cannot be fitted: %2"};
constexpr TextPair kUnreachable{"калибровка «%1» не достигает minReference %2 в своём диапазоне %3–%4 МПа",
                                "calibration \"%1\" does not reach minReference %2 within its range %3–%4 MPa"};

// The settings this program knows with the range each must keep.
struct SettingRange {
  const char* key;
  TextPair range;
};
constexpr SettingRange kSettingRanges[] = {
    {"seatingImpacts", {"целым числом от 0 до 15", "a whole number from 0 to 15"}},
    {"lotRule", {"«each» или «statistical»", "\"each\" or \"statistical\""}},
    {"k", {"числом от 0 до 10", "a number from 0 to 10"}},
    {"minPoints", {"целым числом от 2 до 1000", "a whole number from 2 to 1000"}},
    {"splitLotsByDate", {"true или false", "true or false"}},
    {"durationMinMs", {"числом больше 0 и меньше durationMaxMs", "a number above 0 and below durationMaxMs"}},
    {"durationMaxMs", {"числом не больше 32.768", "a number of at most 32.768"}},
};
// The keys of a calibration with the form each must keep.
constexpr SettingRange kCalibrationRanges[] = {
    {"quantity", {"«Ev2», «Ev1», «compaction», «dryDensity» или «other»",
                  "\"Ev2\", \"Ev1\", \"compaction\", \"dryDensity\" or \"other\""}},
    {"model", {"«linear» или «power»", "\"linear\" or \"power\""}},
    {"confidence", {"числом от 0.8 до 0.99", "a number from 0.8 to 0.99"}},
    {"date", {"датой ГГГГ-ММ-ДД", "a date YYYY-MM-DD"}},
    {"pairs", {"списком пар чисел [динамический модуль, эталонное значение]",
               "a list of number pairs [dynamic modulus, reference value]"}},
};
constexpr const char* kTopKeys[] = {"requirements", "settings", "version", "calibrations"};
constexpr const char* kRequirementKeys[] = {"object", "material", "minDynamic", "minStatic", "maxSv", "calibration", "minReference"};
constexpr const char* kCalibrationKeys[] = {"name", "object", "material", "quantity", "quantityName", "unit",
                                            "model", "confidence", "date", "comment", "pairs"};
constexpr int kSetupVersion = 2;

bool isAny(const QString& name) { return name == QStringView(kAnyName); }

SetupReadResult refused(Kind kind, int entry, const char* key = "") {
  SetupReadResult r{SetupReadResult::Refused, {}};
  r.problem.kind = kind;
  r.problem.entry = entry;
  r.problem.key = QString::fromLatin1(key);
  return r;
}

// The first key of `o` that is none of `known` (a misspelt key would otherwise be a value
// silently not required); empty when there is none.
template <std::size_t N>
QString unknownKey(const QJsonObject& o, const char* const (&known)[N]) {
  for (auto it = o.begin(); it != o.end(); ++it)
    if (std::none_of(std::begin(known), std::end(known), [&](const char* k) { return it.key() == QLatin1String(k); }))
      return it.key();
  return {};
}

// A finite number, or none for null or a missing key; false for anything else.
bool optionalNumber(const QJsonObject& o, const char* key, std::optional<double>& out) {
  const QJsonValue v = o.value(QLatin1String(key));
  if (v.isUndefined() || v.isNull()) {
    out.reset();
    return true;
  }
  if (!v.isDouble() || !std::isfinite(v.toDouble())) return false;
  out = v.toDouble();
  return true;
}

QJsonValue jsonNumber(const std::optional<double>& v) { return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null); }

// A missing or null number keeps its default; anything else must lie in [low, high], whole when asked.
template <class T>
bool settingNumber(const QJsonObject& o, const char* key, double low, double high, T& out) {
  std::optional<double> v;
  if (!optionalNumber(o, key, v)) return false;
  if (!v) return true;
  if (*v < low || *v > high || (std::is_integral_v<T> && *v != std::floor(*v))) return false;
  out = T(*v);
  return true;
}

bool knownSetting(const QString& key) {
  return std::any_of(std::begin(kSettingRanges), std::end(kSettingRanges),
                     [&](const SettingRange& s) { return key == QLatin1String(s.key); });
}

// The settings; else the first key this program does not know or the first value out of its
// range in `fault`.
bool readSettings(const QJsonObject& o, EvaluationSettings& s, SetupReadResult& fault) {
  for (auto it = o.begin(); it != o.end(); ++it)
    if (!knownSetting(it.key())) {
      fault = refused(Kind::UnknownKey, SetupProblem::kSettings);
      fault.problem.key = it.key();
      return false;
    }
  EvaluationSettings r;
  const QJsonValue rule = o.value(QLatin1String("lotRule")), split = o.value(QLatin1String("splitLotsByDate"));
  const char* bad = nullptr;
  if (!settingNumber(o, "seatingImpacts", 0, 15, r.seatingImpacts)) bad = "seatingImpacts";
  else if (!rule.isUndefined() && rule.toString() != u"each" && rule.toString() != u"statistical") bad = "lotRule";
  else if (!settingNumber(o, "k", 0, 10, r.k)) bad = "k";
  else if (!settingNumber(o, "minPoints", 2, 1000, r.minPoints)) bad = "minPoints";
  else if (!split.isUndefined() && !split.isBool()) bad = "splitLotsByDate";
  else if (!settingNumber(o, "durationMaxMs", 0, 32.768, r.durationMaxMs)) bad = "durationMaxMs";
  else if (!settingNumber(o, "durationMinMs", 0, 32.768, r.durationMinMs) || !(r.durationMinMs > 0) ||
           !(r.durationMinMs < r.durationMaxMs))
    bad = "durationMinMs";
  if (bad) {
    fault = refused(Kind::OutOfRange, SetupProblem::kSettings, bad);
    return false;
  }
  r.lotRule = rule.toString() == u"statistical" ? LotRule::Statistical : LotRule::EachPoint;
  r.splitLotsByDate = split.toBool(false);
  s = r;
  return true;
}


// A text key: missing is empty; anything else but text is refused.
bool optionalText(const QJsonObject& o, const char* key, QString& out) {
  const QJsonValue v = o.value(QLatin1String(key));
  if (v.isUndefined() || v.isNull()) return true;
  if (!v.isString()) return false;
  out = v.toString().trimmed();
  return true;
}

// The calibrations; else the first fault in `fault`.
bool readCalibrations(const QJsonValue& list, QList<Calibration>& out, SetupReadResult& fault) {
  if (list.isUndefined()) return true;
  if (!list.isArray()) {
    fault = refused(Kind::NotList, SetupProblem::kTopLevel, "calibrations");
    return false;
  }
  const QJsonArray items = list.toArray();
  for (int i = 0; i < items.size(); ++i) {
    Calibration c;
    const auto fail = [&](Kind kind, const char* key, int other = 0) {
      fault = refused(kind, i + 1, key);
      fault.problem.inCalibrations = true;
      fault.problem.other = other;
      fault.problem.object = c.name;
      fault.problem.named = !c.name.isEmpty();
      return false;
    };
    if (!items[i].isObject()) return fail(Kind::NotObject, "");
    const QJsonObject o = items[i].toObject();
    if (const QString key = unknownKey(o, kCalibrationKeys); !key.isEmpty()) {
      fail(Kind::UnknownKey, "");
      fault.problem.key = key;
      return false;
    }
    if (!o.value(QLatin1String("name")).isString()) return fail(Kind::NotText, "name");
    c.name = o.value(QLatin1String("name")).toString().trimmed();
    if (c.name.isEmpty()) return fail(Kind::Empty, "name");
    for (const char* key : {"object", "material"}) {
      QString& name = key[0] == 'o' ? c.object : c.material;
      if (!optionalText(o, key, name)) return fail(Kind::NotText, key);
      if (name.isEmpty()) name = QStringLiteral("*");
    }
    if (!optionalText(o, "quantityName", c.quantityName)) return fail(Kind::NotText, "quantityName");
    if (!optionalText(o, "unit", c.unit)) return fail(Kind::NotText, "unit");
    if (!optionalText(o, "comment", c.comment)) return fail(Kind::NotText, "comment");
    const std::optional<ReferenceQuantity> quantity = referenceFromKey(o.value(QLatin1String("quantity")).toString());
    if (!quantity) return fail(Kind::OutOfRange, "quantity");
    c.quantity = *quantity;
    if (c.quantity == ReferenceQuantity::Other && c.quantityName.isEmpty()) return fail(Kind::Empty, "quantityName");
    const QJsonValue model = o.value(QLatin1String("model"));
    const std::optional<CalibrationModel> m = model.isUndefined() ? CalibrationModel::Linear : modelFromKey(model.toString());
    if (!m) return fail(Kind::OutOfRange, "model");
    c.model = *m;
    if (!settingNumber(o, "confidence", kMinConfidence, kMaxConfidence, c.confidence)) return fail(Kind::OutOfRange, "confidence");
    const QJsonValue date = o.value(QLatin1String("date"));
    if (!date.isUndefined() && !date.isNull() && !date.toString().isEmpty()) {
      c.date = QDate::fromString(date.toString(), QStringLiteral("yyyy-MM-dd"));
      if (!c.date.isValid()) return fail(Kind::OutOfRange, "date");
    }
    const QJsonValue pairs = o.value(QLatin1String("pairs"));
    if (!pairs.isUndefined() && !pairs.isArray()) return fail(Kind::OutOfRange, "pairs");
    for (const QJsonValue& pair : pairs.toArray()) {
      const QJsonArray xy = pair.toArray();
      if (xy.size() != 2 || !xy[0].isDouble() || !xy[1].isDouble()) return fail(Kind::OutOfRange, "pairs");
      c.pairs.append({xy[0].toDouble(), xy[1].toDouble()});
    }
    for (int j = 0; j < out.size(); ++j)
      if (out[j].name == c.name) return fail(Kind::Duplicate, "", j + 1);
    out.append(c);
  }
  return true;
}

QJsonObject calibrationJson(const Calibration& c) {
  QJsonArray pairs;
  for (const CalibrationPair& p : c.pairs) pairs.append(QJsonArray{p.dynamic, p.reference});
  return QJsonObject{{"name", c.name},
                     {"object", c.object},
                     {"material", c.material},
                     {"quantity", referenceKey(c.quantity)},
                     {"quantityName", c.quantityName},
                     {"unit", c.unit},
                     {"model", modelKey(c.model)},
                     {"confidence", c.confidence},
                     {"date", c.date.isValid() ? c.date.toString(QStringLiteral("yyyy-MM-dd")) : QString()},
                     {"comment", c.comment},
                     {"pairs", pairs}};
}
}  // namespace

const Requirement* matchingRequirement(const ControlSetup& setup, const QString& object, const QString& material) {
  const Requirement* best = nullptr;
  int bestRank = -1;
  for (const Requirement& r : setup.requirements) {
    const bool objectMatches = isAny(r.object) || r.object == object;
    const bool materialMatches = isAny(r.material) || r.material == material;
    if (!objectMatches || !materialMatches) continue;
    // Object and material 3, object 2, material 1, neither 0; the first of equal rank wins.
    const int rank = (isAny(r.object) ? 0 : 2) + (isAny(r.material) ? 0 : 1);
    if (rank > bestRank) {
      best = &r;
      bestRank = rank;
    }
  }
  return best;
}

QString controlSetupPath(const QString& configFolder) {
  return configFolder + QDir::separator() + QStringLiteral("GRX1-control.json");
}

SetupReadResult readControlSetup(const QString& path, ControlSetup& setup) {
  const LocalFileState state = localFileState(path);
  if (!state.exists) return {SetupReadResult::Missing, {}};
  QFile file;
  if (!state.isFile || !openForReading(path, file) || file.size() > kMaxIniFileSize)
    return refused(Kind::Unreadable, SetupProblem::kTopLevel);
  return parseControlSetup(file.read(kMaxIniFileSize + 1), setup);
}

SetupReadResult parseControlSetup(const QByteArray& json, ControlSetup& setup) {
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
  if (error.error != QJsonParseError::NoError || !doc.isObject()) {
    SetupReadResult r = refused(Kind::NotJson, SetupProblem::kTopLevel);
    if (error.error != QJsonParseError::NoError) r.problem.other = error.offset;
    return r;
  }
  const QJsonObject root = doc.object();
  if (const QString key = unknownKey(root, kTopKeys); !key.isEmpty()) {
    SetupReadResult r = refused(Kind::UnknownKey, SetupProblem::kTopLevel);
    r.problem.key = key;
    return r;
  }
  const QJsonValue list = root.value(QLatin1String("requirements"));
  const QJsonValue settings = root.value(QLatin1String("settings"));
  if (!list.isArray()) return refused(Kind::NotList, SetupProblem::kTopLevel, "requirements");
  if (!(settings.isUndefined() || settings.isObject())) return refused(Kind::NotObject, SetupProblem::kTopLevel, "settings");
  ControlSetup read;
  if (SetupReadResult fault; !readSettings(settings.toObject(), read.settings, fault)) return fault;
  const QJsonValue version = root.value(QLatin1String("version"));
  if (!version.isUndefined() && !(version.isDouble() && version.toDouble() >= 1 && version.toDouble() <= kSetupVersion &&
                                  version.toDouble() == std::floor(version.toDouble()))) {
    SetupReadResult r = refused(Kind::OutOfRange, SetupProblem::kTopLevel, "version");
    return r;
  }
  if (SetupReadResult fault; !readCalibrations(root.value(QLatin1String("calibrations")), read.calibrations, fault))
    return fault;
  const QJsonArray items = list.toArray();
  for (int i = 0; i < items.size(); ++i) {
    const int entry = i + 1;
    if (!items[i].isObject()) return refused(Kind::NotObject, entry);
    const QJsonObject o = items[i].toObject();
    if (const QString key = unknownKey(o, kRequirementKeys); !key.isEmpty()) {
      SetupReadResult r = refused(Kind::UnknownKey, entry);
      r.problem.key = key;
      return r;
    }
    const QJsonValue object = o.value(QLatin1String("object")), material = o.value(QLatin1String("material"));
    if (!object.isString()) return refused(Kind::NotText, entry, "object");
    if (!material.isString()) return refused(Kind::NotText, entry, "material");
    Requirement r;
    r.object = object.toString().trimmed();
    r.material = material.toString().trimmed();
    // From here on the line names the requirement too, so a lab finds it among many.
    const auto fault = [&](Kind kind, const char* key, int other = 0) {
      SetupReadResult result = refused(kind, entry, key);
      result.problem.other = other;
      result.problem.object = r.object;
      result.problem.material = r.material;
      result.problem.named = true;
      return result;
    };
    std::optional<double> dyn;
    const QJsonValue calibration = o.value(QLatin1String("calibration"));
    if (!calibration.isUndefined() && !calibration.isNull()) {
      // Given in a calibration's reference quantity: the dynamic modulus is derived below.
      if (!calibration.isString()) return fault(Kind::NotText, "calibration");
      r.calibration = calibration.toString().trimmed();
      if (r.calibration.isEmpty()) return fault(Kind::Empty, "calibration");
      if (!optionalNumber(o, "minDynamic", dyn) || dyn) return fault(Kind::Excludes, "minDynamic");
      if (!optionalNumber(o, "minReference", r.minReference) || !r.minReference) return fault(Kind::NotNumber, "minReference");
      if (!(*r.minReference > 0)) return fault(Kind::NotAboveZero, "minReference");
      dyn = 1;  // a stand-in until the derivation
    } else if (o.contains(QLatin1String("minReference"))) {
      return fault(Kind::NeedsCalibration, "minReference");
    } else if (!optionalNumber(o, "minDynamic", dyn) || !dyn) {
      return fault(Kind::NotNumber, "minDynamic");
    }
    if (!optionalNumber(o, "minStatic", r.minStatic)) return fault(Kind::NotNumber, "minStatic");
    if (!optionalNumber(o, "maxSv", r.maxSv)) return fault(Kind::NotNumber, "maxSv");
    if (!(*dyn > 0)) return fault(Kind::NotAboveZero, "minDynamic");
    if (r.minStatic && !(*r.minStatic > 0)) return fault(Kind::NotAboveZero, "minStatic");
    if (r.maxSv && *r.maxSv < 0) return fault(Kind::Negative, "maxSv");
    r.minDynamic = *dyn;
    // Of two requirements for the same names only one could ever apply.
    for (int j = 0; j < read.requirements.size(); ++j)
      if (read.requirements[j].object == r.object && read.requirements[j].material == r.material)
        return fault(Kind::Duplicate, "", j + 1);
    read.requirements.append(r);
  }
  if (const SetupProblem problem = deriveCalibratedRequirements(read); problem.kind != Kind::None)
    return {SetupReadResult::Refused, problem};
  setup = read;
  return {};
}

QString setupProblemText(const SetupProblem& p, Language language) {
  const auto key = [&](const TextPair& words) { return words.text(language).arg(p.key); };
  QString reason;
  switch (p.kind) {
    case Kind::None: return {};
    case Kind::Unreadable: return kUnreadable.text(language);
    case Kind::NotJson: return p.other > 0 ? kJsonFault.text(language).arg(p.other) : kNotJson.text(language);
    case Kind::UnknownKey: reason = key(kUnknownKey); break;
    case Kind::NotList: reason = key(kNotList); break;
    case Kind::NotObject: reason = p.key.isEmpty() ? kEntryNotObject.text(language) : key(kNotObject); break;
    case Kind::NotText: reason = key(kNotText); break;
    case Kind::NotNumber: reason = key(kNotNumber); break;
    case Kind::NotAboveZero: reason = key(kNotAboveZero); break;
    case Kind::Negative: reason = key(kNegative); break;
    case Kind::OutOfRange:
      for (const SettingRange& s : kSettingRanges)
        if (p.key == QLatin1String(s.key)) reason = kOutOfRange.text(language).arg(p.key, s.range.text(language));
      for (const SettingRange& s : kCalibrationRanges)
        if (p.key == QLatin1String(s.key)) reason = kOutOfRange.text(language).arg(p.key, s.range.text(language));
      if (p.key == u"version") reason = kOutOfRange.text(language).arg(p.key, QStringLiteral("1 … %1").arg(kSetupVersion));
      break;
    case Kind::Excludes: reason = key(kExcludes); break;
    case Kind::NeedsCalibration: reason = kNeedsCalibration.text(language); break;
    case Kind::Empty: reason = key(kEmpty); break;
    case Kind::UnknownCalibration: reason = key(kUnknownCalibration); break;
    case Kind::Unusable: reason = kUnusable.text(language).arg(p.key, fitProblemText(FitProblem(p.other), language)); break;
    case Kind::Unreachable:
      reason = kUnreachable.text(language).arg(p.key, calibrationNumber(p.value), formatFloat(p.low, u"0.0"),
                                               formatFloat(p.high, u"0.0"));
      break;
    case Kind::Duplicate: break;
  }
  if (p.inCalibrations) {
    const QString name = p.named ? kCalibrationName.text(language).arg(p.object) : QString();
    if (p.kind == Kind::Duplicate) return kCalibrationDuplicate.text(language).arg(p.entry).arg(p.other) + name;
    return kCalibrationEntry.text(language).arg(p.entry) + name + QStringLiteral(": ") + reason;
  }
  const QString names = p.named ? kEntryNames.text(language).arg(p.object, p.material) : QString();
  if (p.kind == Kind::Duplicate) return kDuplicate.text(language).arg(p.entry).arg(p.other) + names;
  const QString entry = p.entry == SetupProblem::kTopLevel ? kTopLevelEntry.text(language)
                        : p.entry == SetupProblem::kSettings ? kSettingsEntry.text(language)
                                                             : kRequirementEntry.text(language).arg(p.entry);
  return entry + names + QStringLiteral(": ") + reason;
}

QString setupRefusalLine(const QString& fileName, const SetupProblem& problem, Language language) {
  if (problem.kind == Kind::Unreadable) return kFileDamaged.text(language) + QStringLiteral(": ") + fileName;
  return fileName + QStringLiteral(": ") + setupProblemText(problem, language);
}

QString setupNotLoadedText(const QString& fileName, const SetupProblem& problem, Language language) {
  if (problem.kind == Kind::Unreadable) return setupRefusalLine(fileName, problem, language);
  return kNotLoaded.text(language).arg(fileName, setupProblemText(problem, language));
}

QByteArray controlSetupJson(const ControlSetup& setup) {
  QJsonArray list;
  bool calibrated = !setup.calibrations.isEmpty();
  for (const Requirement& r : setup.requirements) {
    QJsonObject o{{"object", r.object}, {"material", r.material}, {"minStatic", jsonNumber(r.minStatic)}, {"maxSv", jsonNumber(r.maxSv)}};
    if (r.calibration.isEmpty()) {
      o.insert(QStringLiteral("minDynamic"), r.minDynamic);
    } else {
      // The derived modulus follows the calibration: only what the lab asks for is kept.
      o.insert(QStringLiteral("calibration"), r.calibration);
      o.insert(QStringLiteral("minReference"), jsonNumber(r.minReference));
      calibrated = true;
    }
    list.append(o);
  }
  const EvaluationSettings& s = setup.settings;
  const QJsonObject settings{{"seatingImpacts", s.seatingImpacts},
                             {"lotRule", s.lotRule == LotRule::Statistical ? "statistical" : "each"},
                             {"k", s.k},
                             {"minPoints", s.minPoints},
                             {"splitLotsByDate", s.splitLotsByDate},
                             {"durationMinMs", s.durationMinMs},
                             {"durationMaxMs", s.durationMaxMs}};
  QJsonObject root{{"requirements", list}, {"settings", settings}};
  // Without calibrations the file keeps its first form, which every version of the program reads.
  if (calibrated) {
    QJsonArray calibrations;
    for (const Calibration& c : setup.calibrations) calibrations.append(calibrationJson(c));
    root.insert(QStringLiteral("version"), kSetupVersion);
    root.insert(QStringLiteral("calibrations"), calibrations);
  }
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool writeControlSetup(const QString& path, const ControlSetup& setup) {
  return writeFileSafely(path, controlSetupJson(setup)) == SafeWriteResult::Ok;
}

}  // namespace grx
