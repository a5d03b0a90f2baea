#pragma once
// Texts of one impact record as the tables, the exports and the report show them: time, date,
// names and satellite coordinates.
#include "ImpactRecord.h"
#include "platform/TextPair.h"

#include <QString>

#include <cstdint>

namespace grx {

// hh:mm:ss, each at least two digits.
QString timeText(const ImpactRecordView& record);
// Russian dd.mm.20yy, English mm.dd.20yy; a year byte of 123 gives 20123.
QString dateText(const ImpactRecordView& record, Language language);
// The Russian date order in both languages, ", ", the time.
QString dateTimeText(const ImpactRecordView& record);

// A name field: length byte (signed; 1..19 valid) and Windows-1251 characters, ending early at a
// zero byte. Anything else reads as the empty text.
QString nameText(const std::uint8_t* field);
// Writes up to 19 characters; the byte after the last one is zeroed when fewer than 19 were
// written, the bytes after that keep their content.
void writeNameField(std::uint8_t* field, const QString& text);

enum class CoordinateKind { Latitude, Longitude };
// Degrees°minutes'seconds" and the hemisphere; "-" for no coordinate or one out of range.
QString coordinateText(std::int32_t word, CoordinateKind kind, Language language);

}  // namespace grx
