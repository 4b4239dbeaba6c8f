#pragma once
// One counted reference to the host's automation object: AddRef when taken, Release when
// replaced or dropped.
#include "kestrane/ICoorDisp.h"

namespace kestrane::module {

class HostReference {
public:
    HostReference() = default;
    explicit HostReference(ICoorDisp* host) { reset(host); }
    ~HostReference() { reset(nullptr); }
    HostReference(const HostReference& other) { reset(other.m_host); }
    HostReference& operator=(const HostReference& other) {
        reset(other.m_host);
        return *this;
    }

    // Takes a reference to `host` (may be null) and releases the one held before.
    void reset(ICoorDisp* host) {
        if (host == m_host)
            return;
        if (host)
            host->AddRef();
        ICoorDisp* previous = m_host;
        m_host = host;
        if (previous)
            previous->Release();
    }
    ICoorDisp* get() const { return m_host; }
    explicit operator bool() const { return m_host != nullptr; }

private:
    ICoorDisp* m_host = nullptr;
};

} // namespace kestrane::module
