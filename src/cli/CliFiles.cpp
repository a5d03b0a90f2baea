#include "CliFiles.h"

namespace grx {

ProjectReadResult readProjectFileNamed(const QString& name, MeasurementSet& staging) { return readProjectFile(name, staging); }

ProjectWriteResult writeProjectFileNamed(const MeasurementSet& set, const QString& name) {
  return writeProjectFile(set, name);
}

}  // namespace grx
