// Template streams, prepared page streams and prepared-report files: round trips of every
// view class and property, the older layouts from hand-made bytes, every refusal message,
// the template text decoder, and damaged input.
#include "common/Error.h"
#include "common/Gbk.h"
#include "data/MemTable.h"
#include "report/TRMBandView.h"
#include "report/TRMCalcMemoView.h"
#include "report/TRMEMFPages.h"
#include "report/TRMMemoView.h"
#include "report/TRMPage.h"
#include "report/TRMPictureView.h"
#include "report/TRMPreparedReport.h"
#include "report/TRMReport.h"
#include "report/TRMStreamWriter.h"
#include "report/TRMTemplateStream.h"
#include "report/TRMViewFactory.h"
#include "ui/modal/MessageBox.h"
#include "ui/modal/ScriptedModalRunner.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace kestrane;
using namespace kestrane::report;

namespace {

// A value different from the default for every property type the model uses; `n` keeps
// neighbouring properties apart. Byte-sized fields get values below 256.
QVariant distinctValue(const QVariant& current, int n) {
    switch (current.typeId()) {
    case QMetaType::Bool:
        return !current.toBool();
    case QMetaType::Int:
        return 3 + n % 60;
    case QMetaType::UShort:
        return QVariant::fromValue<quint16>(quint16(0x0100 + n));
    case QMetaType::UInt:
        return QVariant::fromValue<quint32>(0x01040200u + quint32(n));
    case QMetaType::Double:
        return 2.5;
    case QMetaType::QString:
        return QStringLiteral("名称%1").arg(n);
    case QMetaType::QStringList:
        return QStringList{QStringLiteral("第一行[a]"), QString(),
                           QStringLiteral("line %1").arg(n)};
    case QMetaType::QByteArray:
        return QByteArray(QByteArray("\x89PNG-bytes-") + QByteArray::number(n));
    default:
        return current;
    }
}

// Values the stream keeps only within their ranges.
void fixRanges(TRMObject& o) {
    if (o.hasProp(QStringLiteral("Alignment"))) {
        o.setProp(QStringLiteral("Alignment"), 2);
        o.setProp(QStringLiteral("Layout"), 1);
    }
    if (o.hasProp(QStringLiteral("PictureKind")))
        o.setProp(QStringLiteral("PictureKind"), int(gkJpeg));
    if (o.hasProp(QStringLiteral("BackPictureKind")))
        o.setProp(QStringLiteral("BackPictureKind"), int(gkBitmap));
}

void fillAll(TRMObject& o, int seed) {
    int n = seed;
    for (const QString& name : o.storedPropNames())
        QVERIFY(o.setProp(name, distinctValue(o.prop(name), n++)));
    fixRanges(o);
}

void compareAll(const TRMObject& a, const TRMObject& b) {
    for (const QString& name : a.storedPropNames())
        QVERIFY2(a.prop(name) == b.prop(name),
                 qPrintable(name + QStringLiteral(": ") + a.prop(name).toString() +
                            QStringLiteral(" vs ") + b.prop(name).toString()));
}

TRMView* makeView(const QString& cls) {
    static const QHash<QString, int> kinds{
        {"TRMMemoView", 0}, {"TRMPictureView", 1},  {"TRMBandView", 2},  {"TRMSubReportView", 3},
        {"TRMLineView", 4}, {"TRMCalcMemoView", 5}, {"TRMMoneyView", 7}, {"TRMRegionView", 8}};
    if (kinds.contains(cls))
        return TRMViewFactory::create(kinds[cls], nullptr);
    return TRMViewFactory::createAddIn(cls, nullptr);
}

// Raw byte builder for hand-made fixtures of old layouts.
struct Bytes {
    QByteArray b;
    Bytes& u8(int v) {
        b.append(char(v));
        return *this;
    }
    Bytes& u16(int v) {
        b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
        return *this;
    }
    Bytes& i32(qint32 v) {
        for (int i = 0; i < 4; ++i)
            b.append(char((quint32(v) >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& f32(float f) {
        quint32 u;
        memcpy(&u, &f, 4);
        return i32(qint32(u));
    }
    Bytes& str(const QString& s) { // current: uint16 length, bytes, 0
        const QByteArray g = gbk::encode(s);
        u16(int(g.size()));
        b.append(g).append('\0');
        return *this;
    }
    Bytes& oldStr(const QString& s) { // version < 23: bytes, 0
        b.append(gbk::encode(s)).append('\0');
        return *this;
    }
    Bytes& strList(const QStringList& lines) {
        u16(int(lines.size()));
        if (lines.isEmpty())
            return u8(0);
        for (int i = 0; i < lines.size(); ++i) {
            const QByteArray g = gbk::encode(lines[i]);
            u16(int(g.size()));
            b.append(g).append(char(i + 1 < lines.size() ? 13 : 0));
        }
        return *this;
    }
    qsizetype pos() const { return b.size(); }
    void patch(qsizetype at, qint32 v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = char((quint32(v) >> (8 * i)) & 0xFF);
    }
};

// An add-in of a class the engine does not ship, with a class part of its own.
class TestChartView : public TRMView {
    Q_OBJECT
public:
    explicit TestChartView(QObject* parent = nullptr) : TRMView(parent) {}
    int viewKind() const override { return gtAddIn; }
    QString rmClassName() const override { return QStringLiteral("TRMChartView"); }
};

} // namespace

class tst_Streams : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void viewRoundTrip_data();
    void viewRoundTrip();
    void reportRoundTrip();
    void templateText_data();
    void templateText();
    void version20WithoutHeader();
    void version30Layout();
    void oldDictionaryRecord_data();
    void oldDictionaryRecord();
    void damagedOldDictionaryRecord_data();
    void damagedOldDictionaryRecord();
    void refusals_data();
    void refusals();
    void unregisteredAddInSkipped();
    void unregisteredAddInWithoutEndPositionStops();
    void damagedLengthNamesOffset();
    void everyTruncationIsSafe();
    void preparedPageRoundTrip();
    void preparedFileRoundTrip();
    void preparedFileRefusals();

private:
    ui::ScriptedModalRunner m_runner;
    std::unique_ptr<ui::ScopedModalRunner> m_scope;
};

void tst_Streams::init() {
    m_runner.clear();
    m_scope.reset(); // the previous scope restores the default runner first
    m_scope = std::make_unique<ui::ScopedModalRunner>(m_runner);
}

void tst_Streams::viewRoundTrip_data() {
    QTest::addColumn<QString>("cls");
    for (const char* c :
         {"TRMMemoView", "TRMPictureView", "TRMBandView", "TRMSubReportView", "TRMLineView",
          "TRMCalcMemoView", "TRMMoneyView", "TRMRegionView", "TRMRichView", "TRMCheckBoxView",
          "TRMShapeView", "TRMDiagonalView", "TRMRoundRectView"})
        QTest::newRow(c) << QString::fromLatin1(c);
}

void tst_Streams::viewRoundTrip() {
    QFETCH(QString, cls);
    TRMReport report;
    TRMPage* page = report.addPage();
    report.addPage(); // views of the second page keep their page index
    TRMView* view = makeView(cls);
    QVERIFY(view);
    report.page(1)->addView(view);
    fillAll(*view, 1);
    if (QTest::currentTestFailed())
        return;
    (void)page;
    TRMReport copy;
    QVERIFY(copy.ReadTemplate(report.WriteTemplate()));
    QVERIFY(m_runner.messages().isEmpty());
    QCOMPARE(copy.pageCount(), 2);
    QCOMPARE(copy.page(1)->views().size(), 1);
    TRMView* read = copy.page(1)->views().first();
    QCOMPARE(read->rmClassName(), cls);
    compareAll(*view, *read);
}

void tst_Streams::reportRoundTrip() {
    TRMReport report;
    for (int i = 0; i < 2; ++i) {
        TRMPage* p = report.addPage();
        fillAll(*p, 10 * i);
        for (const char* c : {"TRMBandView", "TRMMemoView", "TRMCalcMemoView"}) {
            TRMView* v = makeView(QString::fromLatin1(c));
            p->addView(v);
            fillAll(*v, i);
            v->setObjectName(QString::fromLatin1(c) + QString::number(i));
        }
    }
    report.ReportInfo = {"标题", "b", "c", "d", "e"};
    report.PrinterName = QStringLiteral("Virtual Printer");
    report.DoublePass = true;
    report.PrintToForm = true;
    report.PrintPagePerPage = true;
    report.PrintBackColor = true;
    report.PrintOffsetTop = -5;
    report.PrintOffsetLeft = 7;
    report.Dictionary.Variables = {{" 类别", ""}, {"合计", "[cdsPrint.\"f_Gjje\"]"}};
    report.Dictionary.DatasetAliases = {{"单据", "RMDBDataSet1"}};
    report.Dictionary.FieldAliases = {{"单据.金额", "f_Gjje"}};

    const QByteArray bytes = report.WriteTemplate();
    TRMReport copy;
    QVERIFY(copy.ReadTemplate(bytes));
    QCOMPARE(copy.pageCount(), 2);
    for (int i = 0; i < 2; ++i) {
        compareAll(*report.page(i), *copy.page(i));
        QCOMPARE(copy.page(i)->views().size(), 3);
        for (int k = 0; k < 3; ++k)
            compareAll(*report.page(i)->views()[k], *copy.page(i)->views()[k]);
    }
    QCOMPARE(copy.ReportInfo, report.ReportInfo);
    QCOMPARE(copy.PrinterName, report.PrinterName);
    QVERIFY(copy.DoublePass && copy.PrintToForm && copy.PrintPagePerPage && copy.PrintBackColor);
    QCOMPARE(copy.PrintOffsetTop, -5);
    QCOMPARE(copy.PrintOffsetLeft, 7);
    QVERIFY(copy.Dictionary == report.Dictionary);
    // Written again, the bytes are the same: nothing is lost or reordered.
    QCOMPARE(copy.WriteTemplate(), bytes);
    // The stored text form decodes to the same stream.
    QCOMPARE(TRMTemplateStream::decodeText(report.TemplateText()), bytes);
    QVERIFY(report.TemplateText().endsWith(u'#'));
}

void tst_Streams::templateText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("pairs both cases") << "0aFf10#" << QByteArray("\x0A\xFF\x10", 3);
    QTest::newRow("no terminator keeps all") << "2B2C" << QByteArray("\x2B\x2C");
    QTest::newRow("stops at hash") << "01#02" << QByteArray("\x01");
    QTest::newRow("first pair bad") << "G012#" << QByteArray();
    QTest::newRow("bad pair stops early") << "0102 3#" << QByteArray("\x01\x02");
    QTest::newRow("hash in second digit") << "012#" << QByteArray("\x01");
    QTest::newRow("half pair at end") << "010" << QByteArray("\x01");
    QTest::newRow("only hash") << "#" << QByteArray();
    QTest::newRow("empty") << "" << QByteArray();
}

void tst_Streams::templateText() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(TRMTemplateStream::decodeText(text), bytes);
}

void tst_Streams::version20WithoutHeader() {
    // No header: the first byte is a view record (memo on page 0), old encodings.
    Bytes f;
    f.u8(0).u8(0);                                  // kind memo, page 0 (no end position)
    f.i32(18).i32(36).i32(180).i32(36).u16(0x0040); // position, flags (HideZeros)
    f.u16(0x000F).f32(1.0f).i32(0xFF).u16(0);       // frame type (all four), width, colour, style
    f.i32(0xFFFFFF);                                // fill colour
    f.i32(0).oldStr(QString());                     // format word, format string
    f.oldStr(QStringLiteral("合计:[Sum]"));         // memo: lines separated by 13
    f.oldStr(QStringLiteral("宋体")).i32(9).u16(2).i32(0).i32(4 | 1); // font, align: 90°, right
    f.u16(2).i32(0).i32(0xFFFFFF).oldStr(QString());                  // highlight
    TRMReport report;
    QVERIFY2(report.ReadTemplate(f.b), qPrintable(report.lastLoadError()));
    QCOMPARE(report.pageCount(), 1);
    QCOMPARE(report.page(0)->views().size(), 1);
    auto* memo = qobject_cast<TRMMemoView*>(report.page(0)->views().first());
    QVERIFY(memo);
    QVERIFY(!memo->objectName().isEmpty()); // named automatically
    QCOMPARE(memo->Memo, QStringList{QStringLiteral("合计:[Sum]")});
    QCOMPARE(memo->Font.Name, QStringLiteral("宋体"));
    QCOMPARE(memo->Font.Charset, 134);
    QCOMPARE(memo->RotationType, int(rt90));
    QCOMPARE(memo->Alignment, 1);
    QVERIFY(memo->WordWrap());      // version 21 sets word wrap
    QCOMPARE(memo->FormatWord, 3u); // format words below 32 move by three
    QCOMPARE(memo->FrameTyp(), 15);
    // Old coordinates: round(round(18 * 50 / 18) * 96 / 254) = round(18.9) = 19.
    QCOMPARE(memo->Left, 19);
}

void tst_Streams::version30Layout() {
    // Version 30: short header, old page layout, end positions, old frame with a text width.
    Bytes f;
    f.u8(30);
    f.u16(0); // 2 ignored bytes (combined version below 4101)
    f.u16(1); // double pass
    f.str(QStringLiteral("Default Printer"));
    f.u8(255); // page record
    f.u8(0).str(QString()).str(QStringLiteral("Page1"));
    f.i32(0).i32(0).i32(0).i32(0).i32(0).u8(0).u8(0); // dialog form fields
    f.i32(9).i32(2100).i32(2970);                     // A4 in tenths of a millimetre
    f.i32(96).i32(96).i32(48).i32(48);                // margins in pixels
    f.u8(1).u16(0).u16(0);                            // landscape, PrintToPrevPage, 2 ignored
    f.i32(1).i32(0).i32(0);                           // columns, gap (pixels), paper source
    f.strList({});                                    // page script
    // A master data band.
    f.u8(2).u8(0);
    qsizetype endAt = f.pos();
    f.i32(0);
    f.str(QStringLiteral("MasterData1")).u8(0).u8(0);
    f.i32(0).i32(90).i32(600).i32(20).u16(0x1000); // old AutoAppendBlank bit
    f.u16(btMasterData).str(QStringLiteral("1.5")).i32(0).u16(0).u16(0).i32(2).u16(2);
    f.i32(0x1FFFFFFF).u8(0);                      // fill, band align
    f.i32(0).str(QStringLiteral("RMDBDataSet1")); // format word, the band's dataset
    f.strList({}).strList({}).strList({}).u16(1); // memo, scripts, visible
    f.u16(0).str(QString());                      // kept word, tag
    f.str(QString()).i32(0).i32(3).i32(200);      // child band, gap, columns, column width
    f.str(QString());                             // master
    f.patch(endAt, qint32(f.pos()));
    // Dictionary of version 30: no record version word; empty aliases are kept from 30 on.
    f.u8(252).i32(1).str(QStringLiteral("X")).str(QStringLiteral("1")).i32(1);
    f.str(QStringLiteral("alias")).str(QString()).i32(0);
    TRMReport report;
    QVERIFY2(report.ReadTemplate(f.b), qPrintable(report.lastLoadError()));
    QCOMPARE(report.pageCount(), 1);
    TRMPage* page = report.page(0);
    QCOMPARE(page->PaperWidth, 210000);
    QCOMPARE(page->LeftMargin, 25400);
    QCOMPARE(page->Orientation, int(poLandscape));
    QVERIFY(report.DoublePass);
    QCOMPARE(page->views().size(), 1);
    auto* band = qobject_cast<TRMBandView*>(page->views().first());
    QVERIFY(band);
    QCOMPARE(band->BandType(), int(btMasterData));
    QCOMPARE(band->DataSet(), QStringLiteral("RMDBDataSet1"));
    QCOMPARE(band->FrameWidth(), 1.5);
    QCOMPARE(band->Columns(), 3);
    QVERIFY(band->bandFlag(flBandPrintColFirst));   // set below 3700
    QVERIFY(band->bandFlag(flBandAutoAppendBlank)); // 0x1000 moved to 0x0100
    QVERIFY(!band->bandFlag(flBandPrintIfEmpty));
    // Old coordinates converted: 90 -> round(round(90 * 50 / 18) * 96 / 254) = round(94.49) = 94.
    QCOMPARE(band->Top, 94);
    QCOMPARE(report.Dictionary.Variables.size(), 1);
    QCOMPARE(report.Dictionary.DatasetAliases.size(), 1);
}

// Header bytes of an empty design: a hand-made one of version 28 and the current writer's.
void addHeaderRows() {
    QTest::addColumn<QByteArray>("header");
    Bytes v28;
    v28.u8(28).u16(0).u16(0).str(QStringLiteral("Default Printer"));
    QTest::newRow("version 28") << v28.b;
    QByteArray v43 = TRMReport().WriteTemplate();
    v43.chop(1 + 2 + 3 * 4); // the empty dictionary record: marker, version word, three counts
    QTest::newRow("version 43") << v43;
}

void tst_Streams::oldDictionaryRecord_data() {
    addHeaderRows();
}

void tst_Streams::oldDictionaryRecord() {
    QFETCH(QByteArray, header);
    Bytes f;
    f.b = header;
    f.u8(254).i32(1).str(QStringLiteral("合计")).str(QStringLiteral("[cdsPrint.\"f_Gjje\"]"));
    f.i32(3);
    f.str(QStringLiteral("单据")).str(QStringLiteral("RMDBDataSet1"));
    f.str(QStringLiteral("旧别名")).str(QString());          // names nothing: dropped
    f.str(QStringLiteral("cdsPrint.f_Gjje")).str(QString()); // a field reference: kept
    f.i32(2);
    f.str(QStringLiteral("单据.金额")).str(QStringLiteral("f_Gjje"));
    f.str(QStringLiteral("单据.备注")).str(QString()); // dropped
    f.u8(253).u8(200);                                 // the end; the byte after it is not read
    QObject form;
    auto* cdsPrint = new MemTable(&form);
    cdsPrint->setObjectName(QStringLiteral("cdsPrint"));
    cdsPrint->setFieldDefs({FieldDef{QStringLiteral("f_Gjje"), QString(), FieldType::Float}});
    auto* report = new TRMReport(&form);
    QVERIFY2(report->ReadTemplate(f.b), qPrintable(report->lastLoadError()));
    const TRMDataDictionary::NameValues variables{{"合计", "[cdsPrint.\"f_Gjje\"]"}};
    const TRMDataDictionary::NameValues datasetAliases{{"单据", "RMDBDataSet1"},
                                                       {"cdsPrint.f_Gjje", ""}};
    const TRMDataDictionary::NameValues fieldAliases{{"单据.金额", "f_Gjje"}};
    QCOMPARE(report->Dictionary.Variables, variables);
    QCOMPARE(report->Dictionary.DatasetAliases, datasetAliases);
    QCOMPARE(report->Dictionary.FieldAliases, fieldAliases);
    QVERIFY(m_runner.messages().isEmpty());
}

void tst_Streams::damagedOldDictionaryRecord_data() {
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("offset"); // of the damage, from the marker on
    Bytes bigCount;
    bigCount.u8(254).i32(0).i32(1000).str(QStringLiteral("a")).str(QStringLiteral("b"));
    QTest::newRow("count beyond the bytes") << bigCount.b << "dictionary list of 1000 entries" << 5;
    Bytes longName;
    longName.u8(254).i32(1).u16(500).b.append("name", 4);
    QTest::newRow("name beyond the bytes") << longName.b << "dictionary name of 500 bytes" << 5;
    Bytes listsMissing;
    listsMissing.u8(254).i32(0).i32(0);
    QTest::newRow("third list missing") << listsMissing.b << "dictionary count" << 9;
}

void tst_Streams::damagedOldDictionaryRecord() {
    QFETCH(QByteArray, record);
    QFETCH(QString, error);
    QFETCH(int, offset);
    QByteArray bytes = TRMReport().WriteTemplate();
    bytes.chop(1 + 2 + 3 * 4);
    const qsizetype at = bytes.size() + offset;
    bytes += record;
    TRMReport report;
    QVERIFY(!report.ReadTemplate(bytes));
    QVERIFY2(report.lastLoadError().startsWith(QStringLiteral("template offset %1: ").arg(at)),
             qPrintable(report.lastLoadError()));
    QVERIFY2(report.lastLoadError().contains(error), qPrintable(report.lastLoadError()));
    QCOMPARE(m_runner.messages().size(), 1);
    QCOMPARE(m_runner.messages()[0].text, QStringLiteral("不支持的rmf格式"));
}

void tst_Streams::refusals_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("untouched");
    QByteArray tooNew("\x2C\x00\x0B", 3);
    QTest::newRow("version 44") << tooNew << "不支持的rmf格式" << true;
    Bytes noSig;
    noSig.u8(43).u8(0).u8(11).str(QStringLiteral("Some Other Report File"));
    QTest::newRow("wrong signature") << noSig.b << "不是VidavuDidoroz报表文件！" << false;
    Bytes cut;
    cut.u8(43).u8(0).u8(11).u16(60000);
    QTest::newRow("signature cut") << cut.b << "不是VidavuDidoroz报表文件！" << false;
    TRMReport good;
    good.addPage();
    QByteArray badMarker = good.WriteTemplate();
    badMarker.append(char(200));
    QTest::newRow("unknown marker") << badMarker << "不支持的rmf格式" << false;
    QByteArray badPage = good.WriteTemplate();
    badPage.truncate(badPage.indexOf(char(255)) + 10);
    QTest::newRow("page cut") << badPage << "不支持的rmf格式" << false;
}

