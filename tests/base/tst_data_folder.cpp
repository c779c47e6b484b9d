// The per-user data folder of an installed program: filled on first start, completed by a newer
// installed version without losing the user's values, and not used at all where the program's own
// folder is writable.

#include "base/data_folder.h"
#include "support/test_runtime.h"

#include <QSettings>
#include <QtTest>

namespace
{

bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QVariant valueOf(const QString &file, const QString &key)
{
    return QSettings(file, QSettings::IniFormat).value(key);
}

void setReadOnly(const QString &folder, bool readOnly)
{
    const QFile::Permissions rx = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                  QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(folder, readOnly ? rx : rx | QFile::WriteOwner);
}

} // namespace

class TestDataFolder : public QObject
{
    Q_OBJECT

private slots:
    // The build folder (writable) is worked in as it is; the user's folder stays untouched.
    void writableProgramFolderIsUsedInPlace()
    {
        TestRuntime runtime;
        QVERIFY(runtime.isValid());
        QTemporaryDir home;
        const QString user = home.filePath("data/tk700");
        QCOMPARE(prepareDataFolder(runtime.root(), user), runtime.root());
        QVERIFY(!QFileInfo::exists(user));
    }

    // Read-only program folder: the factory files are copied on first start, and a second start
    // copies nothing again and keeps what the user changed.
    void readOnlyProgramFolderFillsTheUsersFolder()
    {
        TestRuntime runtime;
        QVERIFY(runtime.isValid());
        QTemporaryDir home;
        const QString user = home.filePath("data/tk700");
        setReadOnly(runtime.root() + "/modules/setting", true);
        setReadOnly(runtime.root(), true);

        DataFolderReport report;
        QCOMPARE(prepareDataFolder(runtime.root(), user, &report), user);
        QVERIFY(report.ok());
        for (const char *file : {"setting/apConfig.bin", "setting/p1.bin", "setting/pD.bin",
                                 "i18n/English.ini", "gun/gunData.bin", "img/logo.ico"}) {
            QVERIFY2(report.copied.contains(file), file);
            QCOMPARE(readFile(user + "/modules/" + file),
                     readFile(runtime.root() + "/modules/" + file));
        }

        QSettings(user + "/modules/setting/p1.bin", QSettings::IniFormat)
            .setValue("mouse/reportRate", 7);
        report = DataFolderReport();
        QCOMPARE(prepareDataFolder(runtime.root(), user, &report), user);
        QVERIFY(report.copied.isEmpty());
        QVERIFY(report.merged.isEmpty());
        QCOMPARE(valueOf(user + "/modules/setting/p1.bin", "mouse/reportRate").toInt(), 7);

        setReadOnly(runtime.root(), false);
        setReadOnly(runtime.root() + "/modules/setting", false);
    }

