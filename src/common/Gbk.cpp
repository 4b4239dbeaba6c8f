#include "common/Gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace kestrane::gbk {

namespace {
// Characters GBK cannot encode: one replacement byte each, like the Windows ANSI conversion.
constexpr char kReplacement = '?';

// Length of one character in GBK: ASCII is one byte; everything GBK holds is two.
// U+0080 (the euro sign is 0x80 in code page 936) is the one single-byte exception.
qsizetype charLength(char32_t c) {
    if (c < 0x80 || c == 0x20AC)
        return 1;
    return 2;
}
} // namespace

QByteArray encode(QStringView text) {
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return text.toLatin1();
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    QByteArray out;
    out.reserve(text.size() * 2);
    // Encode character by character only when needed, so unencodable characters become one '?'.
    QByteArray whole = encoder(text);
    if (!encoder.hasError())
        return whole;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype n = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        QStringEncoder one("GBK", QStringConverter::Flag::Stateless);
        QByteArray bytes = one(text.mid(i, n));
        if (one.hasError() || bytes.isEmpty())
            out.append(kReplacement);
        else
            out.append(bytes);
        i += n;
    }
    return out;
}

QString decode(QByteArrayView bytes) {
    bool ascii = true;
    for (char b : bytes) {
        if (static_cast<unsigned char>(b) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return QString::fromLatin1(bytes);
    QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    return decoder(bytes);
}

qsizetype byteLength(QStringView text) {
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size()) {
            ++i;
            n += 1; // outside GBK: encoded as one '?'
            continue;
        }
        n += charLength(c);
    }
    return n;
}

QString truncateToBytes(const QString& text, qsizetype maxBytes) {
    qsizetype used = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
        qsizetype len = pair ? 1 : charLength(text[i].unicode());
        if (used + len > maxBytes)
            return text.left(i);
        used += len;
        if (pair)
            ++i;
    }
    return text;
}

} // namespace kestrane::gbk
