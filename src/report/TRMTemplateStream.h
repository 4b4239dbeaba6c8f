#pragma once
// The template stream: header by version, page records, view records with their absolute
// end positions, and the data dictionary; plus the hexadecimal text form in which templates
// are stored in the host database. The reader accepts the older layouts by their version
// tests; it reports what it found and leaves the showing of messages to the report.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kestrane::report {

class TRMReport;
class TRMPage;
class TRMStreamReader;
class TRMStreamWriter;

class TRMTemplateStream {
public:
    static constexpr int kVersion = 43;
    static constexpr int kSubVersion1 = 0;
    static constexpr int kSubVersion2 = 11;
    static constexpr int kMaxVersion = 43;

    // "VidavuDidoroz Report File" followed by byte 26.
    static QByteArray signature();

    enum Status {
        Loaded,      // a design was read
        Empty,       // nothing to read
        TooNew,      // version above 43; the report was not touched
        NoSignature, // the version needs a signature that is not there
        ReadError,   // damaged header, page record, marker or dictionary
    };
    struct Result {
        Status status = Loaded;
        QString error;              // ReadError and NoSignature: what and where
        QStringList missingClasses; // add-in classes not registered, in order met
        bool stoppedAtMissingClass = false;
        int version = 0;
    };

    // Reads a template into the report (replacing its design). Messages are not shown here.
    static Result read(TRMReport& report, const QByteArray& bytes);
    // The report's design as a template stream of the current version.
    static QByteArray write(const TRMReport& report);

    // Template text: two hexadecimal digits per byte, high digit first, either case, ended
    // by "#". Decoding stops at "#" in a pair position, or early at the first pair that is not
    // two hexadecimal digits, and keeps what it decoded so far.
    static QByteArray decodeText(const QString& text);
    static QString encodeText(const QByteArray& bytes);

private:
    struct Header;
    static void readHeader(TRMStreamReader& r, Header& h);
    static void readPage(TRMStreamReader& r, TRMPage& page, const Header& h);
    static void readDictionary(TRMStreamReader& r, TRMReport& report, const Header& h);
    static bool readViewRecord(TRMStreamReader& r, TRMReport& report, int kind, const Header& h,
                               Result& result);
    static void afterLoad(TRMReport& report, const Header& h);

    static void writeHeader(TRMStreamWriter& w, const TRMReport& report);
    static void writePage(TRMStreamWriter& w, const TRMPage& page);
    static void writeDictionary(TRMStreamWriter& w, const TRMReport& report);
};

} // namespace kestrane::report
