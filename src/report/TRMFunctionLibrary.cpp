#include "report/TRMFunctionLibrary.h"

#include <QList>

namespace kestrane::report {

namespace {
QList<TRMFunctionLibrary*>& libraries() {
    static QList<TRMFunctionLibrary*> list;
    return list;
}
} // namespace

void TRMFunctionLibrary::registerLibrary(TRMFunctionLibrary* library) {
    if (library && !libraries().contains(library))
        libraries().append(library);
}

void TRMFunctionLibrary::unregisterLibrary(TRMFunctionLibrary* library) {
    libraries().removeAll(library);
}

const QList<TRMFunctionLibrary*>& TRMFunctionLibrary::registered() {
    return libraries();
}

} // namespace kestrane::report