void tst_Streams::refusals() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QFETCH(bool, untouched);
    TRMReport report;
    report.addPage()->addView(new TRMMemoView);
    report.addPage();
    QVERIFY(!report.ReadTemplate(bytes));
    QCOMPARE(m_runner.messages().size(), 1);
    QCOMPARE(m_runner.messages()[0].text, message);
    QCOMPARE(m_runner.messages()[0].caption, QStringLiteral("错误"));
    QCOMPARE(m_runner.messages()[0].flags & ui::kMbIconMask, int(ui::MbIconError));
    if (untouched) {
        QCOMPARE(report.pageCount(), 2);
        QCOMPARE(report.page(0)->views().size(), 1);
    } else {
        QCOMPARE(report.pageCount(), 1);
        QVERIFY(report.page(0)->views().isEmpty());
    }
}

void tst_Streams::unregisteredAddInSkipped() {
    TRMViewFactory::registerAddIn(QStringLiteral("TRMChartView"),
                                  [](QObject* p) { return new TestChartView(p); });
    TRMReport report;
    TRMPage* page = report.addPage();
    page->addView(new TestChartView);
    auto* memo = new TRMMemoView;
    memo->setObjectName(QStringLiteral("After"));
    page->addView(memo);
    const QByteArray bytes = report.WriteTemplate();
    TRMViewFactory::unregisterAddIn(QStringLiteral("TRMChartView"));

    TRMReport target;
    QVERIFY2(target.ReadTemplate(bytes), qPrintable(target.lastLoadError()));
    QCOMPARE(target.page(0)->views().size(), 1);
    QCOMPARE(target.page(0)->views().first()->objectName(), QStringLiteral("After"));
    QCOMPARE(m_runner.messages().size(), 1);
    QCOMPARE(m_runner.messages()[0].text,
             QStringLiteral("Opened report contains the following non-plugged components:\n"
                            "TRMChartView\nUse appropriate component from RM component palette"));
}

