#include "export/xls/TqelExcelWriter.h"

#include "common/Error.h"
#include "export/xls/CompoundFileWriter.h"
#include "export/xls/EmfBitmapPicture.h"
#include "export/xls/TqelXLSWorkbook.h"
#include "export/xls/XlsRecordStream.h"

#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <numeric>

namespace kestrane::xls {

namespace {

using XfBytes = std::array<quint8, 20>;

// Record identifiers.
enum : quint16 {
    kBof = 0x0809,
    kInterfaceHdr = 0x00E1,
    kMms = 0x00C1,
    kInterfaceEnd = 0x00E2,
    kWriteAccess = 0x005C,
    kCodepage = 0x0042,
    kDsf = 0x0161,
    kExcel9File = 0x01C0,
    kTabId = 0x013D,
    kFnGroupCount = 0x009C,
    kWindowProtect = 0x0019,
    kProtect = 0x0012,
    kPassword = 0x0013,
    kProt4Rev = 0x01AF,
    kProt4RevPass = 0x01BC,
    kWindow1 = 0x003D,
    kBackup = 0x0040,
    kHideObj = 0x008D,
    kDateMode = 0x0022,
    kPrecision = 0x000E,
    kRefreshAll = 0x01B7,
    kBookBool = 0x00DA,
    kFont = 0x0031,
    kFormat = 0x041E,
    kXf = 0x00E0,
    kStyle = 0x0293,
    kPalette = 0x0092,
    kUsesElfs = 0x0160,
    kBoundSheet = 0x0085,
    kCountry = 0x008C,
    kSst = 0x00FC,
    kContinue = 0x003C,
    kExtSst = 0x00FF,
    kEof = 0x000A,
    kIndex = 0x020B,
    kCalcMode = 0x000D,
    kCalcCount = 0x000C,
    kRefMode = 0x000F,
    kIteration = 0x0011,
    kDelta = 0x0010,
    kSaveRecalc = 0x005F,
    kPrintHeaders = 0x002A,
    kPrintGridlines = 0x002B,
    kGridSet = 0x0082,
    kGuts = 0x0080,
    kDefaultRowHeight = 0x0225,
    kHorizontalPageBreaks = 0x001B,
    kWsBool = 0x0081,
    kHeader = 0x0014,
    kFooter = 0x0015,
    kHCenter = 0x0083,
    kVCenter = 0x0084,
    kLeftMargin = 0x0026,
    kRightMargin = 0x0027,
    kTopMargin = 0x0028,
    kBottomMargin = 0x0029,
    kSetup = 0x00A1,
    kDefColWidth = 0x0055,
    kColInfo = 0x007D,
    kDimensions = 0x0200,
    kRow = 0x0208,
    kNumber = 0x0203,
    kLabelSst = 0x00FD,
    kBlank = 0x0201,
    kMulBlank = 0x00BE,
    kDbCell = 0x00D7,
    kObj = 0x005D,
    kImData = 0x007F,
    kWindow2 = 0x023E,
    kSelection = 0x001D,
    kMergedCells = 0x00E5,
};

constexpr quint16 kBiffVersion = 0x0600;
constexpr quint16 kBuild = 3515;
constexpr quint16 kBuildYear = 1996;
constexpr quint16 kCodePage = 1252;
constexpr int kFirstCellXf = 15;
constexpr int kRowRecordSize = 20;
// Room for the last-writer name: 112 bytes less the 3-byte string header, in UTF-16 units.
constexpr int kWriteAccessSize = 112;
constexpr int kWriteAccessChars = (kWriteAccessSize - 3) / 2;
// The system window-text colour, the colour of the four leading fonts.
constexpr quint32 kWindowTextColor = 0xFF000008;
constexpr quint32 kWhite = 0xFFFFFF;
// EXTSST: Excel keeps at most 128 buckets; 8 strings per bucket is the smallest size.
constexpr quint32 kMinBucketSize = 8;
constexpr quint32 kMaxBuckets = 128;

const QString kForbiddenSheetChars = QStringLiteral("[]:*?/\\");

XfBytes toXf(std::initializer_list<quint8> bytes) {
    XfBytes x{};
    std::copy(bytes.begin(), bytes.end(), x.begin());
    return x;
}

// Style XFs 0 to 14.
XfBytes styleXf(int i) {
    if (i == 0)
        return toXf({0x00, 0x00, 0x00, 0x00, 0xF5, 0xFF, 0x20, 0x00, 0x00, 0x00,
                     0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x20});
    const quint8 font = (i == 1 || i == 2) ? 1 : (i == 3 || i == 4) ? 2 : 0;
    return toXf({font, 0x00, 0x00, 0x00, 0xF5, 0xFF, 0x20, 0x00, 0x00, 0xF4,
                 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x20});
}

// The template XFs 15 to 20 that open the cell XF list.
std::vector<XfBytes> templateXfs() {
    std::vector<XfBytes> t;
    t.push_back(toXf({0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x20, 0x00, 0x00, 0x00,
                      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x20}));
    for (quint8 format : {0x09, 0xB6, 0xB4, 0xB7, 0xB5})
        t.push_back(toXf({0x01, 0x00, format, 0x00, 0xF5, 0xFF, 0x20, 0x00, 0x00, 0xF8,
                          0x00, 0x00, 0x00,   0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x20}));
    return t;
}

struct BuiltInFormat {
    quint16 index;
    const char16_t* text;
};

// The eight built-in currency formats, with the rouble suffix "р.".
constexpr BuiltInFormat kFormats[] = {
    {5, u"#,##0\"р.\";\\-#,##0\"р.\""},
    {6, u"#,##0\"р.\";[Red]\\-#,##0\"р.\""},
    {7, u"#,##0.00\"р.\";\\-#,##0.00\"р.\""},
    {8, u"#,##0.00\"р.\";[Red]\\-#,##0.00\"р.\""},
    {42, u"_-* #,##0\"р.\"_-;\\-* #,##0\"р.\"_-;_-* \"-\"\"р.\"_-;_-@_-"},
    {41, u"_-* #,##0_р_._-;\\-* #,##0_р_._-;_-* \"-\"_р_._-;_-@_-"},
    {44, u"_-* #,##0.00\"р.\"_-;\\-* #,##0.00\"р.\"_-;_-* \"-\"??\"р.\"_-;_-@_-"},
    {43, u"_-* #,##0.00_р_._-;\\-* #,##0.00_р_._-;_-* \"-\"??_р_._-;_-@_-"},
};

// A cell reference in A1 notation, for messages.
QString cellName(int column, int row) {
    QString letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row + 1);
}

QString sheetLabel(const TqelXLSWorksheet& sheet, int sheetNo) {
    return QStringLiteral("工作表 %1 \"%2\"").arg(sheetNo + 1).arg(sheet.Name());
}

// A text counts as a number when, trimmed, it is made of digits, at most one full stop and at
// most one leading minus sign, with at least one digit. Then `value` receives the number
// (false also when the digits do not fit a finite double).
bool looksLikeNumber(QStringView text, double& value) {
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 400)
        return false;
    char buf[401];
    int digits = 0, stops = 0;
    // The digits as a whole number and how many of them follow the full stop: when both the
    // number and the power of ten are exact doubles, one division gives the correctly rounded
    // value, the same as the full conversion.
    quint64 mantissa = 0;
    int significant = 0, fraction = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            ++digits;
            fraction += stops;
            if (significant < 16) {
                mantissa = mantissa * 10 + (c - u'0');
                significant += mantissa != 0;
            }
        } else if (c == u'.') {
            ++stops;
        } else if (c != u'-' || i != 0) {
            return false;
        }
        buf[i] = static_cast<char>(c);
    }
    if (!digits || stops > 1)
        return false;
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (significant <= 15 && fraction <= 22) {
        value = static_cast<double>(mantissa) / kPowers[fraction];
        if (buf[0] == '-')
            value = -value;
        return true;
    }
    const char* end = buf + text.size();
    const auto [ptr, ec] = std::from_chars(buf, end, value);
    return ec == std::errc() && ptr == end && std::isfinite(value);
}

