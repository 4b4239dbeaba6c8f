#include "common/Error.h"
#include "common/Gbk.h"
#include "common/IniProfile.h"

#include <QtTest>

using namespace kestrane;

class TestIniProfile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString folder() const { return m_dir.path() + u'/'; }

    QString fileText(const QString& name) const {
        QFile f(folder() + name);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return gbk::decode(f.readAll());
    }
    void writeBytes(const QString& name, const QByteArray& bytes) const {
        QFile f(folder() + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private Q_SLOTS:
    void missingFileGivesDefault() {
        QCOMPARE(ReadIniValue("none.ini", "S", "K", "dflt", folder()), QString("dflt"));
    }

    void handEditedFileIsReadCaseInsensitively() {
        // Written by hand in an editor: odd spacing, comments, CRLF and LF mixed, GBK text.
        writeBytes("hand.ini",
                   gbk::encode(u"; settings\r\n[ColorOption]\r\n  FormColor = 12632256 \n"
                               u"[网格]\nWidth=80\r\nTitle=\"部门 名称\"\r\n"));
        QCOMPARE(ReadIniValue("hand.ini", "coloroption", "FORMCOLOR", "", folder()),
                 QString("12632256"));
        QCOMPARE(ReadIniValue("hand.ini", "网格", "width", "", folder()), QString("80"));
        QCOMPARE(ReadIniValue("hand.ini", "网格", "Title", "", folder()), QString("部门 名称"));
        QCOMPARE(ReadIniValue("hand.ini", "网格", "FormColor", "none", folder()), QString("none"));
    }

    void writePreservesOtherSectionsAndKeys() {
        writeBytes("keep.ini", "[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
        WriteIniValue("keep.ini", "a", "Y", "20", folder()); // replaces y in [A]
        WriteIniValue("keep.ini", "A", "w", "4", folder());  // appended to [A], before [B]
        WriteIniValue("keep.ini", "C", "v", "5", folder());  // new section at the end
        QCOMPARE(fileText("keep.ini"),
                 QString("[A]\r\nx=1\r\nY=20\r\nw=4\r\n\r\n[B]\r\nz=3\r\n[C]\r\nv=5\r\n"));
        QCOMPARE(ReadIniValue("keep.ini", "b", "Z", "", folder()), QString("3"));
    }

    void gbkValueRoundTrip() {
        WriteIniValue("gbk.ini", "TFrmKestrane明细", "列", "供应商名称", folder());
        QCOMPARE(ReadIniValue("gbk.ini", "TFrmKestrane明细", "列", "", folder()),
                 QString("供应商名称"));
        // The file holds GBK bytes, not UTF-8.
        QFile f(folder() + "gbk.ini");
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains(QByteArray::fromHex("b9a9d3a6c9ccc3fbb3c6")));
    }

    void valueIsCutAt2047Characters() {
        WriteIniValue("long.ini", "S", "K", QString(3000, u'x'), folder());
        QCOMPARE(ReadIniValue("long.ini", "S", "K", "", folder()).size(), 2047);
    }

    void refusedWriteNamesThePath() {
        const QString missingFolder = folder() + "no/such/dir/";
        try {
            WriteIniValue("x.ini", "S", "K", "v", missingFolder);
            QFAIL("write into a missing folder succeeded");
        } catch (const Error& e) {
            QVERIFY2(e.message().contains(missingFolder + "x.ini"), qPrintable(e.message()));
        }
        writeBytes("ro.ini", "[S]\r\nK=old\r\n");
        QFile::setPermissions(folder() + "ro.ini", QFile::ReadOwner);
        if (QFileInfo(folder() + "ro.ini").isWritable())
            QSKIP("running with rights that ignore file permissions");
        QVERIFY_THROWS_EXCEPTION(Error, WriteIniValue("ro.ini", "S", "K", "new", folder()));
        QCOMPARE(ReadIniValue("ro.ini", "S", "K", "", folder()), QString("old"));
    }

    void pathRule() {
        const QString exeDir = QCoreApplication::applicationDirPath() + u'/';
        QCOMPARE(IniFilePath("Zanvexpos.ini", ""), exeDir + "Zanvexpos.ini");
        QCOMPARE(IniFilePath("Zanvexpos.ini", "\\"), exeDir + "Zanvexpos.ini");
        QCOMPARE(IniFilePath("Zanvexpos.ini", "/tmp/x"), QString("/tmp/xZanvexpos.ini"));
    }

    void exeFolderIsUsedWithoutFolder() {
        const QString name =
            QStringLiteral("test_common_ini_%1.ini").arg(QCoreApplication::applicationPid());
        WriteIniValue(name, "S", "K", "beside", "\\");
        QCOMPARE(ReadIniValue(name, "S", "K", "", ""), QString("beside"));
        QVERIFY(QFile::remove(QCoreApplication::applicationDirPath() + u'/' + name));
    }
};

QTEST_GUILESS_MAIN(TestIniProfile)
#include "TestIniProfile.moc"