void tst_Streams::unregisteredAddInWithoutEndPositionStops() {
    // Version 28 has no end positions: the load stops at the unknown class.
    Bytes f;
    f.u8(28).u16(0).u16(0).str(QStringLiteral("Default Printer"));
    f.u8(255).u8(0).str(QString()).str(QStringLiteral("Page1"));
    f.i32(0).i32(0).i32(0).i32(0).i32(0).u8(0).u8(0);
    f.i32(9).i32(2100).i32(2970).i32(0).i32(0).i32(0).i32(0);
    f.u8(0).u16(0).u16(0).i32(1).i32(0).i32(0).strList({});
    f.u8(10).str(QStringLiteral("TRMChartView")).u8(0).b.append("????");
    TRMReport report;
    QVERIFY(report.ReadTemplate(f.b));
    QCOMPARE(report.pageCount(), 1);
    QCOMPARE(m_runner.messages().size(), 1);
    QVERIFY(m_runner.messages()[0].text.contains(QStringLiteral("TRMChartView")));
}

void tst_Streams::damagedLengthNamesOffset() {
    TRMReport good;
    good.addPage()->addView(new TRMMemoView);
    QByteArray bytes = good.WriteTemplate();
    // Damage inside the header instead: the printer name's length.
    const qsizetype printerAt = bytes.indexOf("Default Printer") - 2;
    bytes[printerAt] = char(0x60);
    bytes[printerAt + 1] = char(0xEA);
    TRMReport report;
    QVERIFY(!report.ReadTemplate(bytes));
    QVERIFY2(
        report.lastLoadError().startsWith(
            QStringLiteral("template offset %1: printer name of 60000 bytes but ").arg(printerAt)),
        qPrintable(report.lastLoadError()));
}