inline char* le16(char* p, quint16 v) {
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>(v >> 8);
    return p + 2;
}
inline char* le32(char* p, quint32 v) {
    p = le16(p, static_cast<quint16>(v & 0xFFFF));
    return le16(p, static_cast<quint16>(v >> 16));
}

// `count` UTF-16 characters as little-endian bytes.
inline void copyUtf16(char* out, const char16_t* in, size_t count) {
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        std::memcpy(out, in, count * 2);
    } else {
        for (size_t k = 0; k < count; ++k)
            out = le16(out, in[k]);
    }
}

QByteArray u16(quint16 v) {
    QByteArray b;
    put16(b, v);
    return b;
}

} // namespace

// ============================================================================================
// Hashing of the lookup keys
// ============================================================================================

size_t TqelExcelWriter::XfHash::operator()(const XfBytes& x) const {
    size_t h = 1469598103934665603ull;
    for (quint8 b : x)
        h = (h ^ b) * 1099511628211ull;
    return h;
}

TqelExcelWriter::TqelExcelWriter() = default;
TqelExcelWriter::~TqelExcelWriter() = default;

// ============================================================================================
// Public interface
// ============================================================================================

void TqelExcelWriter::Save(const TqelXLSWorkbook& workbook, const QString& path) {
    // Everything that can refuse the workbook happens before the file is opened.
    prepare(workbook);
    // The file is written beside its final name and replaces it only when complete: a failure
    // part way leaves whatever was at the path before.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("无法创建文件 %1: %2 (错误码 %3)")
                        .arg(path, file.errorString())
                        .arg(static_cast<int>(file.error())));
    CompoundFileWriter container(file, QStringLiteral("Workbook"));
    container.begin();
    const quint64 size = writeRecords(workbook, file, CompoundFileWriter::StreamOffset);
    container.finish(size);
    if (!file.commit())
        throw Error(QStringLiteral("无法写入文件 %1: %2 (错误码 %3)")
                        .arg(path, file.errorString())
                        .arg(static_cast<int>(file.error())));
}

quint64 TqelExcelWriter::WriteStream(const TqelXLSWorkbook& workbook, QIODevice& device,
                                     qint64 base) {
    prepare(workbook);
    return writeRecords(workbook, device, base);
}

quint64 TqelExcelWriter::writeRecords(const TqelXLSWorkbook& workbook, QIODevice& device,
                                      qint64 base) {
    XlsRecordStream stream(device, base);
    // The record functions reach the stream through m_stream; it must not outlive this call,
    // also when a write fails.
    struct Detach {
        XlsRecordStream*& p;
        ~Detach() { p = nullptr; }
    } detach{m_stream};
    m_stream = &stream;
    writeGlobals(workbook);
    for (int s = 0; s < workbook.SheetCount(); ++s)
        writeSheet(workbook.Sheet(s), s);
    stream.flush();
    return stream.pos();
}

// ============================================================================================
// Preparation: limits, fonts, cell XFs, palette, shared strings
// ============================================================================================

void TqelExcelWriter::prepare(const TqelXLSWorkbook& workbook) {
    m_palette = std::make_unique<XlsPalette>();
    m_fonts.clear();
    m_fontLookup.clear();
    m_xfs.clear();
    m_xfLookup.clear();
    m_sst.assign(static_cast<size_t>(workbook.SheetCount()), {});
    m_lookUses.clear();
    m_lookUseIndex = {};
    m_stringCount = 0;
    m_pictureColors.clear();
    m_pageBreaks.clear();
    m_sheetBofPos.clear();
    m_boundSheetPos.clear();
    m_extSst.clear();
    m_merged.clear();

    if (workbook.SheetCount() == 0)
        throw Error(QStringLiteral("工作簿中没有工作表, 无法保存"));
    QSet<QString> names;
    for (int s = 0; s < workbook.SheetCount(); ++s) {
        const TqelXLSWorksheet& sheet = workbook.Sheet(s);
        checkSheet(sheet, s);
        const QString key = sheet.Name().toCaseFolded();
        if (names.contains(key))
            throw Error(QStringLiteral("工作表名称 \"%1\" 重复").arg(sheet.Name()));
        names.insert(key);
    }
    prepareRanges(workbook);
    prepareFonts(workbook);
    prepareXfs();
    preparePictures(workbook);
}

void TqelExcelWriter::checkSheet(const TqelXLSWorksheet& sheet, int sheetNo) {
    const QString label = sheetLabel(sheet, sheetNo);
    const QString& name = sheet.Name();
    if (name.isEmpty())
        throw Error(QStringLiteral("工作表 %1 的名称为空").arg(sheetNo + 1));
    for (QChar c : name) {
        if (kForbiddenSheetChars.contains(c) || c.unicode() < 0x20)
            throw Error(
                QStringLiteral("%1: 名称中不能含有字符 %2")
                    .arg(label, c.unicode() < 0x20 ? QStringLiteral("(控制字符)") : QString(c)));
    }
    if (name.startsWith(QLatin1Char('\'')) || name.endsWith(QLatin1Char('\'')))
        throw Error(QStringLiteral("%1: 名称不能以单引号开始或结束").arg(label));

    const TqelXLSBounds& b = sheet.Bounds();
    if (b.maxRow >= MaxRows)
        throw Error(QStringLiteral("%1: 第 %2 行超出 Excel 97-2003 工作表的 %3 行上限")
                        .arg(label)
                        .arg(b.maxRow + 1)
                        .arg(MaxRows));
    if (b.maxColumn >= MaxColumns)
        throw Error(QStringLiteral("%1: 第 %2 列超出 Excel 97-2003 工作表的 %3 列上限")
                        .arg(label)
                        .arg(b.maxColumn + 1)
                        .arg(MaxColumns));
    const TqelXLSPageSetup& ps = sheet.PageSetup();
    auto headerLength = [](const QString& l, const QString& c, const QString& r) {
        return (l.isEmpty() ? 0 : 2 + l.size()) + (c.isEmpty() ? 0 : 2 + c.size()) +
               (r.isEmpty() ? 0 : 2 + r.size());
    };
    if (headerLength(ps.headerLeft, ps.headerCenter, ps.headerRight) > MaxHeaderFooterLength ||
        headerLength(ps.footerLeft, ps.footerCenter, ps.footerRight) > MaxHeaderFooterLength)
        throw Error(
            QStringLiteral("%1: 页眉或页脚超过 %2 个字符").arg(label).arg(MaxHeaderFooterLength));
    const TqelImages& images = sheet.Images();
    if (images.Count() > 0xFFFF)
        throw Error(QStringLiteral("%1: 图片超过 %2 个").arg(label).arg(0xFFFF));
    for (int i = 0; i < images.Count(); ++i) {
        const TqelImage& im = images.At(i);
        if (std::max(im.anchorColumn, im.endColumn) >= MaxColumns ||
            std::max(im.anchorRow, im.endRow) >= MaxRows)
            throw Error(QStringLiteral("%1: 第 %2 个图片的位置超出 %3 行 %4 列的上限")
                            .arg(label)
                            .arg(i + 1)
                            .arg(MaxRows)
                            .arg(MaxColumns));
        if (!im.Picture() || im.Picture()->isNull())
            throw Error(QStringLiteral("%1: 第 %2 个图片没有内容").arg(label).arg(i + 1));
    }
    // Page breaks: sorted, within the sheet's rows (a break below the last possible row has
    // nothing to separate), and no more than a sheet can carry; the rest of the breaks only
    // change where printed pages end, never the content.
    QList<int> breaks = sheet.PageBreaks();
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::remove_if(breaks.begin(), breaks.end(), [](int r) { return r >= MaxRows; }),
                 breaks.end());
    if (breaks.size() > MaxPageBreaks)
        breaks.resize(MaxPageBreaks);
    m_pageBreaks.push_back(breaks);
}

