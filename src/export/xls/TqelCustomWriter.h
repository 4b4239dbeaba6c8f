#pragma once
// A writer that stores a workbook model in a file of its format.
#include <QString>

namespace kestrane::xls {

class TqelXLSWorkbook;

class TqelCustomWriter {
public:
    virtual ~TqelCustomWriter() = default;
    // Writes the workbook to path, replacing an existing file. Throws kestrane::Error when the
    // workbook cannot be stored or the file cannot be written; the file at path is then left
    // as it was.
    virtual void Save(const TqelXLSWorkbook& workbook, const QString& path) = 0;
};

} // namespace kestrane::xls
