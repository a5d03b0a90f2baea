// The project-file reader on any bytes, and the table texts, copies and signals of whatever opens.
// A file that opens must also save back to the same bytes.
#include "FuzzTexts.h"
#include "data/ProjectFile.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace grx;
  static auto set = std::make_unique<MeasurementSet>();
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  QBuffer file(&bytes);
  file.open(QIODevice::ReadOnly);
  if (readProjectData(file, *set) != ProjectReadResult::Ok) return 0;
  QByteArray saved;
  QBuffer out(&saved);
  out.open(QIODevice::WriteOnly);
  if (!writeProjectData(*set, out) || saved != bytes) std::abort();  // open and save are inverses
  fuzz::showEverything(*set);
  return 0;
}
