#include "CalibrationFile.h"

#include "platform/SafeFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace grx {

QByteArray calibrationsJson(const QList<Calibration>& calibrations) {
  // The requirements file's own form, so both files read the calibrations by the same rules.
  ControlSetup only;
  only.calibrations = calibrations;
  const QJsonObject whole = QJsonDocument::fromJson(controlSetupJson(only)).object();
  QJsonObject kept;
  for (const char* key : {"version", "calibrations"}) kept.insert(QLatin1String(key), whole.value(QLatin1String(key)));
  return QJsonDocument(kept).toJson(QJsonDocument::Indented);
}

SetupReadResult readCalibrations(const QString& path, QList<Calibration>& calibrations) {
  ControlSetup read;
  SetupReadResult result = readControlSetup(path, read);
  // A file of calibrations alone has no requirements list: read as one with an empty list.
  if (result.status == SetupReadResult::Refused && result.problem.kind == SetupProblem::Kind::NotList &&
      result.problem.key == QLatin1String("requirements")) {
    QFile file(path);
    QJsonObject root = file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
    if (!root.contains(QLatin1String("requirements"))) {
      root.insert(QLatin1String("requirements"), QJsonArray());
      result = parseControlSetup(QJsonDocument(root).toJson(), read);
    }
  }
  if (result.status == SetupReadResult::Ok) calibrations = read.calibrations;
  return result;
}

bool writeCalibrations(const QString& path, const QList<Calibration>& calibrations) {
  return writeFileSafely(path, calibrationsJson(calibrations)) == SafeWriteResult::Ok;
}

QList<Calibration> mergedCalibrations(QList<Calibration> calibrations, const QList<Calibration>& imported) {
  for (const Calibration& c : imported) {
    const int at = calibrationIndex(calibrations, c.name);
    if (at >= 0) calibrations[at] = c;
    else calibrations.append(c);
  }
  return calibrations;
}

}  // namespace grx
