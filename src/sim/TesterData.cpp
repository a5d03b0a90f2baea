#include "TesterData.h"

#include "data/MeasurementSet.h"
#include "data/TextForms.h"
#include "names/NameLists.h"

#include <QFile>
#include <QFileInfo>

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

bool loadNameListFile(TesterCore& core, bool materials, const QString& path) {
  auto& target = materials ? core.materialNames() : core.objectNames();
  NameBlock block{};
  std::copy(target.begin(), target.end(), block.begin());
  if (!readNameListFile(path, materials ? NameList::Materials : NameList::Objects, block)) return false;
  std::copy(block.begin(), block.end(), target.begin());
  return true;
}

bool loadScreenFile(TesterCore& core, const QString& path) {
  if (!QFileInfo(path).isFile()) return false;  // a FIFO or a device would block or never end
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.read(kScreenBytes + 1);
  if (bytes.size() != kScreenBytes) return false;
  std::copy(bytes.begin(), bytes.end(), core.screen().begin());
  return true;
}

}  // namespace grx::sim
