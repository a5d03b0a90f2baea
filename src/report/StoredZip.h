#pragma once
// A zip archive built in memory from stored (uncompressed) entries: what an OpenDocument file
// needs, whose first entry must be the uncompressed "mimetype". No compression, no zip64 (an
// archive stays below 4 GiB and 65535 entries), names in ASCII or flagged as UTF-8.
#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <vector>

namespace grx {

// CRC-32 as zip computes it (reflected polynomial 0xEDB88320).
std::uint32_t zipCrc32(const QByteArray& data);

class StoredZip {
 public:
  // Every entry carries this modification time (DOS time: from 1980, to two seconds).
  explicit StoredZip(const QDateTime& stamp = {});

  // Appends an entry; entries keep the order they were added in.
  void add(const QString& name, const QByteArray& data);
  // The whole archive: the entries, their central directory and its end record.
  QByteArray bytes() const;

 private:
  struct Entry {
    QByteArray name;
    std::uint32_t crc = 0;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;  // of its local header
  };
  void appendHeader(QByteArray& out, const Entry& e, bool central) const;

  QByteArray data_;  // local headers and data, in order
  std::vector<Entry> entries_;
  std::uint16_t dosTime_ = 0;
  std::uint16_t dosDate_ = (1 << 5) | 1;  // 1 January 1980
};

}  // namespace grx
