// Feeds arbitrary bytes to the prepared-report file reader and unpacks every page it
// accepts, as the preview does.
#include "report/TRMEMFPages.h"
#include "report/TRMPage.h"
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
    if (report.LoadPreparedReport(bytes)) {
        for (int i = 0; i < report.EMFPages()->Count(); ++i)
            report.EMFPages()->unpackPage(i);
        report.SavePreparedReport();
    }
    return 0;
}
