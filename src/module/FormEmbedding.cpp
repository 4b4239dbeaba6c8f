#include "module/FormEmbedding.h"

#include "common/Gbk.h"
#include "module/ModuleState.h"
#include "module/TFrmBase.h"

#include <QWidget>
#include <cstring>

namespace kestrane::module {

QString DecodeShortString(const unsigned char* counted) {
    if (!counted)
        return {};
    // The host's buffer is copied first (length byte and bytes) into room for 255 bytes.
    unsigned char buffer[256];
    const unsigned length = counted[0];
    std::memcpy(buffer, counted, length + 1);
    return gbk::decode(QByteArrayView(reinterpret_cast<const char*>(buffer + 1), length));
}

TFrmBase* EmbedForm(QWidget* hostWindow, const unsigned char* operatorCode, QWidget* hostPanel,
                    ICoorDisp* host, const FormFactory& createForm) {
    ModuleState& state = ModuleState::instance();
    state.setHost(hostWindow, host, DecodeShortString(operatorCode));

    TFrmBase* form = createForm(hostPanel);
    state.setCurrentForm(form);

    form->setParent(hostPanel, form->windowFlags() & ~Qt::Window);
    if (hostPanel) {
        form->setGeometry(0, 0, hostPanel->width(), hostPanel->height());
        QWidget* panel = form->contentPanel();
        panel->resize(panel->width(), hostPanel->height());
        panel->resize(hostPanel->width(), panel->height());
    }
    form->show();
    return form;
}

} // namespace kestrane::module
