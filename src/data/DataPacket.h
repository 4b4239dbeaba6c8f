#pragma once
// The data packet: a self-describing binary snapshot of a table, the form in which the host
// answers OpenQuery, GetSysParams and GetBasicData. It travels in a QVariant holding a
// QByteArray and is loaded whole into a MemTable.
//
// Byte layout (all integers little-endian; "text" is a u32 count of UTF-16 code units
// followed by that many UTF-16LE units):
//
//   offset 0   4 bytes  magic "KDPK"
//          4   u16      format version, 1
//          6   u16      flags, 0 (readers refuse other values)
//          8   u32      field count F (at most 4096)
//         12   u32      row count R (at most 2^31 - 1)
//   then F field definitions, in field order:
//              text     name (not empty)
//              text     display label
//              u8       type: 1 string, 2 integer, 3 float, 4 boolean, 5 date, 6 date-time,
//                       7 memo
//              u8       flags: bit 0 visible, bit 1 calculated; other bits 0
//              i32      size (declared length of text fields; >= 0)
//              i32      Tag
//              text     display format
//   then F columns, in field order, each:
//              ceil(R/8) bytes  null bitmap: bit (r & 7) of byte (r >> 3) is 1 when row r
//                               is null; the unused high bits of the last byte are 0
//              integer, date (Julian day), date-time (ms since 1970): R x i64
//              float:   R x f64 (IEEE 754 binary64)
//              boolean: R x u8, 0 or 1
//              (the value bytes of null rows are present; readers ignore them)
//              string, memo:
//                       u32      D, the number of distinct texts
//                       D x text the distinct texts (writers write each text once;
//                                readers do not rely on it)
//                       u8       code width W: 1, 2 or 4 bytes
//                       R x W    per row the code of its text, below D; writers write 0
//                                in null rows and readers ignore the code there
//   nothing follows the last column.
//
// Decoding trusts nothing: every count is checked against the bytes that remain before
// anything is allocated for it, so a damaged packet costs at most memory proportional to its
// own size, and any inconsistency raises kestrane::Error saying at which byte offset what was
// wrong ("data packet, byte 4127: text of 60000 code units but 12 bytes remain").
#include "data/Table.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QVariant>
#include <cstdint>
#include <vector>

namespace kestrane {

// The whole table as a packet.
QByteArray encodePacket(const Table& table);
// Only the given rows, in the given order (for instance the rows a dataset's filter lets
// through). Row numbers must be < table.rowCount(); out-of-range numbers throw.
QByteArray encodePacket(const Table& table, const std::vector<uint32_t>& rows);

// Reads a packet. Throws kestrane::Error for anything that is not a complete, consistent
// packet.
Table decodePacket(QByteArrayView bytes);
Table decodePacket(const QByteArray& bytes);
// Reads the packet a QVariant carries (it must hold a QByteArray); throws kestrane::Error
// otherwise.
Table decodePacket(const QVariant& packet);

} // namespace kestrane
