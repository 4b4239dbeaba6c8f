// The library's exports: GetFormOne, and the modal hook for headless drivers. Everything they
// do lives in the module and query libraries; this file only chooses the form the host gets.
#include "kestrane/GetFormOne.h"
#include "kestrane/ModalHook.h"

#include "module/FormEmbedding.h"
#include "query/TFrmKestrane.h"
#include "ui/modal/ModalRunner.h"

extern "C" KESTRANE_EXPORT void GetFormOne(uint32_t /*unused*/, QWidget* hostWindow,
                                           const unsigned char* operatorCode, QWidget* hostPanel,
                                           kestrane::ICoorDisp* host) {
    using namespace kestrane;
    module::EmbedForm(hostWindow, operatorCode, hostPanel, host,
                      [](QWidget* panel) { return new query::TFrmKestrane(panel); });
}

extern "C" KESTRANE_EXPORT void KestraneSetModalRunner(kestrane::ui::ModalRunner* runner) {
    kestrane::ui::setModalRunner(runner);
}
