// kill -9 at random moments while the view writes: profile import, copy and reset, macro save,
// rename and batch import, a language change and the desktop's pointer settings. A worker (this
// program with --worker) repeats one operation until it is killed; afterwards every file is the
// old or the new one, whole, and the next start finds no settings file broken and no temporary
// file left behind.

#include "base/runtime_files.h"
#include "base/settings_check.h"
#include "macro/macro_files.h"
#include "support/test_runtime.h"
#include "view/dialogs.h"
#include "view/myqquickview.h"

#include <QApplication>
#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryFile>
#include <QtTest>

#include <cstdio>

namespace
{

const QStringList kOperations{"import", "copy",         "reset",    "macro save",
                              "rename", "batch import", "language", "pointer"};
constexpr int kKills = 200;

const QByteArray kProfileA = "[mouse]\nlod=1\nreportRate=1\n[mouseKeyMatrix]\n0=0, 0, 240, 0\n";
const QByteArray kProfileB = "[mouse]\nlod=2\nreportRate=2\nmouseRate=163\n"
                             "[mouseKeyMatrix]\n0=0, 0, 241, 0\n1=0, 0, 242, 0\n";
const QStringList kRecordsA{"1,A", "0,100", "2,A"};
const QStringList kRecordsB{"1,B", "0,50", "2,B", "0,10", "3,Left", "0,20", "4,Left"};
const QByteArray kAccelerationSlow = "[Mouse]\nXLbInptPointerAcceleration=-1.000\n";
const QByteArray kAccelerationFast = "[Mouse]\nXLbInptPointerAcceleration=1.000\n";

class WorkerDialogs : public Dialogs
{
public:
    QString file;
    QString folder;
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return file;
    }
    QString existingDirectory(QWidget *, const QString &, const QString &) override
    {
        return folder;
    }
    void warning(QWidget *, const QString &, const QString &) override {}
};

// Repeats `operation` in the current folder until killed.
int runWorker(const QString &operation)
{
    WorkerDialogs dialogs;
    Dialogs::setInstance(&dialogs);
    myQQuickView view;
    std::printf("ready\n");
    std::fflush(stdout);
    for (int i = 0;; ++i) {
        const bool even = i % 2 == 0;
        if (operation == "import") {
            dialogs.file = even ? "in/A.pf" : "in/B.pf";
            view.loadProfile(1);
        } else if (operation == "copy") {
            view.copyProfile(2, even ? 3 : 4);
        } else if (operation == "reset") {
            if (even) {
                view.setCurrentProfile(5);
                view.setData("mouse/lod", i % 9 + 1);
                view.settings.currentProfileSettings().sync();
            } else {
                view.resetProfile(5);
            }
        } else if (operation == "macro save") {
            view.saveMacroIni(0, "M", even ? kRecordsA : kRecordsB, even ? 1 : 2);
        } else if (operation == "rename") {
            const bool first = QFile::exists("modules/macro/R1.bin");
            view.modifyMacroNameUpdateProfile(0, 0, first ? "R1" : "R2", first ? "R2" : "R1");
        } else if (operation == "batch import") {
            removeFolderTree("modules/macro/Src");
            dialogs.folder = QDir::current().absoluteFilePath("in/Src");
            view.loadMacroFile_batch();
            view.loadMacroFile_sub_batch();
        } else if (operation == "language") {
            view.setGlobalData("common/language", even ? "German" : "French");
            view.settings.global().sync();
        } else if (operation == "pointer") {
            view.mouseSetCursorSpeed(even ? 0 : 10);
        }
    }
}

