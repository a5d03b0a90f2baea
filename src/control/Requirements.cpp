#include "Requirements.h"

#include "platform/IniFile.h"
#include "platform/LocalFiles.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace grx {
namespace {

bool isAny(const QString& name) { return name == QStringView(kAnyName); }

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

bool readSettings(const QJsonObject& o, EvaluationSettings& s) {
  std::optional<double> seating, k, minPoints, durMin, durMax;
  if (!optionalNumber(o, "seatingImpacts", seating) || !optionalNumber(o, "k", k) ||
      !optionalNumber(o, "minPoints", minPoints) || !optionalNumber(o, "durationMinMs", durMin) ||
      !optionalNumber(o, "durationMaxMs", durMax))
    return false;
  const QJsonValue ruleValue = o.value(QLatin1String("lotRule"));
  const QString rule = ruleValue.toString();
  const QJsonValue split = o.value(QLatin1String("splitLotsByDate"));
  if (!ruleValue.isUndefined() && rule != u"each" && rule != u"statistical") return false;
  if (!split.isUndefined() && !split.isBool()) return false;
  EvaluationSettings r;
  if (seating) r.seatingImpacts = int(*seating);
  if (k) r.k = *k;
  if (minPoints) r.minPoints = int(*minPoints);
  if (durMin) r.durationMinMs = *durMin;
  if (durMax) r.durationMaxMs = *durMax;
  r.lotRule = rule == u"statistical" ? LotRule::Statistical : LotRule::EachPoint;
  r.splitLotsByDate = split.toBool(false);
  const bool whole = (!seating || *seating == r.seatingImpacts) && (!minPoints || *minPoints == r.minPoints);
  if (!whole || r.seatingImpacts < 0 || r.seatingImpacts > 15 || r.k < 0 || r.k > 10 || r.minPoints < 2 ||
      r.minPoints > 1000 || !(r.durationMinMs > 0) || !(r.durationMinMs < r.durationMaxMs) || r.durationMaxMs > 32.768)
    return false;
  s = r;
  return true;
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
  if (!state.exists) return SetupReadResult::Missing;
  QFile file;
  if (!state.isFile || !openForReading(path, file) || file.size() > kMaxIniFileSize) return SetupReadResult::Damaged;
  return parseControlSetup(file.read(kMaxIniFileSize + 1), setup);
}

SetupReadResult parseControlSetup(const QByteArray& json, ControlSetup& setup) {
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
  if (error.error != QJsonParseError::NoError || !doc.isObject()) return SetupReadResult::Damaged;
  const QJsonObject root = doc.object();
  const QJsonValue list = root.value(QLatin1String("requirements"));
  const QJsonValue settings = root.value(QLatin1String("settings"));
  if (!list.isArray() || !(settings.isUndefined() || settings.isObject())) return SetupReadResult::Damaged;
  ControlSetup read;
  if (!readSettings(settings.toObject(), read.settings)) return SetupReadResult::Damaged;
  for (const QJsonValue& v : list.toArray()) {
    if (!v.isObject()) return SetupReadResult::Damaged;
    const QJsonObject o = v.toObject();
    Requirement r;
    std::optional<double> dyn;
    const QJsonValue object = o.value(QLatin1String("object")), material = o.value(QLatin1String("material"));
    if (!object.isString() || !material.isString() || !optionalNumber(o, "minDynamic", dyn) || !dyn ||
        !optionalNumber(o, "minStatic", r.minStatic) || !optionalNumber(o, "maxSv", r.maxSv))
      return SetupReadResult::Damaged;
    r.object = object.toString().trimmed();
    r.material = material.toString().trimmed();
    r.minDynamic = *dyn;
    read.requirements.append(r);
  }
  setup = read;
  return SetupReadResult::Ok;
}

QByteArray controlSetupJson(const ControlSetup& setup) {
  QJsonArray list;
  for (const Requirement& r : setup.requirements)
    list.append(QJsonObject{{"object", r.object},
                            {"material", r.material},
                            {"minDynamic", r.minDynamic},
                            {"minStatic", jsonNumber(r.minStatic)},
                            {"maxSv", jsonNumber(r.maxSv)}});
  const EvaluationSettings& s = setup.settings;
  const QJsonObject settings{{"seatingImpacts", s.seatingImpacts},
                             {"lotRule", s.lotRule == LotRule::Statistical ? "statistical" : "each"},
                             {"k", s.k},
                             {"minPoints", s.minPoints},
                             {"splitLotsByDate", s.splitLotsByDate},
                             {"durationMinMs", s.durationMinMs},
                             {"durationMaxMs", s.durationMaxMs}};
  return QJsonDocument(QJsonObject{{"requirements", list}, {"settings", settings}}).toJson(QJsonDocument::Indented);
}

bool writeControlSetup(const QString& path, const ControlSetup& setup) {
  return writeFileSafely(path, controlSetupJson(setup)) == SafeWriteResult::Ok;
}

}  // namespace grx
