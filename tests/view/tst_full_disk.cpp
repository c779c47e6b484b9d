// Every kind of write the program makes, on a full disk: the program's data folders are a small
// tmpfs of their own, filled up before the write. The old files must stay byte for byte, no
// temporary file may be left, the failure reaches the caller and the user with the reason, and the
// same write goes through once space is freed. Needs root for the mount; skipped without it.

#include "support/test_runtime.h"
#include "view/dialogs.h"
#include "view/myqquickview.h"

#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include <cstring>
#include <memory>

#include <sys/mount.h>

namespace
{

const QString kNoSpace = QString::fromLocal8Bit(std::strerror(ENOSPC));

class RecordingDialogs : public Dialogs
{
public:
    QString chosenFile;
    QStringList warnings;

    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return chosenFile;
    }
    void warning(QWidget *, const QString &, const QString &text) override { warnings << text; }
};

enum Write {
    ProfileImport,
    ProfileCopy,
    ProfileReset,
    Apply,
    ProfileChange,
    MacroSave,
    MacroImport,
    Catalogue,
    GunFile,
    Language,
    CtlImport,
};

} // namespace

Q_DECLARE_METATYPE(Write)

namespace
{

// The runtime's ./modules on a tmpfs of its own.
class SmallDisk
{
public:
    explicit SmallDisk(const TestRuntime &runtime) : folder(runtime.path("modules"))
    {
        const QString original = runtime.path("modules.orig");
        mounted = QDir().rename(folder, original) && QDir().mkdir(folder) &&
                  ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0,
                          "size=2m") == 0;
        mounted = mounted && QProcess::execute("cp", {"-a", original + "/.", folder}) == 0;
    }
    ~SmallDisk()
    {
        if (mounted)
            ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
    }
    bool isMounted() const { return mounted; }

    // Takes every free page but `spare`: one page holds the lock file a settings write makes
    // first, so that the write itself is what runs out of room.
    bool fill(int spare)
    {
        const QByteArray page(4096, 'x');
        QFile reserve(folder + "/reserve");
        if (!reserve.open(QIODevice::WriteOnly) || reserve.write(page.repeated(spare)) < 0 ||
            !reserve.flush())
            return false;
        QFile filler(folder + "/filler");
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        while (filler.write(page) == page.size()) {
        }
        return filler.error() != QFileDevice::NoError && QFile::remove(reserve.fileName());
    }
    void free() { QFile::remove(folder + "/filler"); }

    // Every entry below the folder with its bytes, the filler left out.
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> entries;
        QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                    QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString name = QDir(folder).relativeFilePath(path);
            QFile file(path);
            if (name != "filler")
                entries[name] = file.open(QIODevice::ReadOnly) ? file.readAll() : "<folder>";
        }
        return entries;
    }

private:
    QString folder;
    bool mounted = false;
};

} // namespace

class TestFullDisk : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;
    std::unique_ptr<SmallDisk> disk;
    std::unique_ptr<myQQuickView> view;
    RecordingDialogs dialogs;

    // The write; the failure as the caller and the user learn it, or an empty string when done.
    QString write(Write kind)
    {
        dialogs.warnings.clear();
        const auto told = [this](bool ok) { return ok ? QString() : view->saveFailure(); };
        switch (kind) {
        case ProfileImport:
            dialogs.chosenFile = runtime->path("friend.pf");
            return view->loadProfile(1) ? QString() : dialogs.warnings.join('\n');
        case ProfileCopy:
            return told(view->copyProfile(2, 3));
        case ProfileReset:
            return told(view->resetProfile(4));
        case Apply:
        case ProfileChange: {
            QSignalSpy finished(view.get(), &myQQuickView::deviceWorkFinished);
            view->beginDeviceWork();
            if (kind == Apply) {
                view->setData("mouse/lod", 9);
            } else {
                view->setGlobalData("mouse/profileNo", 3);
                view->setCurrentProfile(3);
            }
            view->endDeviceWork();
            if (!finished.wait(5000))
                return "no end of the device work";
            return told(finished.first().at(1).toBool());
        }
        case MacroSave:
            return told(view->saveMacroIni(0, "M", {"1,A", "0,50", "2,A"}, 2).toBool());
        case MacroImport:
            dialogs.chosenFile = runtime->path("Imported.mc");
            return view->loadMacroFile(-1, 0).isEmpty() ? dialogs.warnings.join('\n') : QString();
        case Catalogue:
            return told(view->updataNameList(2, {"Standard0", "Work1"}).toBool());
        case GunFile:
            return told(view->mouseSaveGundata(0, {"M4", "L-Click", "9", "1", "2", "3"}));
        case Language:
            view->setGlobalData("common/language", "German");
            return told(view->saveSettings());
        case CtlImport: {
            QProcess ctl;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("XDG_RUNTIME_DIR", runtime->root());
            env.insert("XDG_DATA_HOME", runtime->path("data")); // never the user's own
            ctl.setProcessEnvironment(env);
            ctl.start(runtime->path("tk700ctl"),
                      {"--json", "profile", "import", "6", runtime->path("friend.pf")});
            if (!ctl.waitForFinished(30000))
                return "tk700ctl hangs";
            const QJsonObject answer = QJsonDocument::fromJson(ctl.readAllStandardOutput()).object();
            if (answer["ok"].toBool() != (ctl.exitCode() == 0))
                return "tk700ctl's answer and exit code disagree";
            return ctl.exitCode() == 0 ? QString() : answer["error"].toString();
        }
        }
        return "unknown write";
    }

