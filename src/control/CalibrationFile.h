#pragma once
// The calibrations of a lab on their own, to hand to another lab or another tester's program: the
// same JSON as in the requirements file, with nothing but the version and the calibrations:
//   {"version": 2, "calibrations": [{"name": "Sand 05.2026", ...}]}
#include "Requirements.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace grx {

QByteArray calibrationsJson(const QList<Calibration>& calibrations);
// Reads the calibrations of such a file, or of a whole requirements file (its requirements and
// settings are left aside); `calibrations` is changed only when Ok.
SetupReadResult readCalibrations(const QString& path, QList<Calibration>& calibrations);
// Written whole or not at all; false when it could not be written.
bool writeCalibrations(const QString& path, const QList<Calibration>& calibrations);
// The calibrations `imported` added to `calibrations`: one of a name already there replaces it.
QList<Calibration> mergedCalibrations(QList<Calibration> calibrations, const QList<Calibration>& imported);

}  // namespace grx
