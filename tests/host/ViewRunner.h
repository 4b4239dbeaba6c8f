#pragma once
// Runs the screen's statements through the dialect adapter on a backend and brings the rows
// into a form that compares across dialects and databases: numbers to the fen, texts without
// the blanks a char(10) adds, rows sorted.
#include "host/SqlBackend.h"
#include "host/SqlDialectAdapter.h"
#include "query/QueryStatementBuilder.h"

#include <QDate>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace viewrunner {

using kestrane::FieldType;
using kestrane::Table;
using kestrane::host::SqlBackend;
using kestrane::host::SqlDialectAdapter;
using kestrane::host::SqlSourceDialect;
using kestrane::query::QueryStatementBuilder;
using kestrane::query::QueryStatementRequest;
using kestrane::query::QueryView;

struct Rows {
    QStringList columns; // lower case
    QStringList rows;    // normalised, sorted
};

inline Rows normalise(const Table& t) {
    Rows out;
    for (const auto& f : t.fields())
        out.columns << f.name.toLower();
    for (qsizetype r = 0; r < t.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < t.columnCount(); ++c) {
            if (t.isNull(r, c)) {
                cells << u"<null>"_qs;
            } else if (t.columnType(c) == FieldType::Integer ||
                       t.columnType(c) == FieldType::Float) {
                const qint64 fen = qRound64(t.number(r, c) * 100.0);
                cells << QString::number(double(fen) / 100.0, 'f', 2);
            } else {
                cells << t.text(r, c).toString().trimmed();
            }
        }
        out.rows << cells.join(u'|');
    }
    std::sort(out.rows.begin(), out.rows.end());
    return out;
}

inline QString statement(QueryView view, const QString& kind, QDate start, QDate end,
                         const QString& condition, const QString& op) {
    QueryStatementRequest r;
    r.view = view;
    r.dbKind = kind;
    r.start = start;
    r.end = end;
    r.condition = condition;
    r.operatorCode = op;
    return QueryStatementBuilder::build(r);
}

// The statement of the view in the kind's dialect, adapted and run. Throws SqlError.
inline Rows run(SqlBackend& db, QueryView view, const QString& kind, QDate start, QDate end,
                const QString& condition, const QString& op) {
    SqlSourceDialect source = SqlSourceDialect::SqlServer;
    SqlDialectAdapter::sourceFromKind(kind, source);
    const QString sql = statement(view, kind, start, end, condition, op);
    return normalise(db.query(SqlDialectAdapter(source, db.kind()).adapt(sql)));
}

// A user condition on fields of the view's condition catalogue; the item name takes the
// f_yymc path in the lines of purchase type "9".
inline QString conditionFor(QueryView view) {
    if (view == QueryView::Submissions)
        return u"( d.f_Csmc LIKE '%食品%' OR d.f_Csmc LIKE '%医药%' ) AND ( a.f_Gjlx <> '8' )"_qs;
    return u"( d.f_Csmc LIKE '%有限公司%' ) AND ( c.f_Spmc LIKE '%颗粒%' OR a.f_Dnxh <= 3 )"_qs;
}

// Direct, dialect-neutral count and sum of the receipt lines the views cover.
struct Totals {
    qint64 lines = 0;
    double amount = 0; // sum of f_Gjje
};

inline Totals directTotals(SqlBackend& db, QDate start, QDate end, const QString& op) {
    Totals t;
    for (QDate m(start.year(), start.month(), 1); m <= end; m = m.addMonths(1)) {
        const Table r = db.query(
            u"select count(*), sum(f_Gjje) from tb"_qs + m.toString(u"yyyyMM"_qs) +
                u"_Ygys a where f_Gdrq >= ? and f_Gdrq <= ? and (not exists (select 1 from "
                "tbzyfghsdw where f_zybm = ?) or f_Hsdwh in (select f_hsdwh from tbzyfghsdw "
                "where f_zybm = ?))"_qs,
            {start.toString(u"yyyyMMdd"_qs), end.toString(u"yyyyMMdd"_qs), op, op});
        t.lines += qint64(r.number(0, 0));
        t.amount += r.number(0, 1);
    }
    return t;
}

inline double columnSum(const Rows& rows, const QString& column) {
    const int c = int(rows.columns.indexOf(column));
    double sum = 0;
    for (const QString& row : rows.rows)
        sum += row.split(u'|').at(c).toDouble();
    return sum;
}

} // namespace viewrunner
