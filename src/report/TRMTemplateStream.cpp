#include "report/TRMTemplateStream.h"

#include "common/Error.h"
#include "report/TRMBandView.h"
#include "report/TRMDataBinding.h"
#include "report/TRMPage.h"
#include "report/TRMReport.h"
#include "report/TRMStreamReader.h"
#include "report/TRMStreamWriter.h"
#include "report/TRMSubReportView.h"
#include "report/TRMView.h"
#include "report/TRMViewFactory.h"
#include "report/TRMViewStream.h"

#include <QImage>
#include <cmath>

namespace kestrane::report {

namespace {

constexpr uint8_t kMarkerPage = 255;
constexpr uint8_t kMarkerOldDictionary = 254;
constexpr uint8_t kMarkerEnd = 253;
constexpr uint8_t kMarkerDictionary = 252;

QString str(TRMStreamReader& r, int v, const char* what) {
    return v < 23 ? r.oldString(what) : r.string(what);
}

// Old designs kept margins and gaps in screen pixels of 96 per inch.
qint32 pixelsToMicrometres(qint32 px) {
    return qint32(std::lround(double(px) * 25400.0 / 96.0));
}

// Coordinates of old streams: x -> round(round(x * 50 / 18) * 96 / 254).
int convertOldCoordinate(int x) {
    const double a = std::round(double(x) * 50.0 / 18.0);
    return int(std::lround(a * 96.0 / 254.0));
}

// The size of a picture at 96 per inch, for backgrounds of streams that did not store it.
void pictureSize96(const QByteArray& data, qint32& width, qint32& height) {
    QImage image;
    if (!image.loadFromData(data))
        return;
    const double dpmX = image.dotsPerMeterX(), dpmY = image.dotsPerMeterY();
    width = dpmX > 0 ? qint32(std::lround(image.width() * 96.0 / (dpmX * 0.0254))) : image.width();
    height =
        dpmY > 0 ? qint32(std::lround(image.height() * 96.0 / (dpmY * 0.0254))) : image.height();
}

QString viewBaseName(const TRMView& view) {
    QString n = view.rmClassName();
    if (n.startsWith(QStringLiteral("TRM")))
        n = n.mid(3);
    if (n.endsWith(QStringLiteral("View")))
        n.chop(4);
    return n;
}

} // namespace

struct TRMTemplateStream::Header {
    int v = 0;
    int s1 = 0;
    int s2 = 0;
    int combined() const { return v * 100 + s1 * 10 + s2; }
    bool printBackColor = false;
    qint32 offsetTop = 0, offsetLeft = 0;
    bool pagePerPage = false;
    QStringList info;
    bool taoda = false;
    bool doublePass = false;
    QString printer;
};

QByteArray TRMTemplateStream::signature() {
    return QByteArrayLiteral("VidavuDidoroz Report File\x1A");
}

// --- template text -----------------------------------------------------------------------

QByteArray TRMTemplateStream::decodeText(const QString& text) {
    QByteArray out;
    out.reserve(text.size() / 2);
    auto hex = [](QChar c) -> int {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            return u - u'0';
        if (u >= u'a' && u <= u'f')
            return u - u'a' + 10;
        if (u >= u'A' && u <= u'F')
            return u - u'A' + 10;
        return -1;
    };
    for (qsizetype i = 0; i + 1 < text.size() + 1; i += 2) {
        if (i >= text.size() || text[i] == u'#')
            break;
        if (i + 1 >= text.size())
            break; // half a pair at the end
        const int hi = hex(text[i]), lo = hex(text[i + 1]);
        if (hi < 0 || lo < 0)
            break;
        out.append(char(hi * 16 + lo));
    }
    return out;
}

QString TRMTemplateStream::encodeText(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex().toUpper()) + u'#';
}

// --- reading -----------------------------------------------------------------------------

