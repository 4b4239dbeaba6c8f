#pragma once
// Stores a workbook model as an Excel 97-2003 file: a BIFF8 record stream named "Workbook"
// in a compound file. One function per record, in the order the records appear in the file.
//
// Before a byte is written the whole workbook is prepared (font list, cell formats, palette,
// shared strings) and checked against the limits of the format, so a workbook that cannot be
// stored fails before the file is touched. The file is written beside its final name and
// renamed into place only when complete.
#include "export/xls/TqelCustomWriter.h"
#include "export/xls/TqelXLSStyle.h"
#include "export/xls/XlsPalette.h"

#include <QByteArray>
#include <QIODevice>

#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

namespace kestrane::xls {

class TqelXLSRange;
class TqelXLSWorksheet;
class XlsRecordStream;

class TqelExcelWriter : public TqelCustomWriter {
public:
    // Limits of the format (and of Excel 97-2003, which enforces them on open).
    static constexpr int MaxRows = 65536;
    static constexpr int MaxColumns = 256;
    static constexpr int MaxTextLength = 32767;
    static constexpr int MaxMergedPerRecord = 1027;
    static constexpr int MaxPageBreaks = 1026;
    static constexpr int MaxHeaderFooterLength = 255;
    static constexpr int MaxFontNameLength = 31;
    static constexpr int MaxFonts = 512;
    static constexpr int MaxXfs = 4050;
    static constexpr int MaxRowHeight = 8190; // twips (409.5 points)
    static constexpr int RowsPerBlock = 60;

    TqelExcelWriter();
    ~TqelExcelWriter() override;

    void Save(const TqelXLSWorkbook& workbook, const QString& path) override;
    // Writes only the record stream, starting at the device's offset `base` (positions inside
    // the stream count from there). Returns the stream's size.
    quint64 WriteStream(const TqelXLSWorkbook& workbook, QIODevice& device, qint64 base = 0);

private:
    // A distinct pair of look and merged flag, with what the workbook makes of it.
    struct LookUse {
        const TqelXLSStyle* look;
        bool merged;
        // Where it first occurs, for messages.
        int sheet;
        const TqelXLSRange* firstRange;
        quint16 font;
        quint16 xf;
    };
    // Look -> position in m_lookUses. Ranges repeat a few looks over and over: the last answer
    // is kept at hand, and up to kFew looks are searched in a short list before a hash table
    // takes over.
    class LookIndex {
    public:
        const quint32* find(const TqelXLSStyle* look);
        void add(const TqelXLSStyle* look, quint32 index);

    private:
        static constexpr size_t kFew = 16;
        std::vector<std::pair<const TqelXLSStyle*, quint32>> m_few;
        std::unordered_map<const TqelXLSStyle*, quint32> m_indices;
        const TqelXLSStyle* m_lastLook = nullptr;
        quint32 m_last = 0;
    };
    static constexpr quint32 NoString = 0xFFFFFFFF;
    using XfBytes = std::array<quint8, 20>;
    struct XfHash {
        size_t operator()(const XfBytes& x) const;
    };

    quint64 writeRecords(const TqelXLSWorkbook& workbook, QIODevice& device, qint64 base);

    // ---- preparation ----
    void prepare(const TqelXLSWorkbook& workbook);
    void checkSheet(const TqelXLSWorksheet& sheet, int sheetNo);
    void prepareRanges(const TqelXLSWorkbook& workbook);
    void prepareFonts(const TqelXLSWorkbook& workbook);
    void prepareXfs();
    quint16 xfOf(const TqelXLSRange& range);
    void preparePictures(const TqelXLSWorkbook& workbook);
    quint16 fontIndex(const TqelXLSFont& font);
    quint32 stringIndex(const TqelXLSWorksheet& sheet, int sheetNo, const TqelXLSRange& range);
    quint16 xfIndex(const XfBytes& xf);
    XfBytes cellXf(const TqelXLSStyle& style, bool merged, quint16 font);

    // ---- workbook globals ----
    void writeGlobals(const TqelXLSWorkbook& workbook);
    void writeBof(quint16 type);
    void writeInterfaceHdr();
    void writeMms();
    void writeInterfaceEnd();
    void writeWriteAccess(const QString& title);
    void writeCodepage();
    void writeDsf();
    void writeExcel9File();
    void writeTabId(int sheetCount);
    void writeFnGroupCount();
    void writeWindowProtect();
    void writeProtect();
    void writePassword();
    void writeProt4Rev();
    void writeProt4RevPass();
    void writeWindow1();
    void writeBackup();
    void writeHideObj();
    void writeDateMode();
    void writePrecision();
    void writeRefreshAll();
    void writeBookBool();
    void writeFont(const TqelXLSFont& font);
    void writeFormat(quint16 index, const QString& text);
    void writeXf(const XfBytes& xf);
    void writeStyle(quint16 xf, quint8 builtIn);
    void writePalette();
    void writeUsesElfs();
    void writeBoundSheet(const TqelXLSWorksheet& sheet);
    void writeCountry();
    void writeSst(const TqelXLSWorkbook& workbook);
    void writeExtSst();
    void writeEof();

