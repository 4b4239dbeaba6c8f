#pragma once
// Prepared reports: the view stream of each prepared page (a version byte, then the finished
// views) and the prepared-report file ".rmp" that the preview saves and opens.
#include <QByteArray>
#include <QList>
#include <QString>

namespace kestrane::report {

class TRMEMFPages;
class TRMPage;
class TRMView;

class TRMPreparedReport {
public:
    static constexpr int kVersion = 43;
    static constexpr int kSubVersion = 10;
    static constexpr int kMaxVersion = 43;

    // "VidavuDidoroz Prepared Report File" followed by byte 26.
    static QByteArray signature();

    // --- page view streams ------------------------------------------------------------------
    // The stream of a page's finished views; a view's Memo1 is its printed text.
    static QByteArray writePageStream(const QList<TRMView*>& views);
    // Reads a page stream into a page object (views appended). `what` names the page in
    // errors. Throws kestrane::Error on damage.
    static void readPageStream(const QByteArray& stream, TRMPage& page, const QString& what);

    // --- files -------------------------------------------------------------------------------
    enum Status { Loaded, TooNew, NoSignature, ReadError };
    struct Result {
        Status status = Loaded;
        QString error;
        QString printerName;
        bool printToForm = false;
    };
    static QByteArray writeFile(const TRMEMFPages& pages, const QString& printerName,
                                bool printToForm);
    // Reads a file into `pages` (replaced only when the whole file was read).
    static Result readFile(const QByteArray& bytes, TRMEMFPages& pages);
};

} // namespace kestrane::report