void TRMTemplateStream::readHeader(TRMStreamReader& r, Header& h) {
    const int v = h.v;
    if (v >= 36) {
        h.s1 = r.u8("sub-version");
        h.s2 = r.u8("sub-version");
    }
    const int c = h.combined();
    if (c > 4101) {
        const qsizetype at = r.pos();
        QString sig;
        try {
            sig = r.string("signature");
        } catch (const Error&) {
            throw Error(QStringLiteral("template offset %1: no signature").arg(at));
        }
        const QString letters = QString::fromLatin1(signature().chopped(1));
        if (sig == letters && !r.atEnd() && r.u8() == 26) {
            // The letters as the string, byte 26 after it.
        } else if (sig != QString::fromLatin1(signature())) {
            throw Error(QStringLiteral("template offset %1: no signature").arg(at));
        }
    }
    if (c > 4003)
        h.printBackColor = r.u8("print background flag") != 0;
    if (c > 4099) {
        h.offsetTop = r.i32("print offset top");
        h.offsetLeft = r.i32("print offset left");
    }
    if (h.s2 > 10)
        h.pagePerPage = r.u8("page per page flag") != 0;
    if (c > 4001)
        for (int i = 0; i < 5; ++i)
            h.info.append(r.string("report information"));
    if (v >= 32)
        r.skip(1);
    if (v >= 35)
        h.taoda = r.u8("print-to-form flag") != 0;
    if (c < 4101)
        r.skip(2);
    h.doublePass = r.u16("double pass flag") != 0;
    h.printer = str(r, v, "printer name");
}

void TRMTemplateStream::readPage(TRMStreamReader& r, TRMPage& page, const Header& h) {
    const int v = h.v;
    if (v > 23) {
        page.Type = r.u8("page type");
        page.Caption = r.string("page caption");
        page.setObjectName(r.string("page name"));
    }
    if (v > 24) {
        page.Left = r.i32("form left");
        page.Top = r.i32("form top");
        page.Width = r.i32("form width");
        page.Height = r.i32("form height");
        page.Color = r.i32("form colour");
        page.BorderStyle = r.u8("border style");
        page.Position = r.u8("position");
    }
    page.Size = r.i32("paper code");
    if (h.s2 > 9) {
        page.PaperWidth = r.i32("paper width");
        page.PaperHeight = r.i32("paper height");
        page.LeftMargin = r.i32("left margin");
        page.TopMargin = r.i32("top margin");
        page.RightMargin = r.i32("right margin");
        page.BottomMargin = r.i32("bottom margin");
    } else {
        page.PaperWidth = r.i32("paper width") * 100;
        page.PaperHeight = r.i32("paper height") * 100;
        page.LeftMargin = pixelsToMicrometres(r.i32("left margin"));
        page.TopMargin = pixelsToMicrometres(r.i32("top margin"));
        page.RightMargin = pixelsToMicrometres(r.i32("right margin"));
        page.BottomMargin = pixelsToMicrometres(r.i32("bottom margin"));
    }
    page.Orientation = r.u8("orientation");
    if (v < 23)
        r.skip(6);
    page.PrintToPrevPage = r.u16("print to previous page") != 0;
    if (h.combined() < 4003)
        r.skip(2);
    page.Columns = r.i32("columns");
    page.ColumnGap = h.s2 > 9 ? r.i32("column gap") : pixelsToMicrometres(r.i32("column gap"));
    page.PaperSource = v >= 24 ? r.i32("paper source") : 0;
    if (v > 26)
        page.Script = r.stringList("page script");
    if (v > 32)
        TRMViewStream::readPicture(r, page.BackPicture, nullptr);
    if (v > 33) {
        page.BackgroundLeft = r.i32("background left");
        page.BackgroundTop = r.i32("background top");
    }
    if (v > 39) {
        page.BackgroundWidth = r.i32("background width");
        page.BackgroundHeight = r.i32("background height");
    } else if (!page.BackPicture.isEmpty()) {
        pictureSize96(page.BackPicture.Data, page.BackgroundWidth, page.BackgroundHeight);
    }
    if (h.combined() > 4000)
        page.AutoHCenter = r.u8("auto centre flag") != 0;
}

