#include "report/TRMViewStream.h"

#include "report/TRMBandView.h"
#include "report/TRMCalcMemoView.h"
#include "report/TRMCheckBoxView.h"
#include "report/TRMMemoView.h"
#include "report/TRMPictureView.h"
#include "report/TRMRichView.h"
#include "report/TRMShapeView.h"
#include "report/TRMStreamReader.h"
#include "report/TRMStreamWriter.h"
#include "report/TRMSubReportView.h"

#include <cmath>

namespace kestrane::report {

namespace {

// Strings and string lists of versions below 23 use the old zero-ended encodings.
QString str(TRMStreamReader& r, int v, const char* what = "string") {
    return v < 23 ? r.oldString(what) : r.string(what);
}

QStringList strList(TRMStreamReader& r, int v, const char* what = "string list") {
    return v < 23 ? r.oldStringList(what) : r.stringList(what);
}

void readFrameLine(TRMStreamReader& r, TRMFrameLine& line) {
    line.Visible = r.u8("frame line") != 0;
    line.Style = r.u8("frame style");
    line.Color = r.i32("frame colour");
    line.Width = r.i32("frame width") / 1000.0;
}

void writeFrameLine(TRMStreamWriter& w, const TRMFrameLine& line) {
    w.u8(line.Visible ? 1 : 0);
    w.u8(uint8_t(line.Style));
    w.i32(line.Color);
    w.i32(int32_t(std::lround(line.Width * 1000.0)));
}

bool isMemoFamily(const TRMView& view) {
    return qobject_cast<const TRMMemoView*>(&view) != nullptr;
}

} // namespace

int TRMViewStream::classVersionOf(const TRMView& view) {
    return isMemoFamily(view) ? kMemoClassVersion : 0;
}

// --- reading -----------------------------------------------------------------------------

void TRMViewStream::readOldFrame(TRMStreamReader&, TRMView& view, uint16_t frameType, double width,
                                 int32_t color, uint16_t style) {
    view.setFrameTyp(frameType & 0x0F);
    view.setFrameWidth(width);
    view.setFrameColor(color);
    view.setFrameStyle(style);
    if (qobject_cast<TRMBandView*>(&view))
        view.BandKindWord = frameType;
    else
        view.BandKindWord = uint16_t(((frameType & 0x20) ? 1 : 0) | ((frameType & 0x40) ? 2 : 0));
}

void TRMViewStream::readOldCommon(TRMStreamReader& r, TRMView& view, int v, Mode mode) {
    if (v == 24 || (mode == Template && v == 23))
        view.setObjectName(str(r, v, "view name"));
    view.Left = r.i32("left");
    view.Top = r.i32("top");
    view.Width = r.i32("width");
    view.Height = r.i32("height");
    view.Flags = r.u16("flags");
    const uint16_t frameType = r.u16("frame type");
    const double width = r.f32("frame width");
    const int32_t color = r.i32("frame colour");
    const uint16_t style = r.u16("frame style");
    readOldFrame(r, view, frameType, std::isfinite(width) ? width : 1.0, color, style);
    view.FillColor = r.i32("fill colour");
    if (v > 23) {
        view.GapX = r.i32("gap x");
        view.GapY = r.i32("gap y");
    }
    if (mode == Template) {
        view.FormatWord = uint32_t(r.i32("format word"));
        view.FormatString = str(r, v, "format string");
    }
    view.Memo = strList(r, v, "memo");
    if (mode == Template && v > 22) {
        view.OnBeforePrint = strList(r, v, "script");
        view.Visible = r.u16("visible") != 0;
    }
}

TRMViewStream::Versions TRMViewStream::readCommon(TRMStreamReader& r, TRMView& view, int v,
                                                  Mode mode) {
    Versions ver;
    ver.v = v;
    if (v < 25) {
        readOldCommon(r, view, v, mode);
        return ver;
    }
    view.setObjectName(r.string("view name"));
    if (v > 28) {
        ver.r1 = r.u8("record version");
        ver.r2 = r.u8("class version");
    }
    view.Left = r.i32("left");
    view.Top = r.i32("top");
    view.Width = r.i32("width");
    view.Height = r.i32("height");
    view.Flags = r.u16("flags");
    if (ver.r1 > 9)
        view.Flags2 = r.i32("second flag word");
    if (v * 100 + ver.r1 * 10 > 3829) {
        readFrameLine(r, view.LeftFrame);
        readFrameLine(r, view.TopFrame);
        readFrameLine(r, view.RightFrame);
        readFrameLine(r, view.BottomFrame);
        view.BandKindWord = r.u16("band kind");
        view.GapX = r.i32("gap x");
        view.GapY = r.i32("gap y");
    } else {
        const uint16_t frameType = r.u16("frame type");
        double width = 1.0;
        if (v < 30) {
            width = r.f32("frame width");
        } else {
            bool ok = false;
            width = r.string("frame width").trimmed().replace(u',', u'.').toDouble(&ok);
            if (!ok)
                width = 1.0;
        }
        const int32_t color = r.i32("frame colour");
        r.skip(2);
        const uint16_t style = r.u16("frame style");
        readOldFrame(r, view, frameType, std::isfinite(width) ? width : 1.0, color, style);
        view.GapX = r.i32("gap x");
        view.GapY = r.u16("gap y");
    }
    view.FillColor = r.i32("fill colour");
    if (v > 27)
        view.BandAlign = r.u8("band align");
    if (mode == Template) {
        view.FormatWord = uint32_t(r.i32("format word"));
        view.FormatString = r.string("format string");
    }
    view.Memo = r.stringList("memo");
    if (mode == Template && v > 22)
        view.OnBeforePrint = r.stringList("OnBeforePrint script");
    if (mode == Template && v > 25)
        view.OnAfterPrint = r.stringList("OnAfterPrint script");
    if (mode == Template && v > 22)
        view.Visible = r.u16("visible") != 0;
    if (v > 28) {
        view.KeptWord = r.u16("kept word");
        view.Tag = r.string("tag");
    }
    return ver;
}

void TRMViewStream::readMemoPart(TRMStreamReader& r, TRMMemoView& memo, const Versions& ver,
                                 Mode mode) {
    const int v = ver.v;
    memo.Font.Name = str(r, v, "font name");
    memo.Font.Size = r.i32("font size");
    memo.Font.Style = r.u16("font style");
    memo.Font.Color = r.i32("font colour");
    int32_t align = r.i32("alignment");
    memo.Font.Charset = v < 23 ? 134 : r.u16("character set");
    if (mode == Template) {
        memo.Highlight.FontStyle = r.u16("highlight style");
        memo.Highlight.FontColor = r.i32("highlight font colour");
        memo.Highlight.FillColor = r.i32("highlight fill colour");
        memo.Highlight.Condition = str(r, v, "highlight condition");
    } else if (v < 29) {
        r.skip(1);
    }
    if (v > 23) {
        memo.CharSpacing = r.i32("character spacing");
        memo.LineSpacing = r.i32("line spacing");
    }
    if (ver.r1 >= 10) {
        memo.RotationType = r.u8("rotation");
    } else {
        memo.RotationType = (align & 4) ? rt90 : rtNone;
        align &= ~4;
    }
    if (ver.r2 > 9)
        memo.ScaleFontType = r.u8("scale font type");
    if (ver.r2 > 10)
        memo.FontScaleWidth = r.u16("font scale width");
    if (ver.r2 > 11)
        memo.MasterMemoView = r.string("master memo");
    memo.setAlignmentWord(align);
    if (v == 21)
        memo.setFlag(flWordWrap, true);
    if (mode == Template) {
        // Older designers numbered the format categories differently.
        if (v < 32)
            memo.FormatWord += 3;
        else if (v == 32)
            memo.FormatWord += 2;
    }
}

void TRMViewStream::readBandPart(TRMStreamReader& r, TRMBandView& band, const Versions& ver) {
    const int v = ver.v;
    if (v > 23) {
        band.ChildBand = r.string("child band");
        band.ColumnGap = r.i32("column gap");
        band.setColumns(r.i32("columns"));
        band.ColumnWidth = r.i32("column width");
    }
    if (v > 28)
        band.Master = r.string("master");
    const int c = ver.combined();
    if (c > 3600)
        band.LinesPerPage = r.u16("lines per page");
    if (c > 3701) {
        band.RangeBegin = r.u8("range begin");
        band.RangeEnd = r.u8("range end");
        band.RangeEndCount = r.i32("range end count");
    }
    if (c < 3700)
        band.setFlag(flBandPrintColFirst, true);
    if (c <= 3701) {
        const bool autoAppend = band.Flags & 0x1000;
        band.setFlag(flBandAutoAppendBlank, autoAppend);
        band.Flags &= quint16(~(0x1000 | 0x2000 | 0x4000));
    }
}

void TRMViewStream::readCalcPart(TRMStreamReader& r, TRMCalcMemoView& calc, const Versions& ver) {
    if (ver.r2 > 10)
        calc.ClassVersion = r.u8("calculation record version");
    calc.ResetAfterPrint = r.u8("reset flag") != 0;
    calc.DBCalcType = r.u8("calculation type");
    calc.DataBand = r.string("data band");
    const int c = ver.combined();
    if (c > 3420)
        calc.Filter = r.string("filter");
    if (c > 4000) {
        calc.IntalizeValue = r.string("initial value");
        calc.AggregateValue = r.string("aggregate value");
    }
    if (c <= 3800)
        calc.CalcNoVisible = true;
}

void TRMViewStream::readPicture(TRMStreamReader& r, TRMPicture& picture, int* option) {
    picture.Kind = r.u8("graphic kind");
    if (option)
        *option = r.u8("picture option");
    const qsizetype at = r.pos();
    const int32_t end = r.i32("picture end position");
    r.checkEndPosition(end, at + 4, "picture");
    if (picture.Kind >= gkBitmap && picture.Kind <= gkJpeg) {
        picture.Data = r.bytes(end - r.pos(), "graphic");
    } else {
        // No graphic, or a kind this engine does not know: skipped by its end position.
        picture.Data.clear();
        picture.Kind = gkNone;
        r.seek(end);
    }
}

void TRMViewStream::readClassPart(TRMStreamReader& r, TRMView& view, const Versions& ver,
                                  Mode mode) {
    const int v = ver.v;
    if (auto* calc = qobject_cast<TRMCalcMemoView*>(&view)) {
        readMemoPart(r, *calc, ver, mode);
        readCalcPart(r, *calc, ver);
    } else if (auto* memo = qobject_cast<TRMMemoView*>(&view)) {
        readMemoPart(r, *memo, ver, mode);
    } else if (auto* band = qobject_cast<TRMBandView*>(&view)) {
        readBandPart(r, *band, ver);
    } else if (auto* pic = qobject_cast<TRMPictureView*>(&view)) {
        readPicture(r, pic->Picture, &pic->PictureOption);
    } else if (auto* sub = qobject_cast<TRMSubReportView*>(&view)) {
        sub->SubPage = r.i32("subreport page");
    } else if (auto* rich = qobject_cast<TRMRichView*>(&view)) {
        const bool hasText = r.u8("rich text flag") != 0;
        const qsizetype at = r.pos();
        const int32_t end = r.i32("rich text end position");
        r.checkEndPosition(end, at + 4, "rich text");
        rich->RichText = hasText ? r.bytes(end - r.pos(), "rich text") : QByteArray();
        r.seek(end);
    } else if (auto* check = qobject_cast<TRMCheckBoxView*>(&view)) {
        if (v > 23) {
            check->CheckStyle = r.u8("check style");
            check->CheckColor = r.i32("check colour");
        }
        if (v >= 27 && v <= 28)
            r.skip(1);
    } else if (auto* shape = qobject_cast<TRMShapeView*>(&view)) {
        shape->ShapeType = r.u8("shape type");
        shape->ShapeOption = r.u8("shape option");
    }
    // Lines, regions, diagonals and round rectangles keep nothing beyond the common part.
}

void TRMViewStream::readView(TRMStreamReader& r, TRMView& view, int v, Mode mode) {
    const Versions ver = readCommon(r, view, v, mode);
    readClassPart(r, view, ver, mode);
}

// --- writing -----------------------------------------------------------------------------

void TRMViewStream::writeCommon(TRMStreamWriter& w, const TRMView& view, Mode mode) {
    w.string(view.objectName());
    w.u8(kRecordVersion);
    w.u8(uint8_t(classVersionOf(view)));
    w.i32(view.Left);
    w.i32(view.Top);
    w.i32(view.Width);
    w.i32(view.Height);
    w.u16(view.Flags);
    w.i32(view.Flags2);
    writeFrameLine(w, view.LeftFrame);
    writeFrameLine(w, view.TopFrame);
    writeFrameLine(w, view.RightFrame);
    writeFrameLine(w, view.BottomFrame);
    w.u16(view.BandKindWord);
    w.i32(view.GapX);
    w.i32(view.GapY);
    w.i32(view.FillColor);
    w.u8(uint8_t(view.BandAlign));
    if (mode == Template) {
        w.i32(int32_t(view.FormatWord));
        w.string(view.FormatString);
    }
    w.stringList(mode == Template ? view.Memo : view.Memo1);
    if (mode == Template) {
        w.stringList(view.OnBeforePrint);
        w.stringList(view.OnAfterPrint);
        w.u16(view.Visible ? 1 : 0);
    }
    w.u16(view.KeptWord);
    w.string(view.Tag);
}

void TRMViewStream::writeMemoPart(TRMStreamWriter& w, const TRMMemoView& memo, Mode mode) {
    w.string(memo.Font.Name);
    w.i32(memo.Font.Size);
    w.u16(uint16_t(memo.Font.Style));
    w.i32(memo.Font.Color);
    w.i32(memo.alignmentWord());
    w.u16(uint16_t(memo.Font.Charset));
    if (mode == Template) {
        w.u16(uint16_t(memo.Highlight.FontStyle));
        w.i32(memo.Highlight.FontColor);
        w.i32(memo.Highlight.FillColor);
        w.string(memo.Highlight.Condition);
    }
    w.i32(memo.CharSpacing);
    w.i32(memo.LineSpacing);
    w.u8(uint8_t(memo.RotationType));
    w.u8(uint8_t(memo.ScaleFontType));
    w.u16(uint16_t(memo.FontScaleWidth));
    w.string(memo.MasterMemoView);
}

void TRMViewStream::writeBandPart(TRMStreamWriter& w, const TRMBandView& band) {
    w.string(band.ChildBand);
    w.i32(band.ColumnGap);
    w.i32(band.Columns());
    w.i32(band.ColumnWidth);
    w.string(band.Master);
    w.u16(uint16_t(band.LinesPerPage));
    w.u8(uint8_t(band.RangeBegin));
    w.u8(uint8_t(band.RangeEnd));
    w.i32(band.RangeEndCount);
}

void TRMViewStream::writeCalcPart(TRMStreamWriter& w, const TRMCalcMemoView& calc) {
    w.u8(1);
    w.u8(calc.ResetAfterPrint ? 1 : 0);
    w.u8(uint8_t(calc.DBCalcType));
    w.string(calc.DataBand);
    w.string(calc.Filter);
    w.string(calc.IntalizeValue);
    w.string(calc.AggregateValue);
}

void TRMViewStream::writePicture(TRMStreamWriter& w, const TRMPicture& picture, const int* option) {
    const bool known = picture.Kind >= gkBitmap && picture.Kind <= gkJpeg;
    w.u8(uint8_t(known ? picture.Kind : gkNone));
    if (option)
        w.u8(uint8_t(*option));
    const qsizetype at = w.reserveI32();
    if (known)
        w.bytes(picture.Data);
    w.patchI32(at, int32_t(w.pos()));
}

void TRMViewStream::writeClassPart(TRMStreamWriter& w, const TRMView& view, Mode mode) {
    if (auto* calc = qobject_cast<const TRMCalcMemoView*>(&view)) {
        writeMemoPart(w, *calc, mode);
        writeCalcPart(w, *calc);
    } else if (auto* memo = qobject_cast<const TRMMemoView*>(&view)) {
        writeMemoPart(w, *memo, mode);
    } else if (auto* band = qobject_cast<const TRMBandView*>(&view)) {
        writeBandPart(w, *band);
    } else if (auto* pic = qobject_cast<const TRMPictureView*>(&view)) {
        writePicture(w, pic->Picture, &pic->PictureOption);
    } else if (auto* sub = qobject_cast<const TRMSubReportView*>(&view)) {
        w.i32(sub->SubPage);
    } else if (auto* rich = qobject_cast<const TRMRichView*>(&view)) {
        w.u8(rich->RichText.isEmpty() ? 0 : 1);
        const qsizetype at = w.reserveI32();
        w.bytes(rich->RichText);
        w.patchI32(at, int32_t(w.pos()));
    } else if (auto* check = qobject_cast<const TRMCheckBoxView*>(&view)) {
        w.u8(uint8_t(check->CheckStyle));
        w.i32(check->CheckColor);
    } else if (auto* shape = qobject_cast<const TRMShapeView*>(&view)) {
        w.u8(uint8_t(shape->ShapeType));
        w.u8(uint8_t(shape->ShapeOption));
    }
}

void TRMViewStream::writeView(TRMStreamWriter& w, const TRMView& view, Mode mode) {
    writeCommon(w, view, mode);
    writeClassPart(w, view, mode);
}

} // namespace kestrane::report
