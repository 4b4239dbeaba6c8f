#include "export/xls/TqelXLSRange.h"

#include "export/xls/TqelXLSWorkbook.h"
#include "export/xls/TqelXLSWorksheet.h"

namespace kestrane::xls {

QVariant TqelXLSRange::Value() const {
    switch (m_payload) {
    case Payload::Text:
        return QString(reinterpret_cast<const QChar*>(m_text), m_length);
    case Payload::Double:
        return m_number;
    case Payload::Other:
        return m_sheet->otherValue(m_other);
    case Payload::Empty:
        break;
    }
    return {};
}

void TqelXLSRange::SetValue(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString:
        SetText(*static_cast<const QString*>(value.constData()));
        return;
    case QMetaType::Double:
        m_number = value.toDouble();
        m_payload = Payload::Double;
        return;
    case QMetaType::UnknownType:
        m_payload = Payload::Empty;
        return;
    default:
        m_other = m_sheet->keepOtherValue(value);
        m_payload = Payload::Other;
        return;
    }
}

void TqelXLSRange::SetText(QStringView text) {
    const QStringView stored = m_sheet->texts().storeWithLineFeeds(text);
    m_text = stored.utf16();
    m_length = static_cast<quint32>(stored.size());
    m_payload = Payload::Text;
}

double TqelXLSRange::NumberValue() const {
    if (m_payload == Payload::Double)
        return m_number;
    return m_payload == Payload::Other ? m_sheet->otherValue(m_other).toDouble() : 0.0;
}

QString TqelXLSRange::ValueText() const {
    switch (m_payload) {
    case Payload::Text:
        return Text().toString();
    case Payload::Double:
        return QVariant(m_number).toString();
    case Payload::Other:
        return m_sheet->otherValue(m_other).toString();
    case Payload::Empty:
        break;
    }
    return {};
}

TqelXLSRange::Kind TqelXLSRange::CellKind() const {
    if (m_hasFormula)
        return Kind::Formula;
    if (m_payload == Payload::Double)
        return Kind::Number;
    if (m_payload != Payload::Other)
        return Kind::Text;
    switch (m_sheet->otherValue(m_other).typeId()) {
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::UChar:
    case QMetaType::Float:
        return Kind::Number;
    default:
        return Kind::Text;
    }
}

void TqelXLSRange::SetStyle(const TqelXLSStyle& style) {
    m_style = &m_sheet->Workbook()->keepStyle(style);
}

QString TqelXLSRange::Formula() const {
    return m_hasFormula ? m_sheet->formula(this) : QString();
}

void TqelXLSRange::SetFormula(const QString& formula) {
    m_hasFormula = !formula.isEmpty();
    m_sheet->setFormula(this, formula);
}

} // namespace kestrane::xls
