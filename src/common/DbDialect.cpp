#include "common/DbDialect.h"

namespace kestrane {

QString kwAtomicBegin;
QString kwThen;
QString kwSemicolon;
QString kwEndIf;
QString kwAtomicEnd;
QString kwBegin;
QString kwEnd;

void SetDbDialect(uint8_t kind) {
    if (kind > 2)
        return;
    const bool db2 = kind == 1;
    const bool sqlServer = kind == 0;
    kwAtomicBegin = db2 ? QStringLiteral(" BEGIN ATOMIC ") : QString();
    kwThen = db2 ? QStringLiteral(" THEN ") : QString();
    kwSemicolon = db2 ? QStringLiteral(" ; ") : QString();
    kwEndIf = db2 ? QStringLiteral(" END IF ") : QString();
    kwAtomicEnd = db2 ? QStringLiteral(" END ") : QString();
    kwBegin = sqlServer ? QStringLiteral(" Begin ") : QString();
    kwEnd = sqlServer ? QStringLiteral(" End ") : QString();
}

} // namespace kestrane