quint16 TqelExcelWriter::fontIndex(const TqelXLSFont& font) {
    if (auto it = m_fontLookup.find(font); it != m_fontLookup.end())
        return it->second;
    m_fonts.push_back(font);
    const quint16 index = static_cast<quint16>(m_fonts.size()); // list position + 1
    m_fontLookup.emplace(font, index);
    return index;
}

const quint32* TqelExcelWriter::LookIndex::find(const TqelXLSStyle* look) {
    if (look == m_lastLook)
        return &m_last;
    const quint32* found = nullptr;
    if (m_indices.empty()) {
        for (const auto& [kept, index] : m_few)
            if (kept == look)
                found = &index;
    } else if (auto it = m_indices.find(look); it != m_indices.end()) {
        found = &it->second;
    }
    if (found) {
        m_lastLook = look;
        m_last = *found;
    }
    return found;
}

void TqelExcelWriter::LookIndex::add(const TqelXLSStyle* look, quint32 index) {
    if (m_indices.empty() && m_few.size() < kFew) {
        m_few.emplace_back(look, index);
    } else {
        if (m_indices.empty())
            m_indices.insert(m_few.begin(), m_few.end());
        m_indices.emplace(look, index);
    }
    m_lastLook = look;
    m_last = index;
}

// One pass over all ranges, sheet by sheet and range by range: the merged areas, the distinct
// pairs of look and merged flag in the order they first occur, and the shared strings.
void TqelExcelWriter::prepareRanges(const TqelXLSWorkbook& workbook) {
    for (int s = 0; s < workbook.SheetCount(); ++s) {
        const TqelXLSWorksheet& sheet = workbook.Sheet(s);
        std::vector<quint32>& strings = m_sst[static_cast<size_t>(s)];
        strings.resize(sheet.Ranges().size());
        std::vector<quint32>& merged = m_merged.emplace_back();
        quint32 r = 0;
        for (const TqelXLSRange& range : sheet.Ranges()) {
            const bool isMerged = range.IsMerged();
            if (isMerged)
                merged.push_back(r);
            LookIndex& uses = m_lookUseIndex[isMerged ? 1 : 0];
            if (!uses.find(&range.Style())) {
                uses.add(&range.Style(), static_cast<quint32>(m_lookUses.size()));
                m_lookUses.push_back({&range.Style(), isMerged, s, &range, 0, 0});
            }
            strings[r++] = stringIndex(sheet, s, range);
        }
    }
}

// Text cells (and numbers without a finite value, kept as their text) get the next shared
// string, sheet by sheet and range by range.
quint32 TqelExcelWriter::stringIndex(const TqelXLSWorksheet& sheet, int sheetNo,
                                     const TqelXLSRange& range) {
    const TqelXLSRange::Kind kind = range.CellKind();
    if (kind == TqelXLSRange::Kind::Formula)
        throw Error(
            QStringLiteral("%1: 单元格 %2 含有公式, 公式单元格不能保存")
                .arg(sheetLabel(sheet, sheetNo), cellName(range.Rect().left, range.Rect().top)));
    if (kind == TqelXLSRange::Kind::Number && std::isfinite(range.NumberValue()))
        return NoString;
    const qsizetype length = range.HoldsText() ? range.Text().size() : range.ValueText().size();
    if (length == 0)
        return NoString;
    if (length > MaxTextLength)
        throw Error(
            QStringLiteral("%1: 单元格 %2 的文本有 %3 个字符, 超过 Excel 的 "
                           "%4 个字符上限")
                .arg(sheetLabel(sheet, sheetNo), cellName(range.Rect().left, range.Rect().top))
                .arg(length)
                .arg(MaxTextLength));
    return m_stringCount++;
}

// The font list: each range's font is searched and appended when missing, in range order.
// Ranges of one look share its font, so going through the looks in the order they first occur
// gives the same list.
void TqelExcelWriter::prepareFonts(const TqelXLSWorkbook& workbook) {
    TqelXLSFont leading;
    leading.color = kWindowTextColor;
    // The four leading fonts are equal: the first one found answers for all of them.
    for (int i = 0; i < 4; ++i)
        m_fonts.push_back(leading);
    m_fontLookup.emplace(leading, 1);
    for (LookUse& use : m_lookUses) {
        if (use.look->font.name.size() > MaxFontNameLength)
            throw Error(QStringLiteral("%1: 单元格 %2 的字体名称超过 %3 个字符")
                            .arg(sheetLabel(workbook.Sheet(use.sheet), use.sheet),
                                 cellName(use.firstRange->Rect().left, use.firstRange->Rect().top))
                            .arg(MaxFontNameLength));
        use.font = fontIndex(use.look->font);
        if (m_fonts.size() > MaxFonts)
            throw Error(
                QStringLiteral("工作簿使用的字体超过 Excel 97-2003 的 %1 种上限").arg(MaxFonts));
    }
}

TqelExcelWriter::XfBytes TqelExcelWriter::cellXf(const TqelXLSStyle& look, bool merged,
                                                 quint16 font) {
    const TqelXLSBorder& left = look.borders[TqelXLSBorders::Left];
    const TqelXLSBorder& right = look.borders[TqelXLSBorders::Right];
    const TqelXLSBorder& top = look.borders[TqelXLSBorders::Top];
    const TqelXLSBorder& bottom = look.borders[TqelXLSBorders::Bottom];
    auto borderColor = [this](const TqelXLSBorder& b) -> quint32 {
        return b.lineStyle ? m_palette->map(b.color) & 0x7F : 0;
    };
    const quint32 leftColor = borderColor(left);
    const quint32 rightColor = borderColor(right);
    const quint32 topColor = borderColor(top);
    const quint32 bottomColor = borderColor(bottom);
    const quint32 fg = m_palette->map(look.fillForeground) & 0x7F;
    const quint32 bg = m_palette->map(look.fillBackground) & 0x7F;
    const quint32 pattern = look.fillPattern == TqelXLSStyle::PatternSolid ? 1 : 0;
    // Rotation codes are 0..180 degrees and 255 (stacked); anything else would not open.
    const quint8 rotation =
        look.rotation <= 180 || look.rotation == 255 ? look.rotation : quint8(0);

    XfBytes x{};
    char* p = reinterpret_cast<char*>(x.data());
    p = le16(p, font);
    p = le16(p, 0);      // format: General
    p = le16(p, 0x0001); // locked, cell XF, parent style 0
    *p++ = static_cast<char>((look.horizontalAlignment & 0x07) | (look.wrap ? 0x08 : 0) |
                             ((look.verticalAlignment & 0x07) << 4));
    *p++ = static_cast<char>(rotation);
    p = le16(p, merged ? 0xFC20 : 0xFC00);
    p = le16(p,
             static_cast<quint16>((left.lineStyle & 0xF) | ((right.lineStyle & 0xF) << 4) |
                                  ((top.lineStyle & 0xF) << 8) | ((bottom.lineStyle & 0xF) << 12)));
    p = le16(p, static_cast<quint16>(leftColor | (rightColor << 7)));
    p = le32(p, topColor | (bottomColor << 7) | (pattern << 26));
    le16(p, static_cast<quint16>(fg | (bg << 7)));
    return x;
}

