// The files the program reads at run time, as a hostile user or a damaged disk leaves them: equal
// size replacements behind QSettings' cache, imports of anything, FIFOs, devices and huge files
// in place of settings files, unbounded counts and paths in files, and the start-up check that
// names a broken file and offers its factory copy.

#include "base/runtime_files.h"
#include "base/settings_check.h"
#include "base/settings_store.h"
#include "controller/gun_data.h"
#include "controller/language_strings.h"
#include "macro/macro_catalogue.h"
#include "support/test_runtime.h"
#include "view/dialogs.h"
#include "view/myqquickview.h"
#include "view/settings_check_box.h"

#include <QRegularExpression>
#include <QtTest>

#include <memory>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace
{

class AnsweringDialogs : public Dialogs
{
public:
    QString chosenFile;
    bool answer = false;
    QStringList warnings; // title|text
    QStringList asked;    // title|text

    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return chosenFile;
    }
    void warning(QWidget *, const QString &title, const QString &text) override
    {
        warnings << title + '|' + text;
    }
    bool ask(QWidget *, const QString &title, const QString &text) override
    {
        asked << title + '|' + text;
        return answer;
    }
};

enum Entry { Fifo, ZeroLink, Huge, Garbage, Missing };

// Puts something that is no settings file at `path`.
bool plant(const TestRuntime &runtime, const QString &relative, Entry entry)
{
    const QString path = runtime.path(relative);
    QFile::remove(path);
    switch (entry) {
    case Fifo:
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    case ZeroLink: {
        // A private node where we may make one (as root), so that a regression writing through
        // the link replaces that node and not the system's /dev/zero; anyone else cannot write
        // into /dev.
        const QString zero = runtime.path("zero");
        const bool own = QFile::exists(zero) || ::mknod(QFile::encodeName(zero).constData(),
                                                        S_IFCHR | 0666, makedev(1, 5)) == 0;
        return QFile::link(own ? zero : QStringLiteral("/dev/zero"), path);
    }
    case Huge: {
        QFile file(path); // sparse: costs no disk
        return file.open(QIODevice::WriteOnly) && file.resize(qint64(100) << 20);
    }
    case Garbage: {
        QByteArray bytes;
        for (int i = 0; i < 4096; ++i)
            bytes += char((i * 7919) % 251);
        return runtime.write(relative, bytes);
    }
    case Missing:
        return true;
    }
    return false;
}

