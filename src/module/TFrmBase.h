#pragma once
// The base of every form the module embeds in a host panel: a borderless child with one
// content panel, the start-up read of the host's shared memory, the resize message from the
// host and the close notification to it.
#include <QFrame>
#include <QString>
#include <QWidget>

namespace kestrane::module {

class TFrmBase : public QWidget {
    Q_OBJECT
public:
    // The form is owned by (and destroyed with) `owner`, the host panel.
    explicit TFrmBase(QWidget* owner);
    ~TFrmBase() override;

    // The panel the form's controls live on; the resize message sizes it.
    virtual QWidget* contentPanel() const { return PanelMain; }
    // The first three bytes of the host's shared memory, empty when there is none.
    QString sharedMemoryTag() const { return m_sharedMemoryTag; }

    // Key of the host's named shared memory.
    static const QString kSharedMemoryKey;

protected:
    bool event(QEvent* e) override;
    // The form fills its container, whatever size the host gives the panel.
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

    // Start-up shared by every derived form: runs in the constructor.
    void FormCreate();
    // Tells the host the form has closed, then lets the form free itself.
    virtual void FormClose();

    QFrame* PanelMain = nullptr;

private:
    QString m_sharedMemoryTag;
};

} // namespace kestrane::module
