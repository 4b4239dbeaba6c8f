// Feeds arbitrary bytes to the template reader: it must load or refuse, never crash, hang or
// allocate beyond what the input can hold. A loaded design is written and read again, so the
// writer sees every shape of design the reader can produce.
#include "report/TRMReport.h"
#include "ui/modal/ScriptedModalRunner.h"

#include <QCoreApplication>
#include <cstddef>
#include <cstdint>

namespace {
kestrane::ui::ScriptedModalRunner* runner = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    static kestrane::ui::ScriptedModalRunner scripted;
    runner = &scripted;
    kestrane::ui::setModalRunner(runner);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    runner->clear();
    kestrane::report::TRMReport report;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (report.ReadTemplate(bytes)) {
        kestrane::report::TRMReport again;
        again.ReadTemplate(report.WriteTemplate());
    }
    return 0;
}
