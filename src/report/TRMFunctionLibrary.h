#pragma once
// A library of functions for report expressions. The evaluator asks the registered
// libraries in order for every call it does not know itself; a name none of them knows goes
// to the report's OnUserFunction.
#include <QString>
#include <QStringList>
#include <QVariant>

namespace kestrane::report {

class TRMEvaluator;
class TRMFunctionArgs;

class TRMFunctionLibrary {
public:
    virtual ~TRMFunctionLibrary() = default;
    // The names the library answers, as it lists them.
    virtual QStringList functionNames() const = 0;
    // Calls the function; false when the library does not know the name.
    virtual bool call(TRMEvaluator& evaluator, const QString& name, TRMFunctionArgs& args,
                      QVariant& result) = 0;

    // Libraries registered for the whole process (not owned); the standard library is
    // always asked first.
    static void registerLibrary(TRMFunctionLibrary* library);
    static void unregisterLibrary(TRMFunctionLibrary* library);
    static const QList<TRMFunctionLibrary*>& registered();
};

} // namespace kestrane::report
