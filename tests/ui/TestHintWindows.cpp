#include "common/Error.h"
#include "ui/AviClip.h"
#include "ui/TAnimate.h"
#include "ui/TFrmHint.h"
#include "ui/TRopInst.h"
#include "ui/TRopWin.h"
#include "ui/modal/CommandBoundary.h"
#include "ui/modal/ScriptedModalRunner.h"

#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

using namespace kestrane;
using namespace kestrane::ui;

namespace {

QByteArray u32(uint32_t v) {
    QByteArray b(4, 0);
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
}
QByteArray u16(uint16_t v) {
    return u32(v).left(2);
}
QByteArray chunk(const char* id, const QByteArray& body) {
    QByteArray c = QByteArray(id, 4) + u32(uint32_t(body.size())) + body;
    if (body.size() & 1)
        c.append('\0');
    return c;
}
QByteArray list(const char* type, const QByteArray& body) {
    return chunk("LIST", QByteArray(type, 4) + body);
}

// A 4 x 2 clip of 8-bit frames, bottom row blue and top row red, then a second frame that
// turns two pixels of the bottom row red: uncompressed, or RLE8 (which draws over the
// previous frame).
QByteArray sampleClip(bool rle = true) {
    QByteArray avih = u32(200000) + QByteArray(52, 0); // 200 ms per frame
    QByteArray strf = u32(40) + u32(4) + u32(2) + u16(1) + u16(8) + u32(rle ? 1 : 0) + u32(0) +
                      u32(0) + u32(0) + u32(2) + u32(0);
    strf += u32(0x000000FF); // colour 0: blue (BGRA)
    strf += u32(0x00FF0000); // colour 1: red
    QByteArray frames;
    if (rle) {
        frames += chunk("00dc", QByteArray("\x04\x00\x00\x00\x04\x01\x00\x01", 8));
        frames += chunk("00dc", QByteArray("\x02\x01\x00\x01", 4));
    } else {
        frames += chunk("00db", QByteArray("\x00\x00\x00\x00\x01\x01\x01\x01", 8));
        frames += chunk("00db", QByteArray("\x01\x01\x00\x00\x01\x01\x01\x01", 8));
    }
    QByteArray strl = list("strl", chunk("strh", QByteArray(56, 0)) + chunk("strf", strf));
    QByteArray riffBody =
        QByteArray("AVI ", 4) + list("hdrl", chunk("avih", avih) + strl) + list("movi", frames);
    return chunk("RIFF", riffBody);
}

// Runs the test body with the current directory set to a fresh temporary folder.
class InTempDir {
public:
    InTempDir() : m_previous(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~InTempDir() { QDir::setCurrent(m_previous); }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

} // namespace

class TestHintWindows : public QObject {
    Q_OBJECT
    ScriptedModalRunner runner;

private Q_SLOTS:
    void init() {
        runner.clear();
        setTopLevelErrorsSilenced(false);
    }
    void cleanup() { setTopLevelErrorsSilenced(false); }

    void hintWithoutClip() {
        InTempDir dir;
        QVERIFY(!topLevelErrorsSilenced());
        {
            TFrmHint hint;
            QVERIFY(topLevelErrorsSilenced());
            QVERIFY(hint.windowFlags() & Qt::WindowStaysOnTopHint);
            QVERIFY(hint.windowFlags() & Qt::FramelessWindowHint);
            QCOMPARE(hint.size(), QSize(332, 87));
            QVERIFY(!hint.animation()->usesFile());
            QVERIFY(hint.animation()->isActive());
            QCOMPARE(hint.animation()->pos(), QPoint(16, 20));
            QCOMPARE(hint.animation()->size(), QSize(80, 50));
            QCOMPARE(hint.label()->pos(), QPoint(116, 40));
            QCOMPARE(hint.label()->text(), QString("正在统计，请稍候..."));
            QCOMPARE(hint.label()->font().pixelSize(), 14);
            // The animation repeats.
            const int first = hint.animation()->currentFrame();
            QTRY_VERIFY(hint.animation()->currentFrame() != first);
        }
        // Closing the hint frees it.
        QPointer<TFrmHint> closed = new TFrmHint;
        closed->show();
        closed->close();
        QTRY_VERIFY(closed.isNull());
        // Errors stay silenced after the hint has gone.
        QVERIFY(topLevelErrorsSilenced());
        QVERIFY(!runCommand(nullptr, [] { throw Error("x"); }));
    }