quint16 TqelExcelWriter::xfIndex(const XfBytes& xf) {
    if (auto it = m_xfLookup.find(xf); it != m_xfLookup.end())
        return it->second;
    m_xfs.push_back(xf);
    const quint16 index = static_cast<quint16>(m_xfs.size() - 1 + kFirstCellXf);
    m_xfLookup.emplace(xf, index);
    return index;
}

// A range's XF follows from its look and whether it is merged. Mapping the colours of a pair
// again for a later range would change nothing (they are in the palette by then), so each pair
// is worked out once, in the order the pairs first occur, and the palette gives out its entries
// in the same order as it would range by range.
void TqelExcelWriter::prepareXfs() {
    // Font colours take their palette places first, in font list order.
    for (const TqelXLSFont& f : m_fonts)
        m_palette->map(f.color);
    for (const XfBytes& t : templateXfs())
        xfIndex(t);
    for (LookUse& use : m_lookUses) {
        use.xf = xfIndex(cellXf(*use.look, use.merged, use.font));
        if (m_xfs.size() + kFirstCellXf > MaxXfs)
            throw Error(QStringLiteral("工作簿的单元格格式超过 Excel 97-2003 的 %1 种上限")
                            .arg(MaxXfs - kFirstCellXf));
    }
}

quint16 TqelExcelWriter::xfOf(const TqelXLSRange& range) {
    LookIndex& uses = m_lookUseIndex[range.IsMerged() ? 1 : 0];
    return m_lookUses[*uses.find(&range.Style())].xf;
}

void TqelExcelWriter::preparePictures(const TqelXLSWorkbook& workbook) {
    for (int s = 0; s < workbook.SheetCount(); ++s) {
        const TqelImages& images = workbook.Sheet(s).Images();
        auto& colors = m_pictureColors.emplace_back();
        for (int i = 0; i < images.Count(); ++i) {
            const quint16 line = m_palette->map(images.At(i).lineColor);
            const quint16 fg = m_palette->map(kWhite);
            const quint16 bg = m_palette->map(kWhite);
            colors.push_back({line, fg, bg});
        }
    }
}

void TqelExcelWriter::record(quint16 id, const QByteArray& data) {
    m_stream->record(id, data);
}

// ============================================================================================
// Workbook globals
// ============================================================================================

void TqelExcelWriter::writeGlobals(const TqelXLSWorkbook& workbook) {
    writeBof(0x0005);
    writeInterfaceHdr();
    writeMms();
    writeInterfaceEnd();
    writeWriteAccess(workbook.Title());
    writeCodepage();
    writeDsf();
    writeExcel9File();
    writeTabId(workbook.SheetCount());
    writeFnGroupCount();
    writeWindowProtect();
    writeProtect();
    writePassword();
    writeProt4Rev();
    writeProt4RevPass();
    writeWindow1();
    writeBackup();
    writeHideObj();
    writeDateMode();
    writePrecision();
    writeRefreshAll();
    writeBookBool();
    for (const TqelXLSFont& f : m_fonts)
        writeFont(f);
    for (const BuiltInFormat& f : kFormats)
        writeFormat(f.index, QString::fromUtf16(f.text));
    for (int i = 0; i < kFirstCellXf; ++i)
        writeXf(styleXf(i));
    for (const XfBytes& x : m_xfs)
        writeXf(x);
    writeStyle(16, 4);
    writeStyle(17, 7);
    writeStyle(0, 0);
    writeStyle(18, 5);
    writeStyle(19, 3);
    writeStyle(20, 6);
    if (m_palette->changed())
        writePalette();
    writeUsesElfs();
    for (int s = 0; s < workbook.SheetCount(); ++s)
        writeBoundSheet(workbook.Sheet(s));
    writeCountry();
    if (m_stringCount > 0) {
        writeSst(workbook);
        writeExtSst();
    }
    writeEof();
}

// BOF: version, stream type, build and year; workbook globals also carry the file history
// flags and the lowest version that can read the file.
void TqelExcelWriter::writeBof(quint16 type) {
    QByteArray d;
    put16(d, kBiffVersion);
    put16(d, type);
    put16(d, kBuild);
    put16(d, kBuildYear);
    if (type == 0x0005) {
        put32(d, 0);
        put32(d, 0x00000600);
    } else {
        put32(d, 0);
        put32(d, 0);
    }
    record(kBof, d);
}

// INTERFACEHDR: the code page of the user interface.
void TqelExcelWriter::writeInterfaceHdr() {
    record(kInterfaceHdr, u16(kCodePage));
}

// MMS: menu and toolbar additions, none.
void TqelExcelWriter::writeMms() {
    record(kMms, QByteArray(2, '\0'));
}

// INTERFACEEND: closes the interface block.
void TqelExcelWriter::writeInterfaceEnd() {
    record(kInterfaceEnd, QByteArray());
}

// WRITEACCESS: the workbook title as the last writer's name, padded with spaces. A title that
// does not fit the record keeps as many whole characters as fit.
void TqelExcelWriter::writeWriteAccess(const QString& title) {
    qsizetype n = std::min<qsizetype>(title.size(), kWriteAccessChars);
    if (n < title.size() && n > 0 && title.at(n - 1).isHighSurrogate())
        --n;
    QByteArray d;
    put16(d, static_cast<quint16>(n));
    put8(d, 1);
    putUtf16(d, QStringView(title).left(n));
    d.append(kWriteAccessSize - d.size(), ' ');
    record(kWriteAccess, d);
}

// CODEPAGE: the workbook's code page.
void TqelExcelWriter::writeCodepage() {
    record(kCodepage, u16(kCodePage));
}

// DSF: no double stream.
void TqelExcelWriter::writeDsf() {
    record(kDsf, u16(0));
}

// EXCEL9FILE: marks a file saved by a later Excel version.
void TqelExcelWriter::writeExcel9File() {
    record(kExcel9File, QByteArray());
}

// TABID: one sheet identifier per sheet, 1, 2, ...
void TqelExcelWriter::writeTabId(int sheetCount) {
    QByteArray d;
    for (int i = 1; i <= sheetCount; ++i)
        put16(d, static_cast<quint16>(i));
    record(kTabId, d);
}

// FNGROUPCOUNT: number of built-in function groups.
void TqelExcelWriter::writeFnGroupCount() {
    record(kFnGroupCount, u16(14));
}

// WINDOWPROTECT: windows not protected.
void TqelExcelWriter::writeWindowProtect() {
    record(kWindowProtect, u16(0));
}

// PROTECT: workbook not protected.
void TqelExcelWriter::writeProtect() {
    record(kProtect, u16(0));
}

// PASSWORD: no password.
void TqelExcelWriter::writePassword() {
    record(kPassword, u16(0));
}

// PROT4REV: revision log not protected.
void TqelExcelWriter::writeProt4Rev() {
    record(kProt4Rev, u16(0));
}

// PROT4REVPASS: no revision password.
void TqelExcelWriter::writeProt4RevPass() {
    record(kProt4RevPass, u16(0));
}

// WINDOW1: position and size of the workbook window, tab bar settings.
void TqelExcelWriter::writeWindow1() {
    QByteArray d;
    for (quint16 v : {360, 30, 7454, 6240, 0x0038, 0, 0, 1, 600})
        put16(d, v);
    record(kWindow1, d);
}

// BACKUP: no backup copy on save.
void TqelExcelWriter::writeBackup() {
    record(kBackup, u16(0));
}

// HIDEOBJ: show all objects.
void TqelExcelWriter::writeHideObj() {
    record(kHideObj, u16(0));
}

// DATEMODE: dates count from 1900.
void TqelExcelWriter::writeDateMode() {
    record(kDateMode, u16(0));
}

// PRECISION: full precision, not as displayed.
void TqelExcelWriter::writePrecision() {
    record(kPrecision, u16(1));
}

