#include "report/TRMPreparedReport.h"

#include "common/Error.h"
#include "report/TRMEMFPages.h"
#include "report/TRMPage.h"
#include "report/TRMStreamReader.h"
#include "report/TRMStreamWriter.h"
#include "report/TRMView.h"
#include "report/TRMViewFactory.h"
#include "report/TRMViewStream.h"

#include <cmath>

namespace kestrane::report {

namespace {

int convertOldCoordinate(int x) {
    const double a = std::round(double(x) * 50.0 / 18.0);
    return int(std::lround(a * 96.0 / 254.0));
}

// Reads the views of a page stream of version v starting after its version byte.
void readViews(TRMStreamReader& r, TRMPage& page, int v) {
    while (!r.atEnd()) {
        const qsizetype at = r.pos();
        const int kind = r.u8("view kind");
        TRMView* view = nullptr;
        if (kind == gtAddIn) {
            const QString className = r.string("class name");
            view = TRMViewFactory::createAddIn(className, nullptr);
            if (!view)
                r.failAt(
                    at, QStringLiteral("view of class %1, which is not registered").arg(className));
        } else {
            view = TRMViewFactory::create(kind, nullptr);
            if (!view)
                r.failAt(at, QStringLiteral("view of unknown kind %1").arg(kind));
        }
        std::unique_ptr<TRMView> owner(view);
        TRMViewStream::readView(r, *view, v, TRMViewStream::Prepared);
        // A prepared view's memo is its printed text.
        view->Memo1 = view->Memo;
        page.addView(owner.release());
    }
}

} // namespace

QByteArray TRMPreparedReport::signature() {
    return QByteArrayLiteral("VidavuDidoroz Prepared Report File\x1A");
}

QByteArray TRMPreparedReport::writePageStream(const QList<TRMView*>& views) {
    TRMStreamWriter w;
    w.u8(kVersion);
    for (const TRMView* view : views) {
        w.u8(uint8_t(view->viewKind()));
        if (view->viewKind() == gtAddIn)
            w.string(view->rmClassName());
        TRMViewStream::writeView(w, *view, TRMViewStream::Prepared);
    }
    return w.take();
}

void TRMPreparedReport::readPageStream(const QByteArray& stream, TRMPage& page,
                                       const QString& what) {
    TRMStreamReader r(stream, what);
    if (r.atEnd())
        return;
    int v = r.u8("version");
    if (v > kMaxVersion)
        r.failAt(0, QStringLiteral("version %1 is newer than %2").arg(v).arg(kMaxVersion));
    if (v <= 20)
        v = 21;
    readViews(r, page, v);
}

QByteArray TRMPreparedReport::writeFile(const TRMEMFPages& pages, const QString& printerName,
                                        bool printToForm) {
    TRMStreamWriter w;
    w.u8(kVersion);
    w.u8(kSubVersion);
    const QByteArray sig = signature();
    w.u16(uint16_t(sig.size()));
    w.bytes(sig);
    w.u8(0);
    w.u8(0); // not compressed: no compressor is part of this system
    w.u8(printToForm ? 1 : 0);
    w.i32(int32_t(pages.Backgrounds.size()));
    for (const TRMBackgroundPicture& b : pages.Backgrounds) {
        w.i32(b.Left);
        w.i32(b.Top);
        w.i32(b.Width);
        w.i32(b.Height);
        TRMViewStream::writePicture(w, b.Picture, nullptr);
    }
    w.string(printerName);
    w.i32(int32_t(pages.Count()));
    for (const TRMEMFPage& p : pages.pages()) {
        const qsizetype at = w.reserveI32();
        w.u16(uint16_t(p.PaperCode));
        w.i32(p.PaperWidth);
        w.i32(p.PaperHeight);
        w.u8(uint8_t(p.Orientation));
        w.i32(p.PaperSource);
        w.i32(p.LeftMargin);
        w.i32(p.TopMargin);
        w.i32(p.RightMargin);
        w.i32(p.BottomMargin);
        w.bytes(p.Stream);
        w.patchI32(at, int32_t(w.pos()));
    }
    return w.take();
}

TRMPreparedReport::Result TRMPreparedReport::readFile(const QByteArray& bytes, TRMEMFPages& pages) {
    Result result;
    TRMStreamReader r(bytes, QStringLiteral("prepared report"));
    try {
        const int v = r.u8("version");
        if (v > kMaxVersion) {
            result.status = TooNew;
            result.error = QStringLiteral("prepared report offset 0: version %1 is newer than %2")
                               .arg(v)
                               .arg(kMaxVersion);
            return result;
        }
        const int s = v > 38 ? r.u8("sub-version") : 0;
        if (v * 100 + s * 10 > 4119) {
            const qsizetype at = r.pos();
            bool ok = false;
            try {
                const QString sig = r.string("signature");
                const QString letters = QString::fromLatin1(signature().chopped(1));
                ok = sig == QString::fromLatin1(signature()) ||
                     (sig == letters && !r.atEnd() && r.u8() == 26);
            } catch (const Error&) {
                ok = false;
            }
            if (!ok) {
                result.status = NoSignature;
                result.error = QStringLiteral("prepared report offset %1: no signature").arg(at);
                return result;
            }
        }
        const qsizetype compressedAt = r.pos();
        if (r.u8("compressed flag") != 0)
            r.failAt(compressedAt, QStringLiteral("compressed prepared reports cannot be read"));
        if (s > 9)
            result.printToForm = r.u8("print-to-form flag") != 0;
        QList<TRMBackgroundPicture> backgrounds;
        if (v > 37) {
            const qsizetype at = r.pos();
            const int32_t k = r.i32("background count");
            // Each background takes at least 13 bytes.
            if (k < 0 || qint64(k) * 13 > r.remaining())
                r.failAt(at, QStringLiteral("%1 background pictures but %2 bytes remain")
                                 .arg(k)
                                 .arg(r.remaining()));
            for (int32_t i = 0; i < k; ++i) {
                TRMBackgroundPicture b;
                b.Left = r.i32("background left");
                b.Top = r.i32("background top");
                if (v >= 40) {
                    b.Width = r.i32("background width");
                    b.Height = r.i32("background height");
                }
                TRMViewStream::readPicture(r, b.Picture, nullptr);
                backgrounds.append(b);
            }
        }
        result.printerName = v < 23 ? r.oldString("printer name") : r.string("printer name");
        const qsizetype countAt = r.pos();
        const int32_t n = r.i32("page count");
        // Each page record takes at least 15 bytes.
        if (n < 0 || qint64(n) * 15 > r.remaining())
            r.failAt(countAt,
                     QStringLiteral("%1 pages but %2 bytes remain").arg(n).arg(r.remaining()));
        QList<TRMEMFPage> read;
        for (int32_t i = 0; i < n; ++i) {
            TRMEMFPage p;
            const qsizetype at = r.pos();
            const int32_t end = r.i32("page end position");
            r.checkEndPosition(end, at + 4, "page");
            p.PaperCode = r.u16("paper code");
            p.PaperWidth = r.i32("paper width");
            p.PaperHeight = r.i32("paper height");
            p.Orientation = r.u8("orientation");
            p.PaperSource = v > 28 ? r.i32("paper source") : -1;
            if (v * 10 + s < 401)
                r.skip(1);
            if (v > 23) {
                p.LeftMargin = r.i32("left margin");
                p.TopMargin = r.i32("top margin");
                p.RightMargin = r.i32("right margin");
                p.BottomMargin = r.i32("bottom margin");
            }
            if (r.pos() > end)
                r.failAt(at, QStringLiteral("page record runs past its end position %1").arg(end));
            p.Stream = r.bytes(end - r.pos(), "page stream");
            const QString what = QStringLiteral("prepared page %1").arg(i + 1);
            // Every page stream is checked now, so a damaged file is refused whole rather
            // than failing later in the preview.
            TRMPage check;
            readPageStream(p.Stream, check, what);
            if (v < 39) {
                for (TRMView* view : check.views()) {
                    const int left = convertOldCoordinate(view->Left);
                    const int top = convertOldCoordinate(view->Top);
                    view->Width = convertOldCoordinate(view->Left + view->Width) - left;
                    view->Height = convertOldCoordinate(view->Top + view->Height) - top;
                    view->Left = left;
                    view->Top = top;
                }
                p.Stream = writePageStream(check.views());
            }
            p.Geometry = QRect(0, 0, int(std::lround(p.PaperWidth * 96.0 / 25400.0)),
                               int(std::lround(p.PaperHeight * 96.0 / 25400.0)));
            read.append(p);
            r.seek(end);
        }
        pages.Clear();
        pages.Backgrounds = backgrounds;
        for (const TRMEMFPage& p : read)
            pages.append(p);
    } catch (const Error& e) {
        result.status = ReadError;
        result.error = e.message();
        return result;
    }
    result.status = Loaded;
    return result;
}

} // namespace kestrane::report
