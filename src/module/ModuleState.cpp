#include "module/ModuleState.h"

namespace kestrane::module {

ModuleState& ModuleState::instance() {
    // Destroyed when the library is unloaded, which releases the host reference.
    static ModuleState state;
    return state;
}

ModuleState::~ModuleState() {
    clear();
}

void ModuleState::setHost(QWidget* hostWindow, ICoorDisp* hostService,
                          const QString& operatorCode) {
    m_hostWindow = hostWindow;
    m_hostService.reset(hostService);
    m_operatorCode = operatorCode;
}

void ModuleState::clear() {
    m_hostService.reset(nullptr);
    m_hostWindow = nullptr;
    m_operatorCode.clear();
    m_currentForm = nullptr;
}

} // namespace kestrane::module
