#pragma once
// The values the module keeps for its whole life, shared by every form it creates: the host
// window that hears of closes, the host service reference, the operator code and the form
// created last.
#include "module/HostReference.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace kestrane::module {

class ModuleState {
public:
    static ModuleState& instance();

    QWidget* hostWindow() const { return m_hostWindow; }
    ICoorDisp* hostService() const { return m_hostService.get(); }
    const QString& operatorCode() const { return m_operatorCode; }
    QWidget* currentForm() const { return m_currentForm; }

    void setHost(QWidget* hostWindow, ICoorDisp* hostService, const QString& operatorCode);
    void setCurrentForm(QWidget* form) { m_currentForm = form; }
    // Drops everything: the host reference is released (library unload).
    void clear();

private:
    ModuleState() = default;
    ~ModuleState();

    QPointer<QWidget> m_hostWindow;
    HostReference m_hostService;
    QString m_operatorCode;
    QPointer<QWidget> m_currentForm;
};

} // namespace kestrane::module