QByteArray read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The keys and values of an INI file as a fresh parse sees them (never QSettings' cache: the
// file may have been replaced within the same millisecond); empty when it does not parse.
QMap<QString, QString> parse(const QString &path)
{
    QByteArray content;
    if (readRegularFile(path, kRuntimeFileMaxBytes, content) != ReadResult::Done)
        return {};
    QTemporaryFile copy;
    if (!copy.open() || copy.write(content) != content.size() || !copy.flush())
        return {};
    const QSettings file(copy.fileName(), QSettings::IniFormat);
    QMap<QString, QString> values;
    for (const QString &key : file.allKeys())
        values[key] = file.value(key).toStringList().join(", ");
    if (file.status() != QSettings::NoError)
        return {};
    return values;
}

QStringList macroRecords(const QString &path)
{
    if (!isMacroFile(path))
        return {"<no macro file>"};
    const QMap<QString, QString> values = parse(path);
    QStringList records;
    for (int i = 0; i < values.value("config/total").toInt(); ++i)
        records << values.value(QStringLiteral("macro/%1").arg(i));
    return records;
}

// Entries an operation makes: the batch's copies and the renamed macro. The desktop's settings
// folder is not ours to tidy: what a killed write left there is counted, not removed.
bool isExpectedNew(const QString &entry)
{
    return entry == "modules/macro/Src" ||
           QRegularExpression("^modules/macro/Src/(Deep/?)?([A-Za-z]+\\.bin)?$")
               .match(entry)
               .hasMatch() ||
           entry == "modules/macro/R1.bin" || entry == "modules/macro/R2.bin" ||
           entry.startsWith("config/");
}

QStringList entriesBelow(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(root).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

} // namespace

class TestCrashConsistency : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;
    QString config;

    QString path(const QString &relative) const { return runtime->path(relative); }

    // What must hold after a kill during `operation`; empty when it holds.
    QString violation(const QString &operation, const QMap<QString, QString> &factoryProfile)
    {
        const auto keysOf = [](const QMap<QString, QString> &m) { return m.keys(); };
        if (operation == "import") {
            const QByteArray now = read(path("modules/setting/p2.bin"));
            return now == kProfileA || now == kProfileB ? QString() : "p2.bin: " + now.left(60);
        }
        if (operation == "copy") {
            const QByteArray now = read(path("modules/setting/p3.bin"));
            return now == kProfileA || now == kProfileB ? QString() : "p3.bin: " + now.left(60);
        }
        if (operation == "reset") {
            const QMap<QString, QString> now = parse(path("modules/setting/p6.bin"));
            return keysOf(now) == keysOf(factoryProfile) ? QString() : "p6.bin torn";
        }
        if (operation == "macro save") {
            const QStringList now = macroRecords(path("modules/macro/M.bin"));
            return now == kRecordsA || now == kRecordsB ? QString() : "M.bin: " + now.join(' ');
        }
        if (operation == "rename") {
            const bool one = QFile::exists(path("modules/macro/R1.bin"));
            const bool two = QFile::exists(path("modules/macro/R2.bin"));
            if (one == two)
                return QStringLiteral("R1.bin %1, R2.bin %2").arg(one).arg(two);
            const QStringList now =
                macroRecords(path(one ? "modules/macro/R1.bin" : "modules/macro/R2.bin"));
            return now == kRecordsB ? QString() : "renamed macro: " + now.join(' ');
        }
        if (operation == "batch import") {
            // The batch is copied file by file: a file is there whole, or not yet.
            QDirIterator it(path("modules/macro/Src"), {"*.bin"}, QDir::Files,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString file = it.next();
                const QString source =
                    path("in/Src/") + QDir(path("modules/macro/Src")).relativeFilePath(file);
                if (read(file) != read(QFileInfo(source).path() + "/" +
                                       QFileInfo(source).completeBaseName() + ".mc"))
                    return "batch file torn: " + file;
            }
            return {};
        }
        if (operation == "language") {
            const QMap<QString, QString> now = parse(path("modules/setting/apConfig.bin"));
            const QString language = now.value("common/language");
            if (now.value("common/deviceCount") != "2")
                return "apConfig.bin torn";
            return language == "German" || language == "French" ? QString()
                                                                : "language " + language;
        }
        if (operation == "pointer") {
            const QByteArray now = read(config + "/kcminputrc");
            return now == kAccelerationSlow || now == kAccelerationFast ? QString()
                                                                        : "kcminputrc: " + now;
        }
        return "unknown operation";
    }

private slots:
    void killedWritersLeaveWholeFiles()
    {
        runtime = std::make_unique<TestRuntime>();
        QVERIFY(runtime->isValid());
        config = path("config");
        QVERIFY(QDir().mkpath(config));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
        qputenv("XDG_CURRENT_DESKTOP", "KDE");
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");

        // The old and the new of every operation.
        QVERIFY(runtime->write("in/A.pf", kProfileA));
        QVERIFY(runtime->write("in/B.pf", kProfileB));
        QVERIFY(runtime->write("modules/setting/p2.bin", kProfileA));
        QVERIFY(runtime->write("modules/setting/p3.bin", kProfileA));
        QVERIFY(runtime->write("modules/setting/p4.bin", kProfileA));
        QVERIFY(runtime->write("modules/setting/p5.bin", kProfileB));
        for (const char *name : {"in/Src/One.mc", "in/Src/Two.mc", "in/Src/Deep/Three.mc"})
            QVERIFY(runtime->write(name, "[config]\ntotal=1\nrepeat=1\n[macro]\n0=1,A\n"));
        {
            myQQuickView view;
            QVERIFY(view.createMacroIni("M", 0, 0, 0).toBool());
            QVERIFY(view.saveMacroIni(0, "M", kRecordsA, 1).toBool());
            QVERIFY(view.createMacroIni("R1", 1, 0, 0).toBool());
            QVERIFY(view.saveMacroIni(0, "R1", kRecordsB, 1).toBool());
            view.setGlobalData("common/language", "German");
            view.mouseSetCursorSpeed(0);
        }
        const QMap<QString, QString> factoryProfile = parse(path("modules/setting/pD.bin"));
        QVERIFY(!factoryProfile.isEmpty());
        const QStringList entriesBefore = entriesBelow(runtime->root());

        const quint32 seed = qEnvironmentVariableIsSet("TK700_CRASH_SEED")
                                 ? qEnvironmentVariableIntValue("TK700_CRASH_SEED")
                                 : QRandomGenerator::global()->generate() % 100000;
        qInfo() << "seed" << seed << "(TK700_CRASH_SEED repeats a run)";
        QRandomGenerator random(seed);
        QMap<QString, int> kills;
        QStringList failures;
        for (int k = 0; k < kKills; ++k) {
            const QString operation = kOperations.at(k % kOperations.size());
            QProcess worker;
            worker.setWorkingDirectory(runtime->root());
            worker.start(QCoreApplication::applicationFilePath(), {"--worker", operation});
            QVERIFY(worker.waitForStarted());
            QByteArray said;
            while (!(said += worker.readAllStandardOutput()).contains("ready"))
                QVERIFY2(worker.waitForReadyRead(30000), qPrintable(operation));
            // Anywhere from the first write to well into the loop.
            QThread::usleep(random.bounded(40000));
            worker.kill(); // SIGKILL
            QVERIFY(worker.waitForFinished(10000));
            QCOMPARE(worker.exitStatus(), QProcess::CrashExit);
            ++kills[operation];
            const QString problem = violation(operation, factoryProfile);
            if (!problem.isEmpty())
                failures << QStringLiteral("kill %1 during %2: %3").arg(k).arg(operation, problem);
        }
        qInfo().noquote() << "kills by operation:" << kills;
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));

        // What the killed writers left beside the files.
        QStringList left;
        for (const QString &entry : entriesBelow(runtime->root())) {
            if (!entriesBefore.contains(entry) && !isExpectedNew(entry))
                left << entry;
        }
        qInfo().noquote() << "left by the killed writers:" << left.size() << left.mid(0, 8);

        // The next start: its check, then the view.
        QVERIFY(sweepStaleTemporaries());
        QCOMPARE(findSettingsProblems().size(), 0);
        {
            myQQuickView view;
            QCOMPARE(view.getGlobalData("common/deviceCount").toInt(), 2);
        }
        QStringList stray;
        for (const QString &entry : entriesBelow(runtime->root())) {
            if (!entriesBefore.contains(entry) && !isExpectedNew(entry))
                stray << entry;
        }
        QVERIFY2(stray.isEmpty(), qPrintable(stray.join('\n')));
    }
};

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--worker") == 0) {
        QApplication app(argc, argv);
        return runWorker(QString::fromUtf8(argv[2]));
    }
    QApplication app(argc, argv);
    TestCrashConsistency test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crash_consistency.moc"
