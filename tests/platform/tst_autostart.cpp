// The XDG autostart entry that starts the program with the desktop session, hidden in the tray.

#include "platform/autostart.h"

#include <QProcess>
#include <QtTest>

namespace
{

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

QStringList lines(const QByteArray &content)
{
    return QString::fromUtf8(content).split('\n', Qt::SkipEmptyParts);
}

} // namespace

class TestAutostart : public QObject
{
    Q_OBJECT

private slots:
    void writtenAndRemoved()
    {
        QTemporaryDir config;
        Autostart autostart(config.path(), "/usr/lib/tk700/tk700");
        QCOMPARE(autostart.entryPath(), config.path() + "/autostart/tk700.desktop");
        QVERIFY(!autostart.isEnabled());

        QVERIFY(autostart.setEnabled(true));
        QVERIFY(autostart.isEnabled());
        const QStringList entry = lines(readFile(autostart.entryPath()));
        QCOMPARE(entry.first(), QString("[Desktop Entry]"));
        QVERIFY(entry.contains("Type=Application"));
        QVERIFY(entry.contains("Exec=\"/usr/lib/tk700/tk700\" --hidden"));
        // Written again: the same entry, no second one.
        QVERIFY(autostart.setEnabled(true));
        QCOMPARE(QDir(config.path() + "/autostart").entryList(QDir::Files).size(), 1);

        QVERIFY(autostart.setEnabled(false));
        QVERIFY(!autostart.isEnabled());
        QVERIFY(!QFileInfo::exists(autostart.entryPath()));
        // Nothing to remove is no failure.
        QVERIFY(autostart.setEnabled(false));
    }

    // A path with blanks and the characters the desktop entry format reserves is quoted so that
    // the desktop starts this program and nothing else.
    void programPathIsQuoted()
    {
        QTemporaryDir config;
        Autostart autostart(config.path(), R"(/opt/my $HOME/"x"`y`\z/tk700)");
        QVERIFY(autostart.setEnabled(true));
        QVERIFY(lines(readFile(autostart.entryPath()))
                    .contains(R"(Exec="/opt/my \\$HOME/\\"x\\"\\`y\\`\\\\z/tk700" --hidden)"));
    }

    // What the desktop's own settings leave behind when the user switches the entry off there.
    void entriesSwitchedOffByTheDesktopReadAsOff_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("hidden") << QByteArray("[Desktop Entry]\nExec=tk700\nHidden=true\n");
        QTest::newRow("gnome off")
            << QByteArray("[Desktop Entry]\nExec=tk700\nX-GNOME-Autostart-enabled=false\n");
        QTest::newRow("no exec") << QByteArray("[Desktop Entry]\nType=Application\n");
        QTest::newRow("other group") << QByteArray("[Other]\nExec=tk700\n");
    }
    void entriesSwitchedOffByTheDesktopReadAsOff()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir config;
        Autostart autostart(config.path(), "/usr/bin/tk700");
        QVERIFY(writeFile(autostart.entryPath(), content));
        QVERIFY(!autostart.isEnabled());
        // Switched on here: the entry is written whole again.
        QVERIFY(autostart.setEnabled(true));
        QCOMPARE(readFile(autostart.entryPath()), autostart.entry());
    }

    // A link in the entry's place is replaced or removed, never written through.
    void aLinkIsNotFollowed()
    {
        QTemporaryDir config;
        Autostart autostart(config.path(), "/usr/bin/tk700");
        const QString target = config.filePath("elsewhere.desktop");
        QVERIFY(writeFile(target, "[Desktop Entry]\nExec=other\n"));
        QVERIFY(QDir().mkpath(config.path() + "/autostart"));
        QVERIFY(QFile::link(target, autostart.entryPath()));
        QVERIFY(autostart.setEnabled(true));
        QCOMPARE(readFile(target), QByteArray("[Desktop Entry]\nExec=other\n"));
        QVERIFY(!QFileInfo(autostart.entryPath()).isSymLink());

        QVERIFY(QFile::remove(autostart.entryPath()));
        QVERIFY(QFile::link(target, autostart.entryPath()));
        QVERIFY(autostart.setEnabled(false));
        QVERIFY(QFileInfo::exists(target));
        QVERIFY(!QFileInfo(autostart.entryPath()).isSymLink());
    }

    void unwritableFolderIsAFailure()
    {
        QTemporaryDir config;
        QVERIFY(writeFile(config.filePath("autostart"), "a file, not a folder"));
        Autostart autostart(config.path(), "/usr/bin/tk700");
        QVERIFY(!autostart.setEnabled(true));
        QVERIFY(!autostart.isEnabled());
    }
};

QTEST_GUILESS_MAIN(TestAutostart)
#include "tst_autostart.moc"