// REFRESHALL: no refresh of external data on load.
void TqelExcelWriter::writeRefreshAll() {
    record(kRefreshAll, u16(0));
}

// BOOKBOOL: save external link values.
void TqelExcelWriter::writeBookBool() {
    record(kBookBool, u16(0));
}

// FONT: height, options, colour, weight (1000 bold, 100 regular), underline, family, charset
// and name.
void TqelExcelWriter::writeFont(const TqelXLSFont& font) {
    const int height = std::clamp(font.size, 1, 409) * 20;
    quint16 options = 0;
    if (font.style & TqelXLSFont::Italic)
        options |= 0x0002;
    if (font.style & TqelXLSFont::StrikeOut)
        options |= 0x0008;
    QByteArray d;
    put16(d, static_cast<quint16>(height));
    put16(d, options);
    put16(d, m_palette->map(font.color));
    put16(d, (font.style & TqelXLSFont::Bold) ? 1000 : 100);
    put16(d, 0); // escapement
    put8(d, (font.style & TqelXLSFont::Underline) ? 1 : 0);
    put8(d, font.pitch);
    put8(d, font.charset);
    put8(d, 0);
    // A font without a name would leave readers guessing; it is written as the default font.
    const QString name = font.name.isEmpty() ? QStringLiteral("Arial") : font.name;
    put8(d, static_cast<quint8>(name.size()));
    put8(d, 1);
    putUtf16(d, name);
    record(kFont, d);
}

// FORMAT: a number format with its index.
void TqelExcelWriter::writeFormat(quint16 index, const QString& text) {
    QByteArray d;
    put16(d, index);
    put16(d, static_cast<quint16>(text.size()));
    put8(d, 1);
    putUtf16(d, text);
    record(kFormat, d);
}

// XF: one extended format, 20 bytes as prepared.
void TqelExcelWriter::writeXf(const XfBytes& xf) {
    record(kXf, QByteArray(reinterpret_cast<const char*>(xf.data()), 20));
}

// STYLE: a built-in cell style bound to a style XF.
void TqelExcelWriter::writeStyle(quint16 xf, quint8 builtIn) {
    QByteArray d;
    put16(d, static_cast<quint16>(xf | 0x8000));
    put8(d, builtIn);
    put8(d, 0xFF);
    record(kStyle, d);
}

// PALETTE: the 56 colours as red, green, blue, 0.
void TqelExcelWriter::writePalette() {
    QByteArray d;
    put16(d, XlsPalette::Size);
    for (int i = 0; i < XlsPalette::Size; ++i) {
        const quint32 c = m_palette->entry(i);
        put8(d, static_cast<quint8>(c & 0xFF));
        put8(d, static_cast<quint8>((c >> 8) & 0xFF));
        put8(d, static_cast<quint8>((c >> 16) & 0xFF));
        put8(d, 0);
    }
    record(kPalette, d);
}

// USESELFS: no natural-language formulas.
void TqelExcelWriter::writeUsesElfs() {
    record(kUsesElfs, u16(0));
}

// BOUNDSHEET: the sheet's BOF position (patched once the sheet is written), type and name.
void TqelExcelWriter::writeBoundSheet(const TqelXLSWorksheet& sheet) {
    QByteArray d;
    put32(d, 0);
    put16(d, 0);
    put8(d, static_cast<quint8>(sheet.Name().size()));
    put8(d, 1);
    putUtf16(d, sheet.Name());
    m_boundSheetPos.push_back(m_stream->pos() + 4);
    record(kBoundSheet, d);
}

// COUNTRY: user interface and system country (China).
void TqelExcelWriter::writeCountry() {
    QByteArray d;
    put16(d, 86);
    put16(d, 86);
    record(kCountry, d);
}

// SST and its CONTINUE records: every text cell's string, in cell order, not merged. A string
// header is never split; characters that do not fit go on in a CONTINUE record that begins
// with the option byte again.
void TqelExcelWriter::writeSst(const TqelXLSWorkbook& workbook) {
    m_bucketSize = std::max(kMinBucketSize, (m_stringCount + kMaxBuckets - 1) / kMaxBuckets);
    constexpr size_t kRoom = XlsRecordStream::MaxRecordData;
    std::vector<char> data(kRoom);
    size_t used = 0;
    quint16 id = kSst;
    quint64 recordPos = m_stream->pos();
    auto flushRecord = [&] {
        m_stream->record(id, data.data(), used);
        used = 0;
        id = kContinue;
        recordPos = m_stream->pos();
    };
    le32(le32(data.data(), m_stringCount), m_stringCount);
    used = 8;
    quint32 index = 0;
    QString converted;
    for (int s = 0; s < workbook.SheetCount(); ++s) {
        const std::vector<quint32>& strings = m_sst[static_cast<size_t>(s)];
        size_t r = 0;
        for (const TqelXLSRange& range : workbook.Sheet(s).Ranges()) {
            if (strings[r++] == NoString)
                continue;
            QStringView text = range.Text();
            if (!range.HoldsText()) {
                converted = range.ValueText();
                text = converted;
            }
            if (kRoom - used <= 4)
                flushRecord();
            if (index % m_bucketSize == 0)
                m_extSst.emplace_back(recordPos + 4 + used, static_cast<quint16>(4 + used));
            ++index;
            char* p = le16(data.data() + used, static_cast<quint16>(text.size()));
            *p = 1; // uncompressed UTF-16
            used += 3;
            const char16_t* src = reinterpret_cast<const char16_t*>(text.utf16());
            size_t left = static_cast<size_t>(text.size());
            for (;;) {
                const size_t take = std::min((kRoom - used) / 2, left);
                copyUtf16(data.data() + used, src, take);
                used += take * 2;
                src += take;
                left -= take;
                if (!left)
                    break;
                flushRecord();
                data[0] = 1; // the continued characters, again uncompressed
                used = 1;
            }
        }
    }
    flushRecord();
}

// EXTSST: strings per bucket, then for each bucket's first string its stream position and its
// offset inside the record holding it.
void TqelExcelWriter::writeExtSst() {
    QByteArray d;
    put16(d, static_cast<quint16>(m_bucketSize));
    for (const auto& [pos, offset] : m_extSst) {
        put32(d, static_cast<quint32>(pos));
        put16(d, offset);
        put16(d, 0);
    }
    record(kExtSst, d);
}

// EOF: end of the globals or of a sheet.
void TqelExcelWriter::writeEof() {
    record(kEof, QByteArray());
}

// ============================================================================================
// Sheets
// ============================================================================================

void TqelExcelWriter::writeSheet(const TqelXLSWorksheet& sheet, int sheetNo) {
    const quint64 bofPos = m_stream->pos();
    m_sheetBofPos.push_back(bofPos);
    m_clipped.clear();
    char pos[4];
    le32(pos, static_cast<quint32>(bofPos));
    m_stream->patch(m_boundSheetPos[static_cast<size_t>(sheetNo)], pos, 4);

    writeBof(0x0010);
    writeIndex(sheet);
    writeCalcMode();
    writeCalcCount();
    writeRefMode();
    writeIteration();
    writeDelta();
    writeSaveRecalc();
    writePrintHeaders(sheet);
    writePrintGridlines(sheet);
    writeGridSet();
    writeGuts();
    writeDefaultRowHeight();
    if (!m_pageBreaks[static_cast<size_t>(sheetNo)].isEmpty())
        writeHorizontalPageBreaks(sheetNo);
    writeWsBool();
    writeHeader(sheet);
    writeFooter(sheet);
    writeHCenter(sheet);
    writeVCenter(sheet);
    writeMargins(sheet);
    writeSetup(sheet);
    writeDefColWidth();
    writeColInfo(sheet);
    writeDimensions(sheet);
    writeRowBlocks(sheet, sheetNo);
    for (int i = 0; i < sheet.Images().Count(); ++i) {
        writeObj(sheet, i, sheetNo);
        writeImData(sheet, i);
    }
    writeWindow2(sheetNo);
    writeSelection();
    writeMergedCells(sheet, sheetNo);
    writeEof();
}

