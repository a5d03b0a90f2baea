// The INI reader and writer on any file. The input is a file, then (after a 0xFF byte) a section,
// a key and a value separated by 0xFE. Every read must work; a written plain value must read back
// unchanged, and the other keys of the file must keep their values.
#include "platform/IniFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

// Values and names that the INI rules keep as they are: no line breaks, no '=' or brackets, no
// blanks at either end, no comment start, no quotes.
bool plain(const QString& s, bool name) {
  if (s.isEmpty() || s.trimmed() != s || s.startsWith(u';')) return false;
  for (QChar c : s) {
    if (c.unicode() < 0x20 || c == u'"' || c == u'\'' || c.unicode() == 0x98 || c.unicode() == 0xFFFD) return false;
    if (name && (c == u'=' || c == u'[' || c == u']')) return false;
    if (c.unicode() > 0x7E) return false;  // keep to ASCII: every code page spells it alike
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using grx::IniFile;
  static QTemporaryDir dir;
  static const QString path = dir.filePath(QStringLiteral("GRX1.ini"));
  const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
  const qsizetype split = input.indexOf('\xFF');
  const QByteArray fileBytes = split < 0 ? input : input.left(split);
  const QList<QByteArray> parts = split < 0 ? QList<QByteArray>{} : input.mid(split + 1).split('\xFE');
  const QString section = parts.size() > 0 ? QString::fromLatin1(parts[0]) : QStringLiteral("Config");
  const QString key = parts.size() > 1 ? QString::fromLatin1(parts[1]) : QStringLiteral("LangId");
  const QString value = parts.size() > 2 ? QString::fromLatin1(parts[2]) : QStringLiteral("Eng");
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(fileBytes) != fileBytes.size()) std::abort();
  }
  const IniFile ini(path);
  for (int buffer : {1, 2, 4, 256}) (void)ini.readString(section, key, QStringLiteral("  default  "), buffer);
  const QString other = ini.readString(QStringLiteral("FormMain"), QStringLiteral("Width"), QStringLiteral("none"));
  const bool keepsOther = section.compare(u"FormMain", Qt::CaseInsensitive) != 0;
  if (!ini.writeString(section, key, value)) std::abort();
  const QString back = ini.readString(section, key, QString(), 4096);
  const bool plainWrite = plain(section, true) && plain(key, true) && plain(value, false);
  if (plainWrite && back != value) std::abort();
  // (A value with a line break starts lines of its own: the writer stores values as they are.)
  if (plainWrite && keepsOther &&
      ini.readString(QStringLiteral("FormMain"), QStringLiteral("Width"), QStringLiteral("none")) != other)
    std::abort();
  return 0;
}
