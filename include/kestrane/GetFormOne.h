#pragma once
// The one export of DllKestrane: create the query screen, embed it in the host panel and
// show it. Exported by name with C linkage.
#include "kestrane/ICoorDisp.h"
#include "kestrane/WindowMessage.h"

#include <cstdint>

class QWidget;

#if defined(_WIN32)
#define KESTRANE_EXPORT __declspec(dllexport)
#else
#define KESTRANE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
// unused:        a 32-bit value the module does not interpret
// hostWindow:    receives kMsgFormClosed when the form closes
// operatorCode:  a counted short string (one length byte N, then N bytes of GBK text)
// hostPanel:     owns the form; the form is destroyed with it
// host:          the host service object; the module keeps one counted reference
KESTRANE_EXPORT void GetFormOne(uint32_t unused, QWidget* hostWindow,
                                const unsigned char* operatorCode, QWidget* hostPanel,
                                kestrane::ICoorDisp* host);
using GetFormOneFunction = void (*)(uint32_t, QWidget*, const unsigned char*, QWidget*,
                                    kestrane::ICoorDisp*);
}