void tst_Streams::everyTruncationIsSafe() {
    TRMReport report;
    TRMPage* p = report.addPage();
    for (const char* c : {"TRMBandView", "TRMMemoView", "TRMPictureView", "TRMRichView",
                          "TRMCalcMemoView", "TRMCheckBoxView"}) {
        TRMView* v = makeView(QString::fromLatin1(c));
        fillAll(*v, 3);
        p->addView(v);
    }
    report.Dictionary.Variables = {{"a", "b"}};
    const QByteArray bytes = report.WriteTemplate();
    for (qsizetype n = 0; n < bytes.size(); ++n) {
        TRMReport r;
        r.ReadTemplate(bytes.left(n));
        QVERIFY(r.pageCount() <= 1);
    }
    // Every single byte flipped: loads or refuses, never crashes or hangs.
    for (qsizetype n = 0; n < bytes.size(); ++n) {
        QByteArray damaged = bytes;
        damaged[n] = char(~damaged[n]);
        TRMReport r;
        r.ReadTemplate(damaged);
    }
}

void tst_Streams::preparedPageRoundTrip() {
    TRMPage design;
    auto* memo = new TRMMemoView;
    memo->setObjectName(QStringLiteral("Memo1"));
    memo->Left = 10;
    memo->Top = 20;
    memo->Width = 100;
    memo->Height = 18;
    memo->setFrameTyp(15);
    memo->Font.Name = QStringLiteral("宋体");
    memo->Alignment = 2;
    memo->RotationType = rt90;
    memo->Memo = {QStringLiteral("[x]")};
    memo->Memo1 = {QStringLiteral("已兑金额"), QStringLiteral("12.50")};
    design.addView(memo);
    auto* pic = new TRMPictureView;
    pic->Picture = {gkJpeg, QByteArray("jpegdata")};
    design.addView(pic);
    TRMEMFPages pages;
    TRMEMFPage rec;
    rec.Stream = TRMPreparedReport::writePageStream(design.views());
    pages.append(rec);
    std::unique_ptr<TRMPage> page = pages.unpackPage(0);
    QCOMPARE(page->views().size(), 2);
    auto* read = qobject_cast<TRMMemoView*>(page->views()[0]);
    QVERIFY(read);
    QCOMPARE(read->Memo1, memo->Memo1);
    QCOMPARE(read->Font.Name, memo->Font.Name);
    QCOMPARE(read->FrameTyp(), 15);
    QCOMPARE(read->RotationType, int(rt90));
    QCOMPARE(qobject_cast<TRMPictureView*>(page->views()[1])->Picture, pic->Picture);
    QVERIFY_THROWS_EXCEPTION(Error, pages.unpackPage(1));
}

