// The udev rule and the AppStream metadata the build writes from the device table: every model the
// program can find has its rule line, so that no owner of a listed model needs root, and its
// modalias, so that a software centre offers the package for it.

#include "device/device_table.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

namespace
{

QString ruleLine(quint16 vid, quint16 pid)
{
    return QStringLiteral("KERNEL==\"hidraw*\", ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\", "
                          "TAG+=\"uaccess\"")
        .arg(vid, 4, 16, QLatin1Char('0'))
        .arg(pid, 4, 16, QLatin1Char('0'));
}

QStringList ruleLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QString &line : QString::fromUtf8(f.readAll()).split('\n'))
        if (!line.startsWith('#') && !line.trimmed().isEmpty())
            lines << line;
    return lines;
}

// A model as the kernel names a USB device, upper-case digits, any revision.
QString modalias(quint16 vid, quint16 pid)
{
    const auto hex = [](quint16 id) {
        return QString::number(id, 16).rightJustified(4, QLatin1Char('0')).toUpper();
    };
    return QStringLiteral("usb:v%1p%2d*").arg(hex(vid), hex(pid));
}

QStringList modaliases(const QString &metainfoPath)
{
    QFile f(metainfoPath);
    if (!f.open(QIODevice::ReadOnly))
        return {QStringLiteral("unreadable: ") + metainfoPath};
    QStringList found;
    static const QRegularExpression element(QStringLiteral("<modalias>([^<]*)</modalias>"));
    for (const auto &match : element.globalMatch(QString::fromUtf8(f.readAll())))
        found << match.captured(1);
    return found;
}

QString runScript(const QStringList &args)
{
    QProcess cmake;
    cmake.start(TK700_CMAKE_COMMAND, args);
    if (!cmake.waitForFinished(60000) || cmake.exitCode() != 0)
        return QStringLiteral("failed: ") + cmake.readAllStandardError();
    return {};
}

// The rule for `table`, written by the build's own script.
QStringList writeRule(const QString &table, const QString &output)
{
    const QString failed =
        runScript({"-DTABLE=" + table, "-DOUTPUT=" + output, "-P", TK700_UDEV_RULE_SCRIPT});
    return failed.isEmpty() ? ruleLines(output) : QStringList{failed};
}

// The metadata's modaliases for `table`, written by the build's own script.
QStringList writeMetainfo(const QString &table, const QString &output)
{
    const QString failed =
        runScript({"-DTABLE=" + table, "-DOUTPUT=" + output, "-DCHANGELOG=" TK700_CHANGELOG,
                   "-DTEMPLATE=" TK700_METAINFO_TEMPLATE, "-P", TK700_METAINFO_SCRIPT});
    return failed.isEmpty() ? modaliases(output) : QStringList{failed};
}

// The lines `line(vid, pid)` for the entries the program would use, one per model.
QStringList expectedLines(const QString &table, QString (*line)(quint16, quint16) = ruleLine)
{
    QStringList expected;
    for (const auto &entry : loadDeviceTable(table))
        if (entry->vid != 0 && entry->pid != 0 && !expected.contains(line(entry->vid, entry->pid)))
            expected << line(entry->vid, entry->pid);
    return expected;
}

} // namespace

class TestUdevRule : public QObject
{
    Q_OBJECT

private slots:
    // The shipped table, read by the program's own reader, against the rule the build installs.
    void everyShippedModelHasItsLine()
    {
        const QStringList lines = ruleLines(TK700_UDEV_RULE);
        const QStringList expected = expectedLines(TK700_FACTORY_TABLE);
        QVERIFY(expected.size() >= 2);
        QVERIFY(expected.contains(ruleLine(0x04d9, 0xa1f7)));
        QVERIFY(expected.contains(ruleLine(0x04d9, 0xa09f)));
        QCOMPARE(lines, expected);
        QCOMPARE(modaliases(TK700_METAINFO), expectedLines(TK700_FACTORY_TABLE, modalias));
    }

    // A model added to the table is covered at the next build; ids are written as udev reads
    // them (four lower-case digits) and as the kernel writes a modalias (upper-case); an entry the
    // program cannot use and a repeated model give no line of their own.
    void tableChangesReachTheRule()
    {
        QTemporaryDir dir;
        const QString table = dir.filePath("apConfig.bin");
        QFile f(table);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[common]\ndeviceCount=5\n"
                "[0]\nvid=04D9\npid=A1F7\n"
                "[1]\nvid=4d9\npid=a09f\n"
                "[2]\nvid=1234\npid=00aa\n"
                "[3]\nvid=0\npid=a09f\n"
                "[4]\nvid=04d9\npid=a09f\n"
                "[5]\nvid=beef\npid=beef\n"); // beyond deviceCount
        f.close();
        const QStringList lines = writeRule(table, dir.filePath("70-tk700.rules"));
        QCOMPARE(lines, QStringList({ruleLine(0x04d9, 0xa1f7), ruleLine(0x04d9, 0xa09f),
                                     ruleLine(0x1234, 0x00aa)}));
        QCOMPARE(lines, expectedLines(table));
        QCOMPARE(writeMetainfo(table, dir.filePath("metainfo.xml")),
                 QStringList({"usb:v04D9pA1F7d*", "usb:v04D9pA09Fd*", "usb:v1234p00AAd*"}));
    }
};

QTEST_GUILESS_MAIN(TestUdevRule)
#include "tst_udev_rule.moc"
