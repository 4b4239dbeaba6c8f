// Feeds arbitrary text to the template text decoder (as tbReport.f_reportinfo would hold it)
// and loads what it decodes, and checks that encoding what was decoded gives it back.
#include "common/Error.h"
#include "report/TRMReport.h"
#include "report/TRMTemplateStream.h"
#include "ui/modal/ScriptedModalRunner.h"

#include <QCoreApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

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
    using kestrane::report::TRMTemplateStream;
    runner->clear();
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray bytes = TRMTemplateStream::decodeText(text);
    if (TRMTemplateStream::decodeText(TRMTemplateStream::encodeText(bytes)) != bytes)
        std::abort();
    kestrane::report::TRMReport report;
    report.LoadTemplateText(text);
    return 0;
}
