#pragma once
// A host service for tests: answers every operation from a script, records the calls in
// order and counts references.
#include "kestrane/ICoorDisp.h"

#include <QList>
#include <QMap>
#include <QVariant>
#include <functional>

namespace kestrane::testing {

class ScriptedHost : public ICoorDisp {
public:
    // Writes the by-reference arguments and returns the operation's result.
    using Handler = std::function<QVariant(QVariantList& args)>;

    void on(int32_t dispId, Handler handler) { m_handlers[dispId] = std::move(handler); }
    // The operation answers true and leaves `value` in its last (by-reference) argument.
    void answer(int32_t dispId, const QVariant& value) {
        on(dispId, [value](QVariantList& args) {
            if (!args.isEmpty())
                args.last() = value;
            return QVariant(true);
        });
    }
    // The operation answers false with an error list in its by-reference argument.
    void refuse(int32_t dispId) {
        on(dispId, [](QVariantList& args) {
            if (!args.isEmpty())
                args.last() = QVariant(QStringList{QStringLiteral("主机错误")});
            return QVariant(false);
        });
    }
    // The call itself raises.
    void raise(int32_t dispId, const char* what) {
        on(dispId, [what](QVariantList&) -> QVariant { throw DispatchError(what); });
    }

    const QList<int32_t>& calls() const { return m_calls; }
    QList<QVariantList> argumentsOf(int32_t dispId) const { return m_arguments.values(dispId); }
    void clearCalls() {
        m_calls.clear();
        m_arguments.clear();
    }
    int references() const { return m_references; }

    uint32_t AddRef() override { return uint32_t(++m_references); }
    uint32_t Release() override { return uint32_t(--m_references); }
    QVariant Invoke(int32_t dispId, QVariantList& args) override {
        m_calls.append(dispId);
        m_arguments.insert(dispId, args);
        const auto it = m_handlers.constFind(dispId);
        if (it == m_handlers.constEnd())
            throw DispatchError("unknown dispatch identifier");
        return (*it)(args);
    }

private:
    QMap<int32_t, Handler> m_handlers;
    QList<int32_t> m_calls;
    QMultiMap<int32_t, QVariantList> m_arguments;
    int m_references = 0;
};

} // namespace kestrane::testing
