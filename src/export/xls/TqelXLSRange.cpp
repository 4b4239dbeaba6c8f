#include "export/xls/TqelXLSRange.h"

namespace kestrane::xls {

void TqelXLSRange::SetValue(const QVariant& value) {
    if (value.typeId() == QMetaType::QString) {
        QString text = value.toString();
        if (text.contains(QLatin1Char('\r'))) {
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            m_value = text;
            return;
        }
    }
    m_value = value;
}

TqelXLSRange::Kind TqelXLSRange::CellKind() const {
    if (!formula.isEmpty())
        return Kind::Formula;
    switch (m_value.typeId()) {
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::UChar:
    case QMetaType::Float:
    case QMetaType::Double:
        return Kind::Number;
    default:
        return Kind::Text;
    }
}

} // namespace kestrane::xls
