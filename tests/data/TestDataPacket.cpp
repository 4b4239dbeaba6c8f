// Data packets: round trips of every field type, and damaged packets that must be refused with
// a message saying where, never crash and never allocate beyond what the bytes justify.
#include "SampleTables.h"
#include "common/Error.h"
#include "data/DataPacket.h"

#include <QtTest>

using namespace kestrane;

namespace {

// Little-endian builder for hand-made packets, following the documented layout.
struct Bytes {
    QByteArray b;
    Bytes& raw(const char* s, int n) {
        b.append(s, n);
        return *this;
    }
    Bytes& u8(uint8_t v) {
        b.append(char(v));
        return *this;
    }
    Bytes& u16(uint16_t v) { return u8(uint8_t(v)).u8(uint8_t(v >> 8)); }
    Bytes& u32(uint32_t v) { return u16(uint16_t(v)).u16(uint16_t(v >> 16)); }
    Bytes& u64(uint64_t v) { return u32(uint32_t(v)).u32(uint32_t(v >> 32)); }
    Bytes& text(const QString& s) {
        u32(uint32_t(s.size()));
        for (QChar c : s)
            u16(c.unicode());
        return *this;
    }
    Bytes& header(uint32_t fields, uint32_t rows) {
        return raw("KDPK", 4).u16(1).u16(0).u32(fields).u32(rows);
    }
    Bytes& field(const QString& name, FieldType type, uint8_t flags = 1) {
        return text(name).text(QString()).u8(uint8_t(type)).u8(flags).u32(0).u32(0).text(QString());
    }
};

void compareTables(const Table& a, const Table& b) {
    QCOMPARE(b.fields(), a.fields());
    QCOMPARE(b.rowCount(), a.rowCount());
    for (qsizetype r = 0; r < a.rowCount(); ++r) {
        for (int c = 0; c < a.columnCount(); ++c) {
            QCOMPARE(b.isNull(r, c), a.isNull(r, c));
            QCOMPARE(b.value(r, c), a.value(r, c));
        }
    }
}

} // namespace

