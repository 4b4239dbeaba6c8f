// The demo database: the same seed gives the same rows, another seed other rows; the size
// option is the number of receipt lines; the content covers what the screen needs (all
// purchase types, type "9" items from tbYyda, operators with and without permission rows,
// 24 months of tables up to today's month).
#include "host/DemoDataGenerator.h"
#include "host/SqliteBackend.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

using namespace kestrane;
using namespace kestrane::host;

namespace {

// A digest of every demo table's rows, in key order.
QByteArray digest(SqliteBackend& db) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const Table tables = db.query(u"select name from sqlite_master where type = 'table' and "
                                  "name <> ? order by name"_qs,
                                  {DemoDataGenerator::kInfoTable});
    for (qsizetype t = 0; t < tables.rowCount(); ++t) {
        const QString name = tables.text(t, 0).toString();
        hash.addData(name.toUtf8());
        const int columns = db.query(u"select * from "_qs + name + u" limit 0"_qs).columnCount();
        QStringList order;
        for (int c = 1; c <= columns; ++c)
            order << QString::number(c);
        const Table rows =
            db.query(u"select * from "_qs + name + u" order by "_qs + order.join(u','));
        for (qsizetype r = 0; r < rows.rowCount(); ++r) {
            for (int c = 0; c < rows.columnCount(); ++c)
                hash.addData(QByteArray(rows.displayText(r, c).toUtf8() + '\x1f'));
        }
    }
    return hash.result().toHex();
}

qint64 scalar(SqliteBackend& db, const QString& sql, const QVariantList& params = {}) {
    return qint64(db.query(sql, params).number(0, 0));
}

} // namespace

class tst_DemoDataGenerator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sameSeedSameRows();
    void content();
    void defaultSizeTime();

private:
    QTemporaryDir m_dir;
};

void tst_DemoDataGenerator::sameSeedSameRows() {
    DemoDataOptions options;
    options.seed = 42;
    options.lines = 3000;
    options.today = QDate(2025, 3, 20);
    SqliteBackend a(m_dir.filePath(u"a.sqlite"_qs));
    SqliteBackend b(m_dir.filePath(u"b.sqlite"_qs));
    SqliteBackend c(m_dir.filePath(u"c.sqlite"_qs));
    DemoDataGenerator(options).generate(a);
    DemoDataGenerator(options).generate(b);
    options.seed = 43;
    DemoDataGenerator(options).generate(c);
    QCOMPARE(digest(a), digest(b));
    QVERIFY(digest(a) != digest(c));

    // Generating again over an existing demo replaces it with the same rows.
    options.seed = 42;
    DemoDataGenerator(options).generate(c);
    QCOMPARE(digest(c), digest(a));
}

void tst_DemoDataGenerator::content() {
    DemoDataOptions options;
    options.seed = 5;
    options.lines = 4801;
    options.today = QDate(2025, 3, 20);
    SqliteBackend db(m_dir.filePath(u"content.sqlite"_qs));
    DemoDataGenerator generator(options);
    generator.generate(db);

    const QStringList months = generator.months();
    QCOMPARE(months.size(), 24);
    QCOMPARE(months.first(), u"202304"_qs);
    QCOMPARE(months.last(), u"202503"_qs);
    qint64 lines = 0;
    QSet<QString> types;
    for (const QString& m : months) {
        const QString ygys = u"tb"_qs + m + u"_Ygys"_qs;
        lines += scalar(db, u"select count(*) from "_qs + ygys);
        const Table t = db.query(u"select distinct f_Gjlx from "_qs + ygys);
        for (qsizetype r = 0; r < t.rowCount(); ++r)
            types.insert(t.text(r, 0).toString());
        // Dates of the month's table lie in the month, and not after today.
        QCOMPARE(scalar(db,
                        u"select count(*) from "_qs + ygys +
                            u" where substr(f_Gdrq,1,6) <> ? or f_Gdrq > '20250320'"_qs,
                        {m}),
                 0);
        // Every line's item is in the catalogue its purchase type uses.
        QCOMPARE(scalar(db, u"select count(*) from "_qs + ygys +
                                u" a where (f_Gjlx = '9' and f_Spbm not in (select f_Yybm from "
                                "tbYyda)) or (f_Gjlx <> '9' and f_Spbm not in (select f_Spbm "
                                "from tbSpda))"_qs),
                 0);
        // Every submission has its head and its invoices in the same month.
        QCOMPARE(scalar(db, u"select count(*) from (select distinct f_Hsdwh, f_Fptjdh from "_qs +
                                ygys + u") s where not exists (select 1 from tb"_qs + m +
                                u"_Fptjdzb z where z.f_Hsdwh = s.f_Hsdwh and z.f_Djh = "
                                "s.f_Fptjdh)"_qs),
                 0);
        QVERIFY(scalar(db, u"select count(*) from tb"_qs + m + u"_Fptjdcb"_qs) > 0);
    }
    QCOMPARE(lines, options.lines);
    QCOMPARE(types, (QSet<QString>{u"0"_qs, u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs, u"5"_qs, u"6"_qs,
                                   u"7"_qs, u"8"_qs, u"9"_qs}));
    QVERIFY(!db.tableExists(u"tb202504_Ygys"_qs));
    QVERIFY(!db.tableExists(u"tb202303_Ygys"_qs));

    const QString unrestricted = DemoDataGenerator::unrestrictedOperator();
    const QString restricted = DemoDataGenerator::restrictedOperator();
    QCOMPARE(scalar(db, u"select count(*) from tbzyfghsdw where f_zybm = ?"_qs, {unrestricted}), 0);
    QVERIFY(scalar(db, u"select count(*) from tbzyfghsdw where f_zybm = ?"_qs, {restricted}) > 0);
    QCOMPARE(scalar(db, u"select count(*) from tbzyda where f_zybm in (?, ?)"_qs,
                    {unrestricted, restricted}),
             2);
    QCOMPARE(scalar(db, u"select count(*) from "_qs + DemoDataGenerator::kSysParamTable +
                            u" where f_Csmc = 'qyny' and f_Csz = '202304'"_qs),
             1);
    QVERIFY(DemoDataGenerator::isCurrent(db, QDate(2025, 3, 1)));
    QVERIFY(!DemoDataGenerator::isCurrent(db, QDate(2025, 4, 1)));
    // Names are Chinese text.
    const Table names = db.query(u"select f_Csmc from tbCsda order by f_Csbm"_qs);
    QVERIFY(names.text(0, 0).toString().contains(u"有限公司"_qs));
}

void tst_DemoDataGenerator::defaultSizeTime() {
    // Reported, not judged: the time depends on the machine.
    SqliteBackend db(m_dir.filePath(u"default.sqlite"_qs));
    DemoDataOptions options;
    options.today = QDate(2025, 3, 20);
    QElapsedTimer timer;
    timer.start();
    DemoDataGenerator(options).generate(db);
    qInfo("default demo (%lld lines) generated in %lld ms", qlonglong(options.lines),
          qlonglong(timer.elapsed()));
    QCOMPARE(scalar(db, u"select count(*) from tb202503_Ygys"_qs), options.lines / 24);
}

QTEST_GUILESS_MAIN(tst_DemoDataGenerator)
#include "tst_DemoDataGenerator.moc"
