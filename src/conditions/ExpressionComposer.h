#pragma once
// Turns the condition list into one boolean expression text: an SQL WHERE fragment in query
// mode, an in-memory filter expression in filter mode.
#include "conditions/ConditionRow.h"
#include "data/FieldDef.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kestrane::conditions {

struct ComposeSettings {
    QString aliasList;    // comma-separated table aliases, selected by a field's Tag
    QStringList fieldMap; // entries "field=expression"
    bool filterMode = false;
};

struct ComposeResult {
    QString expression;
    // Filter mode only: the last "部分不等于" condition, which the in-memory filter cannot
    // express directly. The expression holds a placeholder for it; the grid expands it.
    QString notLikeFilter;
    QString notLikeField;
};

// Composes the rows in list order. Never fails: a caption naming no field falls back to the
// first field, an unknown operator gives an empty group.
ComposeResult composeExpression(const ConditionList& rows, const QList<FieldDef>& fields,
                                const ComposeSettings& settings);

// `value` between single quotes, with every quote inside doubled so that a value can never
// end its literal early.
QString quoteLiteral(const QString& value);

} // namespace kestrane::conditions