class TestDataPacket : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTripOfEveryType() {
        Table t({{"f_Text", "文本", FieldType::String, 20, true, 3, ""},
                 {"f_Int", "", FieldType::Integer, 0, false, -7, "0"},
                 {"f_Float", "金额", FieldType::Float, 0, true, 0, "####0.00"},
                 {"f_Bool", "", FieldType::Boolean},
                 {"f_Date", "", FieldType::Date},
                 {"f_Time", "", FieldType::DateTime},
                 {"f_Memo", "备注", FieldType::Memo, 0, true, 0, "", true}});
        const QVariant null;
        t.appendRow({"总店一部", qlonglong(INT64_MIN), 1234.5, true, QDate(2005, 1, 31),
                     QDateTime(QDate(2005, 1, 31), QTime(23, 59, 58, 7)), "第一行\r\n第二行"});
        t.appendRow({null, null, null, null, null, null, null});
        t.appendRow({"", qlonglong(INT64_MAX), -0.001, false, QDate(1900, 1, 1),
                     QDateTime(QDate(1970, 1, 1), QTime(0, 0)), QString(3000, u'长')});
        t.appendRow({"it's \"quoted\"", 0, std::numeric_limits<double>::infinity(), null,
                     QDate(9999, 12, 31), null, "𠀀 surrogate pair"});
        const Table back = decodePacket(encodePacket(t));
        compareTables(t, back);
        // The empty text stays an empty text, not a null.
        QVERIFY(!back.isNull(2, 0));
        QCOMPARE(back.fields()[6].calculated, true);
        QCOMPARE(back.fields()[1].visible, false);
        QCOMPARE(back.fields()[1].tag, -7);
    }

    void roundTripOfSelectedRowsAndEmptyTables() {
        const Table t = testing::sampleTable();
        const std::vector<uint32_t> rows{4, 0, 3, 0};
        const Table back = decodePacket(encodePacket(t, rows));
        QCOMPARE(back.rowCount(), 4);
        for (int i = 0; i < 4; ++i) {
            for (int c = 0; c < t.columnCount(); ++c)
                QCOMPARE(back.value(i, c), t.value(rows[std::size_t(i)], c));
        }
        // Only the texts the chosen rows use travel.
        QCOMPARE(back.dictionary(1).size(), 2u);
        QVERIFY_THROWS_EXCEPTION(Error, encodePacket(t, {99}));

        const Table empty(t.fields());
        compareTables(empty, decodePacket(encodePacket(empty)));
        compareTables(Table(), decodePacket(encodePacket(Table())));
    }

    void wideDictionariesUseWiderCodes() {
        Table t({{"f_Code", "", FieldType::String}});
        for (int i = 0; i < 70000; ++i)
            t.appendRow({QString::number(i % 66000)});
        const Table back = decodePacket(encodePacket(t));
        QCOMPARE(back.rowCount(), t.rowCount());
        QCOMPARE(back.text(65999, 0), u"65999");
        QCOMPARE(back.text(69999, 0), QString::number(69999 % 66000));
    }

    void travelsInAVariant() {
        const Table t = testing::sampleTable();
        const QVariant v(encodePacket(t));
        compareTables(t, decodePacket(v));
        QVERIFY_THROWS_EXCEPTION(Error, decodePacket(QVariant(QStringLiteral("KDPK"))));
        QVERIFY_THROWS_EXCEPTION(Error, decodePacket(QVariant()));
    }

    // A packet made by hand from the documented layout reads as documented.
    void readsTheDocumentedLayout() {
        Bytes p;
        p.header(2, 3);
        p.field("f_zymc", FieldType::String).field("f_n", FieldType::Integer);
        p.u8(0b010);                        // row 1 of f_zymc is null
        p.u32(2).text("张三").text("李四"); // dictionary
        p.u8(1).u8(1).u8(0).u8(0);          // codes, width 1
        p.u8(0);                            // no nulls in f_n
        p.u64(5).u64(uint64_t(-6)).u64(7);
        const Table t = decodePacket(QByteArrayView(p.b));
        QCOMPARE(t.rowCount(), 3);
        QCOMPARE(t.text(0, 0), u"李四");
        QVERIFY(t.isNull(1, 0));
        QCOMPARE(t.text(2, 0), u"张三");
        QCOMPARE(t.integer(1, 1), -6);
    }

    void damagedPacketsAreRefusedWithTheirOffset_data() {
        QTest::addColumn<QByteArray>("packet");
        QTest::addColumn<QString>("message");
        auto one = [](auto fill) {
            Bytes p;
            fill(p);
            return p.b;
        };
        QTest::newRow("empty") << QByteArray() << "byte 0: 0 bytes are too short";
        QTest::newRow("wrong magic") << QByteArray("XXXX\1\0\0\0") << "byte 0: not a data packet";
        QTest::newRow("future version")
            << one([](Bytes& p) { p.raw("KDPK", 4).u16(2).u16(0).u32(0).u32(0); })
            << "byte 4: format version 2 is not supported";
        QTest::newRow("unknown flags")
            << one([](Bytes& p) { p.raw("KDPK", 4).u16(1).u16(8).u32(0).u32(0); })
            << "byte 6: unknown packet flags";
        QTest::newRow("header cut") << one([](Bytes& p) { p.raw("KDPK", 4).u16(1).u16(0).u16(1); })
                                    << "byte 8: field count needs 4 bytes but 2 remain";
        QTest::newRow("too many fields")
            << one([](Bytes& p) { p.header(5000, 0); }) << "byte 8: 5000 fields";
        QTest::newRow("rows without fields")
            << one([](Bytes& p) { p.header(0, 10); }) << "byte 12: 10 rows but no fields";
        QTest::newRow("huge row count")
            << one([](Bytes& p) { p.header(1, 0x7fffffff).field("f", FieldType::Float); })
            << "byte 40: 2147483647 rows of 1 fields need at least";
        QTest::newRow("row count above int32")
            << one([](Bytes& p) { p.header(1, 0x80000000u).field("f", FieldType::Float); })
            << "byte 12: 2147483648 rows";
        QTest::newRow("field count beyond the bytes")
            << one([](Bytes& p) { p.header(100, 0); }) << "byte 16: 100 field definitions";
        QTest::newRow("name longer than the packet") << one([](Bytes& p) {
            p.header(1, 0).u32(60000).u16('a').raw("123456789012345678", 18);
        }) << "byte 16: field name of 60000 code units needs 120000 bytes but 20 remain";
        QTest::newRow("empty field name")
            << one([](Bytes& p) { p.header(1, 0).field("", FieldType::String); })
            << "byte 16: field 1 has an empty name";
        QTest::newRow("unknown type")
            << one([](Bytes& p) { p.header(1, 0).field("f", FieldType(9)); })
            << "byte 26: field 1 (f) has unknown type 9";
        QTest::newRow("unknown field flags")
            << one([](Bytes& p) { p.header(1, 0).field("f", FieldType::String, 0x81); })
            << "byte 27: field 1 (f) has unknown flags 0x81";
        QTest::newRow("negative size") << one([](Bytes& p) {
            p.header(1, 0).text("f").text("").u8(1).u8(1).u32(uint32_t(-3)).u32(0).text("");
        }) << "byte 28: field 1 (f) has negative size -3";
        QTest::newRow("values cut") << one([](Bytes& p) {
            p.header(1, 3).field("f", FieldType::Integer).u8(0).u64(1).u64(2);
        }) << "byte 41: values of field f of 3 rows needs 24 bytes but 16 remain";
        QTest::newRow("null bits beyond the last row") << one([](Bytes& p) {
            p.header(1, 2).field("f", FieldType::Boolean).u8(0x04).u8(0).u8(1);
        }) << "byte 40: null bitmap of field f has bits set beyond the last row";
        QTest::newRow("boolean not 0 or 1") << one([](Bytes& p) {
            p.header(1, 2).field("f", FieldType::Boolean).u8(0).u8(1).u8(7);
        }) << "byte 42: boolean of field f in row 2 is 7";
        QTest::newRow("dictionary larger than the packet") << one([](Bytes& p) {
            p.header(1, 1).field("f", FieldType::String).u8(0).u32(1000000).u32(0).u8(1).u8(0);
        }) << "byte 41: 1000000 distinct texts of field f need at least 4000000 bytes";
        QTest::newRow("bad code width") << one([](Bytes& p) {
            p.header(1, 1).field("f", FieldType::String).u8(0).u32(1).text("a").u8(3).u8(0);
        }) << "byte 51: code width of field f is 3";
        QTest::newRow("code beyond the dictionary") << one([](Bytes& p) {
            p.header(1, 2).field("f", FieldType::String).u8(0).u32(1).text("a").u8(1).u8(0).u8(1);
        }) << "byte 53: text code 1 of field f in row 2 is not below the 1 distinct texts";
        QTest::newRow("trailing bytes") << one([](Bytes& p) {
            p.header(1, 1).field("f", FieldType::Boolean).u8(0).u8(1).u8(0xEE);
        }) << "byte 42: 1 bytes follow the last column";
    }

    void damagedPacketsAreRefusedWithTheirOffset() {
        QFETCH(QByteArray, packet);
        QFETCH(QString, message);
        try {
            decodePacket(QByteArrayView(packet));
            QFAIL("a damaged packet was accepted");
        } catch (const Error& e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
            QVERIFY(e.message().startsWith(u"data packet, byte "));
        }
    }

    // Every cut of a real packet, and every single flipped byte, is either refused with an
    // Error or (for flips inside values) read as another valid packet; nothing else happens.
    void everyCutAndEveryFlipIsHandled() {
        const QByteArray good = encodePacket(testing::sampleTable());
        for (qsizetype n = 0; n < good.size(); ++n)
            QVERIFY_THROWS_EXCEPTION(Error, decodePacket(QByteArrayView(good.left(n))));
        int refused = 0;
        for (qsizetype i = 0; i < good.size(); ++i) {
            QByteArray bad = good;
            bad[i] = char(bad[i] ^ 0xA5);
            try {
                const Table t = decodePacket(QByteArrayView(bad));
                // Whatever was read must be readable cell by cell.
                for (qsizetype r = 0; r < t.rowCount(); ++r) {
                    for (int c = 0; c < t.columnCount(); ++c)
                        (void)t.displayText(r, c);
                }
            } catch (const Error&) {
                ++refused;
            }
        }
        QVERIFY(refused > 0);
    }
};

QTEST_GUILESS_MAIN(TestDataPacket)
#include "TestDataPacket.moc"
