#pragma once
// GBK is the byte form of text wherever a format fixes bytes: report streams (string lengths
// are GBK byte counts), the INI file, CSV output and byte-length limits. Everything else in
// the program is QString. This is the one place that converts between the two.
#include <QByteArray>
#include <QString>
#include <QStringView>

namespace kestrane::gbk {

// Text to GBK bytes. Characters GBK cannot hold become '?', as the Windows code page does.
QByteArray encode(QStringView text);
// GBK bytes to text. Invalid sequences become U+FFFD; decoding never fails.
QString decode(QByteArrayView bytes);
// Number of bytes `text` takes in GBK, without building the bytes.
qsizetype byteLength(QStringView text);
// The longest prefix of `text` that fits in `maxBytes` GBK bytes without cutting a character.
QString truncateToBytes(const QString& text, qsizetype maxBytes);

} // namespace kestrane::gbk
