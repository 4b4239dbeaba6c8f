#include "module/TFrmBase.h"

#include "common/Gbk.h"
#include "module/ModuleState.h"

#include "kestrane/WindowMessage.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QSharedMemory>

namespace kestrane::module {

const QString TFrmBase::kSharedMemoryKey = QStringLiteral("ZvxmisMapName");

TFrmBase::TFrmBase(QWidget* owner) : QWidget(owner, Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FrmBase"));
    PanelMain = new QFrame(this);
    PanelMain->setObjectName(QStringLiteral("PanelMain"));
    PanelMain->setFrameShape(QFrame::NoFrame);
    PanelMain->move(0, 0);
    if (owner)
        owner->installEventFilter(this);
    FormCreate();
}

TFrmBase::~TFrmBase() = default;

void TFrmBase::FormCreate() {
    // A host without the shared memory still gets a working form: the tag stays empty.
    QSharedMemory memory(kSharedMemoryKey);
    if (!memory.attach(QSharedMemory::ReadWrite))
        return;
    if (memory.lock()) {
        const auto* bytes = static_cast<const char*>(memory.constData());
        const qsizetype n = qMin<qsizetype>(3, memory.size());
        if (bytes && n > 0)
            m_sharedMemoryTag = gbk::decode(QByteArrayView(bytes, n));
        memory.unlock();
    }
    memory.detach();
}

bool TFrmBase::event(QEvent* e) {
    if (e->type() == WindowMessage::kType) {
        auto* message = static_cast<WindowMessage*>(e);
        if (message->message() == kMsgResizeForm) {
            // Height first, then width, as the host expects.
            QWidget* panel = contentPanel();
            panel->resize(panel->width(), message->wParam());
            panel->resize(message->lParam(), panel->height());
            return true;
        }
    }
    return QWidget::event(e);
}

bool TFrmBase::eventFilter(QObject* watched, QEvent* e) {
    if (watched == parentWidget() && e->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, e);
}

void TFrmBase::closeEvent(QCloseEvent* e) {
    FormClose();
    e->accept();
}

void TFrmBase::FormClose() {
    if (QWidget* host = ModuleState::instance().hostWindow()) {
        WindowMessage closed(kMsgFormClosed, 0, 0);
        QCoreApplication::sendEvent(host, &closed);
    }
    // Freed once the close handling has returned.
    setAttribute(Qt::WA_DeleteOnClose);
}

} // namespace kestrane::module
