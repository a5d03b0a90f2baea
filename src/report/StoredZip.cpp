#include "StoredZip.h"

#include <array>

namespace grx {
namespace {

constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint32_t kCentralHeader = 0x02014b50;
constexpr std::uint32_t kEndOfCentral = 0x06054b50;
constexpr std::uint16_t kVersion = 10;       // 1.0: stored entries only
constexpr std::uint16_t kUtf8Names = 0x0800;  // general purpose flag bit 11

void put16(QByteArray& out, std::uint32_t v) {
  out += char(v & 0xff);
  out += char((v >> 8) & 0xff);
}

void put32(QByteArray& out, std::uint32_t v) {
  put16(out, v & 0xffff);
  put16(out, v >> 16);
}

bool isAscii(const QByteArray& s) {
  for (const char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::uint32_t zipCrc32(const QByteArray& data) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const char byte : data) crc = table[(crc ^ static_cast<unsigned char>(byte)) & 0xff] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

StoredZip::StoredZip(const QDateTime& stamp) {
  if (!stamp.isValid() || stamp.date().year() < 1980 || stamp.date().year() > 2107) return;
  const QDate d = stamp.date();
  const QTime t = stamp.time();
  dosDate_ = std::uint16_t(((d.year() - 1980) << 9) | (d.month() << 5) | d.day());
  dosTime_ = std::uint16_t((t.hour() << 11) | (t.minute() << 5) | (t.second() / 2));
}

void StoredZip::add(const QString& name, const QByteArray& data) {
  Entry e;
  e.name = name.toUtf8();
  e.crc = zipCrc32(data);
  e.size = std::uint32_t(data.size());
  e.offset = std::uint32_t(data_.size());
  appendHeader(data_, e, false);
  data_ += data;
  entries_.push_back(std::move(e));
}

void StoredZip::appendHeader(QByteArray& out, const Entry& e, bool central) const {
  put32(out, central ? kCentralHeader : kLocalHeader);
  if (central) put16(out, kVersion);  // made by: MS-DOS attributes, version 1.0
  put16(out, kVersion);               // needed to extract
  put16(out, isAscii(e.name) ? 0 : kUtf8Names);
  put16(out, 0);  // stored
  put16(out, dosTime_);
  put16(out, dosDate_);
  put32(out, e.crc);
  put32(out, e.size);  // compressed size: the same, stored
  put32(out, e.size);
  put16(out, std::uint32_t(e.name.size()));
  put16(out, 0);  // no extra field
  if (central) {
    put16(out, 0);  // no comment
    put16(out, 0);  // disk 0
    put16(out, 0);  // internal attributes
    put32(out, 0);  // external attributes
    put32(out, e.offset);
  }
  out += e.name;
}

QByteArray StoredZip::bytes() const {
  QByteArray out = data_;
  const auto directoryStart = std::uint32_t(out.size());
  for (const Entry& e : entries_) appendHeader(out, e, true);
  const auto directorySize = std::uint32_t(out.size()) - directoryStart;
  put32(out, kEndOfCentral);
  put16(out, 0);  // this disk
  put16(out, 0);  // the disk with the directory
  put16(out, std::uint32_t(entries_.size()));
  put16(out, std::uint32_t(entries_.size()));
  put32(out, directorySize);
  put32(out, directoryStart);
  put16(out, 0);  // no comment
  return out;
}

}  // namespace grx
