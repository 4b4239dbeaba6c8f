#include "data/VarToRecordset.h"

#include "common/Error.h"

namespace kestrane {

std::shared_ptr<Recordset> VarToRecordset(const QVariant& v) {
    if (v.metaType() == QMetaType::fromType<std::shared_ptr<Recordset>>()) {
        std::shared_ptr<Recordset> rs = v.value<std::shared_ptr<Recordset>>();
        if (rs)
            return rs;
        throw Error(QStringLiteral("the value holds an empty recordset reference"));
    }
    throw Error(
        QStringLiteral("the value holds no recordset but %1")
            .arg(v.isValid() ? QString::fromLatin1(v.typeName()) : QStringLiteral("nothing")));
}

QVariant recordsetToVariant(std::shared_ptr<Recordset> recordset) {
    return QVariant::fromValue(std::move(recordset));
}

} // namespace kestrane