// INDEX: the used rows and, patched after the cell blocks, the position of each DBCELL.
void TqelExcelWriter::writeIndex(const TqelXLSWorksheet& sheet) {
    const TqelXLSBounds& b = sheet.Bounds();
    const bool rows = b.minRow >= 0;
    const int blocks = rows ? (b.maxRow - b.minRow) / RowsPerBlock + 1 : 0;
    QByteArray d;
    put32(d, 0);
    put32(d, rows ? static_cast<quint32>(b.minRow) : 0);
    put32(d, rows ? static_cast<quint32>(b.maxRow + 1) : 0);
    put32(d, 0);
    for (int i = 0; i < blocks; ++i)
        put32(d, 0);
    m_indexPos = m_stream->pos();
    m_dbCellPos.clear();
    record(kIndex, d);
}

// CALCMODE: automatic calculation.
void TqelExcelWriter::writeCalcMode() {
    record(kCalcMode, u16(1));
}

// CALCCOUNT: iteration limit.
void TqelExcelWriter::writeCalcCount() {
    record(kCalcCount, u16(100));
}

// REFMODE: A1 references.
void TqelExcelWriter::writeRefMode() {
    record(kRefMode, u16(1));
}

// ITERATION: no iteration.
void TqelExcelWriter::writeIteration() {
    record(kIteration, u16(0));
}

// DELTA: largest change for iteration, 0.001.
void TqelExcelWriter::writeDelta() {
    QByteArray d;
    putDouble(d, 0.001);
    record(kDelta, d);
}

// SAVERECALC: recalculate before saving.
void TqelExcelWriter::writeSaveRecalc() {
    record(kSaveRecalc, u16(1));
}

// PRINTHEADERS: print row and column headings.
void TqelExcelWriter::writePrintHeaders(const TqelXLSWorksheet& sheet) {
    record(kPrintHeaders, u16(sheet.PageSetup().printHeaders ? 1 : 0));
}

// PRINTGRIDLINES: print the grid.
void TqelExcelWriter::writePrintGridlines(const TqelXLSWorksheet& sheet) {
    record(kPrintGridlines, u16(sheet.PageSetup().printGridLines ? 1 : 0));
}

// GRIDSET: the grid-print option has been set.
void TqelExcelWriter::writeGridSet() {
    record(kGridSet, u16(1));
}

// GUTS: no outline gutters.
void TqelExcelWriter::writeGuts() {
    record(kGuts, QByteArray(8, '\0'));
}

// DEFAULTROWHEIGHT: flags and the default height of 255 twips.
void TqelExcelWriter::writeDefaultRowHeight() {
    QByteArray d;
    put16(d, 0);
    put16(d, 255);
    record(kDefaultRowHeight, d);
}

// HORIZONTALPAGEBREAKS: a break before each listed row, across all columns.
void TqelExcelWriter::writeHorizontalPageBreaks(int sheetNo) {
    const QList<int>& breaks = m_pageBreaks[static_cast<size_t>(sheetNo)];
    QByteArray d;
    put16(d, static_cast<quint16>(breaks.size()));
    for (int row : breaks) {
        put16(d, static_cast<quint16>(row));
        put16(d, 0);
        put16(d, 255);
    }
    record(kHorizontalPageBreaks, d);
}

// WSBOOL: sheet options (automatic page breaks shown, outline symbols).
void TqelExcelWriter::writeWsBool() {
    record(kWsBool, u16(0x04C1));
}

namespace {
QString headerFooterText(const QString& l, const QString& c, const QString& r) {
    QString t;
    if (!l.isEmpty())
        t += QStringLiteral("&L") + l;
    if (!c.isEmpty())
        t += QStringLiteral("&C") + c;
    if (!r.isEmpty())
        t += QStringLiteral("&R") + r;
    return t;
}

QByteArray unicodeString16(const QString& t) {
    QByteArray d;
    if (t.isEmpty())
        return d;
    put16(d, static_cast<quint16>(t.size()));
    put8(d, 1);
    putUtf16(d, t);
    return d;
}
} // namespace

// HEADER: the page header's left, centre and right parts; empty record when there is none.
void TqelExcelWriter::writeHeader(const TqelXLSWorksheet& sheet) {
    const TqelXLSPageSetup& ps = sheet.PageSetup();
    record(kHeader,
           unicodeString16(headerFooterText(ps.headerLeft, ps.headerCenter, ps.headerRight)));
}

// FOOTER: the same for the page footer.
void TqelExcelWriter::writeFooter(const TqelXLSWorksheet& sheet) {
    const TqelXLSPageSetup& ps = sheet.PageSetup();
    record(kFooter,
           unicodeString16(headerFooterText(ps.footerLeft, ps.footerCenter, ps.footerRight)));
}

// HCENTER: centre the print horizontally.
void TqelExcelWriter::writeHCenter(const TqelXLSWorksheet& sheet) {
    record(kHCenter, u16(sheet.PageSetup().centerHorizontally ? 1 : 0));
}

// VCENTER: centre the print vertically.
void TqelExcelWriter::writeVCenter(const TqelXLSWorksheet& sheet) {
    record(kVCenter, u16(sheet.PageSetup().centerVertically ? 1 : 0));
}

// LEFTMARGIN, RIGHTMARGIN, TOPMARGIN, BOTTOMMARGIN: page margins in inches.
void TqelExcelWriter::writeMargins(const TqelXLSWorksheet& sheet) {
    const TqelXLSPageSetup& ps = sheet.PageSetup();
    const std::pair<quint16, double> margins[] = {{kLeftMargin, ps.leftMargin},
                                                  {kRightMargin, ps.rightMargin},
                                                  {kTopMargin, ps.topMargin},
                                                  {kBottomMargin, ps.bottomMargin}};
    for (const auto& [id, value] : margins) {
        QByteArray d;
        putDouble(d, value);
        record(id, d);
    }
}

// SETUP: paper, scale, first page number, fit-to-pages, options, header and footer margins,
// copies.
void TqelExcelWriter::writeSetup(const TqelXLSWorksheet& sheet) {
    const TqelXLSPageSetup& ps = sheet.PageSetup();
    quint16 options = 0;
    if (ps.leftToRight)
        options |= 0x0001;
    if (!ps.landscape)
        options |= 0x0002;
    if (ps.blackAndWhite)
        options |= 0x0008;
    if (ps.draft)
        options |= 0x0010;
    if (ps.printNotes)
        options |= 0x0020;
    if (ps.firstPageNumber != 1)
        options |= 0x0080;
    QByteArray d;
    put16(d, static_cast<quint16>(ps.paperSize));
    put16(d, static_cast<quint16>(ps.scalePercent));
    put16(d, static_cast<quint16>(ps.firstPageNumber));
    put16(d, static_cast<quint16>(ps.fitWidth));
    put16(d, static_cast<quint16>(ps.fitHeight));
    put16(d, options);
    put16(d, 0);
    put16(d, 0);
    putDouble(d, ps.headerMargin);
    putDouble(d, ps.footerMargin);
    put16(d, static_cast<quint16>(ps.copies));
    record(kSetup, d);
}

// DEFCOLWIDTH: default column width of 8 characters.
void TqelExcelWriter::writeDefColWidth() {
    record(kDefColWidth, u16(8));
}

