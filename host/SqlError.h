#pragma once
// A statement the database refused, with the database's own message texts (the first is the
// main message; PostgreSQL adds detail and hint lines).
#include "common/Error.h"

#include <QStringList>

namespace kestrane::host {

class SqlError : public kestrane::Error {
public:
    explicit SqlError(const QStringList& messages)
        : kestrane::Error(messages.join(u'\n')), m_messages(messages) {}
    const QStringList& messages() const { return m_messages; }

private:
    QStringList m_messages;
};

} // namespace kestrane::host