    // A newer installed version: new keys reach the user's files, the user's values stay; the
    // device table follows the installed file (a new model is found); language files are
    // replaced; the user's own macros and files are left alone.
    void newerVersionCompletesTheUsersFiles()
    {
        QTemporaryDir root;
        const QString factory = root.filePath("install");
        const QString user = root.filePath("user");
        QVERIFY(writeFile(factory + "/modules/setting/p1.bin",
                          "[mouse]\nreportRate=1\nliftOff=2\n[light]\nmode=3\n"));
        QVERIFY(writeFile(factory + "/modules/setting/apConfig.bin",
                          "[common]\nlanguage=English\ndeviceCount=2\n"
                          "[0]\nvid=04d9\npid=a1f7\n[1]\nvid=04d9\npid=a09f\n"));
        QVERIFY(writeFile(factory + "/modules/i18n/English.ini", "[other]\ntotal=2\n0=a\n1=b\n"));
        QVERIFY(writeFile(user + "/modules/setting/p1.bin", "[mouse]\nreportRate=8\n"));
        QVERIFY(writeFile(user + "/modules/setting/apConfig.bin",
                          "[common]\nlanguage=German\ndeviceCount=1\n[0]\nvid=04d9\npid=a09f\n"
                          "[5]\nvid=dead\npid=beef\n"));
        QVERIFY(writeFile(user + "/modules/i18n/English.ini", "[other]\ntotal=1\n0=a\n"));
        QVERIFY(writeFile(user + "/modules/macro/mine.mc", "user's macro"));
        QVERIFY(writeFile(user + "/modules/setting/p1.bin.notes", "mine"));

        const DataFolderReport report = fillDataFolder(factory, user);
        QVERIFY(report.ok());
        QStringList merged = report.merged;
        merged.sort();
        QCOMPARE(merged, QStringList({"setting/apConfig.bin", "setting/p1.bin"}));
        QCOMPARE(report.renewed, QStringList({"i18n/English.ini"}));

        const QString p1 = user + "/modules/setting/p1.bin";
        QCOMPARE(valueOf(p1, "mouse/reportRate").toInt(), 8);
        QCOMPARE(valueOf(p1, "mouse/liftOff").toInt(), 2);
        QCOMPARE(valueOf(p1, "light/mode").toInt(), 3);
        const QString ap = user + "/modules/setting/apConfig.bin";
        QCOMPARE(valueOf(ap, "common/language").toString(), QString("German"));
        QCOMPARE(valueOf(ap, "common/deviceCount").toInt(), 2);
        QCOMPARE(valueOf(ap, "0/pid").toString(), QString("a1f7"));
        QCOMPARE(valueOf(ap, "1/pid").toString(), QString("a09f"));
        QVERIFY(!QSettings(ap, QSettings::IniFormat).contains("5/vid"));
        QCOMPARE(readFile(user + "/modules/i18n/English.ini"),
                 readFile(factory + "/modules/i18n/English.ini"));
        QCOMPARE(readFile(user + "/modules/macro/mine.mc"), QByteArray("user's macro"));
        QCOMPARE(readFile(user + "/modules/setting/p1.bin.notes"), QByteArray("mine"));

        // Up to date: nothing is written again.
        const DataFolderReport again = fillDataFolder(factory, user);
        QVERIFY(again.merged.isEmpty() && again.renewed.isEmpty() && again.copied.isEmpty());
    }

    // A user's file that cannot be read as a settings file is left as it is (the start-up check
    // names it); a link in the user's folder is not written through.
    void brokenOrLinkedUserFilesAreLeftAlone()
    {
        QTemporaryDir root;
        const QString factory = root.filePath("install");
        const QString user = root.filePath("user");
        QVERIFY(writeFile(factory + "/modules/setting/p1.bin", "[mouse]\nreportRate=1\n"));
        QVERIFY(writeFile(factory + "/modules/setting/p2.bin", "[mouse]\nreportRate=1\n"));
        QVERIFY(QDir().mkpath(user + "/modules/setting/p1.bin")); // a folder in its place
        const QString outside = root.filePath("outside.txt");
        QVERIFY(QFile::link(outside, user + "/modules/setting/p2.bin")); // dangling

        const DataFolderReport report = fillDataFolder(factory, user);
        QStringList kept = report.kept;
        kept.sort();
        QCOMPARE(kept, QStringList({"setting/p1.bin", "setting/p2.bin"}));
        QVERIFY(!QFileInfo::exists(outside));
    }

    // The user's folder cannot be made: no folder to work in, and the reason is given.
    void uncreatableUserFolderIsAFailure()
    {
        TestRuntime runtime;
        QVERIFY(runtime.isValid());
        QTemporaryDir home;
        QVERIFY(writeFile(home.filePath("file"), "x"));
        setReadOnly(runtime.root(), true);
        DataFolderReport report;
        QCOMPARE(prepareDataFolder(runtime.root(), home.filePath("file/tk700"), &report),
                 QString());
        QVERIFY(!report.ok());
        setReadOnly(runtime.root(), false);
    }

    // An installed package's folder is left alone even by a user who may write there (root).
    void systemFoldersAreNeverWorkedIn()
    {
        QVERIFY(isSystemFolder("/usr/bin"));
        QVERIFY(isSystemFolder("/usr/lib"));
        if (QFileInfo::exists("/usr/local/bin"))
            QVERIFY(!isSystemFolder("/usr/local/bin"));
        QTemporaryDir dir;
        QVERIFY(!isSystemFolder(dir.path()));
        QTemporaryDir home;
        const QString user = home.filePath("data/tk700");
        QCOMPARE(prepareDataFolder("/usr/bin", user), user);
        QVERIFY(QFileInfo(user).isDir());
    }

    void modeBitsCountEvenForRoot()
    {
        QTemporaryDir dir;
        QVERIFY(isWritableFolder(dir.path()));
        setReadOnly(dir.path(), true);
        QVERIFY(!isWritableFolder(dir.path()));
        setReadOnly(dir.path(), false);
        QVERIFY(!isWritableFolder(dir.filePath("missing")));
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_data_folder.moc"
