// The rewriter on the constructs the module's statements use, and on the traps a text-based
// rewriter falls into: operators and keywords inside strings and quoted names, "left join"
// beside left(), numeric '+', nested selects.
#include "host/SqlDialectAdapter.h"
#include "host/SqlTokenizer.h"

#include <QtTest>

using namespace kestrane::host;

Q_DECLARE_METATYPE(SqlSourceDialect)
Q_DECLARE_METATYPE(SqlBackendKind)

class tst_SqlDialectAdapter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tokensKeepEveryCharacter_data();
    void tokensKeepEveryCharacter();
    void adapt_data();
    void adapt();
};

void tst_SqlDialectAdapter::tokensKeepEveryCharacter_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("strings");
    QTest::newRow("doubled quote") << u"select 'O''Neil + x', \"a\"\"b\" from t"_qs << 1;
    QTest::newRow("comments") << u"select 1 -- 'x\n/* 'y */ + 2"_qs << 0;
    QTest::newRow("unterminated string") << u"select 'abc"_qs << 1;
    QTest::newRow("unterminated comment") << u"select /* abc"_qs << 0;
    QTest::newRow("chinese") << u"select '入库' 类型, [供应商 名称] from t"_qs << 1;
    QTest::newRow("operators") << u"a<=b>=c<>d!=e||f"_qs << 0;
}

void tst_SqlDialectAdapter::tokensKeepEveryCharacter() {
    QFETCH(QString, sql);
    QFETCH(int, strings);
    const auto tokens = SqlTokenizer::tokenize(sql);
    QCOMPARE(SqlTokenizer::join(tokens), sql);
    int found = 0;
    for (const SqlToken& t : tokens)
        found += t.kind == SqlToken::String;
    QCOMPARE(found, strings);
}

void tst_SqlDialectAdapter::adapt_data() {
    QTest::addColumn<SqlSourceDialect>("source");
    QTest::addColumn<SqlBackendKind>("backend");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    const auto ss = SqlSourceDialect::SqlServer;
    const auto db2 = SqlSourceDialect::Db2;
    const auto lite = SqlBackendKind::Sqlite;
    const auto pg = SqlBackendKind::PostgreSql;

    QTest::newRow("alias = case")
        << ss << lite
        << u"select a.x,f_Gjlx =case when  a.f_Gjlx ='0' then '入库' else '调整' end,a.y from t a"_qs
        << u"select a.x,case when  a.f_Gjlx ='0' then '入库' else '调整' end AS f_Gjlx,a.y from t a"_qs;
    QTest::newRow("alias = concatenation, sqlite")
        << ss << lite
        << u"select f_Rzrq = left(a.f_Rzrq,4) +'-' + substring(a.f_Rzrq,5,2) + '-'+ right(a.f_Rzrq,2),a.f_Djh from t a"_qs
        << u"select substr(a.f_Rzrq,1,4) ||'-' || substring(a.f_Rzrq,5,2) || '-'|| substr(a.f_Rzrq,-(2)) AS f_Rzrq,a.f_Djh from t a"_qs;
    QTest::newRow("alias = concatenation, postgresql")
        << ss << pg << u"select f_Rzrq = left(a.f_Rzrq,4) +'-' + right(a.f_Rzrq,2) from t a"_qs
        << u"select left(a.f_Rzrq,4) ||'-' || right(a.f_Rzrq,2) AS f_Rzrq from t a"_qs;
    QTest::newRow("numeric plus stays")
        << ss << lite << u"select a.f_Gjje + 1, sum(a.x) + sum(a.y) s from t a where a.b = c + 2"_qs
        << u"select a.f_Gjje + 1, sum(a.x) + sum(a.y) s from t a where a.b = c + 2"_qs;
    QTest::newRow("plus and equals inside strings stay")
        << ss << lite << u"select 'a = b' x, 'c + d' from t where n = 'x=y+z'"_qs
        << u"select 'a = b' x, 'c + d' from t where n = 'x=y+z'"_qs;
    QTest::newRow("comparison in where is no alias")
        << ss << lite << u"select a from t where f_Gdrq = '20050101'"_qs
        << u"select a from t where f_Gdrq = '20050101'"_qs;
    QTest::newRow("top 1 in a correlated subquery")
        << ss << lite
        << u"select f_Bz =(select top 1 f_Bz from tb200501_Fptjdzb where f_Hsdwh = a.f_hsdwh  And f_Djh = a.f_Fptjdh),a.x from t a"_qs
        << u"select (select f_Bz from tb200501_Fptjdzb where f_Hsdwh = a.f_hsdwh  And f_Djh = a.f_Fptjdh limit 1) AS f_Bz,a.x from t a"_qs;
    QTest::newRow("top before union")
        << ss << pg << u"select top 5 a from t union all select b from u"_qs
        << u"select a from t limit 5 union all select b from u"_qs;
    QTest::newRow("fetch first, sqlite")
        << db2 << lite
        << u"(select f_Bz from z where f_Djh = a.f_Fptjdh fetch first 1 rows only) f_Bz"_qs
        << u"(select f_Bz from z where f_Djh = a.f_Fptjdh limit 1) f_Bz"_qs;
    QTest::newRow("db2 on postgresql unchanged")
        << db2 << pg
        << u"select cast(left(a.f_Gdrq,4)||'-'||substr(a.f_Gdrq,5,2) as char(10)) f_Gdrq from t a fetch first 1 rows only"_qs
        << u"select cast(left(a.f_Gdrq,4)||'-'||substr(a.f_Gdrq,5,2) as char(10)) f_Gdrq from t a fetch first 1 rows only"_qs;
    QTest::newRow("db2 left and right on sqlite")
        << db2 << lite
        << u"select cast(left(a.f_Gdrq,4)||'-'||right(a.f_Gdrq,2) as char(10)) f_Gdrq from t a"_qs
        << u"select cast(substr(a.f_Gdrq,1,4)||'-'||substr(a.f_Gdrq,-(2)) as char(10)) f_Gdrq from t a"_qs;
    QTest::newRow("left join is not left()")
        << db2 << lite << u"select 1 from tb a left join tbspda c on a.f_Spbm = c.f_Spbm"_qs
        << u"select 1 from tb a left join tbspda c on a.f_Spbm = c.f_Spbm"_qs;
    QTest::newRow("brackets, len, isnull")
        << ss << lite << u"select [单位 名称] = isnull(len(x), 0) from [t]"_qs
        << u"select coalesce(length(x), 0) AS \"单位 名称\" from \"t\""_qs;
    QTest::newRow("concatenation of a cast and a parenthesised text")
        << ss << lite << u"select x = cast(a as varchar(4)) + ('-' + b) from t"_qs
        << u"select cast(a as varchar(4)) || ('-' || b) AS x from t"_qs;
    QTest::newRow("unbalanced text passes")
        << ss << lite << u"select f = ('a' + b from t"_qs << u"select ('a' || b from t AS f"_qs;
}

void tst_SqlDialectAdapter::adapt() {
    QFETCH(SqlSourceDialect, source);
    QFETCH(SqlBackendKind, backend);
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    QCOMPARE(SqlDialectAdapter(source, backend).adapt(sql), expected);
}

QTEST_APPLESS_MAIN(tst_SqlDialectAdapter)
#include "tst_SqlDialectAdapter.moc"
