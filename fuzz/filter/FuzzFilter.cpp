// Fuzz target for the filter language: any text either parses and evaluates over a small
// table with every field type and nulls, or is refused with kestrane::Error. Parsed texts
// must also keep two laws of the three-valued logic: a text and its negation never select the
// same row, and parentheses around the whole text change nothing.
#include "common/Error.h"
#include "data/FilterExpression.h"
#include "data/RowSorter.h"
#include "data/Table.h"

#include <cstdlib>

using namespace kestrane;

namespace {
const Table& sample() {
    static const Table table = [] {
        Table t({{"f_Bmbm", "", FieldType::String},
                 {"f_Bmmc", "", FieldType::String},
                 {"f_Dnxh", "", FieldType::Integer},
                 {"f_Gjje", "", FieldType::Float},
                 {"f_Gdrq", "", FieldType::String},
                 {"f_Sfjz", "", FieldType::Boolean},
                 {"f_Rq", "", FieldType::Date},
                 {"f_Sj", "", FieldType::DateTime},
                 {"f_Bz", "", FieldType::Memo}});
        const QVariant null;
        t.appendRow({"0101", "总店一部", 1, 120.5, "20050105", true, QDate(2005, 1, 5),
                     QDateTime(QDate(2005, 1, 5), QTime(8, 30)), "备注"});
        t.appendRow({"0102", "总店二部", 2, 80.0, "20050131", false, QDate(2005, 1, 31), null, ""});
        t.appendRow({"0202", null, null, null, null, null, null, null, null});
        t.appendRow({"1", "abc Shop", -10, -5.25, "2004", true, QDate(2004, 12, 31),
                     QDateTime(QDate(1970, 1, 1), QTime(0, 0)), "it's"});
        t.appendRow({"A1", "ABC%_shop", 5, std::numeric_limits<double>::quiet_NaN(), "20050115",
                     false, QDate(2005, 1, 15), null, "x"});
        return t;
    }();
    return table;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096)
        return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const Table& t = sample();
    FilterExpression e;
    try {
        e = FilterExpression::parse(text, t.fields());
    } catch (const Error&) {
        // Sort texts share the field names; give them the same input.
        try {
            std::vector<uint32_t> rows{0, 1, 2, 3, 4};
            RowSorter::sort(t, RowSorter::parseSortText(text, t.fields()), rows);
        } catch (const Error&) {
        }
        return 0;
    }
    const std::vector<uint64_t> pass = e.evaluate(t);
    if (pass.size() != 1 || (pass[0] >> t.rowCount()) != 0)
        std::abort();
    if (e.isEmpty())
        return 0;
    std::vector<uint32_t> rows{4, 3, 2, 1, 0};
    e.select(t, rows);
    const std::vector<uint64_t> negated =
        FilterExpression::parse(QStringLiteral("NOT (") + text + QStringLiteral("\n)"), t.fields())
            .evaluate(t);
    if (negated[0] & pass[0])
        std::abort();
    const std::vector<uint64_t> grouped =
        FilterExpression::parse(QStringLiteral("(") + text + QStringLiteral("\n)"), t.fields())
            .evaluate(t);
    if (grouped != pass)
        std::abort();
    return 0;
}