void tst_Streams::preparedFileRoundTrip() {
    TRMReport report;
    TRMPage design;
    auto* memo = new TRMMemoView;
    memo->Memo1 = {QStringLiteral("第1页")};
    design.addView(memo);
    for (int i = 0; i < 3; ++i) {
        TRMEMFPage p;
        p.PaperCode = 256;
        p.PaperWidth = 241000 + i;
        p.PaperHeight = 140000;
        p.Orientation = 1;
        p.PaperSource = 7;
        p.LeftMargin = 1000;
        p.TopMargin = 2000;
        p.RightMargin = 3000;
        p.BottomMargin = 4000;
        p.Stream = TRMPreparedReport::writePageStream(design.views());
        report.EMFPages()->append(p);
    }
    report.EMFPages()->Backgrounds.append({1, 2, 3, 4, {gkBitmap, QByteArray("BMdata")}});
    report.PrinterName = QStringLiteral("Virtual Printer");
    report.PrintToForm = true;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.rmp"));
    QVERIFY(report.SavePreparedReportToFile(path));
    TRMReport copy;
    QVERIFY2(copy.LoadPreparedReportFromFile(path), qPrintable(copy.lastLoadError()));
    QCOMPARE(copy.EMFPages()->Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const TRMEMFPage& a = report.EMFPages()->page(i);
        const TRMEMFPage& b = copy.EMFPages()->page(i);
        QCOMPARE(b.PaperWidth, a.PaperWidth);
        QCOMPARE(b.PaperCode, a.PaperCode);
        QCOMPARE(b.PaperSource, a.PaperSource);
        QCOMPARE(b.BottomMargin, a.BottomMargin);
        QCOMPARE(b.Stream, a.Stream);
    }
    QCOMPARE(copy.EMFPages()->Backgrounds, report.EMFPages()->Backgrounds);
    QCOMPARE(copy.PrinterName, QStringLiteral("Virtual Printer"));
    QVERIFY(copy.PrintToForm);
    QCOMPARE(copy.EMFPages()->unpackPage(2)->views().first()->Memo1,
             QStringList{QStringLiteral("第1页")});
}

