#include "BatchOptions.h"

#include <QCommandLineParser>
#include <cstdio>

namespace kestrane::batch {

namespace {

bool parseDate(const QString& text, QDate& date) {
    date = QDate::fromString(text, QStringLiteral("yyyyMMdd"));
    return date.isValid();
}

// "label,operator,value[,relation]"; the value may itself hold commas when a relation is not
// given, so the relation is recognised by its word.
bool parseCondition(const QString& text, ConditionInput& row) {
    QStringList parts = text.split(u',');
    if (parts.size() < 3)
        return false;
    row.label = parts.takeFirst().trimmed();
    row.op = parts.takeFirst().trimmed();
    if (parts.size() > 1 &&
        (parts.last() == QStringLiteral("并且") || parts.last() == QStringLiteral("或者")))
        row.relation = parts.takeLast();
    row.value = parts.join(u',');
    return !row.label.isEmpty() && !row.op.isEmpty();
}

} // namespace

bool BatchOptions::parse(const QStringList& arguments, BatchOptions& options, QString& error) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Runs the reconciled-receipt query screen without a display: picks a view and dates,\n"
        "answers the condition dialog, runs the query on the substitute host's database,\n"
        "optionally filters, and prints the row count, the footer sums and the first rows.\n"
        "Exits with status 2 and the message text when the screen showed an error."));
    parser.addHelpOption();
    const QCommandLineOption view(
        {"v", "view"},
        "View: 单据汇总, 厂商汇总, 部门汇总, 商品汇总, 提交单汇总 or 明细 (default 明细).", "name");
    const QCommandLineOption from("from", "Start date YYYYMMDD (default: first of the month).",
                                  "date");
    const QCommandLineOption to("to", "End date YYYYMMDD (default: today).", "date");
    const QCommandLineOption condition({"c", "condition"},
                                       "A condition row \"label,operator,value[,relation]\", e.g. "
                                       "\"供应商名称,部分等于,食品,并且\"; repeat for more rows.",
                                       "row");
    const QCommandLineOption filter(
        {"f", "filter"}, "A filter row in the same form, applied to the result on the client side.",
        "row");
    const QCommandLineOption rows("rows", "Number of result rows to print (default 10).", "n");
    const QCommandLineOption db("db", "SQLite database file (default: the per-user demo database).",
                                "file");
    const QCommandLineOption pg("pg", "Run on PostgreSQL with this libpq connection string.",
                                "conninfo");
    const QCommandLineOption kind(
        "kind", "Database kind reported to the module: SQLSERVER or DB2 (default SQLSERVER).",
        "kind");
    const QCommandLineOption op("operator", "Operator code (default 0001).", "code");
    const QCommandLineOption today(
        "today", "Fixed server date YYYYMMDD (default: the system clock).", "date");
    const QCommandLineOption lines(
        "lines", "Receipt lines of a newly generated demo database (default 30000).", "n");
    const QCommandLineOption trace(
        "trace-sql", "Append every statement the host receives, and its adapted form, to FILE.",
        "file");
    const QCommandLineOption screenshot(
        "screenshot", "Save a picture of the screen after the query (and filter) as a PNG file.",
        "file");
    parser.addOptions({view, from, to, condition, filter, rows, db, pg, kind, op, today, lines,
                       trace, screenshot});
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        std::exit(0);
    }
    if (parser.isSet(view))
        options.view = parser.value(view);
    if (parser.isSet(from) && !parseDate(parser.value(from), options.from)) {
        error = QStringLiteral("--from wants a date YYYYMMDD");
        return false;
    }
    if (parser.isSet(to) && !parseDate(parser.value(to), options.to)) {
        error = QStringLiteral("--to wants a date YYYYMMDD");
        return false;
    }
    for (const auto& [option, list] :
         {std::pair{&condition, &options.conditions}, std::pair{&filter, &options.filter}}) {
        for (const QString& text : parser.values(*option)) {
            ConditionInput row;
            if (!parseCondition(text, row)) {
                error = QStringLiteral("a condition row is \"label,operator,value[,relation]\": ") +
                        text;
                return false;
            }
            list->append(row);
        }
    }
    if (parser.isSet(rows))
        options.rows = qMax(0, parser.value(rows).toInt());
    host::HostOptions& h = options.host;
    h.sqlitePath = parser.value(db);
    h.pgConnection = parser.value(pg);
    if (parser.isSet(kind))
        h.kind = parser.value(kind).toUpper();
    if (h.kind != QStringLiteral("SQLSERVER") && h.kind != QStringLiteral("DB2")) {
        error = QStringLiteral("--kind is SQLSERVER or DB2");
        return false;
    }
    if (parser.isSet(op))
        h.operatorCode = parser.value(op);
    if (parser.isSet(today) && !parseDate(parser.value(today), h.today)) {
        error = QStringLiteral("--today wants a date YYYYMMDD");
        return false;
    }
    if (parser.isSet(lines))
        h.lines = qMax<qint64>(100, parser.value(lines).toLongLong());
    h.traceFile = parser.value(trace);
    options.screenshot = parser.value(screenshot);
    return true;
}

} // namespace kestrane::batch
