// Hostile inputs, as tables: every runtime file and import in every shape a damaged disk or a
// hostile user leaves it, every typed name in every shape, lists from QML of the wrong length and
// type. Each cell must end in a refusal or a sound read, the program must keep working, and
// nothing outside the data folders may change (the tree is hashed before and after). The outcome
// of every cell is printed as a table at the end.

#include "device/device_table.h"
#include "support/mouse_rig.h"
#include "support/test_runtime.h"
#include "view/dialogs.h"
#include "view/myqquickview.h"

#include <QCryptographicHash>
#include <QDirIterator>
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
    QStringList warnings;

    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return chosenFile;
    }
    void warning(QWidget *, const QString &title, const QString &text) override
    {
        warnings << title + '|' + text;
    }
};

enum Form { Truncated, Random, Empty, Huge, Binary, Fifo, DeviceLink, Directory, Unreadable };
const char *const kFormNames[] = {"truncated",        "random",    "empty",
                                  "100 MB",           "binary",    "FIFO",
                                  "link to a device", "directory", "unreadable"};

const QStringList kDataFolders{"modules/setting", "modules/macro", "modules/gun", "modules/i18n"};

// Path -> hash of everything below `root`, optionally leaving out the data folders. Entries that
// are no regular file are named by their kind, never read.
QMap<QString, QByteArray> snapshot(const QString &root, bool withDataFolders)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        if (!withDataFolders &&
            std::any_of(kDataFolders.begin(), kDataFolders.end(),
                        [&](const QString &f) { return relative.startsWith(f); }))
            continue;
        struct stat st = {};
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
            continue;
        if (!S_ISREG(st.st_mode)) {
            entries[relative] = "kind " + QByteArray::number(st.st_mode & S_IFMT);
            continue;
        }
        QFile file(path);
        entries[relative] = file.open(QIODevice::ReadOnly)
                                ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1)
                                : QByteArray("unopenable");
    }
    return entries;
}

QByteArray kindOf(const QString &path)
{
    struct stat st = {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return "missing";
    return QByteArray::number(st.st_mode & S_IFMT);
}

// Puts `form` at `relative`, made from `good` (a sound file of that place) where it needs one.
bool plant(const TestRuntime &runtime, const QString &relative, Form form, const QByteArray &good)
{
    const QString path = runtime.path(relative);
    QFile::remove(path);
    QDir().mkpath(QFileInfo(path).path());
    switch (form) {
    case Truncated:
        // Cut in its first group: a cut that keeps every group is a short file, not a broken one.
        return runtime.write(relative, good.left(good.size() / 8));
    case Random: {
        QByteArray bytes;
        quint32 x = 2463534242u;
        for (int i = 0; i < 8192; ++i) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            bytes += char(x & 0xFF);
        }
        return runtime.write(relative, bytes);
    }
    case Empty:
        return runtime.write(relative, QByteArray());
    case Huge: {
        QFile file(path); // sparse: costs no disk
        return file.open(QIODevice::WriteOnly) && file.resize(qint64(100) << 20);
    }
    case Binary: {
        // The sound file with NULs and bytes that are no UTF-8 in its lines.
        QByteArray bytes = good;
        for (int i = 5; i < bytes.size(); i += 17)
            bytes[i] = (i & 1) ? '\0' : char(0xFF);
        return runtime.write(relative, bytes);
    }
    case Fifo:
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    case DeviceLink: {
        // A private node where we may make one (as root), so that a regression writing through the
        // link replaces only that node.
        const QString zero = runtime.path("zero");
        const bool own = QFile::exists(zero) || ::mknod(QFile::encodeName(zero).constData(),
                                                        S_IFCHR | 0666, makedev(1, 5)) == 0;
        return QFile::link(own ? zero : QStringLiteral("/dev/zero"), path);
    }
    case Directory:
        return QDir().mkpath(path + "/inner") && runtime.write(relative + "/inner/x", "x");
    case Unreadable:
        return runtime.write(relative, good) &&
               QFile::setPermissions(path, QFileDevice::WriteOwner);
    }
    return false;
}

} // namespace

class TestHostileInputs : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;
    AnsweringDialogs dialogs;
    QStringList table; // cell | outcome

    void record(const QString &cell, const QString &outcome)
    {
        table << QStringLiteral("%1 | %2").arg(cell, -56).arg(outcome);
    }

