#include "data/FieldDef.h"

namespace kestrane {

bool isTextType(FieldType type) {
    return type == FieldType::String || type == FieldType::Memo;
}

bool isNumericType(FieldType type) {
    return type == FieldType::Integer || type == FieldType::Float || type == FieldType::Boolean;
}

QString fieldTypeName(FieldType type) {
    switch (type) {
    case FieldType::String:
        return QStringLiteral("string");
    case FieldType::Integer:
        return QStringLiteral("integer");
    case FieldType::Float:
        return QStringLiteral("float");
    case FieldType::Boolean:
        return QStringLiteral("boolean");
    case FieldType::Date:
        return QStringLiteral("date");
    case FieldType::DateTime:
        return QStringLiteral("date-time");
    case FieldType::Memo:
        return QStringLiteral("memo");
    }
    return QStringLiteral("unknown");
}

int fieldIndexOf(const QList<FieldDef>& fields, QStringView name) {
    for (int i = 0; i < fields.size(); ++i) {
        if (QStringView(fields[i].name).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace kestrane