void tst_Streams::preparedFileRefusals() {
    TRMReport report;
    TRMEMFPage p;
    p.Stream = QByteArray(1, char(43));
    report.EMFPages()->append(p);
    const QByteArray good = report.SavePreparedReport();

    QByteArray noSig = good;
    noSig[5] = 'X';
    TRMReport a;
    a.EMFPages()->append(p);
    QVERIFY(!a.LoadPreparedReport(noSig));
    QCOMPARE(m_runner.messages().last().text, QStringLiteral("不是VidavuDidoroz报表文件!"));
    QCOMPARE(a.EMFPages()->Count(), 1); // nothing loaded, nothing lost

    QByteArray tooNew = good;
    tooNew[0] = char(44);
    QVERIFY(!a.LoadPreparedReport(tooNew));
    QCOMPARE(m_runner.messages().last().text, QStringLiteral("不支持的rmf格式"));

    QByteArray pages = good;
    // The page count (just before the first page record) claims a million pages.
    const qsizetype countAt = good.size() - (4 + 2 + 4 + 4 + 1 + 4 + 16 + 1) - 4;
    pages[countAt + 2] = char(0x0F);
    QVERIFY(!a.LoadPreparedReport(pages));
    QVERIFY2(a.lastLoadError().contains(QStringLiteral("pages but")),
             qPrintable(a.lastLoadError()));

    QByteArray compressed = good;
    compressed[2 + 2 + TRMPreparedReport::signature().size() + 1] = 1;
    QVERIFY(!a.LoadPreparedReport(compressed));
    QVERIFY(a.lastLoadError().contains(QStringLiteral("compressed")));
}

QTEST_MAIN(tst_Streams)
#include "tst_Streams.moc"
