// Writes the small seed corpus of the fuzz targets from the program's own sample generator and the
// simulated tester's answers: grx1-fuzz-seeds FOLDER (makes FOLDER/project, ini, link and names).
#include "data/MeasurementSet.h"
#include "data/ProjectFile.h"
#include "data/SampleMeasurements.h"
#include "names/NameLists.h"
#include "sim/TesterCore.h"
#include "sim/TesterData.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

bool put(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// What the simulated tester answers to a whole read of its impacts and the requests after it,
// behind the byte that asks the fuzz target for those requests.
QByteArray linkStream(const grx::MeasurementSet& set, int directoryBytes, int versionLength) {
  grx::sim::TesterCore core;
  grx::sim::loadMeasurements(core, set);
  grx::sim::loadDefaultNames(core);
  core.faults().directoryLength = directoryBytes;
  core.faults().versionLength = versionLength;
  std::vector<std::uint8_t> commands = {0x01, 0xFE, 0x02, 0xFD};
  for (std::uint32_t i = 0; i < set.count(); ++i) {
    const std::uint8_t c[4] = {0x03, 0xFC, std::uint8_t(i & 0xFF), std::uint8_t(i >> 8)};
    commands.insert(commands.end(), c, c + 4);
  }
  for (std::uint8_t code : {0x05, 0x07, 0x09}) commands.insert(commands.end(), {code, std::uint8_t(~code)});
  core.receive(commands.data(), commands.size());
  QByteArray bytes(1, char(0x0F));
  std::vector<std::uint8_t> out(core.pendingOutput());
  core.takeOutput(out.data(), out.size());
  bytes.append(reinterpret_cast<const char*>(out.data()), qsizetype(out.size()));
  return bytes;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fputs("usage: grx1-fuzz-seeds FOLDER\n", stderr);
    return 2;
  }
  const QDir root(QString::fromLocal8Bit(argv[1]));
  for (const char* sub : {"project", "ini", "link", "names"}) root.mkpath(QString::fromLatin1(sub));
  bool ok = true;
  auto set = std::make_unique<grx::MeasurementSet>();
  const struct {
    int impacts;
    std::uint32_t seed;
  } sets[] = {{0, 1}, {1, 2}, {3, 3}, {5, 4}};
  for (const auto& s : sets) {
    grx::generateSampleMeasurements(*set, s.impacts, s.seed);
    QByteArray file;
    QBuffer buffer(&file);
    buffer.open(QIODevice::WriteOnly);
    ok = grx::writeProjectData(*set, buffer) && ok;
    const QString n = QString::number(s.impacts);
    ok = put(root.filePath(QStringLiteral("project/sample-%1.grx").arg(n)), file) && ok;
    ok = put(root.filePath(QStringLiteral("link/read-%1").arg(n)), linkStream(*set, 4 * s.impacts, -1)) && ok;
  }
  grx::generateSampleMeasurements(*set, 2, 9);
  ok = put(root.filePath(QStringLiteral("link/long-version")), linkStream(*set, 8, 150)) && ok;
  ok = put(root.filePath(QStringLiteral("link/whole-directory")), linkStream(*set, -1, -1)) && ok;

  const QByteArray ini =
      "; settings of the program\r\n[Config]\r\nLangId=Rus\r\n;LangId=Eng\r\n  Super =  Y  \r\n"
      "LastReadPath=\"C:\\Data\\\"\r\nUses=12\r\n\r\n[FormMain]\r\nWidth=640\r\nHeight=480\r\n"
      "[Screenshot]\r\nColor=\xcf\xf0\xe8\xe1\xee\xf0\r\n";
  ok = put(root.filePath(QStringLiteral("ini/grx1")), ini + "\xFF" "Config\xFE" "LangId\xFE" "Eng") && ok;
  ok = put(root.filePath(QStringLiteral("ini/new-section")), ini + "\xFF" "Names\xFE" "Name1\xFE" "Sand") && ok;
  ok = put(root.filePath(QStringLiteral("ini/empty")), QByteArray("\xFF" "Config\xFE" "Super\xFE" "N")) && ok;
  // The factory name lists as the editors write them, in both languages.
  for (grx::NameList list : {grx::NameList::Materials, grx::NameList::Objects}) {
    for (grx::Language language : {grx::Language::Russian, grx::Language::English}) {
      const QString name = QStringLiteral("names/%1-%2")
                               .arg(list == grx::NameList::Materials ? "materials" : "objects",
                                    language == grx::Language::Russian ? "ru" : "en");
      ok = grx::writeNameListFile(root.filePath(name), list, grx::defaultNameBlock(list, language)) && ok;
    }
  }
  if (!ok) std::fputs("grx1-fuzz-seeds: a seed could not be written\n", stderr);
  return ok ? 0 : 1;
}