// COLINFO: one record per column object, in column order (readers expect them ascending).
void TqelExcelWriter::writeColInfo(const TqelXLSWorksheet& sheet) {
    std::vector<const TqelXLSCol*> columns;
    for (const TqelXLSCol& c : sheet.Columns())
        columns.push_back(&c);
    std::stable_sort(columns.begin(), columns.end(), [](const TqelXLSCol* a, const TqelXLSCol* b) {
        return a->Index() < b->Index();
    });
    for (const TqelXLSCol* c : columns) {
        QByteArray d;
        put16(d, static_cast<quint16>(c->Index()));
        put16(d, static_cast<quint16>(c->Index()));
        put16(d, static_cast<quint16>(c->Width()));
        put16(d, 0);
        put16(d, 0);
        put8(d, 0);
        record(kColInfo, d);
    }
}

// DIMENSIONS: the used area, last row and column exclusive.
void TqelExcelWriter::writeDimensions(const TqelXLSWorksheet& sheet) {
    const TqelXLSBounds& b = sheet.Bounds();
    const bool rows = b.minRow >= 0;
    const bool cols = b.minColumn >= 0;
    QByteArray d;
    put32(d, rows ? static_cast<quint32>(b.minRow) : 0);
    put32(d, rows ? static_cast<quint32>(b.maxRow + 1) : 0);
    put16(d, cols ? static_cast<quint16>(b.minColumn) : 0);
    put16(d, cols ? static_cast<quint16>(b.maxColumn + 1) : 0);
    put16(d, 0);
    record(kDimensions, d);
}

