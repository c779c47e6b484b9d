// The udev rule the build writes from the device table: every model the program can find has its
// line, so that no owner of a listed model needs root.

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

// The rule for `table`, written by the build's own script.
QStringList writeRule(const QString &table, const QString &output)
{
    QProcess cmake;
    cmake.start(TK700_CMAKE_COMMAND,
                {"-DTABLE=" + table, "-DOUTPUT=" + output, "-P", TK700_UDEV_RULE_SCRIPT});
    if (!cmake.waitForFinished(60000) || cmake.exitCode() != 0)
        return {QStringLiteral("failed: ") + cmake.readAllStandardError()};
    return ruleLines(output);
}

// The rule's lines for the entries the program would use, one per model.
QStringList expectedLines(const QString &table)
{
    QStringList expected;
    for (const auto &entry : loadDeviceTable(table))
        if (entry->vid != 0 && entry->pid != 0 &&
            !expected.contains(ruleLine(entry->vid, entry->pid)))
            expected << ruleLine(entry->vid, entry->pid);
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
    }

    // A model added to the table is covered at the next build; ids are written as udev reads
    // them (four lower-case digits); an entry the program cannot use and a repeated model give no
    // line of their own.
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
    }
};

QTEST_GUILESS_MAIN(TestUdevRule)
#include "tst_udev_rule.moc"
