#include "conditions/ExpressionComposer.h"

#include "common/TextRoutines.h"
#include "conditions/ConditionOperators.h"

namespace kestrane::conditions {

namespace {

// The placeholder a "部分不等于" row leaves in a filter: the in-memory filter has no NOT LIKE,
// so the grid replaces the condition by an explicit exclusion afterwards.
const QString kNotLikePlaceholder = QStringLiteral("<>'temp@temp@temp'");

const FieldDef* findField(const QList<FieldDef>& fields, const QString& caption) {
    for (const FieldDef& field : fields)
        if (field.displayName() == caption)
            return &field;
    return fields.isEmpty() ? nullptr : &fields.first();
}

QString aliasFor(int tag, const QString& aliasList) {
    // Tags outside the range of the piece counter select no alias.
    QString alias = (tag >= 0 && tag <= 255)
                        ? GetField(aliasList, QStringLiteral(","), uint8_t(tag))
                        : QString();
    // A list without a comma is one alias for every field.
    if (alias.trimmed().isEmpty() && !aliasList.trimmed().isEmpty() && !aliasList.contains(u','))
        alias = aliasList;
    return alias;
}

// The first map entry whose part before "=" names the field replaces it (lower-cased, as the
// map is matched without regard to case).
QString substitute(const QString& fieldText, const QStringList& fieldMap) {
    const QString f = fieldText.toLower();
    for (const QString& entry : fieldMap) {
        const QString e = entry.toLower();
        const qsizetype eq = e.indexOf(u'=');
        const qsizetype at = e.indexOf(f);
        if (eq >= 0 && at >= 0 && at < eq)
            return e.mid(eq + 1);
    }
    return fieldText;
}

// Text fields take their values quoted; every other kind takes them as typed.
bool isStringField(const FieldDef& field) {
    return field.type == FieldType::String || field.type == FieldType::Memo;
}

bool isSimpleValue(const QString& value) {
    return CountFields(value, QStringLiteral(";")) == 1 &&
           CountFields(value, QStringLiteral("|")) == 1;
}

QString simpleGroup(const QString& field, int op, const QString& value, bool isString,
                    bool filterMode, ComposeResult& result) {
    QString body;
    switch (op) {
    case OpEqual:
    case OpGreater:
    case OpGreaterEq:
    case OpLess:
    case OpLessEq:
    case OpNotEqual:
        body = field + operatorSql(op) + (isString ? quoteLiteral(value) : value);
        break;
    case OpContains:
        body = field + operatorSql(op) + quoteLiteral(u'%' + value + u'%');
        break;
    case OpNotContains:
        if (filterMode) {
            body = field + kNotLikePlaceholder;
            result.notLikeFilter =
                field + QStringLiteral(" LIKE ") + quoteLiteral(u'%' + value + u'%');
            result.notLikeField = field;
        } else {
            body = field + operatorSql(op) + quoteLiteral(u'%' + value + u'%');
        }
        break;
    case OpStartsWith:
        body = field + operatorSql(op) + quoteLiteral(value + u'%');
        break;
    default:
        break; // an operator word outside the list: an empty group
    }
    return QStringLiteral("( ") + body + QStringLiteral(" )");
}

// Ranges "lo|hi" separated by ","; the group starts true so that any number of ranges can be
// joined with And.
QString groupedGroup(const QString& field, const QString& value) {
    QString group = QStringLiteral("( 1=1 ");
    if (!value.isEmpty()) {
        const QStringList pieces = value.split(u',');
        for (const QString& piece : pieces) {
            const qsizetype bar = piece.indexOf(u'|');
            if (bar >= 0) {
                const QString lo = piece.left(bar);
                const qsizetype next = piece.indexOf(u'|', bar + 1);
                const QString hi =
                    next < 0 ? piece.mid(bar + 1) : piece.mid(bar + 1, next - bar - 1);
                group += QStringLiteral(" And ") + field + QStringLiteral(" Between ") +
                         quoteLiteral(lo) + QStringLiteral(" And ") + quoteLiteral(hi);
            } else {
                group +=
                    QStringLiteral(" Or ") + field + QStringLiteral(" = ") + quoteLiteral(piece);
            }
        }
    }
    return group + QStringLiteral(" )");
}

} // namespace

QString quoteLiteral(const QString& value) {
    QString doubled = value;
    doubled.replace(u'\'', QStringLiteral("''"));
    return u'\'' + doubled + u'\'';
}

ComposeResult composeExpression(const ConditionList& rows, const QList<FieldDef>& fields,
                                const ComposeSettings& settings) {
    ComposeResult result;
    for (const ConditionRow& row : rows) {
        if (row.isLogic()) {
            result.expression +=
                row.Logic == kLogicAnd ? QStringLiteral(" And ") : QStringLiteral(" OR ");
            continue;
        }
        const FieldDef* def = findField(fields, row.Caption);
        QString field = def ? def->name : QString();
        const QString alias = aliasFor(def ? def->tag : 0, settings.aliasList);
        field = substitute(field, settings.fieldMap);
        if (!alias.trimmed().isEmpty())
            field = alias + u'.' + field;
        const int op = operatorIndex(row.Op);
        if (!row.Value.isEmpty() && isSimpleValue(row.Value))
            result.expression += simpleGroup(field, op, row.Value, def && isStringField(*def),
                                             settings.filterMode, result);
        else
            result.expression += groupedGroup(field, row.Value);
    }
    return result;
}

} // namespace kestrane::conditions
