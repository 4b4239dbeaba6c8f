// Fuzz target for the data packet reader: any bytes either decode into a table whose every
// cell can be read and which survives an encode/decode round trip unchanged, or are refused
// with kestrane::Error. Anything else (a crash, a sanitizer report, an abort) is a finding.
#include "common/Error.h"
#include "data/DataPacket.h"

#include <cstdlib>

using namespace kestrane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Table table;
    try {
        table = decodePacket(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const Error&) {
        return 0;
    }
    QStringList cells;
    for (qsizetype r = 0; r < table.rowCount(); ++r) {
        for (int c = 0; c < table.columnCount(); ++c) {
            cells.append(table.displayText(r, c));
            (void)table.value(r, c);
            (void)table.number(r, c);
            (void)table.text(r, c);
        }
    }
    // What was read must write and read back the same.
    const Table again = decodePacket(encodePacket(table));
    if (again.fields() != table.fields() || again.rowCount() != table.rowCount())
        std::abort();
    qsizetype i = 0;
    for (qsizetype r = 0; r < again.rowCount(); ++r) {
        for (int c = 0; c < again.columnCount(); ++c) {
            if (again.isNull(r, c) != table.isNull(r, c) || again.displayText(r, c) != cells[i++])
                std::abort();
        }
    }
    return 0;
}
