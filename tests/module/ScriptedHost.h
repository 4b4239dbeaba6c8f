#pragma once
// A host automation object answering from per-DispID scripts, for the module's tests.
#include "kestrane/ICoorDisp.h"

#include <QHash>
#include <functional>

namespace kestrane::testing {

class ScriptedHost : public ICoorDisp {
public:
    using Handler = std::function<QVariant(QVariantList& args)>;

    void on(int32_t dispId, Handler handler) { m_handlers.insert(dispId, std::move(handler)); }
    // Answers false and leaves `errors` in the by-reference argument at `byRef`.
    void failWith(int32_t dispId, qsizetype byRef, QVariant errors) {
        on(dispId, [byRef, errors](QVariantList& args) {
            args[byRef] = errors;
            return QVariant(false);
        });
    }
    // Sets the by-reference argument at `byRef` and answers true.
    void answer(int32_t dispId, qsizetype byRef, QVariant value) {
        on(dispId, [byRef, value](QVariantList& args) {
            args[byRef] = value;
            return QVariant(true);
        });
    }

    uint32_t AddRef() override { return ++refs; }
    uint32_t Release() override { return --refs; }
    QVariant Invoke(int32_t dispId, QVariantList& args) override {
        calls.append({dispId, args});
        auto it = m_handlers.find(dispId);
        if (it == m_handlers.end())
            throw DispatchError("operation not scripted");
        return (*it)(args);
    }

    struct Call {
        int32_t dispId;
        QVariantList args;
    };
    QList<Call> calls;
    int refs = 0;

private:
    QHash<int32_t, Handler> m_handlers;
};

} // namespace kestrane::testing
