#include "ZipCheck.h"

#include "platform/LittleEndian.h"

#include <QXmlStreamReader>

#include <zlib.h>

#include <optional>

namespace grx {
namespace {

constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr qsizetype kEndSize = 22;
constexpr qsizetype kCentralSize = 46;
constexpr qsizetype kLocalSize = 30;
constexpr std::uint16_t kDataDescriptorFlag = 1 << 3;
// A part of our workbooks is a few MB at most; a size beyond this is a damaged directory.
constexpr std::uint32_t kMaxPartSize = 1u << 30;

class Bytes {
 public:
  explicit Bytes(const QByteArray& data) : data_(data) {}
  bool has(qsizetype at, qsizetype count) const { return at >= 0 && count >= 0 && at <= data_.size() - count; }
  std::uint16_t u16(qsizetype at) const { return readU16(p(at)); }
  std::uint32_t u32(qsizetype at) const { return readU32(p(at)); }
  QByteArray mid(qsizetype at, qsizetype count) const { return data_.mid(at, count); }
  qsizetype size() const { return data_.size(); }

 private:
  const std::uint8_t* p(qsizetype at) const { return reinterpret_cast<const std::uint8_t*>(data_.constData()) + at; }
  const QByteArray& data_;
};

// The end record: the last signature whose comment reaches exactly to the end of the archive.
std::optional<qsizetype> findEnd(const Bytes& zip) {
  for (qsizetype at = zip.size() - kEndSize; at >= 0 && at >= zip.size() - kEndSize - 0xFFFF; --at)
    if (zip.u32(at) == kEndSignature && at + kEndSize + zip.u16(at + 20) == zip.size()) return at;
  return std::nullopt;
}

// Raw deflate data (no zlib header) unpacked whole: it must end exactly at its compressed size.
std::optional<QByteArray> inflateRaw(const QByteArray& packed, std::uint32_t size) {
  z_stream s{};
  if (inflateInit2(&s, -MAX_WBITS) != Z_OK) return std::nullopt;
  QByteArray out(qsizetype(size) + 1, Qt::Uninitialized);  // one more byte shows data that runs on
  s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
  s.avail_in = uInt(packed.size());
  s.next_out = reinterpret_cast<Bytef*>(out.data());
  s.avail_out = uInt(out.size());
  const int result = inflate(&s, Z_FINISH);
  const bool whole = result == Z_STREAM_END && s.avail_in == 0;
  out.truncate(qsizetype(s.total_out));
  inflateEnd(&s);
  if (!whole) return std::nullopt;
  return out;
}

bool wellFormedXml(const QByteArray& text) {
  QXmlStreamReader xml(text);
  while (!xml.atEnd()) xml.readNext();
  return !xml.hasError();
}

// One entry of the central directory at `at` against its local header and its data.
QString entryProblem(const Bytes& zip, qsizetype at, qsizetype directoryStart, QString& name) {
  if (!zip.has(at, kCentralSize) || zip.u32(at) != kCentralSignature) return QStringLiteral("central directory cut");
  const std::uint16_t flags = zip.u16(at + 8), method = zip.u16(at + 10);
  const std::uint32_t crc = zip.u32(at + 16), packedSize = zip.u32(at + 20), size = zip.u32(at + 24);
  const std::uint16_t nameLength = zip.u16(at + 28);
  const qsizetype local = zip.u32(at + 42);
  if (!zip.has(at + kCentralSize, nameLength)) return QStringLiteral("central directory cut");
  const QByteArray rawName = zip.mid(at + kCentralSize, nameLength);
  name = QString::fromUtf8(rawName);
  if (size > kMaxPartSize || packedSize > kMaxPartSize) return QStringLiteral("size out of range");
  if (!zip.has(local, kLocalSize) || zip.u32(local) != kLocalSignature) return QStringLiteral("no local header");
  if (zip.u16(local + 8) != method || zip.mid(local + kLocalSize, zip.u16(local + 26)) != rawName)
    return QStringLiteral("local header disagrees with the directory");
  if (!(flags & kDataDescriptorFlag) &&
      (zip.u32(local + 14) != crc || zip.u32(local + 18) != packedSize || zip.u32(local + 22) != size))
    return QStringLiteral("local header disagrees with the directory");
  const qsizetype data = local + kLocalSize + zip.u16(local + 26) + zip.u16(local + 28);
  if (!zip.has(data, packedSize) || data + packedSize > directoryStart) return QStringLiteral("data cut");
  const QByteArray packed = zip.mid(data, packedSize);
  std::optional<QByteArray> content;
  if (method == 0) content = packed;
  else if (method == Z_DEFLATED) content = inflateRaw(packed, size);
  else return QStringLiteral("unknown compression method");
  if (!content) return QStringLiteral("deflated data damaged");
  if (content->size() != qsizetype(size)) return QStringLiteral("size differs");
  const auto* bytes = reinterpret_cast<const Bytef*>(content->constData());
  if (crc32(crc32(0, nullptr, 0), bytes, uInt(content->size())) != crc) return QStringLiteral("CRC-32 differs");
  if ((name.endsWith(u".xml") || name.endsWith(u".rels")) && !wellFormedXml(*content))
    return QStringLiteral("not well-formed XML");
  return {};
}

}  // namespace

QString zipProblem(const QByteArray& data, const QStringList& required) {
  const Bytes zip(data);
  const std::optional<qsizetype> end = findEnd(zip);
  if (!end) return QStringLiteral("no end record");
  const std::uint16_t count = zip.u16(*end + 10);
  const qsizetype directorySize = zip.u32(*end + 12), directoryStart = zip.u32(*end + 16);
  if (zip.u16(*end + 8) != count || directoryStart + directorySize != *end)
    return QStringLiteral("end record disagrees with the directory");
  QStringList missing = required;
  qsizetype at = directoryStart;
  for (int i = 0; i < count; ++i) {
    QString name;
    const QString problem = entryProblem(zip, at, directoryStart, name);
    if (!problem.isEmpty()) return name.isEmpty() ? problem : name + QStringLiteral(": ") + problem;
    missing.removeAll(name);
    at += kCentralSize + zip.u16(at + 28) + zip.u16(at + 30) + zip.u16(at + 32);
  }
  if (at != *end) return QStringLiteral("central directory holds more than its entries");
  if (!missing.isEmpty()) return missing.first() + QStringLiteral(": missing");
  return {};
}

}  // namespace grx