// The used rows in blocks of 60: the block's ROW records, then its cell records, then a
// DBCELL. Ranges that overlap an earlier cell of the same row give that cell up, so every
// row holds each column at most once and in ascending order.
namespace {
// The ranges in order of their top row, creation order among ranges of one row (a counting
// sort); empty when the creation order is that order already, as it is when a producer fills
// the sheet row by row.
std::vector<quint32> rangesByTop(const XlsChunkedList<TqelXLSRange>& ranges,
                                 const TqelXLSBounds& b) {
    const size_t n = ranges.size();
    bool inOrder = true;
    for (size_t i = 1; i < n && inOrder; ++i)
        inOrder = ranges[i - 1].Rect().top <= ranges[i].Rect().top;
    if (inOrder)
        return {};
    std::vector<quint32> byTop(n);
    std::vector<quint32> start(static_cast<size_t>(b.maxRow - b.minRow + 1) + 1, 0);
    for (const TqelXLSRange& r : ranges)
        ++start[static_cast<size_t>(r.Rect().top - b.minRow) + 1];
    for (size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    for (size_t i = 0; i < n; ++i)
        byTop[start[static_cast<size_t>(ranges[i].Rect().top - b.minRow)]++] =
            static_cast<quint32>(i);
    return byTop;
}
} // namespace

void TqelExcelWriter::writeRowBlocks(const TqelXLSWorksheet& sheet, int sheetNo) {
    const TqelXLSBounds& b = sheet.Bounds();
    if (b.minRow < 0)
        return;
    const std::vector<quint32>& strings = m_sst[static_cast<size_t>(sheetNo)];
    const XlsChunkedList<TqelXLSRange>& ranges = sheet.Ranges();
    const size_t n = ranges.size();
    m_clipped.assign(n, 0);
    const std::vector<quint32> byTop = rangesByTop(ranges, b);
    auto topOrder = [&byTop](size_t k) {
        return byTop.empty() ? static_cast<quint32>(k) : byTop[k];
    };
    size_t next = 0;
    std::vector<quint32> active;
    std::vector<char> cells;
    std::vector<int> cellStarts;
    for (int blockStart = b.minRow; blockStart <= b.maxRow; blockStart += RowsPerBlock) {
        const int blockEnd = std::min(b.maxRow, blockStart + RowsPerBlock - 1);
        const quint64 firstRowPos = m_stream->pos();
        cells.clear();
        cellStarts.clear();
        for (int row = blockStart; row <= blockEnd; ++row) {
            while (next < n && ranges[topOrder(next)].Rect().top <= row)
                active.push_back(topOrder(next++));
            active.erase(std::remove_if(active.begin(), active.end(),
                                        [&](quint32 r) { return ranges[r].Rect().bottom < row; }),
                         active.end());
            const auto byLeft = [&](quint32 x, quint32 y) {
                const int lx = ranges[x].Rect().left, ly = ranges[y].Rect().left;
                return lx != ly ? lx < ly : x < y;
            };
            if (!std::is_sorted(active.begin(), active.end(), byLeft))
                std::sort(active.begin(), active.end(), byLeft);
            int first = 0, lastPlusOne = 0;
            if (!active.empty()) {
                first = ranges[active.front()].Rect().left;
                for (quint32 r : active)
                    lastPlusOne = std::max(lastPlusOne, ranges[r].Rect().right + 1);
            }
            writeRow(row, first, lastPlusOne, sheet);

            cellStarts.push_back(static_cast<int>(cells.size()));
            int lastColumn = -1;
            for (quint32 r : active) {
                const TqelXLSRange& range = ranges[r];
                const TqelXLSRect& rect = range.Rect();
                const quint16 xf = xfOf(range);
                int blankFrom = rect.left;
                if (row == rect.top) {
                    blankFrom = rect.left + 1;
                    if (rect.left > lastColumn) {
                        writeValueCell(cells, range, xf, strings[r], row, rect.left);
                        lastColumn = rect.left;
                    } else {
                        m_clipped[r] = 1;
                    }
                }
                if (blankFrom <= lastColumn) {
                    m_clipped[r] = 1;
                    blankFrom = lastColumn + 1;
                }
                if (blankFrom > rect.right)
                    continue;
                if (blankFrom == rect.right)
                    writeBlank(cells, row, blankFrom, xf);
                else
                    writeMulBlank(cells, row, blankFrom, rect.right, xf);
                lastColumn = rect.right;
            }
        }
        m_stream->write(cells.data(), cells.size());
        writeDbCell(firstRowPos, blockEnd - blockStart + 1, cellStarts);
    }
    // The block positions are known now: fill them into the INDEX record.
    QByteArray positions;
    for (quint64 p : m_dbCellPos)
        put32(positions, static_cast<quint32>(p));
    m_stream->patch(m_indexPos + 4 + 16, positions.constData(),
                    static_cast<size_t>(positions.size()));
}

// ROW: the row's column span, height (the row object's, else the default 255), flags and XF.
void TqelExcelWriter::writeRow(int row, int firstColumn, int lastColumnPlusOne,
                               const TqelXLSWorksheet& sheet) {
    const TqelXLSRow* rowObject = sheet.FindRow(row);
    const int height = rowObject ? std::clamp(rowObject->Height(), 0, MaxRowHeight) : 255;
    char d[kRowRecordSize];
    char* p = le16(d, kRow);
    p = le16(p, 16);
    p = le16(p, static_cast<quint16>(row));
    p = le16(p, static_cast<quint16>(firstColumn));
    p = le16(p, static_cast<quint16>(lastColumnPlusOne));
    p = le16(p, static_cast<quint16>(height));
    p = le16(p, 0);
    p = le16(p, 0);
    p = le16(p, rowObject ? 0x0040 : 0);
    le16(p, 0);
    m_stream->write(d, sizeof d);
}

// The value record of a range's top-left cell: a number for numeric values and for texts that
// look like numbers, the shared string otherwise, a blank cell for an empty text.
void TqelExcelWriter::writeValueCell(std::vector<char>& cells, const TqelXLSRange& range,
                                     quint16 xf, quint32 sst, int row, int column) {
    if (sst == NoString) {
        if (range.CellKind() == TqelXLSRange::Kind::Number)
            writeNumber(cells, row, column, xf, range.NumberValue());
        else
            writeBlank(cells, row, column, xf);
        return;
    }
    double number;
    if (range.HoldsText() ? looksLikeNumber(range.Text(), number)
                          : looksLikeNumber(range.ValueText(), number))
        writeNumber(cells, row, column, xf, number);
    else
        writeLabelSst(cells, row, column, xf, sst);
}

// NUMBER: row, column, XF and a 64-bit floating-point value.
void TqelExcelWriter::writeNumber(std::vector<char>& cells, int row, int column, quint16 xf,
                                  double value) {
    char d[18];
    char* p = le16(d, kNumber);
    p = le16(p, 14);
    p = le16(p, static_cast<quint16>(row));
    p = le16(p, static_cast<quint16>(column));
    p = le16(p, xf);
    quint64 bits;
    std::memcpy(&bits, &value, 8);
    p = le32(p, static_cast<quint32>(bits));
    le32(p, static_cast<quint32>(bits >> 32));
    cells.insert(cells.end(), d, d + sizeof d);
}

// LABELSST: row, column, XF and the shared-string index.
void TqelExcelWriter::writeLabelSst(std::vector<char>& cells, int row, int column, quint16 xf,
                                    quint32 sst) {
    char d[14];
    char* p = le16(d, kLabelSst);
    p = le16(p, 10);
    p = le16(p, static_cast<quint16>(row));
    p = le16(p, static_cast<quint16>(column));
    p = le16(p, xf);
    le32(p, sst);
    cells.insert(cells.end(), d, d + sizeof d);
}

// BLANK: one formatted empty cell.
void TqelExcelWriter::writeBlank(std::vector<char>& cells, int row, int column, quint16 xf) {
    char d[10];
    char* p = le16(d, kBlank);
    p = le16(p, 6);
    p = le16(p, static_cast<quint16>(row));
    p = le16(p, static_cast<quint16>(column));
    le16(p, xf);
    cells.insert(cells.end(), d, d + sizeof d);
}

// MULBLANK: a run of formatted empty cells of one row.
void TqelExcelWriter::writeMulBlank(std::vector<char>& cells, int row, int firstColumn,
                                    int lastColumn, quint16 xf) {
    const int count = lastColumn - firstColumn + 1;
    const int size = 6 + 2 * count;
    const size_t at = cells.size();
    cells.resize(at + 4 + static_cast<size_t>(size));
    char* p = cells.data() + at;
    p = le16(p, kMulBlank);
    p = le16(p, static_cast<quint16>(size));
    p = le16(p, static_cast<quint16>(row));
    p = le16(p, static_cast<quint16>(firstColumn));
    for (int i = 0; i < count; ++i)
        p = le16(p, xf);
    le16(p, static_cast<quint16>(lastColumn));
}

// DBCELL: the way back from here to the block's first ROW record, then where each row's
// cells begin (the first relative to the block's second ROW record, each further one relative
// to the previous row's first cell).
void TqelExcelWriter::writeDbCell(quint64 firstRowPos, int rowCount,
                                  const std::vector<int>& cellStarts) {
    const quint64 dbCellPos = m_stream->pos();
    m_dbCellPos.push_back(dbCellPos);
    QByteArray d;
    put32(d, static_cast<quint32>(dbCellPos - firstRowPos));
    const quint64 cellsPos = firstRowPos + static_cast<quint64>(rowCount) * kRowRecordSize;
    quint64 previous = firstRowPos + kRowRecordSize;
    for (int start : cellStarts) {
        const quint64 here = cellsPos + static_cast<quint64>(start);
        put16(d, static_cast<quint16>(here - previous));
        previous = here;
    }
    record(kDbCell, d);
}

// OBJ: a picture object with its cell anchors and colours.
void TqelExcelWriter::writeObj(const TqelXLSWorksheet& sheet, int imageNo, int sheetNo) {
    const TqelImage& im = sheet.Images().At(imageNo);
    const auto& colors =
        m_pictureColors[static_cast<size_t>(sheetNo)][static_cast<size_t>(imageNo)];
    QByteArray d;
    put32(d, static_cast<quint32>(sheet.Images().Count()));
    put16(d, 8); // picture
    put16(d, static_cast<quint16>(imageNo + 1));
    put16(d, 0x0614);
    put16(d, static_cast<quint16>(im.anchorColumn));
    put16(d, static_cast<quint16>(std::clamp(im.anchorX, 0, 1023)));
    put16(d, static_cast<quint16>(im.anchorRow));
    put16(d, static_cast<quint16>(std::clamp(im.anchorY, 0, 255)));
    put16(d, static_cast<quint16>(im.endColumn));
    put16(d, static_cast<quint16>(std::clamp(im.endX, 0, 1023)));
    put16(d, static_cast<quint16>(im.endRow));
    put16(d, static_cast<quint16>(std::clamp(im.endY, 0, 255)));
    put16(d, 0);
    d.append(6, '\0');
    put8(d, static_cast<quint8>(colors[2])); // background
    put8(d, static_cast<quint8>(colors[1])); // foreground
    put8(d, 1);
    put8(d, 0);
    put8(d, static_cast<quint8>(colors[0])); // line
    put8(d, im.lineStyle);
    put8(d, im.lineWeight);
    put8(d, 0);
    put16(d, 0);
    put16(d, 2);
    d.append(14, '\0');
    record(kObj, d);
}

// IMDATA: the picture as an enhanced metafile (format 2, Windows environment).
void TqelExcelWriter::writeImData(const TqelXLSWorksheet& sheet, int imageNo) {
    const QByteArray emf = EmfBitmapPicture::encode(*sheet.Images().At(imageNo).Picture());
    QByteArray d;
    d.reserve(8 + emf.size());
    put16(d, 2);
    put16(d, 1);
    put32(d, static_cast<quint32>(emf.size()));
    d += emf;
    record(kImData, d);
}

// WINDOW2: sheet window options; the first sheet is the selected one.
void TqelExcelWriter::writeWindow2(int sheetNo) {
    QByteArray d;
    put16(d, sheetNo == 0 ? 0x04B6 | 0x0200 : 0x04B6);
    put16(d, 0);
    put16(d, 0);
    put32(d, 64);
    put16(d, 0);
    put16(d, 0);
    put32(d, 0);
    record(kWindow2, d);
}

// SELECTION: the cursor in A1.
void TqelExcelWriter::writeSelection() {
    QByteArray d;
    put8(d, 3);
    put16(d, 0);
    put16(d, 0);
    put16(d, 0);
    put16(d, 1);
    put16(d, 0);
    put16(d, 0);
    put8(d, 0);
    put8(d, 0);
    record(kSelection, d);
}

// MERGEDCELLS: the merged areas in range order, at most 1027 per record. A range that had to
// give up cells to an overlapping one is not merged, so merged areas never overlap.
void TqelExcelWriter::writeMergedCells(const TqelXLSWorksheet& sheet, int sheetNo) {
    const auto& ranges = sheet.Ranges();
    std::vector<const TqelXLSRect*> merged;
    for (quint32 r : m_merged[static_cast<size_t>(sheetNo)])
        if (r >= m_clipped.size() || !m_clipped[r])
            merged.push_back(&ranges[r].Rect());
    for (size_t at = 0; at < merged.size(); at += MaxMergedPerRecord) {
        const size_t count = std::min<size_t>(MaxMergedPerRecord, merged.size() - at);
        QByteArray d;
        put16(d, static_cast<quint16>(count));
        for (size_t k = at; k < at + count; ++k) {
            put16(d, static_cast<quint16>(merged[k]->top));
            put16(d, static_cast<quint16>(merged[k]->bottom));
            put16(d, static_cast<quint16>(merged[k]->left));
            put16(d, static_cast<quint16>(merged[k]->right));
        }
        record(kMergedCells, d);
    }
}

} // namespace kestrane::xls
