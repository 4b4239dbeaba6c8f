#pragma once
// Pieces of procedural SQL blocks in the server's dialect, set for the database kind the
// parameter loader learns from the host.
#include <QString>
#include <cstdint>

namespace kestrane {

enum class DbKind : uint8_t { SqlServer = 0, Db2 = 1, Oracle = 2 };

extern QString kwAtomicBegin;
extern QString kwThen;
extern QString kwSemicolon;
extern QString kwEndIf;
extern QString kwAtomicEnd;
extern QString kwBegin;
extern QString kwEnd;

// 0 SQL Server, 1 DB2, 2 Oracle (all empty); any other kind changes nothing.
void SetDbDialect(uint8_t kind);

} // namespace kestrane