    // ---- one sheet ----
    void writeSheet(const TqelXLSWorksheet& sheet, int sheetNo);
    void writeIndex(const TqelXLSWorksheet& sheet);
    void writeCalcMode();
    void writeCalcCount();
    void writeRefMode();
    void writeIteration();
    void writeDelta();
    void writeSaveRecalc();
    void writePrintHeaders(const TqelXLSWorksheet& sheet);
    void writePrintGridlines(const TqelXLSWorksheet& sheet);
    void writeGridSet();
    void writeGuts();
    void writeDefaultRowHeight();
    void writeHorizontalPageBreaks(int sheetNo);
    void writeWsBool();
    void writeHeader(const TqelXLSWorksheet& sheet);
    void writeFooter(const TqelXLSWorksheet& sheet);
    void writeHCenter(const TqelXLSWorksheet& sheet);
    void writeVCenter(const TqelXLSWorksheet& sheet);
    void writeMargins(const TqelXLSWorksheet& sheet);
    void writeSetup(const TqelXLSWorksheet& sheet);
    void writeDefColWidth();
    void writeColInfo(const TqelXLSWorksheet& sheet);
    void writeDimensions(const TqelXLSWorksheet& sheet);
    void writeRowBlocks(const TqelXLSWorksheet& sheet, int sheetNo);
    void writeRow(int row, int firstColumn, int lastColumnPlusOne, const TqelXLSWorksheet& sheet);
    void writeNumber(std::vector<char>& cells, int row, int column, quint16 xf, double value);
    void writeLabelSst(std::vector<char>& cells, int row, int column, quint16 xf, quint32 sst);
    void writeBlank(std::vector<char>& cells, int row, int column, quint16 xf);
    void writeMulBlank(std::vector<char>& cells, int row, int firstColumn, int lastColumn,
                       quint16 xf);
    void writeDbCell(quint64 firstRowPos, int rowCount, const std::vector<int>& cellStarts);
    void writeObj(const TqelXLSWorksheet& sheet, int imageNo, int sheetNo);
    void writeImData(const TqelXLSWorksheet& sheet, int imageNo);
    void writeWindow2(int sheetNo);
    void writeSelection();
    void writeMergedCells(const TqelXLSWorksheet& sheet, int sheetNo);

    void record(quint16 id, const QByteArray& data);
    void writeValueCell(std::vector<char>& cells, const TqelXLSRange& range, quint16 xf,
                        quint32 sst, int row, int column);

    // State of one save; rebuilt by prepare().
    XlsRecordStream* m_stream = nullptr; // set while writeRecords runs
    std::unique_ptr<XlsPalette> m_palette;
    std::vector<TqelXLSFont> m_fonts;
    std::unordered_map<TqelXLSFont, quint16, TqelXLSFontHash> m_fontLookup;
    std::vector<XfBytes> m_xfs; // the cell XF list, templates first
    std::unordered_map<XfBytes, quint16, XfHash> m_xfLookup;
    std::vector<LookUse> m_lookUses;         // in the order they first occur
    std::array<LookIndex, 2> m_lookUseIndex; // single cells, merged areas
    std::vector<std::vector<quint32>> m_sst; // per sheet, per range: shared string or NoString
    quint32 m_stringCount = 0;
    std::vector<std::vector<std::array<quint16, 3>>> m_pictureColors; // line, fg, bg
    std::vector<QList<int>> m_pageBreaks; // per sheet, sorted and within the format's limits
    std::vector<quint64> m_sheetBofPos;
    std::vector<quint64> m_boundSheetPos;
    // EXTSST entries: absolute position of a bucket's first string, offset in its record.
    std::vector<std::pair<quint64, quint16>> m_extSst;
    quint32 m_bucketSize = 8;
    // Per sheet: ranges that had to give up cells to earlier overlapping ranges.
    std::vector<char> m_clipped;
    // Per sheet, found while preparing: the ranges that cover several cells.
    std::vector<std::vector<quint32>> m_merged;
    quint64 m_indexPos = 0;
    std::vector<quint64> m_dbCellPos;
};

} // namespace kestrane::xls