void TRMTemplateStream::readDictionaryLists(TRMStreamReader& r, TRMDataDictionary& dictionary) {
    auto readList = [&r](TRMDataDictionary::NameValues& list) {
        const qsizetype at = r.pos();
        const int32_t count = r.i32("dictionary count");
        // Every pair takes at least six bytes.
        if (count < 0 || qint64(count) * 6 > r.remaining())
            r.failAt(at, QStringLiteral("dictionary list of %1 entries but %2 bytes remain")
                             .arg(count)
                             .arg(r.remaining()));
        list.clear();
        for (int32_t i = 0; i < count; ++i) {
            const QString name = r.string("dictionary name");
            const QString value = r.string("dictionary value");
            list.append({name, value});
        }
    };
    readList(dictionary.Variables);
    readList(dictionary.DatasetAliases);
    readList(dictionary.FieldAliases);
}

// Old dictionaries kept aliases without a value; such an alias names nothing unless its name
// is itself a field reference, and a field alias without a value never does.
void TRMTemplateStream::dropEmptyAliases(TRMReport& report) {
    auto resolves = [&report](const QString& name) {
        TRMDataDictionary::FieldRef ref;
        try {
            return TRMDataBinding::resolveField(report, name, nullptr, ref);
        } catch (const Error&) {
            return false;
        }
    };
    report.Dictionary.DatasetAliases.removeIf(
        [&](const auto& nv) { return nv.second.isEmpty() && !resolves(nv.first); });
    report.Dictionary.FieldAliases.removeIf([](const auto& nv) { return nv.second.isEmpty(); });
}

void TRMTemplateStream::readDictionary(TRMStreamReader& r, TRMReport& report, const Header& h) {
    if (h.v > 30)
        r.u16("dictionary version");
    readDictionaryLists(r, report.Dictionary);
    if (h.v < 30)
        dropEmptyAliases(report);
}

void TRMTemplateStream::readOldDictionary(TRMStreamReader& r, TRMReport& report) {
    readDictionaryLists(r, report.Dictionary);
    dropEmptyAliases(report);
}

// Reads one view record. Returns false when loading must stop (an unknown class in a stream
// without end positions).
bool TRMTemplateStream::readViewRecord(TRMStreamReader& r, TRMReport& report, int kind,
                                       const Header& h, Result& result) {
    const int v = h.v;
    QString className;
    if (kind == gtAddIn) {
        className = str(r, v, "class name");
        if (className == u"TRMBDELookupControl" || className == u"TRMIBXLookupControl")
            className = QStringLiteral("TRMDBLookupControl");
    }
    const bool framed = className == u"TFRFramedMemoView" || className == u"TRMFramedMemoView";
    const int pageIndex = r.u8("page index");
    qint64 end = -1;
    if (v > 28) {
        const qsizetype at = r.pos();
        end = r.i32("view end position");
        r.checkEndPosition(end, at + 4, "view");
    }

    TRMView* view = nullptr;
    if (framed)
        view = TRMViewFactory::create(gtMemo, nullptr);
    else if (kind == gtAddIn)
        view = TRMViewFactory::createAddIn(className, nullptr);
    else
        view = TRMViewFactory::create(kind, nullptr);
    std::unique_ptr<TRMView> owner(view);

    if (!view) {
        if (kind == gtAddIn && !result.missingClasses.contains(className))
            result.missingClasses.append(className);
        if (end >= 0) {
            r.seek(end);
            return true;
        }
        if (kind == gtAddIn) {
            result.stoppedAtMissingClass = true;
            return false;
        }
        r.fail(QStringLiteral("view of unknown kind %1").arg(kind));
    }

    const qsizetype start = r.pos();
    try {
        TRMViewStream::readView(r, *view, v, TRMViewStream::Template);
        if (framed)
            r.skip(8, "framed memo extra");
        if (end >= 0 && r.pos() > end)
            r.failAt(start, QStringLiteral("view data runs past its end position %1").arg(end));
        // Designs older than page records of their own name views on pages that exist
        // implicitly; newer streams write every page before the views.
        if (v < 24)
            while (report.pageCount() <= pageIndex)
                report.addPage();
        if (pageIndex >= report.pageCount())
            r.failAt(start, QStringLiteral("view of page %1 but the template has %2 pages")
                                .arg(pageIndex)
                                .arg(report.pageCount()));
    } catch (const Error&) {
        // A damaged view with a sound end position is skipped; without one the stream
        // cannot be followed any further.
        if (end < 0)
            throw;
        r.seek(end);
        return true;
    }
    if (end >= 0)
        r.seek(end);
    TRMPage* page = report.page(pageIndex);
    if (view->objectName().isEmpty())
        view->setObjectName(page->uniqueViewName(viewBaseName(*view)));
    view->PageIndex = pageIndex;
    page->addView(owner.release());
    return true;
}

