#include "TesterData.h"

#include "data/MeasurementSet.h"
#include "data/TextForms.h"

#include <QString>

namespace grx::sim {

void loadMeasurements(TesterCore& core, const MeasurementSet& set) {
  core.setMeasurements(set.directory(), kDirectoryBytes, set.recordStore(), set.count());
}

void loadDefaultNames(TesterCore& core) {
  static const char* const kMaterials[13] = {"Не выбран", "Песок",     "Супесь",    "Суглинок",  "Глина",
                                             "Грунт - 1", "Грунт - 2", "Грунт - 3", "Грунт - 4", "Грунт - 5",
                                             "Грунт - 6", "Грунт - 7", "Грунт - 8"};
  static const char* const kObjects[13] = {"Не выбран", "Подстилающий грунт", "Грунтовое основание", "Несущий слой",
                                           "Поверхностный слой", "Объект 1", "Объект 2", "Объект 3", "Объект 4",
                                           "Объект 5", "Объект 6", "Объект 7", "Объект 8"};
  for (int k = 0; k < 13; ++k) {
    writeNameField(core.materialNames().data() + 20 * k, QString::fromUtf8(kMaterials[k]));
    writeNameField(core.objectNames().data() + 20 * k, QString::fromUtf8(kObjects[k]));
  }
}

}  // namespace grx::sim
