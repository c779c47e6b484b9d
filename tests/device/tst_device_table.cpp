// Loading the device table from apConfig.bin.

#include "device/device_table.h"
#include "support/test_runtime.h"

#include <QtTest>

class TestDeviceTable : public QObject
{
    Q_OBJECT

private:
    DeviceList load(const QByteArray &ini)
    {
        const QString name = runtime.path("table.ini");
        QFile f(name);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {};
        f.write(ini);
        f.close();
        return loadDeviceTable(name);
    }
    TestRuntime runtime;

private slots:
    void defaultsForMissingKeys()
    {
        const DeviceList list = load("[common]\ndeviceCount=1\n[0]\nvid=04d9\n");
        QCOMPARE(list.size(), size_t(1));
        const DeviceEntry &e = *list[0];
        QCOMPARE(e.type, -1);
        QCOMPARE(e.vid, quint16(0x04d9));
        QCOMPARE(e.pid, quint16(0));
        QCOMPARE(e.usagePage, quint16(0));
        QCOMPARE(e.usage2, quint16(0));
        QCOMPARE(e.reportLength, 32);
        QCOMPARE(e.isEncode, false);
        QCOMPARE(e.sCode, QString::fromLatin1(kDefaultScrambleCode));
        QCOMPARE(e.sCode.size(), 6);
        QVERIFY(e.cmdPath.isEmpty());
        QVERIFY(e.eventPath.isEmpty());
    }

    void hexIsCaseInsensitiveAndBadTextIsZero()
    {
        const DeviceList list = load("[common]\ndeviceCount=3\n"
                                     "[0]\nvid=04D9\npid=A09F\ntype=1\n"
                                     "[1]\nvid=04d9\npid=a09f\ntype=0\n"
                                     "[2]\nvid=zz\npid=1a09f\nusagePage=ff0g\n");
        QCOMPARE(list.size(), size_t(3));
        QCOMPARE(list[0]->vid, list[1]->vid);
        QCOMPARE(list[0]->pid, quint16(0xa09f));
        QCOMPARE(list[0]->type, 1);
        QCOMPARE(list[1]->type, 0);
        QCOMPARE(list[2]->vid, quint16(0));
        // Only the low 16 bits of a larger value are kept.
        QCOMPARE(list[2]->pid, quint16(0xa09f));
        QCOMPARE(list[2]->usagePage, quint16(0));
    }

    void sameIdsBothKeptInOrder()
    {
        const DeviceList list = load("[common]\ndeviceCount=2\n"
                                     "[0]\nvid=04d9\npid=a09f\nusagePage=ff02\nusage=ff02\n"
                                     "[1]\nvid=04d9\npid=a09f\nusagePage=ff00\nusage=ff00\n"
                                     "reportLength=64\nisEncode=true\nsCode=123456\n");
        QCOMPARE(list.size(), size_t(2));
        QCOMPARE(list[0]->usagePage, quint16(0xff02));
        QCOMPARE(list[1]->usagePage, quint16(0xff00));
        QCOMPARE(list[1]->reportLength, 64);
        QCOMPARE(list[1]->isEncode, true);
        QCOMPARE(list[1]->sCode, QStringLiteral("123456"));
    }

    void missingCountOrFileGivesEmptyTable()
    {
        QVERIFY(load("[0]\nvid=04d9\npid=a09f\n").empty());
        QVERIFY(loadDeviceTable(runtime.path("no-such-file.bin")).empty());
    }

    // Values no device can have are refused with a debug line: the entry keeps its place but
    // can name no device, and a huge count gives no table (rather than exhausting memory).
    void impossibleValuesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<QString>("message");
        QTest::newRow("report length 0") << QByteArray("reportLength=0") << "0 is outside 1 ... 64";
        QTest::newRow("report length 65") << QByteArray("reportLength=65") << "65 is outside";
        QTest::newRow("report length 2^31-1")
            << QByteArray("reportLength=2147483647") << "2147483647 is outside";
        QTest::newRow("vendor id 0") << QByteArray("vid=0") << QString();
        QTest::newRow("product id 0") << QByteArray("pid=0") << QString();
    }
    void impossibleValuesAreRefused()
    {
        QFETCH(QByteArray, entry);
        QFETCH(QString, message);
        if (!message.isEmpty())
            QTest::ignoreMessage(QtDebugMsg,
                                 QRegularExpression("Device table: entry 1 refused: reportLength " +
                                                    QRegularExpression::escape(message)));
        const DeviceList list = load("[common]\ndeviceCount=2\n[0]\nvid=04d9\npid=a09f\n"
                                     "[1]\nvid=04d9\npid=a09f\n" +
                                     entry + "\n");
        QCOMPARE(list.size(), size_t(2));
        QVERIFY(isUsableEntry(*list[0]));
        QVERIFY(!isUsableEntry(*list[1]));

        QTest::ignoreMessage(QtDebugMsg,
                             "Device table refused: deviceCount 2000000000 is more than 64");
        QVERIFY(load("[common]\ndeviceCount=2000000000\n[0]\nvid=04d9\npid=a09f\n").empty());
    }

    void shippedTableListsKeyboardAndMouse()
    {
        const DeviceList list = loadDeviceTable();
        QCOMPARE(list.size(), size_t(2));
        QCOMPARE(list[0]->type, 0);
        QCOMPARE(list[0]->pid, quint16(0xa1f7));
        QCOMPARE(list[1]->type, 1);
        QCOMPARE(list[1]->vid, quint16(0x04d9));
        QCOMPARE(list[1]->pid, quint16(0xa09f));
        QCOMPARE(list[1]->usagePage, quint16(0xff00));
        QCOMPARE(list[1]->usage2, quint16(0xff01));
    }

    // The resource copy documents the same two devices as the shipped table.
    void devInfoMatchesShippedTable()
    {
        QSettings doc(QStringLiteral(":/modules/DevInfo.ini"), QSettings::IniFormat);
        QCOMPARE(doc.value("common/total").toInt(), 2);
        QCOMPARE(doc.value("common/isEncode").toBool(), false);
        const DeviceList shipped = loadDeviceTable();
        for (int i = 0; i < 2; ++i) {
            const QString g = QString::number(i) + "/";
            QCOMPARE(doc.value(g + "vid").toString().toUInt(nullptr, 16), uint(shipped[i]->vid));
            QCOMPARE(doc.value(g + "pid").toString().toUInt(nullptr, 16), uint(shipped[i]->pid));
            QCOMPARE(doc.value(g + "usagePage2").toString().toUInt(nullptr, 16),
                     uint(shipped[i]->usagePage2));
            QCOMPARE(doc.value(g + "reportLength").toInt(), shipped[i]->reportLength);
        }
    }
};

QTEST_GUILESS_MAIN(TestDeviceTable)
#include "tst_device_table.moc"
