// The name-list file reader on any file, for both lists. A file that reads must give names of at
// most 19 characters; written back and read again, names that the INI rules keep as they are
// must come back unchanged.
#include "names/NameLists.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

// Names the INI rules keep as they are: printable ASCII, no blanks at either end, no quotes, no
// comment start.
bool plain(const QString& s) {
  if (s.trimmed() != s || s.startsWith(u';')) return false;
  for (QChar c : s)
    if (c.unicode() < 0x20 || c.unicode() > 0x7E || c == u'"' || c == u'\'') return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static QTemporaryDir dir;
  static const QString in = dir.filePath(QStringLiteral("in.mtgrx"));
  static const QString out = dir.filePath(QStringLiteral("out.mtgrx"));
  {
    QFile f(in);
    if (!f.open(QIODevice::WriteOnly) || f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
      std::abort();
  }
  for (grx::NameList list : {grx::NameList::Materials, grx::NameList::Objects}) {
    grx::NameBlock block{};
    if (!grx::readNameListFile(in, list, block)) continue;
    const QStringList names = grx::namesOfBlock(block);
    bool allPlain = true;
    for (const QString& name : names) {
      if (name.size() > 19) std::abort();
      allPlain = allPlain && plain(name);
    }
    QFile::remove(out);
    if (!grx::writeNameListFile(out, list, block)) std::abort();
    grx::NameBlock again{};
    if (!grx::readNameListFile(out, list, again)) std::abort();  // the block held a name
    if (allPlain && grx::namesOfBlock(again) != names) std::abort();
  }
  return 0;
}
