#pragma once
// The two window messages between the host and an embedded form, carried as a Qt event that
// is delivered synchronously (QCoreApplication::sendEvent).
#include <QEvent>
#include <QtGlobal>

namespace kestrane {

constexpr int kMsgResizeForm = 0x402; // host to form: WParam height, LParam width
constexpr int kMsgFormClosed = 0x404; // form to host window: the form has closed

class WindowMessage : public QEvent {
public:
    // A fixed event number, so that host and module agree without registering one.
    static constexpr QEvent::Type kType = QEvent::Type(QEvent::User + 0x402);

    WindowMessage(int message, qint32 wParam, qint32 lParam)
        : QEvent(kType), m_message(message), m_wParam(wParam), m_lParam(lParam) {}

    int message() const { return m_message; }
    qint32 wParam() const { return m_wParam; }
    qint32 lParam() const { return m_lParam; }

private:
    int m_message;
    qint32 m_wParam;
    qint32 m_lParam;
};

} // namespace kestrane
