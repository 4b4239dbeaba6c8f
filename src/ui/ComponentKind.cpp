#include "ui/ComponentKind.h"

#include <QObject>
#include <QVariant>

namespace kestrane::ui {

void setComponentKind(QObject* object, const char* kind) {
    object->setProperty(kComponentKindProperty, QString::fromLatin1(kind));
}

QString componentKind(const QObject* object) {
    return object->property(kComponentKindProperty).toString().toUpper();
}

} // namespace kestrane::ui