private slots:
    void init()
    {
        runtime = std::make_unique<TestRuntime>();
        QVERIFY(runtime->isValid());
        QVERIFY(runtime->write("outside/victim.bin", "[mouse]\nlod=1\n"));
        dialogs = AnsweringDialogs();
        Dialogs::setInstance(&dialogs);
    }
    void cleanup()
    {
        Dialogs::setInstance(nullptr);
        runtime.reset();
    }
    void cleanupTestCase()
    {
        qInfo().noquote() << "\nhostile inputs: cell | outcome\n" + table.join('\n');
    }

    void runtimeFiles_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<int>("form");
        for (const char *place : {"apConfig.bin", "p1.bin", "name.bin", "gunData.bin",
                                  "language file", "macro file", ".pf import", ".mc import"}) {
            for (int form = Truncated; form <= Unreadable; ++form)
                QTest::addRow("%s, %s", place, kFormNames[form]) << QString(place) << form;
        }
    }
    // Read where the program reads it. Imports are refused with a warning and change nothing;
    // runtime files read as what they hold or as nothing, and the view keeps working. What
    // stands in a file's place is never written through.
    void runtimeFiles()
    {
        QFETCH(QString, place);
        QFETCH(int, form);
        if (form == Unreadable && ::geteuid() == 0)
            QSKIP("permissions do not stop root");
        const QMap<QString, QString> files{{"apConfig.bin", "modules/setting/apConfig.bin"},
                                           {"p1.bin", "modules/setting/p1.bin"},
                                           {"name.bin", "modules/setting/name.bin"},
                                           {"gunData.bin", "modules/gun/gunData.bin"},
                                           {"language file", "modules/i18n/English.ini"},
                                           {"macro file", "modules/macro/M.bin"},
                                           {".pf import", "outside/chosen.pf"},
                                           {".mc import", "outside/chosen.mc"}};
        const QString relative = files.value(place);
        const QString good = place == ".pf import"   ? "modules/setting/pD.bin"
                             : place == ".mc import" ? "modules/macro/M.bin"
                                                     : relative;
        const QByteArray macro = "[config]\ntotal=4\nrepeat=1\n[macro]\n0=1,A\n1=0,100\n2=2,A\n"
                                 "3=0,50\n";
        if (good == "modules/macro/M.bin")
            QVERIFY(runtime->write(good, macro));
        QVERIFY(plant(*runtime, relative, Form(form), runtime->read(good)));
        const QString path = runtime->path(relative);
        const QByteArray kindBefore = kindOf(path);
        const auto outsideBefore = snapshot(runtime->root(), false);
        const QByteArray p2Before = runtime->read("modules/setting/p2.bin");
        const QStringList libraryBefore = QDir(runtime->path("modules/macro")).entryList();

        QString outcome;
        {
            myQQuickView view;
            if (place == "apConfig.bin") {
                const DeviceList table = loadDeviceTable(path);
                QVERIFY(table.size() <= size_t(kMaxDeviceCount));
                outcome = QStringLiteral("device table of %1, deviceCount %2")
                              .arg(table.size())
                              .arg(view.getGlobalData("common/deviceCount").toString());
            } else if (place == "p1.bin") {
                view.setCurrentProfile(0);
                outcome = "lod " + view.getData("mouse/lod", false).toString();
            } else if (place == "name.bin") {
                outcome = QString::number(view.getNameList(2).size()) + " names";
            } else if (place == "gunData.bin") {
                outcome = QString::number(view.getGunDataKey().size()) + " gun records";
            } else if (place == "language file") {
                const QStringList texts = view.getLangStrings("profile", "English");
                QVERIFY(texts.size() <= 1024);
                outcome = QString::number(texts.size()) + " texts";
            } else if (place == "macro file") {
                const QStringList records = view.loadMacroIni(0, "M");
                // Records, then the repeat count.
                outcome = QStringLiteral("%1 records").arg(qMax(0, int(records.size()) - 1));
                // What a load returns is sound: records, then the count.
                for (int i = 0; i + 1 < records.size(); ++i)
                    QVERIFY2(records.at(i).size() < 4096, qPrintable(records.at(i).left(40)));
            } else if (place == ".pf import") {
                dialogs.chosenFile = path;
                QVERIFY(!view.loadProfile(1));
                QCOMPARE(dialogs.warnings.size(), 1);
                QCOMPARE(runtime->read("modules/setting/p2.bin"), p2Before);
                outcome = "refused: " + dialogs.warnings.first();
            } else if (place == ".mc import") {
                dialogs.chosenFile = path;
                QCOMPARE(view.loadMacroFile(-1, 0), QString());
                QCOMPARE(dialogs.warnings.size(), 1);
                QCOMPARE(QDir(runtime->path("modules/macro")).entryList(), libraryBefore);
                outcome = "refused: " + dialogs.warnings.first();
            }
            // The view keeps working.
            view.setCurrentProfile(3);
            view.setData("mouse/lod", 7);
            QCOMPARE(view.getData("mouse/lod", false).toInt(), 7);
        }
        QCOMPARE(snapshot(runtime->root(), false), outsideBefore);
        QCOMPARE(kindOf(path), kindBefore);
        if (form == Fifo || form == DeviceLink || form == Directory || form == Huge)
            QVERIFY(!snapshot(runtime->root(), true).contains(relative + ".lock"));
        record(QStringLiteral("%1, %2").arg(place, kFormNames[form]), outcome);
    }

    void typedNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("../") << "../setting/p1";
        QTest::newRow("absolute") << "<absolute>"; // made below, inside the test's copy
        QTest::newRow("NUL") << QString("a") + QChar(0) + "b";
        QTest::newRow("300 bytes") << QString(150, QChar(0x00E9)); // two bytes each in UTF-8
        QTest::newRow("only dots") << "...";
        QTest::newRow("line break") << "a\nb";
        QTest::newRow("escape") << "a\x1b[2Jb";
        QTest::newRow("DEL") << "a\x7f";
        QTest::newRow("right-to-left override") << QString("x") + QChar(0x202E) + "cm.exe";
        QTest::newRow("right-to-left mark") << QString(QChar(0x200F)) + "abc";
    }
    // Macro, folder, gun and profile-slot names. The library refuses each with a warning; a gun
    // record name is a key in one file and comes back exactly as typed, or is refused.
    void typedNames()
    {
        QFETCH(QString, name);
        if (name == "<absolute>")
            name = runtime->path("outside/victim");
        myQQuickView view;
        QVERIFY(view.createMacroIni("Real", 0, 0, 0).toBool());
        QVERIFY(view.createMacroIni("RealDir", 0, 0, 1).toBool());
        dialogs.warnings.clear();
        const auto before = snapshot(runtime->root(), true);

        QVERIFY(!view.createMacroIni(name, 0, 0, 0).toBool());
        QVERIFY(!view.createMacroIni(name, 1, 0, 1).toBool());
        QVERIFY(!view.saveMacroIni(0, name, {"1,A", "2,A"}, 1).toBool());
        QVERIFY(!view.modifyMacroNameUpdateProfile(0, 0, "Real", name).toBool());
        QVERIFY(!view.modifyMacroNameUpdateProfile(0, 1, "RealDir", name).toBool());
        QVERIFY(view.loadMacroIni(0, name).isEmpty());
        QCOMPARE(dialogs.warnings.size(), 4); // the two creates and the two renames
        QCOMPARE(snapshot(runtime->root(), true), before);

        // Gun records: refused, or kept under exactly that name and no other.
        const QStringList keysBefore = view.getGunDataKey();
        view.mouseSaveGundata(name, {name, 1, 2, 3, 4, 5});
        const QStringList keys = view.getGunDataKey();
        const bool kept = keys.size() == keysBefore.size() + 1;
        QVERIFY2(keys.size() == keysBefore.size() ||
                     (kept && keys.contains(name) && view.getGunData(name).size() == 6),
                 qPrintable(keys.join(',')));
        const auto withGun = snapshot(runtime->root(), true);
        for (auto it = withGun.begin(); it != withGun.end(); ++it) {
            if (it.key() != "modules/gun/gunData.bin")
                QVERIFY2(before.value(it.key()) == it.value(), qPrintable(it.key()));
        }
        record("name " + QString(QTest::currentDataTag()),
               QStringLiteral("macro/folder refused with a warning; gun record %1")
                   .arg(kept ? "kept exactly" : "refused"));
    }

    void listsFromQml_data()
    {
        QTest::addColumn<QVariantList>("list");
        QTest::newRow("empty") << QVariantList();
        QTest::newRow("one") << QVariantList{1};
        QTest::newRow("300 numbers") << QVariantList(300, 7);
        QTest::newRow("texts") << QVariantList{"a", "b", "c", "d", "e", "f", "g", "h"};
        QTest::newRow("nested lists")
            << QVariantList{QVariantList{1, 2}, QVariantList{}, QVariantMap{{"a", 1}}, 4, 5, 6};
        QTest::newRow("null and huge") << QVariantList{QVariant(), 1e300, -1e300, qQNaN(), 5, 6};
    }
    // Every slot that takes a list, with lists of the wrong length and type, against a mouse:
    // each call returns, the link and the view keep working, and nothing outside the data folders
    // changes.
    void listsFromQml()
    {
        QFETCH(QVariantList, list);
        MouseRig rig("553");
        QVERIFY(rig.start());
        const auto before = snapshot(rig.runtime.root(), false);
        {
            myQQuickView view;
            view.deviceLink = rig.link.get();
            view.isColorful = true;
            view.isGun = true;
            view.setDataList("mouse/dpiValueArray", list);
            view.setDataList("mouse/dpiEnableArray", list);
            view.mouseSetDpi(int(list.size()), "3389", list, list);
            view.mouseSetRGBColor(1, list);
            view.ui_10H_SetLED8StageColor(2, list);
            view.mouseSetLedType(6, 50, 3, 0, list);
            view.mouseSaveGundata("Gun", list);
            view.modifyGundata(1, list);
            view.mouseSendGundata(1, list);
            view.mouseSendMacroData(list, 0);
            view.mouseSetKeyMatrix(0, list, list, true, list);
            view.saveMacroFile_batch(0, list, list);
            view.setXYSensitive(0, QVariant(list));
            view.setSelectGun(0, QVariant(list));
            QCOMPARE(snapshot(rig.runtime.root(), false), before);
            view.setData("mouse/lod", 7);
            QCOMPARE(view.getData("mouse/lod", false).toInt(), 7);
            QVERIFY(view.mouseSetReportRate(4));
            QCOMPARE(rig.mouse->state()["reportRate"].toInt(), 4);
        }
        record("list " + QString(QTest::currentDataTag()), "every slot returned, link sound");
    }
};

QTEST_MAIN(TestHostileInputs)
#include "tst_hostile_inputs.moc"
