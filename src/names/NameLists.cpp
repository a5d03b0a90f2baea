#include "NameLists.h"

#include "data/TextForms.h"
#include "platform/AppPaths.h"
#include "platform/IniFile.h"
#include "platform/LocalFiles.h"

#include <QFile>

namespace grx {
namespace {

constexpr NameListKind kMaterials{NameList::Materials, "Materials Names", ".mtgrx", ".objgrx", "Materials (*.mtgrx)",
                                  {"Названия материалов", "Materials"}};
constexpr NameListKind kObjects{NameList::Objects, "Objects Names", ".objgrx", ".mtgrx", "Objects (*.objgrx)",
                                {"Названия объектов", "Objects"}};

// A name in the file's section is read through a buffer of this many characters.
constexpr int kNameValueBuffer = kNameSlotSize;

constexpr TextPair kDefaultMaterials[kNameSlots] = {
    {"Не выбран", "Not def."},  {"Песок", "Sand"},          {"Супесь", "Loamy sand"},  {"Суглинок", "Loam"},
    {"Глина", "Clay"},          {"Грунт - 1", "Soil - 1"},  {"Грунт - 2", "Soil - 2"}, {"Грунт - 3", "Soil - 3"},
    {"Грунт - 4", "Soil - 4"},  {"Грунт - 5", "Soil - 5"},  {"Грунт - 6", "Soil - 6"}, {"Грунт - 7", "Soil - 7"},
    {"Грунт - 8", "Soil - 8"},
};
constexpr TextPair kDefaultObjects[kNameSlots] = {
    {"Не выбран", "Not defined"},
    {"Подстилающий грунт", "Underlying soil"},
    {"Грунтовое основание", "Subgrade soil"},
    {"Несущий слой", "Base course"},
    {"Поверхностный слой", "Surface layer"},
    {"Объект 1", "Object 1"},
    {"Объект 2", "Object 2"},
    {"Объект 3", "Object 3"},
    {"Объект 4", "Object 4"},
    {"Объект 5", "Object 5"},
    {"Объект 6", "Object 6"},
    {"Объект 7", "Object 7"},
    {"Объект 8", "Object 8"},
};

QString keyName(int k) { return QStringLiteral("Name%1").arg(k, 2, 10, QLatin1Char('0')); }

QString extensionOf(const QString& fileName) {
  const qsizetype slash = std::max(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
  const qsizetype point = fileName.lastIndexOf(u'.');
  return point > slash ? fileName.mid(point) : QString();
}

}  // namespace

const NameListKind& nameListKind(NameList list) { return list == NameList::Materials ? kMaterials : kObjects; }

QStringList nameListFilters(NameList list) {
  return {QString::fromLatin1(nameListKind(list).filterDescription), allFilesFilter()};
}

QStringList namesOfBlock(const NameBlock& block) {
  QStringList names;
  for (int k = 0; k < kNameSlots; ++k) names.append(nameText(block.data() + k * kNameSlotSize));
  return names;
}

void setBlockNames(NameBlock& block, const QStringList& names) {
  for (int k = 0; k < kNameSlots; ++k) writeNameField(block.data() + k * kNameSlotSize, names.value(k));
}

QStringList defaultNames(NameList list, Language language) {
  const TextPair* table = list == NameList::Materials ? kDefaultMaterials : kDefaultObjects;
  QStringList names;
  for (int k = 0; k < kNameSlots; ++k) names.append(table[k].text(language));
  return names;
}

NameBlock defaultNameBlock(NameList list, Language language) {
  NameBlock block{};
  setBlockNames(block, defaultNames(list, language));
  return block;
}

bool readNameListFile(const QString& path, NameList list, NameBlock& block) {
  if (!localFileState(path).exists) return false;
  const IniFile file(path);
  const QString section = QString::fromLatin1(nameListKind(list).section);
  QStringList names;
  bool any = false;
  for (int k = 0; k < kNameSlots; ++k) {
    QString name = file.readString(section, keyName(k), QString(), kNameValueBuffer);
    // A name ends at a zero byte, as everywhere else (a text from the file holds none otherwise).
    if (const qsizetype zero = name.indexOf(QChar(0)); zero >= 0) name.truncate(zero);
    names.append(name);
    any = any || !name.isEmpty();
  }
  if (!any) return false;
  setBlockNames(block, names);
  return true;
}

bool writeNameListFile(const QString& path, NameList list, const NameBlock& block) {
  const QStringList names = namesOfBlock(block);
  QList<QPair<QString, QString>> values;
  for (int k = 0; k < kNameSlots; ++k) values.append({keyName(k), names[k]});
  // One write of the file for all 13 names (a line break in a name is written as a blank).
  return IniFile(path).writeStrings(QString::fromLatin1(nameListKind(list).section), values);
}

int namesWithLineBreaks(const NameBlock& block) {
  int count = 0;
  for (const QString& name : namesOfBlock(block))
    if (name.contains(u'\r') || name.contains(u'\n')) ++count;
  return count;
}

QString proposedNameListFile(NameList list, const QDateTime& now) {
  return now.toString(QStringLiteral("yyMMdd.hhmm")) + QString::fromLatin1(nameListKind(list).ownExtension);
}

QString correctedNameListFile(NameList list, const QString& chosen, bool* askAgain) {
  const NameListKind& kind = nameListKind(list);
  const QString own = QString::fromLatin1(kind.ownExtension);
  const QString ext = extensionOf(chosen);
  const QString stem = chosen.left(chosen.size() - ext.size());
  const bool again = ext == u".grx" || ext == QLatin1String(kind.otherExtension);
  if (askAgain) *askAgain = again;
  if (again || ext == u".") return stem + own;
  if (ext == own) return chosen;
  return chosen + own;
}

}  // namespace grx
