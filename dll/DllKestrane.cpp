// The library's one export. Everything it does lives in the module library; this file only
// chooses the form the host gets.
#include "kestrane/GetFormOne.h"

#include "module/FormEmbedding.h"
#include "module/TFrmPlaceholder.h"

extern "C" KESTRANE_EXPORT void GetFormOne(uint32_t /*unused*/, QWidget* hostWindow,
                                           const unsigned char* operatorCode,
                                           QWidget* hostPanel, kestrane::ICoorDisp* host) {
    using namespace kestrane::module;
    EmbedForm(hostWindow, operatorCode, hostPanel, host,
              [](QWidget* panel) { return new TFrmPlaceholder(panel); });
}
