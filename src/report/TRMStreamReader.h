#pragma once
// Little-endian reader of report streams that never trusts its input: every read checks
// what remains before it takes it, and every failure throws kestrane::Error naming the
// stream, the byte offset and what was expected ("template offset 1834: string of 60000
// bytes but 12 remain"). Texts are GBK; string lengths are byte counts.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace kestrane::report {

class TRMStreamReader {
public:
    // `what` names the stream in messages ("template", "prepared page 3").
    TRMStreamReader(const QByteArray& data, const QString& what, qsizetype base = 0);

    qsizetype pos() const { return m_pos; }
    qsizetype size() const { return m_data.size(); }
    qsizetype remaining() const { return m_data.size() - m_pos; }
    bool atEnd() const { return m_pos >= m_data.size(); }
    // Moves to an absolute position, which must lie inside the stream.
    void seek(qsizetype pos);
    // Checks an end position read from the stream: it must lie at or after `notBefore` and
    // inside the stream.
    void checkEndPosition(qint64 end, qsizetype notBefore, const char* of) const;

    uint8_t u8(const char* what = "byte");
    uint16_t u16(const char* what = "16-bit word");
    int32_t i32(const char* what = "32-bit integer");
    float f32(const char* what = "real");
    QByteArray bytes(qsizetype n, const char* what = "bytes");
    void skip(qsizetype n, const char* what = "ignored bytes");

    // uint16 length, the bytes, a byte 0.
    QString string(const char* what = "string");
    // uint16 count; 0: a byte 0; else per line uint16 length, bytes, separator 13 or 0.
    QStringList stringList(const char* what = "string list");
    // Version < 23: bytes up to a byte 0.
    QString oldString(const char* what = "string");
    // Version < 23: lines separated by 13, ended by 0; an empty text adds no line.
    QStringList oldStringList(const char* what = "string list");

    // Throws the error for this position.
    [[noreturn]] void fail(const QString& message) const;
    [[noreturn]] void failAt(qsizetype pos, const QString& message) const;

private:
    void need(qsizetype n, const char* what) const;

    const QByteArray& m_data;
    QString m_what;
    qsizetype m_pos = 0;
    qsizetype m_base = 0; // added to offsets in messages (a page stream inside a file)
};

} // namespace kestrane::report
