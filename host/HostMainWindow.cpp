#include "host/HostMainWindow.h"

#include "kestrane/WindowMessage.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QResizeEvent>
#include <QStatusBar>
#include <QVBoxLayout>

namespace kestrane::host {

HostMainWindow::HostMainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(u"HostMainWindow"_qs);
    setWindowTitle(u"Kestrane 替代宿主"_qs);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    m_panel = new QWidget(central);
    m_panel->setObjectName(u"pnlHost"_qs);
    layout->addWidget(m_panel, 1);
    setCentralWidget(central);
    m_notice = new QLabel(m_panel);
    m_notice->setObjectName(u"lblHostNotice"_qs);
    m_notice->setAlignment(Qt::AlignCenter);
    m_notice->hide();
    m_panel->installEventFilter(this);
    statusBar()->showMessage(u"就绪"_qs);
    resize(1024, 700);
}

QList<QWidget*> HostMainWindow::embeddedForms() const {
    QList<QWidget*> forms;
    for (QObject* child : m_panel->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && w != m_notice)
            forms << w;
    }
    return forms;
}

void HostMainWindow::showNotice(const QString& text) {
    m_notice->setText(text);
    m_notice->setGeometry(m_panel->rect());
    m_notice->show();
    m_notice->raise();
    statusBar()->showMessage(text);
}

bool HostMainWindow::event(QEvent* event) {
    if (event->type() == WindowMessage::kType) {
        const auto* message = static_cast<WindowMessage*>(event);
        if (message->message() == kMsgFormClosed) {
            m_closed = true;
            showNotice(u"查询模块已关闭"_qs);
            Q_EMIT moduleClosedNotified();
            return true;
        }
    }
    return QMainWindow::event(event);
}

bool HostMainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_panel && event->type() == QEvent::Resize) {
        m_notice->setGeometry(m_panel->rect());
        forwardPanelSize();
    }
    return QMainWindow::eventFilter(watched, event);
}

void HostMainWindow::forwardPanelSize() {
    // Synchronous, as the host's SendMessage is: the form has its new size when this returns.
    for (QWidget* form : embeddedForms()) {
        WindowMessage message(kMsgResizeForm, m_panel->height(), m_panel->width());
        QCoreApplication::sendEvent(form, &message);
    }
}

} // namespace kestrane::host
