#pragma once
// Project files named on grx1-cli's command line, whose names may hold bytes that are not UTF-8
// (platform/LocalFiles).
#include "platform/LocalFiles.h"
#include "data/ProjectFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace grx {

class MeasurementSet;

// readProjectFile and writeProjectFile for such names (the same results and the same care:
// a regular file only; a save replaces the target only when every byte was written).
ProjectReadResult readProjectFileNamed(const QString& name, MeasurementSet& staging);
ProjectWriteResult writeProjectFileNamed(const MeasurementSet& set, const QString& name);

}  // namespace grx