    void hintWithClip() {
        InTempDir dir;
        QDir().mkdir("Resource");
        QFile file("Resource/Turtle.avi");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(sampleClip());
        file.close();
        TFrmHint hint;
        QVERIFY(hint.animation()->usesFile());
        QCOMPARE(hint.animation()->pos(), QPoint(32, 2));
        QCOMPARE(hint.label()->pos(), QPoint(93, 69));
        QCOMPARE(hint.animation()->frameCount(), 2);
    }

    void hintWithDamagedClip() {
        InTempDir dir;
        QDir().mkdir("Resource");
        QFile file("Resource/Turtle.avi");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(sampleClip().left(60));
        file.close();
        TFrmHint hint;
        QVERIFY(!hint.animation()->usesFile());
        QCOMPARE(hint.label()->pos(), QPoint(116, 40));
    }

    void clipFrames_data() {
        QTest::addColumn<bool>("rle");
        QTest::newRow("rle8") << true;
        QTest::newRow("uncompressed") << false;
    }
    void clipFrames() {
        QFETCH(bool, rle);
        AviClip clip;
        try {
            clip = AviClip::read(sampleClip(rle));
        } catch (const Error& e) {
            QFAIL(qPrintable(e.message()));
        }
        QCOMPARE(clip.size(), QSize(4, 2));
        QCOMPARE(clip.frameIntervalMs(), 200);
        QCOMPARE(clip.frames().size(), 2);
        // Bottom-up rows: the file's first row is the picture's last.
        QCOMPARE(clip.frames()[0].pixel(0, 1), qRgb(0, 0, 255));
        QCOMPARE(clip.frames()[0].pixel(0, 0), qRgb(255, 0, 0));
        // The second frame changes two pixels only.
        QCOMPARE(clip.frames()[1].pixel(0, 1), qRgb(255, 0, 0));
        QCOMPARE(clip.frames()[1].pixel(2, 1), qRgb(0, 0, 255));
    }

    void damagedClipsNeverCrash() {
        const QByteArray clip = sampleClip();
        for (int cut = 0; cut < clip.size(); ++cut) {
            try {
                AviClip::read(clip.left(cut));
            } catch (const Error&) {
            }
        }
        QByteArray huge = clip;
        huge.replace(huge.indexOf("strf") + 12, 4, u32(100000)); // width
        QVERIFY_THROWS_EXCEPTION(Error, AviClip::read(huge));
    }

    void popupWithoutLines() {
        ScopedModalRunner scope(runner);
        TRopWin rop;
        rop.ShowPopup();
        QCOMPARE(runner.messages().size(), 1);
        QCOMPARE(runner.messages()[0].text, QString("The Lines is empty"));
        QCOMPARE(runner.messages()[0].caption, QString("Error"));
        QVERIFY(runner.dialogs().isEmpty());
    }