void TRMTemplateStream::afterLoad(TRMReport& report, const Header& h) {
    if (h.v < 32 || h.v * 100 + h.s1 * 10 < 3810) {
        for (TRMPage* page : report.pages()) {
            if (page->Type == ptDialog)
                continue;
            for (TRMView* view : page->views()) {
                const int left = convertOldCoordinate(view->Left);
                const int top = convertOldCoordinate(view->Top);
                view->Width = convertOldCoordinate(view->Left + view->Width) - left;
                view->Height = convertOldCoordinate(view->Top + view->Height) - top;
                view->Left = left;
                view->Top = top;
            }
        }
    }
    for (TRMPage* page : report.pages())
        for (TRMView* view : page->views())
            if (auto* sub = qobject_cast<TRMSubReportView*>(view))
                if (TRMPage* target = report.page(sub->SubPage))
                    target->IsSubReportPage = true;
}

TRMTemplateStream::Result TRMTemplateStream::read(TRMReport& report, const QByteArray& bytes) {
    Result result;
    if (bytes.isEmpty()) {
        report.Dictionary.clear();
        result.status = Empty;
        return result;
    }
    TRMStreamReader r(bytes, QStringLiteral("template"));
    Header h;
    h.v = uint8_t(bytes[0]);
    result.version = h.v;
    if (h.v > kMaxVersion) {
        result.status = TooNew;
        result.error = QStringLiteral("template offset 0: version %1 is newer than %2")
                           .arg(h.v)
                           .arg(kMaxVersion);
        return result;
    }
    report.ClearDesign();
    try {
        if (h.v <= 20) {
            // No header: records start at the first byte.
            h.v = 21;
            h.info = QStringList(5, QString());
        } else {
            r.u8();
            try {
                readHeader(r, h);
            } catch (const Error& e) {
                if (e.message().endsWith(QStringLiteral("no signature"))) {
                    result.status = NoSignature;
                    result.error = e.message();
                    return result;
                }
                throw;
            }
        }
        report.PrintBackColor = h.printBackColor;
        report.PrintOffsetTop = h.offsetTop;
        report.PrintOffsetLeft = h.offsetLeft;
        report.PrintPagePerPage = h.pagePerPage;
        report.ReportInfo = h.info.size() == 5 ? h.info : QStringList(5, QString());
        report.PrintToForm = h.taoda;
        report.DoublePass = h.doublePass;
        report.PrinterName = h.printer;

        while (!r.atEnd()) {
            const qsizetype at = r.pos();
            const uint8_t marker = r.u8("record marker");
            if (marker == kMarkerPage) {
                readPage(r, *report.addPage(), h);
            } else if (marker == kMarkerDictionary) {
                readDictionary(r, report, h);
            } else if (marker == kMarkerOldDictionary) {
                readOldDictionary(r, report);
            } else if (marker == kMarkerEnd) {
                break;
            } else if (marker <= gtAddIn) {
                if (!readViewRecord(r, report, marker, h, result))
                    break;
            } else {
                r.failAt(at, QStringLiteral("record marker %1 is not a page, view or dictionary")
                                 .arg(marker));
            }
        }
        afterLoad(report, h);
    } catch (const Error& e) {
        result.status = ReadError;
        result.error = e.message();
        return result;
    }
    result.status = Loaded;
    return result;
}

