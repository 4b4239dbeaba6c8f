#pragma once
// Creates views by stored kind, and add-in views (kind 10) by class name through a
// process-wide registry. The engine's own add-ins (rich text, check box, shape, diagonal,
// round rectangle) are registered from the start; other add-ins register themselves.
#include <QString>
#include <QStringList>
#include <functional>

class QObject;

namespace kestrane::report {

class TRMView;

class TRMViewFactory {
public:
    using Creator = std::function<TRMView*(QObject* parent)>;

    // A new view of a built-in kind (0-5, 7, 8) owned by parent; nullptr for other kinds.
    static TRMView* create(int kind, QObject* parent);
    // A new add-in view by class name (letter case ignored); nullptr when not registered.
    static TRMView* createAddIn(const QString& className, QObject* parent);
    static void registerAddIn(const QString& className, Creator creator);
    static void unregisterAddIn(const QString& className);
    static bool isRegistered(const QString& className);
    static QStringList addInClasses();
};

} // namespace kestrane::report
