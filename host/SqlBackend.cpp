#include "host/SqlBackend.h"

namespace kestrane::host {

QString createTableStatement(const QString& name, const QList<SqlColumn>& columns,
                             const QStringList& primaryKey, const QString& amountType) {
    QStringList defs;
    for (const SqlColumn& c : columns) {
        switch (c.type) {
        case SqlColumn::Text:
            defs << QStringLiteral("%1 varchar(%2)").arg(c.name).arg(c.size);
            break;
        case SqlColumn::Integer:
            defs << c.name + QStringLiteral(" integer");
            break;
        case SqlColumn::Amount:
            defs << c.name + u' ' + amountType;
            break;
        case SqlColumn::Memo:
            defs << c.name + QStringLiteral(" text");
            break;
        }
    }
    if (!primaryKey.isEmpty())
        defs << QStringLiteral("primary key (") + primaryKey.join(u',') + u')';
    return QStringLiteral("create table %1 (%2)").arg(name, defs.join(QStringLiteral(", ")));
}

} // namespace kestrane::host
