#pragma once
// The fields the query screen declares once and for all: those of the six result datasets
// (the grid's columns, titles and number formats; the templates' field names) and those of the
// two condition catalogues (the fields the condition dialog offers, each named by the SQL
// column expression the condition text uses).
#include "data/FieldDef.h"
#include "query/QueryStatementBuilder.h"

#include <QList>
#include <QString>

namespace kestrane::query {

// Display format of every amount field: at least one integer digit, two decimals.
inline const QString kAmountFormat = QStringLiteral("####0.00");

// The fields of a view's result dataset, in grid order.
QList<FieldDef> resultFields(QueryView view);
// Component name of a view's result dataset ("adsbill1" ... "adsbill5", "adsbill").
QString resultDatasetName(QueryView view);
// Field names of the columns that carry a sum footer.
QStringList sumFooterFields(QueryView view);

// The condition catalogue of a view: cdsWhere1 for "提交单汇总" (no item name), cdsWhere for
// all others.
QList<FieldDef> conditionFields(QueryView view);
QString conditionCatalogueName(QueryView view);

} // namespace kestrane::query