// --- writing -----------------------------------------------------------------------------

void TRMTemplateStream::writeHeader(TRMStreamWriter& w, const TRMReport& report) {
    w.u8(kVersion);
    w.u8(kSubVersion1);
    w.u8(kSubVersion2);
    const QByteArray sig = signature();
    w.u16(uint16_t(sig.size()));
    w.bytes(sig);
    w.u8(0);
    w.u8(report.PrintBackColor ? 1 : 0);
    w.i32(report.PrintOffsetTop);
    w.i32(report.PrintOffsetLeft);
    w.u8(report.PrintPagePerPage ? 1 : 0);
    for (int i = 0; i < 5; ++i)
        w.string(report.ReportInfo.value(i));
    w.u8(0);
    w.u8(report.PrintToForm ? 1 : 0);
    w.u16(report.DoublePass ? 1 : 0);
    w.string(report.PrinterName);
}

void TRMTemplateStream::writePage(TRMStreamWriter& w, const TRMPage& page) {
    w.u8(uint8_t(page.Type));
    w.string(page.Caption);
    w.string(page.objectName());
    w.i32(page.Left);
    w.i32(page.Top);
    w.i32(page.Width);
    w.i32(page.Height);
    w.i32(page.Color);
    w.u8(uint8_t(page.BorderStyle));
    w.u8(uint8_t(page.Position));
    w.i32(page.Size);
    w.i32(page.PaperWidth);
    w.i32(page.PaperHeight);
    w.i32(page.LeftMargin);
    w.i32(page.TopMargin);
    w.i32(page.RightMargin);
    w.i32(page.BottomMargin);
    w.u8(uint8_t(page.Orientation));
    w.u16(page.PrintToPrevPage ? 1 : 0);
    w.i32(page.Columns);
    w.i32(page.ColumnGap);
    w.i32(page.PaperSource);
    w.stringList(page.Script);
    TRMViewStream::writePicture(w, page.BackPicture, nullptr);
    w.i32(page.BackgroundLeft);
    w.i32(page.BackgroundTop);
    w.i32(page.BackgroundWidth);
    w.i32(page.BackgroundHeight);
    w.u8(page.AutoHCenter ? 1 : 0);
}

void TRMTemplateStream::writeDictionary(TRMStreamWriter& w, const TRMReport& report) {
    w.u16(1);
    for (const auto* list : {&report.Dictionary.Variables, &report.Dictionary.DatasetAliases,
                             &report.Dictionary.FieldAliases}) {
        w.i32(int32_t(list->size()));
        for (const auto& nv : *list) {
            w.string(nv.first);
            w.string(nv.second);
        }
    }
}

QByteArray TRMTemplateStream::write(const TRMReport& report) {
    TRMStreamWriter w;
    writeHeader(w, report);
    for (const TRMPage* page : report.pages()) {
        w.u8(kMarkerPage);
        writePage(w, *page);
    }
    for (int p = 0; p < report.pageCount(); ++p) {
        for (const TRMView* view : report.page(p)->views()) {
            w.u8(uint8_t(view->viewKind()));
            if (view->viewKind() == gtAddIn)
                w.string(view->rmClassName());
            w.u8(uint8_t(std::min(p, 255)));
            const qsizetype at = w.reserveI32();
            TRMViewStream::writeView(w, *view, TRMViewStream::Template);
            w.patchI32(at, int32_t(w.pos()));
        }
    }
    w.u8(kMarkerDictionary);
    writeDictionary(w, report);
    return w.take();
}

} // namespace kestrane::report