bool isFifo(const QString &path)
{
    struct stat st = {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

} // namespace

class TestRuntimeFiles : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;
    AnsweringDialogs dialogs;

private slots:
    void init()
    {
        runtime = std::make_unique<TestRuntime>();
        QVERIFY(runtime->isValid());
        dialogs = AnsweringDialogs();
        Dialogs::setInstance(&dialogs);
    }
    void cleanup()
    {
        Dialogs::setInstance(nullptr);
        runtime.reset();
    }

    // QSettings re-reads a cached file only when its size or millisecond time stamp changed. Two
    // replacements of equal size in a row usually land within one millisecond: the second must
    // still be seen, and the next write must not bring the first one back.
    void equalSizeReplacementsInATightLoop()
    {
        QVERIFY(runtime->write("a.pf", "[mouse]\nlod=1\n"));
        QVERIFY(runtime->write("b.pf", "[mouse]\nlod=2\n"));
        const QString a = runtime->path("a.pf"), b = runtime->path("b.pf");
        SettingsStore store;
        int missedRead = 0, undoneByWrite = 0;
        for (int i = 0; i < 1500; ++i) {
            QVERIFY(store.replaceProfile(0, a));
            QVERIFY(store.replaceProfile(0, b));
            missedRead += store.data("mouse/lod", false).toInt() != 2;
            store.setData("test/i", i);
            store.currentProfileSettings().sync();
            undoneByWrite += !runtime->read("modules/setting/p1.bin").contains("lod=2");
        }
        QCOMPARE(missedRead, 0);
        QCOMPARE(undoneByWrite, 0);

        // The same for the global file.
        QVERIFY(runtime->write("modules/setting/apConfigD.bin", "[common]\nlanguage=German\n"));
        for (int i = 0; i < 300; ++i) {
            QVERIFY(runtime->write("modules/setting/apConfig.bin", "[common]\nlanguage=French\n"));
            store.global().sync();
            QVERIFY(store.resetGlobal());
            missedRead += store.globalData("common/language").toString() != "German";
        }
        QCOMPARE(missedRead, 0);
    }

    // What an interrupted write leaves goes at the next start; a file merely named alike stays.
    void sweepTakesOnlyWhatWritersLeave_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("removed");
        QTest::newRow("save file") << "modules/setting/p1.bin.aB3xY9" << true;
        QTest::newRow("lock") << "modules/gun/gunData.bin.lock" << true;
        QTest::newRow("stale lock removed twice") << "modules/setting/p2.bin.lock.rmlock.rmlock"
                                                  << true;
        QTest::newRow("macro subfolder") << "modules/macro/m/m.bin.Q1w2E3" << true;
        QTest::newRow("five letters") << "modules/setting/p1.bin.abcde" << false;
        QTest::newRow("seven letters") << "modules/setting/p1.bin.abcdefg" << false;
        QTest::newRow("not a letter") << "modules/setting/p1.bin.abc-12" << false;
        QTest::newRow("not ASCII") << "modules/setting/p1.bin.abcdé1" << false;
        QTest::newRow("lock then more") << "modules/setting/p1.bin.lock.rmlockx" << false;
        QTest::newRow("no .bin") << "modules/setting/p1.ini.abc123" << false;
        QTest::newRow("bin inside the name") << "modules/setting/a.bin.b.pf" << false;
        QTest::newRow("settings folder's subfolder") << "modules/setting/x/p1.bin.abc123" << false;
    }
    void sweepTakesOnlyWhatWritersLeave()
    {
        QFETCH(QString, file);
        QFETCH(bool, removed);
        QVERIFY(runtime->write(file, "x"));
        QVERIFY(sweepStaleTemporaries());
        QCOMPARE(!QFileInfo::exists(runtime->path(file)), removed);
        QVERIFY(QFileInfo::exists(runtime->path("modules/setting/p1.bin")));
    }

    void profileImportTakesOnlyProfiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("entry"); // -1: write `content`
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("random bytes") << "in.pf" << int(Garbage) << QByteArray();
        QTest::newRow("empty") << "in.pf" << -1 << QByteArray();
        QTest::newRow("100 MB") << "in.pf" << int(Huge) << QByteArray();
        QTest::newRow("link to /dev/zero") << "in.pf" << int(ZeroLink) << QByteArray();
        QTest::newRow("FIFO") << "in.pf" << int(Fifo) << QByteArray();
        QTest::newRow("folder") << "modules" << -2 << QByteArray();
        QTest::newRow("plain text") << "in.pf" << -1 << QByteArray("just some notes\n");
        QTest::newRow("the global file")
            << "in.pf" << -1 << QByteArray("[common]\ndeviceCount=2\n[mouse]\nicType=553\n");
        QTest::newRow("NUL inside")
            << "in.pf" << -1 << QByteArray("[mouse]\nlod=4\n[mouseKeyMatrix]\n0=\0\n", 34);
    }
    // Anything but a profile is refused with a message, and the slot keeps its file and values.
    void profileImportTakesOnlyProfiles()
    {
        QFETCH(QString, file);
        QFETCH(int, entry);
        QFETCH(QByteArray, content);
        if (entry >= 0)
            QVERIFY(plant(*runtime, file, Entry(entry)));
        else if (entry == -1)
            QVERIFY(runtime->write(file, content));
        myQQuickView view;
        view.setCurrentProfile(1);
        view.setData("mouse/lod", 5);
        view.settings.currentProfileSettings().sync();
        const QByteArray before = runtime->read("modules/setting/p2.bin");

        dialogs.chosenFile = runtime->path(file);
        QVERIFY(!view.loadProfile(1));
        QCOMPARE(dialogs.warnings.size(), 1);
        QCOMPARE(runtime->read("modules/setting/p2.bin"), before);
        QCOMPARE(view.getData("mouse/lod", false).toInt(), 5);

        // A profile is taken.
        QVERIFY(runtime->write("good.pf", "[mouse]\nlod=9\n[mouseKeyMatrix]\n0=4, 0, 0, 0\n"));
        dialogs.chosenFile = runtime->path("good.pf");
        QVERIFY(view.loadProfile(1));
        QCOMPARE(view.getData("mouse/lod", false).toInt(), 9);
        QCOMPARE(dialogs.warnings.size(), 1);
    }

    void unreadableEntriesDoNotHang_data()
    {
        QTest::addColumn<int>("entry");
        QTest::newRow("FIFO") << int(Fifo);
        QTest::newRow("link to /dev/zero") << int(ZeroLink);
        QTest::newRow("100 MB") << int(Huge);
    }
    // In place of every file the program reads at run time. The program runs on without them
    // and never writes into what stands there.
    void unreadableEntriesDoNotHang()
    {
        QFETCH(int, entry);
        const QStringList files{"modules/setting/apConfig.bin", "modules/setting/p1.bin",
                                "modules/setting/pD.bin",       "modules/setting/name.bin",
                                "modules/gun/gunData.bin",      "modules/i18n/English.ini",
                                "modules/macro/M.bin"};
        for (const QString &file : files)
            QVERIFY(plant(*runtime, file, Entry(entry)));

        {
            myQQuickView view;
            QVERIFY(!view.getGlobalData("common/deviceCount").isValid());
            QVERIFY(!view.getData("mouse/lod", true).isValid());
            view.setData("mouse/lod", 7);
            QCOMPARE(view.getData("mouse/lod", false).toInt(), 7);
            view.setGlobalData("mouse/profileNo", 1);
            view.settings.global().sync();
            QVERIFY(view.getNameList(2).isEmpty());
            QCOMPARE(view.updataNameList(2, {"One", "Two"}).toBool(), true);
            QVERIFY(view.getGunDataKey().isEmpty());
            QVERIFY(view.getLangStrings("profile", "English").isEmpty());
            QVERIFY(!view.createMacroIni("M", 0, 0, 0).toBool());
            QVERIFY(!view.saveMacroIni(0, "M", {"1,A"}, 1).toBool());
            QVERIFY(view.loadMacroIni(0, "M").isEmpty());
        }
        for (const QString &file : files) {
            const QFileInfo info(runtime->path(file));
            if (entry == Fifo)
                QVERIFY2(isFifo(info.filePath()), qPrintable(file));
            else if (entry == ZeroLink)
                QVERIFY2(info.isSymLink(), qPrintable(file));
            else
                QCOMPARE(info.size(), qint64(100) << 20);
        }
    }

    void languageFileBounds()
    {
        // A damaged total must not make millions of strings.
        QVERIFY(runtime->write("modules/i18n/French.ini",
                               "[profile]\ntotal=2000000000\n0=Config\n1=Nouveau\n"));
        const QStringList texts = languageStrings("profile", "French");
        QVERIFY(texts.size() <= 1024);
        QCOMPARE(texts.mid(0, 2), QStringList({"Config", "Nouveau"}));

        // The language name comes from apConfig.bin and is part of a path.
        QVERIFY(runtime->write("modules/secret.ini", "[profile]\ntotal=1\n0=secret\n"));
        QVERIFY(runtime->write("modules/i18n/Klingon.ini", "[profile]\ntotal=1\n0=Qapla\n"));
        for (const char *code : {"../secret", "../i18n/../secret", "Klingon", "", "English/"})
            QVERIFY2(languageStrings("profile", code).isEmpty(), qPrintable(code));
        QVERIFY(!languageStrings("profile", "English").isEmpty());
    }

    void startupCheck_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("entry"); // -1: write `content`
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("factory");
        QTest::addColumn<bool>("blocksStart");
        const QString global = "modules/setting/apConfig.bin";
        const QString globalCopy = "modules/setting/apConfigD.bin";
        QTest::newRow("global missing")
            << global << int(Missing) << QByteArray() << globalCopy << false;
        QTest::newRow("global damaged")
            << global << int(Garbage) << QByteArray() << globalCopy << false;
        QTest::newRow("no device table")
            << global << -1 << QByteArray("[common]\nname=x\n") << globalCopy << false;
        QTest::newRow("2 000 000 000 devices")
            << global << -1 << QByteArray("[common]\ndeviceCount=2000000000\n") << globalCopy
            << true;
        QTest::newRow("global is a FIFO")
            << global << int(Fifo) << QByteArray() << globalCopy << true;
        QTest::newRow("global links to /dev/zero")
            << global << int(ZeroLink) << QByteArray() << globalCopy << true;
        QTest::newRow("profile is a FIFO") << "modules/setting/p4.bin" << int(Fifo) << QByteArray()
                                           << "modules/setting/pD.bin" << false;
        QTest::newRow("profile damaged") << "modules/setting/p4.bin" << int(Garbage) << QByteArray()
                                         << "modules/setting/pD.bin" << false;
        QTest::newRow("profile with a line that is no entry")
            << "modules/setting/p4.bin" << -1 << QByteArray("[mouse]\nlod=3\nno entry here\n")
            << "modules/setting/pD.bin" << false;
        QTest::newRow("catalogue is a FIFO")
            << "modules/setting/name.bin" << int(Fifo) << QByteArray() << QString() << false;
    }
    // The broken file is named in the debug output and in the box; agreeing restores its factory
    // copy, declining leaves it alone and stops the program only where it cannot run on it.
    void startupCheck()
    {
        QFETCH(QString, file);
        QFETCH(int, entry);
        QFETCH(QByteArray, content);
        QFETCH(QString, factory);
        QFETCH(bool, blocksStart);
        if (entry >= 0)
            QVERIFY(plant(*runtime, file, Entry(entry)));
        else
            QVERIFY(runtime->write(file, content));
        const QString shown = "./" + file;

        const QList<SettingsProblem> problems = findSettingsProblems();
        QCOMPARE(problems.size(), 1);
        QCOMPARE(problems.first().file, shown);
        QCOMPARE(problems.first().blocksStart, blocksStart);
        QCOMPARE(problems.first().factoryCopy, factory.isEmpty() ? QString() : "./" + factory);

        // Declined.
        const QRegularExpression debugLine(
            "^broken settings file: " + QRegularExpression::escape(shown) + " - ");
        QTest::ignoreMessage(QtDebugMsg, debugLine);
        if (blocksStart)
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^cannot start"));
        dialogs.answer = false;
        QCOMPARE(checkSettingsFiles(dialogs), !blocksStart);
        const QStringList told = dialogs.asked + dialogs.warnings;
        QVERIFY(!told.isEmpty());
        QVERIFY2(told.first().contains(shown), qPrintable(told.first()));
        QCOMPARE(dialogs.asked.size(), factory.isEmpty() ? 0 : 1);
        QCOMPARE(findSettingsProblems().size(), 1); // left as it was
        if (entry == Fifo)
            QVERIFY(isFifo(runtime->path(file)));

        // Agreed.
        if (factory.isEmpty())
            return;
        dialogs = AnsweringDialogs();
        dialogs.answer = true;
        QTest::ignoreMessage(QtDebugMsg, debugLine);
        QTest::ignoreMessage(QtDebugMsg,
                             QRegularExpression("^restored " + QRegularExpression::escape(shown)));
        QVERIFY(checkSettingsFiles(dialogs));
        QCOMPARE(dialogs.asked.size(), 1);
        QVERIFY(dialogs.warnings.isEmpty());
        QCOMPARE(runtime->read(file), runtime->read(factory));
        QVERIFY(findSettingsProblems().isEmpty());
    }

    void startupCheckWithoutFactoryCopy()
    {
        QVERIFY(plant(*runtime, "modules/setting/apConfig.bin", Fifo));
        QVERIFY(runtime->write("modules/setting/apConfigD.bin", "[common]\nname=x\n"));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^broken settings file: "));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^broken settings file: "));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^cannot start"));
        QVERIFY(!checkSettingsFiles(dialogs));
        QVERIFY(dialogs.asked.isEmpty());
        QCOMPARE(dialogs.warnings.size(), 1);
        QVERIFY(dialogs.warnings.first().contains("apConfig.bin"));
        QVERIFY(dialogs.warnings.first().contains("apConfigD.bin"));
    }

    void shippedFilesPassTheCheckSilently()
    {
        QVERIFY(findSettingsProblems().isEmpty());
        QVERIFY(checkSettingsFiles(dialogs));
        QVERIFY(dialogs.asked.isEmpty() && dialogs.warnings.isEmpty());
    }
};

QTEST_MAIN(TestRuntimeFiles)
#include "tst_runtime_files.moc"
