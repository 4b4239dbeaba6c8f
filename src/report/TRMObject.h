#pragma once
// Base of the report objects (report, pages, views): property access by name at run time.
// Scripts, the grid report and the dictionary address properties by their names, letter case
// ignored; a dotted sub-property ("Font.Name", "LeftFrame.Width") is the same as the name
// without the dot. Each class describes its properties once, in describe(), with getter and
// setter; the list is also what the stream tests walk.
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace kestrane::report {

class TRMObject : public QObject {
    Q_OBJECT
public:
    explicit TRMObject(QObject* parent = nullptr) : QObject(parent) {}

    struct Property {
        QString name;
        std::function<QVariant()> get;
        std::function<void(const QVariant&)> set; // empty for read-only properties
    };

    // The value of a property; an invalid QVariant when there is none of that name.
    QVariant prop(const QString& name) const;
    bool hasProp(const QString& name) const;
    // Writes a property; false when there is none of that name or it is read-only.
    bool setProp(const QString& name, const QVariant& value);
    QStringList propNames() const;
    // The properties a template keeps: without the derived ones that only present stored
    // ones differently and without run-time state.
    QStringList storedPropNames() const;

protected:
    // Appends this class's properties (after the base class's). Derived properties that
    // only present stored ones differently are marked with `derived`.
    virtual void describe(QList<Property>& out, QStringList& derived) const;

    // Helpers for describe().
    template <class T> static Property field(const char* name, T& member) {
        return Property{QString::fromLatin1(name),
                        [&member] { return QVariant::fromValue(member); },
                        [&member](const QVariant& v) { member = v.value<T>(); }};
    }
    template <class T> static Property readOnly(const char* name, std::function<T()> get) {
        return Property{
            QString::fromLatin1(name), [get] { return QVariant::fromValue(get()); }, {}};
    }
    static Property bit(const char* name, quint16& word, quint16 mask);
    static Property bit32(const char* name, qint32& word, qint32 mask);

private:
    QList<Property> properties(QStringList* derived = nullptr) const;
    static QString key(const QString& name);
};

} // namespace kestrane::report
