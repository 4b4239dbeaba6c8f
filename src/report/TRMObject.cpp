#include "report/TRMObject.h"

namespace kestrane::report {

QString TRMObject::key(const QString& name) {
    QString k = name;
    k.remove(u'.');
    return k.toCaseFolded();
}

void TRMObject::describe(QList<Property>& out, QStringList&) const {
    auto* self = const_cast<TRMObject*>(this);
    out.append(Property{QStringLiteral("Name"), [self] { return QVariant(self->objectName()); },
                        [self](const QVariant& v) { self->setObjectName(v.toString()); }});
}

QList<TRMObject::Property> TRMObject::properties(QStringList* derived) const {
    QList<Property> list;
    QStringList d;
    describe(list, d);
    if (derived)
        *derived = d;
    return list;
}

QVariant TRMObject::prop(const QString& name) const {
    const QString k = key(name);
    for (const Property& p : properties())
        if (key(p.name) == k)
            return p.get();
    return QVariant();
}

bool TRMObject::hasProp(const QString& name) const {
    const QString k = key(name);
    for (const Property& p : properties())
        if (key(p.name) == k)
            return true;
    return false;
}

bool TRMObject::setProp(const QString& name, const QVariant& value) {
    const QString k = key(name);
    for (const Property& p : properties()) {
        if (key(p.name) == k) {
            if (!p.set)
                return false;
            p.set(value);
            return true;
        }
    }
    return false;
}

QStringList TRMObject::propNames() const {
    QStringList names;
    for (const Property& p : properties())
        names.append(p.name);
    return names;
}

QStringList TRMObject::storedPropNames() const {
    QStringList derived;
    QStringList names;
    for (const Property& p : properties(&derived))
        if (p.set && !derived.contains(p.name))
            names.append(p.name);
    return names;
}

TRMObject::Property TRMObject::bit(const char* name, quint16& word, quint16 mask) {
    return Property{QString::fromLatin1(name),
                    [&word, mask] { return QVariant((word & mask) != 0); },
                    [&word, mask](const QVariant& v) {
                        word = v.toBool() ? quint16(word | mask) : quint16(word & ~mask);
                    }};
}

TRMObject::Property TRMObject::bit32(const char* name, qint32& word, qint32 mask) {
    return Property{
        QString::fromLatin1(name), [&word, mask] { return QVariant((word & mask) != 0); },
        [&word, mask](const QVariant& v) { word = v.toBool() ? (word | mask) : (word & ~mask); }};
}

} // namespace kestrane::report
