// Sorting: several keys with directions, stability, nulls, numbers as numbers, Chinese by
// pinyin, the case-insensitive option, and the sort texts and index field lists that name keys.
#include "common/Error.h"
#include "data/RowSorter.h"
#include "data/Table.h"

#include <QtTest>
#include <numeric>

using namespace kestrane;

namespace {
std::vector<uint32_t> allRows(const Table& t) {
    std::vector<uint32_t> rows(std::size_t(t.rowCount()));
    std::iota(rows.begin(), rows.end(), 0u);
    return rows;
}

QStringList column(const Table& t, const std::vector<uint32_t>& rows, int c) {
    QStringList out;
    for (uint32_t r : rows)
        out.append(t.isNull(r, c) ? QStringLiteral("<null>") : t.displayText(r, c));
    return out;
}
} // namespace

class TestRowSorter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void severalKeysWithDirections() {
        Table t({{"f_Bmbm", "", FieldType::String},
                 {"f_Gjje", "", FieldType::Float},
                 {"f_Dnxh", "", FieldType::Integer}});
        t.appendRow({"02", 5.0, 1});
        t.appendRow({"01", 10.0, 2});
        t.appendRow({"02", 100.0, 3});
        t.appendRow({"01", 9.5, 4});
        t.appendRow({"02", 5.0, 5});
        std::vector<uint32_t> rows = allRows(t);
        RowSorter::sort(t, RowSorter::parseSortText("f_Bmbm ASC,f_Gjje DESC", t.fields()), rows);
        // Amounts as numbers (100 after 9.5 descending), equal rows 0 and 4 in arrival order.
        QCOMPARE(column(t, rows, 2), (QStringList{"2", "4", "3", "1", "5"}));
    }

    void stableAcrossSuccessiveSorts() {
        Table t({{"a", "", FieldType::Integer}, {"b", "", FieldType::String}});
        const int as[] = {3, 1, 2, 1, 3, 2, 1};
        const char* bs[] = {"x", "y", "z", "w", "v", "u", "t"};
        for (int i = 0; i < 7; ++i)
            t.appendRow({as[i], bs[i]});
        std::vector<uint32_t> rows = allRows(t);
        RowSorter::sort(t, {{1}}, rows); // by b
        RowSorter::sort(t, {{0}}, rows); // then by a: b order kept within equal a
        QCOMPARE(column(t, rows, 1), (QStringList{"t", "w", "y", "u", "z", "v", "x"}));
        // Descending keeps arrival order among equals too (it is not a reversed ascending).
        rows = allRows(t);
        RowSorter::sort(t, {{0, true}}, rows);
        QCOMPARE(column(t, rows, 1), (QStringList{"x", "v", "z", "u", "y", "w", "t"}));
    }

    void nullsComeFirst_data() {
        QTest::addColumn<int>("type");
        QTest::newRow("text") << int(FieldType::String);
        QTest::newRow("integer") << int(FieldType::Integer);
        QTest::newRow("float") << int(FieldType::Float);
        QTest::newRow("date") << int(FieldType::Date);
    }
    void nullsComeFirst() {
        QFETCH(int, type);
        Table t({{"f", "", FieldType(type)}});
        const QVariant values[] = {"20050102", QVariant(), "20050101", QVariant(), "20050103"};
        for (const QVariant& v : values)
            t.appendRow({v});
        std::vector<uint32_t> rows = allRows(t);
        RowSorter::sort(t, {{0}}, rows);
        QCOMPARE(rows, (std::vector<uint32_t>{1, 3, 2, 0, 4}));
        RowSorter::sort(t, {{0, true}}, rows);
        QCOMPARE(rows, (std::vector<uint32_t>{4, 0, 2, 1, 3}));
    }

    void extremeNumbers() {
        Table t({{"f", "", FieldType::Float}, {"i", "", FieldType::Integer}});
        const double inf = std::numeric_limits<double>::infinity();
        const double vals[] = {1.0, -inf, std::nan(""), inf, -0.0, 0.0, -1e300};
        const qlonglong ints[] = {0, INT64_MIN, INT64_MAX, -1, 5, INT64_MIN + 1, INT64_MAX - 1};
        for (int i = 0; i < 7; ++i)
            t.appendRow({vals[i], ints[i]});
        std::vector<uint32_t> rows = allRows(t);
        RowSorter::sort(t, {{0}}, rows);
        // -inf, -1e300, -0 and 0 (equal, arrival order), 1, inf, NaN last.
        QCOMPARE(rows, (std::vector<uint32_t>{1, 6, 4, 5, 0, 3, 2}));
        rows = allRows(t);
        RowSorter::sort(t, {{1}}, rows);
        QCOMPARE(rows, (std::vector<uint32_t>{1, 5, 3, 0, 4, 6, 2}));
    }

    // Chinese sorts by pinyin (安 an, 北 bei, 成 cheng, 大 da, 广 guang, 杭 hang), which is
    // not the code point order (北 < 大 < 安 < 广 < 成 < 杭).
    void chineseByPinyin() {
        Table t({{"f_Csmc", "", FieldType::String}});
        for (const char* s : {"杭州", "北京", "广州", "安徽", "大连", "成都"})
            t.appendRow({QString::fromUtf8(s)});
        std::vector<uint32_t> rows = allRows(t);
        RowSorter::sort(t, {{0}}, rows);
        QCOMPARE(column(t, rows, 0), (QStringList{"安徽", "北京", "成都", "大连", "广州", "杭州"}));
    }

    void caseInsensitiveOption() {
        Table t({{"f", "", FieldType::String}, {"n", "", FieldType::Integer}});
        t.appendRow({"abc", 2});
        t.appendRow({"ABC", 1});
        t.appendRow({"Abd", 0});
        t.appendRow({"123", 3});
        std::vector<uint32_t> rows = allRows(t);
        const std::vector<SortKey> ci = RowSorter::keysFromIndexFields("f;n", "", true, t.fields());
        RowSorter::sort(t, ci, rows);
        // "abc" and "ABC" are equal, so the second key decides between them.
        QCOMPARE(column(t, rows, 1), (QStringList{"3", "1", "2", "0"}));
        rows = allRows(t);
        RowSorter::sort(t, RowSorter::keysFromIndexFields("f;n", "", false, t.fields()), rows);
        QCOMPARE(column(t, rows, 0).first(), QStringLiteral("123"));
        QCOMPARE(column(t, rows, 0).last(), QStringLiteral("Abd"));
    }

    void sortTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("keys"); // column:d/a, or the error
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("two keys") << "f_Bmbm ASC,f_Gjje DESC"
                                  << "0a 1d";
        QTest::newRow("default ascending, any case") << " F_GJJE , f_bmbm desc"
                                                     << "1a 0d";
        QTest::newRow("brackets") << "[f_Gjje] Desc"
                                  << "1d";
        QTest::newRow("unknown field") << "f_x ASC"
                                       << "error: unknown field f_x";
        QTest::newRow("bad direction") << "f_Gjje DOWN"
                                       << "error: expected ASC or DESC after f_Gjje";
        QTest::newRow("empty item") << "f_Gjje,,f_Bmbm"
                                    << "error: item 2 is empty";
    }
    void sortTexts() {
        QFETCH(QString, text);
        QFETCH(QString, keys);
        const QList<FieldDef> fields{{"f_Bmbm", "", FieldType::String},
                                     {"f_Gjje", "", FieldType::Float}};
        try {
            QStringList got;
            for (const SortKey& k : RowSorter::parseSortText(text, fields))
                got.append(QString::number(k.column) + (k.descending ? "d" : "a"));
            QCOMPARE(got.join(' '), keys);
        } catch (const Error& e) {
            QVERIFY2(keys.startsWith("error: ") && e.message().contains(keys.mid(7)),
                     qPrintable(e.message()));
        }
    }

    void indexFieldLists() {
        const QList<FieldDef> fields{{"f_a", "", FieldType::String}, {"f_b", "", FieldType::Float}};
        const std::vector<SortKey> keys =
            RowSorter::keysFromIndexFields("f_b;F_A", "f_b", true, fields);
        QCOMPARE(keys, (std::vector<SortKey>{{1, true, true}, {0, false, true}}));
        QVERIFY_THROWS_EXCEPTION(Error,
                                 RowSorter::keysFromIndexFields("f_a;f_c", "", false, fields));
        QVERIFY_THROWS_EXCEPTION(Error,
                                 RowSorter::keysFromIndexFields("f_a", "f_c", false, fields));
    }
};

QTEST_GUILESS_MAIN(TestRowSorter)
#include "TestRowSorter.moc"
