#pragma once
// The one SELECT behind a query of the reconciled-receipt screen: one statement per calendar
// month of the date range over the monthly receipt tables, joined with " union all ", in the
// dialect of the host's database, restricted by the user's conditions and by the accounting
// units the operator may see.
#include <QDate>
#include <QString>

namespace kestrane::query {

// The six views, in the order of the view list of the screen.
enum class QueryView : int {
    Documents = 0,   // "单据汇总"
    Suppliers = 1,   // "厂商汇总"
    Departments = 2, // "部门汇总"
    Items = 3,       // "商品汇总"
    Submissions = 4, // "提交单汇总"
    Details = 5,     // "明细"
};

constexpr int kQueryViewCount = 6;

struct QueryStatementRequest {
    QueryView view = QueryView::Documents;
    QDate start;
    QDate end;
    QString condition;    // condition text of the query-condition dialog, may be empty
    QString operatorCode; // the signed-in operator
    QString dbKind;       // "SQLSERVER" or "DB2"; other kinds have no text for three views
};

class QueryStatementBuilder {
public:
    // The view's name as the view list shows it.
    static QString viewName(QueryView view);

    // A text literal's body: every single quote doubled, so that an operator code such as
    // "O'Neil" cannot end the literal early and smuggle SQL into the statement.
    static QString escapeLiteral(const QString& text);

    // The data-permission clause: an operator without rows in tbzyfghsdw sees every
    // accounting unit, an operator with rows only the units listed for him.
    static QString permissionClause(const QString& operatorCode);

    // WHERE: the condition text, " and " when it is not empty, then the permission clause.
    static QString whereText(const QString& condition, const QString& operatorCode);

    // WHERE2, for the lines of purchase type "9" whose items come from tbYyda: every
    // "f_Spmc" (exact case) becomes "f_yymc".
    static QString purchaseType9Where(const QString& where);

    // COND: empty for an empty WHERE, otherwise " and (" + WHERE + ")".
    static QString condText(const QString& where);
    // COND2: empty when WHERE2 is blank, otherwise " and (" + WHERE2 + ")".
    static QString cond2Text(const QString& where2);

    // Whether the view has a statement for the database kind (exact, case-sensitive).
    static bool hasStatement(QueryView view, const QString& dbKind);

    // The statement of one month, without the leading blank; empty when the view has no
    // statement for the kind. period is YYYYMM, start and end YYYYMMDD.
    static QString monthStatement(QueryView view, const QString& dbKind, const QString& period,
                                  const QString& start, const QString& end, const QString& cond,
                                  const QString& cond2);

    // The whole statement for the request: for each month from the start month to the end
    // month, " union all " between months, then a blank and the month's statement. Empty when
    // the view has no statement for the kind, when a date is invalid or when the end month
    // lies before the start month.
    static QString build(const QueryStatementRequest& request);

    // The start-up statements of the screen: the print templates of this report and the
    // operator's name.
    static QString templateListStatement();
    static QString operatorNameStatement(const QString& operatorCode);
};

} // namespace kestrane::query