    void popupPlacement_data() {
        QTest::addColumn<int>("xPos");
        QTest::addColumn<int>("yPos");
        QTest::newRow("centred") << 0 << 0;
        QTest::newRow("left edge given") << 100 << 0;
        QTest::newRow("top edge given") << 0 << 50;
    }
    void popupPlacement() {
        QFETCH(int, xPos);
        QFETCH(int, yPos);
        ScopedModalRunner scope(runner);
        TRopWin rop;
        rop.Lines = {"F1  助手", "F2  查询", "Ctrl+V  预览"};
        rop.Font = QFont("宋体", 9);
        rop.xPos = xPos;
        rop.yPos = yPos;
        QRect geometry;
        QSize text;
        bool timerActive = true;
        runner.queueDialog([&](QDialog& d) {
            auto& popup = static_cast<TRopInst&>(d);
            geometry = popup.geometry();
            text = popup.textSize();
            timerActive = popup.timer().isActive();
            QTest::keyClick(&popup, Qt::Key_A);
            QVERIFY(!popup.isVisible());
        });
        rop.ShowPopup();
        QCOMPARE(runner.dialogs(), QStringList{"RopInst"});
        const QSize screen = QApplication::primaryScreen()->geometry().size();
        QVERIFY(text.width() > 0 && text.height() > 0);
        QCOMPARE(geometry.size(), QSize(text.width() + 40, text.height() + 30));
        QCOMPARE(geometry.x(), xPos ? xPos : (screen.width() - text.width()) / 2);
        QCOMPARE(geometry.y(), yPos ? yPos : (screen.height() - text.height()) / 2);
        QVERIFY(!timerActive); // TimeClose 0: only a key or a click closes it
    }

    void popupClosing() {
        ScopedModalRunner scope(runner);
        TRopWin rop;
        rop.Lines = {"x"};
        rop.TimeClose = 3000;
        int interval = 0;
        runner.queueDialog([&](QDialog& d) {
            interval = static_cast<TRopInst&>(d).timer().interval();
            QTest::mouseClick(&d, Qt::RightButton, {}, QPoint(3, 3));
            QVERIFY(!d.isVisible());
        });
        rop.ShowPopup();
        QCOMPARE(interval, 3000);

        rop.TimeClose = 40;
        runner.queueDialog([](QDialog& d) { QTRY_VERIFY_WITH_TIMEOUT(!d.isVisible(), 2000); });
        rop.ShowPopup();
        QCOMPARE(runner.dialogs().size(), 2);
    }

    void popupPainting() {
        // A light window beneath, so that what the popup keeps of the screen is not black.
        QWidget backdrop(nullptr, Qt::FramelessWindowHint);
        backdrop.setGeometry(0, 0, 400, 300);
        QPalette p = backdrop.palette();
        p.setColor(QPalette::Window, QColor(200, 220, 240));
        backdrop.setPalette(p);
        backdrop.setAutoFillBackground(true);
        backdrop.show();
        QCoreApplication::processEvents();
        TRopInst popup;
        popup.setLines({"一行", "两行"});
        popup.setBrush(QColor(255, 255, 0));
        popup.setPosition(20, 20);
        popup.PreparePopup();
        popup.show();
        const QImage image = popup.grab().toImage();
        const int w = image.width(), h = image.height();
        // The panel is filled with the brush.
        QCOMPARE(image.pixel(w / 2, 8) & 0xFFFFFF, qRgb(255, 255, 0) & 0xFFFFFF);
        // The shadow strip: rows whose pattern byte is 0 are dark, set bits keep the screen.
        const int darkRow = ((h - 8) & ~7) + 1; // y & 7 == 1: pattern 0x00
        const int dottedRow = ((h - 8) & ~7);   // y & 7 == 0: pattern 0xAA
        QCOMPARE(image.pixel(24, darkRow) & 0xFFFFFF, 0u);
        // The corners beside the shadow show the screen as it was.
        const QRgb beneath = image.pixel(w - 4, 4);
        QVERIFY((beneath & 0xFFFFFF) != 0u);
        QCOMPARE(image.pixel(4, h - 4), beneath);
        QCOMPARE(image.pixel(24, dottedRow), beneath);       // x 24: bit set, kept
        QCOMPARE(image.pixel(25, dottedRow) & 0xFFFFFF, 0u); // x 25: bit clear, dark
    }
};

QTEST_MAIN(TestHintWindows)
#include "TestHintWindows.moc"
