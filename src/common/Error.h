#pragma once
// The typed error every subsystem throws. The message is kept as QString (Chinese texts) and
// mirrored as UTF-8 in what(), so code that only knows std::exception still shows it right.
#include <QString>
#include <stdexcept>

namespace kestrane {

class Error : public std::runtime_error {
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

} // namespace kestrane
