#pragma once
// The template stream: header by version, page records, view records with their absolute
// end positions, and the data dictionary; plus the hexadecimal text form in which templates
// are stored in the host database. The reader accepts the older layouts by their version
// tests; it reports what it found and leaves the showing of messages to the report.
//
// After the header the stream is a run of records, each introduced by a marker byte:
//   255      a design page;
//   0..10    a view of that kind (10: an add-in, its class name first), its page index and,
//            from version 29, the absolute position where the record ends;
//   252      the data dictionary, read by the stream's version v: for v > 30 a uint16
//            dictionary record version (written 1), then three lists in the order dictionary
//            variables, dataset aliases, field aliases; a list is an int32 count followed by
//            that many pairs of strings (name, value). For v < 30 aliases are cleaned as read:
//            a dataset alias without a value whose name is no field reference is dropped, and
//            so is every field alias without a value;
//   254      the data dictionary in the old layout: the same three lists without the record
//            version word, whatever the stream's version, always cleaned like a v < 30 one;
//   253      the end; anything after it is not read.
// Every count and length is checked against the bytes that remain: damage is a read error.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kestrane::report {

class TRMReport;
class TRMPage;
class TRMDataDictionary;
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
    static void readOldDictionary(TRMStreamReader& r, TRMReport& report);
    static void readDictionaryLists(TRMStreamReader& r, TRMDataDictionary& dictionary);
    static void dropEmptyAliases(TRMReport& report);
    static bool readViewRecord(TRMStreamReader& r, TRMReport& report, int kind, const Header& h,
                               Result& result);
    static void afterLoad(TRMReport& report, const Header& h);

    static void writeHeader(TRMStreamWriter& w, const TRMReport& report);
    static void writePage(TRMStreamWriter& w, const TRMPage& page);
    static void writeDictionary(TRMStreamWriter& w, const TRMReport& report);
};

} // namespace kestrane::report
