#pragma once
// The substitute host's main window: a panel that holds the module's form, the forwarding of
// panel resizes to that form (message 0x402), and the reaction to the module's close
// notification (message 0x404).
#include <QMainWindow>

class QLabel;

namespace kestrane::host {

class HostMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HostMainWindow(QWidget* parent = nullptr);

    // The panel the module's form is embedded in.
    QWidget* panel() const { return m_panel; }
    // The forms the module placed in the panel.
    QList<QWidget*> embeddedForms() const;
    bool moduleClosed() const { return m_closed; }
    // A line in the status bar and on the panel (for instance why the module did not load).
    void showNotice(const QString& text);

Q_SIGNALS:
    void moduleClosedNotified();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void forwardPanelSize();

    QWidget* m_panel = nullptr;
    QLabel* m_notice = nullptr;
    bool m_closed = false;
};

} // namespace kestrane::host
