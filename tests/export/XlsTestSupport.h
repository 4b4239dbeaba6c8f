#pragma once
// Shared helpers of the workbook tests: the record stream as a list of records, reading the
// outside checker's JSON, little-endian field access.
#include "export/xls/TqelXLSWorkbook.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

namespace xlstest {

struct Record {
    quint16 id = 0;
    qint64 pos = 0; // stream position of the record header
    QByteArray data;
};

// The BIFF8 record stream of a workbook, written through the writer into memory.
QByteArray streamOf(const kestrane::xls::TqelXLSWorkbook& workbook);
// Splits a record stream into its records (CONTINUE records stay separate).
QList<Record> parse(const QByteArray& stream);
// The records of the sheet with the given index (BOF to EOF), or of the globals for -1.
QList<Record> section(const QList<Record>& records, int sheet);
QList<Record> withId(const QList<Record>& records, quint16 id);

quint16 u16(const QByteArray& d, int at);
quint32 u32(const QByteArray& d, int at);
double f64(const QByteArray& d, int at);
// Bytes from a spaced hexadecimal text such as "00 06 05 00".
QByteArray hex(const char* spaced);

// Runs the xlrd/olefile checker on a file; fails the test (returns empty) when it cannot run.
QJsonObject check(const QString& file, bool withCells = true);

// The path of the outside interpreter that has xlrd, xlwt and olefile.
QString python();

} // namespace xlstest
