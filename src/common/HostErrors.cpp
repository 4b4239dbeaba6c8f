#include "common/HostErrors.h"

#include "ui/modal/MessageBox.h"

#include <QStringList>

namespace kestrane {

namespace {
const QString kLineBreak = QStringLiteral("\r\n");

bool isTextLike(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Bool:
    case QMetaType::QChar:
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return true;
    default:
        return false;
    }
}
} // namespace

QString ShowHostErrors(QWidget* owner, const QVariant& errors, const QString& heading) {
    QString text = heading.isEmpty() ? QString() : heading + kLineBreak;
    bool joined = false;
    if (errors.typeId() == QMetaType::QStringList) {
        for (const QString& e : errors.toStringList())
            text += e + kLineBreak;
        joined = true;
    } else if (errors.typeId() == QMetaType::QVariantList) {
        joined = true;
        for (const QVariant& e : errors.toList()) {
            if (!isTextLike(e)) {
                joined = false;
                break;
            }
            text += e.toString() + kLineBreak;
        }
    }
    if (!joined)
        text += QStringLiteral("未知错误！") + kLineBreak;
    text.chop(2);
    if (owner)
        ui::MessageBox(owner, text, ui::kCaptionError, ui::MbOk | ui::MbIconError);
    return text;
}

} // namespace kestrane