private slots:
    void init()
    {
        runtime = std::make_unique<TestRuntime>();
        QVERIFY(runtime->isValid());
        QVERIFY(runtime->write("friend.pf", "[mouse]\nlod=7\n[mouseKeyMatrix]\n0=0, 0, 241, 0\n"));
        QVERIFY(runtime->write("Imported.mc", "[config]\ntotal=1\nrepeat=1\n[macro]\n0=\"1,A\"\n"));
        QVERIFY(QFile::copy(qEnvironmentVariable("TK700_BIN_DIR") + "/tk700ctl",
                            runtime->path("tk700ctl")));
        QVERIFY(runtime->write("modules/setting/p5.bin", "[mouse]\nlod=5\n"));
        disk = std::make_unique<SmallDisk>(*runtime);
        if (!disk->isMounted())
            QSKIP("a tmpfs cannot be mounted here (needs root)");
        Dialogs::setInstance(&dialogs);
        view = std::make_unique<myQQuickView>();
        QCOMPARE(view->createMacroIni("M", 0, 0, 0), QVariant(true));
    }
    void cleanup()
    {
        view.reset();
        Dialogs::setInstance(nullptr);
        disk.reset();
        runtime.reset();
    }

    void writes_data()
    {
        QTest::addColumn<Write>("kind");
        QTest::addColumn<QString>("file"); // what the write changes once there is room
        QTest::addColumn<int>("spare");    // pages left free
        QTest::newRow("profile import") << ProfileImport << "setting/p2.bin" << 0;
        QTest::newRow("profile copy") << ProfileCopy << "setting/p3.bin" << 0;
        QTest::newRow("profile reset") << ProfileReset << "setting/p5.bin" << 0;
        QTest::newRow("apply") << Apply << "setting/p1.bin" << 0;
        QTest::newRow("apply, room for the lock") << Apply << "setting/p1.bin" << 1;
        QTest::newRow("profile change") << ProfileChange << "setting/apConfig.bin" << 0;
        QTest::newRow("macro save") << MacroSave << "macro/M.bin" << 0;
        QTest::newRow("macro save, room for the lock") << MacroSave << "macro/M.bin" << 1;
        QTest::newRow("macro import") << MacroImport << "macro/Imported.bin" << 0;
        QTest::newRow("catalogue") << Catalogue << "setting/name.bin" << 0;
        QTest::newRow("gun file") << GunFile << "gun/gunData.bin" << 0;
        QTest::newRow("gun file, room for the lock") << GunFile << "gun/gunData.bin" << 1;
        QTest::newRow("language") << Language << "setting/apConfig.bin" << 0;
        QTest::newRow("language, room for the lock") << Language << "setting/apConfig.bin" << 1;
        QTest::newRow("tk700ctl profile import") << CtlImport << "setting/p6.bin" << 0;
    }
    void writes()
    {
        QFETCH(Write, kind);
        QFETCH(QString, file);
        QFETCH(int, spare);
        if (kind == ProfileCopy)
            view->settings.profile(3).setValue("mouse/lod", 4); // pending: saved with the copy
        QVERIFY(disk->fill(spare));
        const QMap<QString, QByteArray> before = disk->snapshot();

        const QString failure = write(kind);
        QVERIFY2(failure.contains(kNoSpace), qPrintable(failure));
        // The old files byte for byte, and no temporary or lock file beside them.
        QCOMPARE(disk->snapshot(), before);

        disk->free();
        const QString again = write(kind);
        QVERIFY2(again.isEmpty(), qPrintable(again));
        QVERIFY(disk->snapshot().value(file) != before.value(file));
    }
};

QTEST_MAIN(TestFullDisk)
#include "tst_full_disk.moc"
