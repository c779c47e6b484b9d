// The macro library on a private copy of the runtime data: files and folders, the catalogue
// name.bin, import, export and batch transfer, names or files that try to get out of it, and the
// macro block encoder.

#include "base/settings_store.h"
#include "input/key_names.h"
#include "macro/macro_catalogue.h"
#include "macro/macro_encoder.h"
#include "macro/macro_transfer.h"
#include "support/test_runtime.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <QSettings>
#include <QtTest>

#include <memory>

#include <unistd.h>

Q_DECLARE_METATYPE(TransferStatus)

namespace
{

const QByteArray kMacro = "[config]\ntotal=1\nrepeat=3\n[macro]\n0=\"1,A\"\n";
const char *const kRenameFalse =
    "========================  rename  = false  ===================================";

MacroSelection selectionOf(const QStringList &names, int level = 0)
{
    MacroSelection selection;
    selection.setNames(names);
    selection.setLevel(QString::number(level));
    return selection;
}

QStringList strings(const QVariantList &list)
{
    QStringList out;
    for (const QVariant &item : list)
        out.append(item.toString());
    return out;
}

// Writes one folder's lists, expecting the two debug lines of the call.
void writeLists(int att, int level, const QString &current, const MacroSelection &selection,
                const TreeLists &lists)
{
    QTest::ignoreMessage(QtDebugMsg, "=========================== updataMacroList "
                                     "=====================================");
    QTest::ignoreMessage(QtDebugMsg, qPrintable("nameList = " + lists[0].join(' ')));
    MacroCatalogue().writeFolder(att, level, current, selection, lists);
}

// Makes `file` impossible to remove: immutable for root, a read-only folder for anyone else.
bool lock(const QString &file, bool on)
{
    if (::geteuid() == 0)
        return QProcess::execute("chattr", {on ? "+i" : "-i", file}) == 0;
    const QFile::Permissions all = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    return QFile(QFileInfo(file).path()).setPermissions(on ? all & ~QFile::WriteOwner : all);
}

// Every entry below `root` with a hash of its content.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        entries[file.fileName()] =
            it.fileInfo().isDir() || !file.open(QIODevice::ReadOnly)
                ? QByteArray("not a file")
                : QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
    }
    return entries;
}

} // namespace

class TestMacroLibrary : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;
    MacroBatch batch;
    const MacroSelection root{};

    void writeAll(const QStringList &files, const QByteArray &content = kMacro)
    {
        for (const QString &file : files)
            QVERIFY(runtime->write(file, content));
    }
    QVariant stored(const QString &file, const QString &key) const
    {
        return QSettings(runtime->path("modules/setting/" + file), QSettings::IniFormat).value(key);
    }

private slots:
    void init()
    {
        runtime = std::make_unique<TestRuntime>();
        QVERIFY(runtime->isValid());
        batch = MacroBatch();
    }
    void cleanup() { runtime.reset(); }

    void pathRule_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("path");
        QTest::newRow("level 0 ignores name1") << 0 << QStringList{"A"} << "./modules/macro/M";
        QTest::newRow("level 2") << 2 << QStringList{"A", "B", "x/y"} << "./modules/macro/A/B/M";
        QTest::newRow("level 6") << 6 << QStringList{"A", "B", "C", "D", "E"} << "";
        QTest::newRow("unusable folder") << 1 << QStringList{".."} << "";
    }
    void pathRule()
    {
        QFETCH(int, level);
        QFETCH(QStringList, names);
        QFETCH(QString, path);
        QCOMPARE(selectionOf(names).folderPath(level, "M"), path);
        QCOMPARE(selectionOf(names).macroPath(level, "M"), path.isEmpty() ? path : path + ".bin");
    }

    void createSaveLoad()
    {
        const MacroSelection selection = selectionOf({"A"});
        const MacroFiles files(selection);
        QVERIFY(!files.save(1, "M", {"1,A"}, 1)); // never created, and nothing is
        QCOMPARE(files.createFolder(0, "A"), CreateResult::Created);
        QCOMPARE(files.createMacro(1, "M", uint(-1)), CreateResult::Created);
        QCOMPARE(files.load(1, "M"), QStringList{"1"});
        QVERIFY(runtime->read("modules/macro/A/M.bin").contains("index=4294967295"));

        const QStringList three{"1,A", "0,50", "2,A"};
        QVERIFY(files.save(1, "M", three, 5));
        QCOMPARE(files.load(1, "M"), three + QStringList{"5"});
        QVERIFY(files.save(1, "M", {"3,MS-L"}, 2));
        QVERIFY(!runtime->read("modules/macro/A/M.bin").contains("2,A")); // no stale records

        QVERIFY(runtime->write("modules/macro/A/M.bin",
                               "[config]\ntotal=3\nrepeat=7\n[macro]\n0=\"1,A\"\n"));
        QCOMPARE(files.load(1, "M"), (QStringList{"1,A", "0", "0", "7"}));
    }

    void secondFolderCreateKeepsTheFirst()
    {
        const MacroSelection selection = selectionOf({"F"});
        const MacroFiles files(selection);
        QCOMPARE(files.createFolder(0, "F"), CreateResult::Created);
        QCOMPARE(files.createMacro(1, "Inside", 0), CreateResult::Created);
        QCOMPARE(files.createFolder(0, "F"), CreateResult::Duplicate);
        QVERIFY(QFile::exists(runtime->path("modules/macro/F/Inside.bin")));
    }

    void deleteFolderTree_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("files at every level")
            << QStringList{"a.bin", ".hidden", "S1/b.bin", "S1/S2/c.bin", "S1/Empty/"};
        // The first passes only find more folders to look into.
        QTest::newRow("folders above one file") << QStringList{"S1/S2/c.bin"};
    }
    void deleteFolderTree()
    {
        QFETCH(QStringList, entries);
        for (const QString &entry : entries) {
            const QString path = "modules/macro/F/" + entry;
            QVERIFY(entry.endsWith('/') ? QDir().mkpath(runtime->path(path))
                                        : runtime->write(path, "x"));
        }
        writeAll({"modules/macro/Keep.bin", "outside/precious.bin"});
        QVERIFY(QFile::link(runtime->path("outside"), runtime->path("modules/macro/F/link")));
        const MacroFiles files(root);
        QVERIFY(files.removeFolder(0, "F"));
        QVERIFY(!QFileInfo::exists(runtime->path("modules/macro/F")));
        QVERIFY(QFile::exists(runtime->path("modules/macro/Keep.bin")));
        QVERIFY(QFile::exists(runtime->path("outside/precious.bin"))); // links are not followed
        QVERIFY(!files.removeMacro(0, "NoSuchMacro"));
    }

    void deleteFolderStopsAtWhatCannotGo()
    {
        writeAll({"modules/macro/F/free.bin", "modules/macro/F/S/stuck.bin"});
        const QString stuck = runtime->path("modules/macro/F/S/stuck.bin");
        if (!lock(stuck, true))
            QSKIP("no way to make a file undeletable here");
        const bool removed = MacroFiles(root).removeFolder(0, "F");
        QVERIFY(lock(stuck, false));
        QVERIFY(!removed);
        QVERIFY(QFile::exists(stuck));
        QVERIFY(!QFile::exists(runtime->path("modules/macro/F/free.bin")));
    }

    void renameNeverReplaces()
    {
        const MacroFiles files(root);
        QVERIFY(runtime->write("modules/macro/Old.bin", "old"));
        QVERIFY(runtime->write("modules/macro/Taken.bin", "taken"));
        QVERIFY(!files.rename(0, false, "Old", "Taken"));
        QCOMPARE(runtime->read("modules/macro/Old.bin"), QByteArray("old"));
        QCOMPARE(runtime->read("modules/macro/Taken.bin"), QByteArray("taken"));

        QVERIFY(QDir().mkpath(runtime->path("modules/macro/D/x")));
        QVERIFY(QDir().mkpath(runtime->path("modules/macro/E")));
        const QString line = "=========  oldfilePathName ==./modules/macro/D,newfilePathName = "
                             "./modules/macro/%1,exist = true";
        QTest::ignoreMessage(QtDebugMsg, qPrintable(line.arg("E")));
        QVERIFY(!files.rename(0, true, "D", "E")); // E exists, though empty
        QTest::ignoreMessage(QtDebugMsg, qPrintable(line.arg("G")));
        QVERIFY(files.rename(0, true, "D", "G"));
        QVERIFY(QFileInfo(runtime->path("modules/macro/G/x")).isDir());
        QTest::ignoreMessage(QtDebugMsg, kRenameFalse);
        QVERIFY(!files.rename(0, true, "D", "H"));
    }

    void macroFileCheck_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("accepted");
        const QByteArray head = "[config]\ntotal=1\nrepeat=1\n[macro]\n0=";
        QTest::newRow("new macro") << QByteArray("[config]\ntotal=0\nrepeat=1\n") << true;
        QTest::newRow("record") << head + "\"0,50\"" << true;
        QTest::newRow("binary") << QByteArray("\x7f"
                                              "ELF\x02\x01\0\0\xff\xfe",
                                              10)
                                << false;
        QTest::newRow("total beyond records")
            << QByteArray("[config]\ntotal=1\nrepeat=1\n") << false;
        QTest::newRow("two-digit type") << head + "\"12,A\"" << false;
        QTest::newRow("delay not a number") << head + "\"0,5x\"" << false;
    }
    void macroFileCheck()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, accepted);
        QVERIFY(runtime->write("import.mc", content));
        QCOMPARE(isMacroFile(runtime->path("import.mc")), accepted);
    }

    // Records -> block, written out; names are looked up in the key table's built-in names.
    void encodedBlock_data()
    {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<int>("repeat");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("down, 50 ms, up")
            << QStringList{"1,A", "0,50", "2,A"} << 1 << QByteArray("00 01 05 04 81 04 00 00");
        QTest::newRow("single press") << QStringList{"1,A"} << 3 << QByteArray("00 03 01 04 00 00");
        QTest::newRow("leading delays dropped")
            << QStringList{"0,300", "1,A", "2,A"} << 1 << QByteArray("00 01 01 04 81 04 00 00");
        QTest::newRow("delays only") << QStringList{"0,50", "0,60"} << 1 << QByteArray("00 01");
        QTest::newRow("1270 ms long form") << QStringList{"1,A", "0,1270", "2,A"} << 1
                                           << QByteArray("00 01 00 04 00 01 00 3f 81 04 00 00");
        QTest::newRow("5 ms is one unit")
            << QStringList{"1,A", "0,5", "2,A"} << 1 << QByteArray("00 01 01 04 81 04 00 00");
        QTest::newRow("600 + 700 ms add up") << QStringList{"1,A", "0,600", "0,700", "2,A"} << 1
                                             << QByteArray("00 01 00 04 00 01 00 41 81 04 00 00");
        QTest::newRow("repeat 300") << QStringList{"1,A"} << 300 << QByteArray("01 2c 01 04 00 00");
        QTest::newRow("mouse buttons") << QStringList{"3,MS-L", "0,100", "4,MS-L"} << 1
                                       << QByteArray("00 01 0a f0 81 f0 00 00");
        QTest::newRow("unknown name is code 0")
            << QStringList{"1,Nope", "2,A"} << 1 << QByteArray("00 01 01 00 81 04 00 00");
        QTest::newRow("50 ms units") << QStringList{"1,A", "0,2000000", "2,A"} << 1
                                     << QByteArray("00 01 00 04 00 02 9c 40 81 04 00 00");
        QTest::newRow("100 ms units") << QStringList{"1,A", "0,4000000", "2,A"} << 1
                                      << QByteArray("00 01 00 04 00 03 9c 40 81 04 00 00");
        QTest::newRow("negative delay is none")
            << QStringList{"1,A", "0,-20", "2,A"} << 1 << QByteArray("00 01 01 04 81 04 00 00");
        QTest::newRow("negative delay takes nothing away")
            << QStringList{"1,A", "0,100", "0,-50", "2,A"} << 1
            << QByteArray("00 01 0a 04 81 04 00 00");
        // 6 000 000 ms is 600 000 units, past the designed ranges: still written in 100 ms units,
        // exactly while the count fits, at the largest count beyond.
        QTest::newRow("600000 units") << QStringList{"1,A", "0,6000000", "2,A"} << 1
                                      << QByteArray("00 01 00 04 00 03 ea 60 81 04 00 00");
        QTest::newRow("count held at 65535") << QStringList{"1,A", "0,60000000", "2,A"} << 1
                                             << QByteArray("00 01 00 04 00 03 ff ff 81 04 00 00");
        // Hand-edited delays read as they always were: leading spaces, hexadecimal, the digits
        // before other characters; a byte order mark is no space, and a record without a type
        // digit is a delay.
        QTest::newRow("delay with a space")
            << QStringList{"1,A", "0, 500", "2,A"} << 1 << QByteArray("00 01 32 04 81 04 00 00");
        QTest::newRow("hexadecimal delay")
            << QStringList{"1,A", "0,0x1f4", "2,A"} << 1 << QByteArray("00 01 32 04 81 04 00 00");
        QTest::newRow("digits before text")
            << QStringList{"1,A", "0,500ms", "2,A"} << 1 << QByteArray("00 01 32 04 81 04 00 00");
        QTest::newRow("byte order mark") << QStringList{"1,A", "0,\uFEFF500", "2,A"} << 1
                                         << QByteArray("00 01 01 04 81 04 00 00");
        QTest::newRow("no type digit")
            << QStringList{"1,A", "x,500", "2,A"} << 1 << QByteArray("00 01 32 04 81 04 00 00");
    }
    void encodedBlock()
    {
        QFETCH(QStringList, records);
        QFETCH(int, repeat);
        QFETCH(QByteArray, bytes);
        QList<macro_encoder::Record> list;
        for (const QString &text : records)
            list << macro_encoder::parseRecord(text);
        const QList<QStringList> names{keys::builtInKeyNames()};
        const auto codeOf = [&names](const QString &name) {
            return keys::codeOfKeyName(name, names);
        };
        QCOMPARE(macro_encoder::encode(list, repeat, codeOf).toHex(' '), bytes);
        QCOMPARE(macro_encoder::encodedLength(list), QByteArray::fromHex(bytes).size());
    }

    // 61 actions make 2 + 122 + 2 = 126 bytes; one more action after a long delay would make
    // 132: the block stops short of it but keeps its terminator.
    void blockBound()
    {
        QList<macro_encoder::Record> list;
        for (int i = 0; i < 61; ++i)
            list << macro_encoder::parseRecord(i % 2 ? "2,B" : "1,B");
        QCOMPARE(macro_encoder::encodedLength(list), 126);
        list << macro_encoder::parseRecord("0,5000") << macro_encoder::parseRecord("1,C");
        QCOMPARE(macro_encoder::encodedLength(list), 132);
        const QByteArray block = macro_encoder::encode(list, 1, [](const QString &) { return 5; });
        QCOMPARE(block.size(), 126);
        QVERIFY(block.endsWith(QByteArray(2, '\0')));
        QCOMPARE(macro_encoder::encode(
                     list, 1, [](const QString &) { return 5; }, macro_encoder::kUnbounded)
                     .size(),
                 132);
    }

    // The stored count as the block holds it: a missing count loads as "0" and plays once.
    void blockRepeat_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("repeat");
        QTest::newRow("0") << "0" << 1;
        QTest::newRow("empty") << "" << 1;
        QTest::newRow("300") << "300" << 300;
        QTest::newRow("70000") << "70000" << 65535;
        QTest::newRow("negative") << "-5" << 1;
        QTest::newRow("spaces and text") << " 7 times" << 7;
        QTest::newRow("hexadecimal") << "0x10" << 16;
    }
    void blockRepeat()
    {
        QFETCH(QString, stored);
        QFETCH(int, repeat);
        QCOMPARE(macro_encoder::blockRepeat(stored), repeat);
    }

    void nameListSentinelAndRemoval()
    {
        const MacroCatalogue catalogue;
        catalogue.setNameList(3, {"Only"});
        QCOMPARE(stored("name.bin", "gun/selectGun").toStringList(),
                 (QStringList{"Only", "nullslotmark"}));
        QCOMPARE(withoutSentinel(strings(catalogue.nameList(3))), QStringList{"Only"});
        catalogue.setNameList(0, {"a", "b"});
        QCOMPARE(strings(catalogue.nameList(0)), (QStringList{"a", "b"}));
        catalogue.setNameList(0, {});
        QVERIFY(!stored("name.bin", "macro/macroName").isValid());

        const QByteArray before = runtime->read("modules/setting/name.bin");
        catalogue.setNameList(7, {"x"});
        QVERIFY(catalogue.nameList(7).isEmpty());
        QCOMPARE(runtime->read("modules/setting/name.bin"), before);
    }

    void attributeOrders_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<int>("att");
        QTest::addColumn<int>("list"); // index in TreeLists, -1 for none
        const int root[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, -1};
        for (int att = 0; att < 10; ++att)
            QTest::addRow("root %d", att) << false << att << root[att];
        const int sub[] = {1, 2, 3, 4, 0, 5, 6, 7, 8, 9, -1}; // the names are att 4 here
        for (int att = 0; att < 11; ++att)
            QTest::addRow("folder %d", att) << true << att << sub[att];
    }
    void attributeOrders()
    {
        QFETCH(bool, folder);
        QFETCH(int, att);
        QFETCH(int, list);
        TreeLists lists;
        for (int i = 0; i < kTreeAttributes; ++i)
            lists[i] = QStringList{QString::number(i), "x"};
        writeLists(1, 0, QString(), root, lists);
        writeLists(1, 2, QString(), selectionOf({"A", "B"}), lists);
        // The folder B inside A, read while A is selected at level 2.
        const QVariantList read =
            folder ? MacroCatalogue().folderAttribute(att, selectionOf({"A"}, 2), "B")
                   : MacroCatalogue().rootAttribute(att);
        QCOMPARE(strings(read), list < 0 ? QStringList() : lists[list]);
    }

    void folderBInAAndFolderABShareAGroup()
    {
        TreeLists lists;
        lists[0] = QStringList{"inB"};
        writeLists(1, 2, "B", selectionOf({"A", "B"}), lists);
        QCOMPARE(stored("name.bin", "AB/macroName").toStringList(),
                 (QStringList{"inB", "nullslotmark"}));
        QVERIFY(!stored("name.bin", "AB/macroType").isValid()); // empty lists are not written
        lists[0] = QStringList{"y", "z"};
        writeLists(1, 1, "AB", selectionOf({"AB"}), lists);
        QCOMPARE(strings(MacroCatalogue().folderAttribute(4, selectionOf({"A"}, 2), "B")),
                 (QStringList{"y", "z"}));
    }

    // The root's lists live under the group "macro"; a root folder of that name (or "ma" holding
    // "cro") used to write its own lists over them.
    void folderNamedMacroKeepsTheRootLists()
    {
        TreeLists rootLists;
        rootLists[0] = QStringList{"macro", "ma"};
        rootLists[1] = QStringList{"1", "1"};
        writeLists(1, 0, QString(), root, rootLists);
        TreeLists inside;
        inside[0] = QStringList{"Inner", "Other"};
        inside[1] = QStringList{"0", "0"};
        writeLists(1, 1, QString(), selectionOf({"macro"}), inside);
        QCOMPARE(strings(MacroCatalogue().nameList(0)), (QStringList{"macro", "ma"}));
        QCOMPARE(strings(MacroCatalogue().rootAttribute(0)), (QStringList{"1", "1"}));
        QCOMPARE(strings(MacroCatalogue().folderAttribute(4, selectionOf({}, 1), "macro")),
                 (QStringList{"Inner", "Other"}));
        QCOMPARE(strings(MacroCatalogue().folderAttribute(0, selectionOf({}, 1), "macro")),
                 (QStringList{"0", "0"}));

        // "cro" inside "ma" joins to the same name (and shares the folder's group, as AB does).
        TreeLists deep;
        deep[0] = QStringList{"Deep", "Er"};
        writeLists(1, 2, QString(), selectionOf({"ma", "cro"}), deep);
        QCOMPARE(strings(MacroCatalogue().folderAttribute(4, selectionOf({"ma"}, 2), "cro")),
                 (QStringList{"Deep", "Er"}));
        QCOMPARE(strings(MacroCatalogue().nameList(0)), (QStringList{"macro", "ma"}));
        QCOMPARE(strings(MacroCatalogue().rootAttribute(0)), (QStringList{"1", "1"}));

        // Clearing the folder's lists leaves the root's.
        MacroCatalogue().removeGroup("macro");
        QVERIFY(MacroCatalogue().folderAttribute(4, selectionOf({}, 1), "macro").isEmpty());
        QCOMPARE(strings(MacroCatalogue().nameList(0)), (QStringList{"macro", "ma"}));
        QCOMPARE(strings(MacroCatalogue().rootAttribute(0)), (QStringList{"1", "1"}));
        // Other folders keep the groups existing files use.
        writeLists(1, 1, QString(), selectionOf({"A"}), inside);
        QCOMPARE(stored("name.bin", "A/macroName").toStringList(), (QStringList{"Inner", "Other"}));
    }

    void writeFolderByAtt_data()
    {
        QTest::addColumn<int>("att");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("removed");
        QTest::addColumn<QString>("written");
        // Selected path A/Old, currentName New; "-" for none.
        QTest::newRow("att 0, level 2") << 0 << 2 << "ANew"
                                        << "AOld";
        QTest::newRow("att 1, level 0") << 1 << 0 << "-"
                                        << "macro";
        QTest::newRow("att 2, level 1") << 2 << 1 << "AOld"
                                        << "ANew";
        QTest::newRow("att 3") << 3 << 1 << "-"
                               << "-";
    }
    void writeFolderByAtt()
    {
        QFETCH(int, att);
        QFETCH(int, level);
        QFETCH(QString, removed);
        QFETCH(QString, written);
        const QStringList groups{"ANew", "AOld", "A", "macro"};
        {
            QSettings file(runtime->path("modules/setting/name.bin"), QSettings::IniFormat);
            for (const QString &group : groups)
                file.setValue(group + "/macroName", QStringList{"old", "x"});
        }
        TreeLists lists;
        lists[0] = QStringList{"n1", "n2"};
        writeLists(att, level, "New", selectionOf({"A", "Old"}), lists);
        for (const QString &group : groups) {
            const QStringList expected = group == written   ? QStringList{"n1", "n2"}
                                         : group == removed ? QStringList()
                                                            : QStringList{"old", "x"};
            QCOMPARE(stored("name.bin", group + "/macroName").toStringList(), expected);
        }
    }

    void deletedMacroFallsBackToFactoryEntry()
    {
        const QStringList macro{"4", "0", "5", "0"};
        QStringList factory;
        {
            SettingsStore store;
            factory = store.defaults().value("mouseKeyMatrix/5").toStringList();
            for (int p : {1, 2, 6}) // p2.bin, p3.bin and p7.bin
                store.profile(p).setValue("mouseKeyMatrix/5", macro);
            store.profile(1).setValue("mouseMacroKey/5", "Jump");
            store.profile(2).setValue("mouseMacroKey/5", "Other");
            store.profile(6).setValue("mouseMacroKey/5", "Jump"); // beyond the first six
            forgetDeletedMacro(store, "Jump");
        }
        QVERIFY(!factory.isEmpty() && factory != macro);
        QCOMPARE(stored("p2.bin", "mouseKeyMatrix/5").toStringList(), factory);
        QCOMPARE(stored("p2.bin", "mouseMacroKey/5").toString(), QString("Jump"));
        QCOMPARE(stored("p3.bin", "mouseKeyMatrix/5").toStringList(), macro);
        QCOMPARE(stored("p7.bin", "mouseKeyMatrix/5").toStringList(), macro);
    }

    void importTarget_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("selectType");
        QTest::addColumn<QString>("target"); // empty: nothing copied
        QTest::addColumn<TransferStatus>("status");
        QTest::newRow("macro selected") << 3 << 0 << "modules/macro/My.bin" << TransferStatus::Done;
        QTest::newRow("in a folder")
            << 1 << 1 << "modules/macro/A/B/My.bin" << TransferStatus::Done;
        QTest::newRow("level 5") << 5 << 1 << "" << TransferStatus::NoTarget;
        QTest::newRow("name taken") << 0 << 1 << "" << TransferStatus::Exists;
    }
    void importTarget()
    {
        QFETCH(int, level);
        QFETCH(int, selectType);
        QFETCH(QString, target);
        QFETCH(TransferStatus, status);
        writeAll({"out/My.Macro.mc"});
        QVERIFY(runtime->write("modules/macro/A/My.bin", "older"));
        QVERIFY(QDir().mkpath(runtime->path("modules/macro/A/B")));
        const MacroSelection selection = selectionOf({"A", "B"});
        const TransferResult result =
            MacroTransfer(selection, batch)
                .importMacro(level, selectType, runtime->path("out/My.Macro.mc"));
        QCOMPARE(result.name, QString("My"));
        QCOMPARE(result.status, status);
        for (const QString place : {"modules/macro/My.bin", "modules/macro/A/B/My.bin"})
            QCOMPARE(QFile::exists(runtime->path(place)), place == target);
        QCOMPARE(runtime->read("modules/macro/A/My.bin"), QByteArray("older"));
    }

    void exportReplaces()
    {
        writeAll({"modules/macro/F/M.bin"});
        QVERIFY(runtime->write("out/M.mc", "older export"));
        const MacroSelection selection = selectionOf({"F"});
        QVERIFY(MacroTransfer(selection, batch).exportMacro(1, "M", runtime->path("out/M.mc")));
        QCOMPARE(runtime->read("out/M.mc"), kMacro);
    }

    // A name typed without ".mc" would be invisible to the import's filter.
    void exportAddsTheSuffix()
    {
        writeAll({"modules/macro/M.bin"});
        QVERIFY(QDir().mkpath(runtime->path("out")));
        QVERIFY(MacroTransfer(root, batch).exportMacro(0, "M", runtime->path("out/typed")));
        QCOMPARE(runtime->read("out/typed.mc"), kMacro);
        QVERIFY(!QFile::exists(runtime->path("out/typed")));
        QVERIFY(MacroTransfer(root, batch).exportMacro(0, "M", runtime->path("out/Upper.MC")));
        QCOMPARE(runtime->read("out/Upper.MC"), kMacro);
        QVERIFY(MacroTransfer(root, batch).exportMacro(0, "M", runtime->path("out/v1.2")));
        QCOMPARE(runtime->read("out/v1.2.mc"), kMacro);
    }

    void batchImportRefusesTheDesktop_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::newRow("the desktop folder") << "home/Schreibtisch";
        QTest::newRow("a folder called Desktop") << "elsewhere/Desktop";
    }
    void batchImportRefusesTheDesktop()
    {
        QFETCH(QString, chosen);
        writeAll({chosen + "/x.mc"});
        const QStringList before = QDir(runtime->path("modules/macro")).entryList();
        const MacroTransfer transfer(root, batch);
        const TransferResult result =
            transfer.chooseBatchSource(runtime->path(chosen), runtime->path("home/Schreibtisch"));
        QCOMPARE(result.status, TransferStatus::Refused);
        QCOMPARE(transfer.importBatch(), 0);
        QCOMPARE(QDir(runtime->path("modules/macro")).entryList(), before);
    }

    void batchImport()
    {
        writeAll({"src/top.mc", "src/b/z.mc", "src/a/y.mc", "src/a/X.Two.mc", "src/B2/w.mc",
                  "src/b/d2/d3/d4/deepest.mc", "src/b/d2/d3/d4/d5/tooDeep.mc"});
        writeAll({"src/a/bad.mc", "src/a\\b/x.mc"}, "not a macro");
        const MacroTransfer transfer(root, batch);
        QCOMPARE(transfer.chooseBatchSource(runtime->path("src"), QString()).name, QString("src"));
        QCOMPARE(transfer.importBatch(), 2); // bad.mc and the folder a\b
        // Name order ignoring case, folder by folder; one list for all folders of a depth.
        QCOMPARE(batch.names(1, 1), (QStringList{"a", "b", "B2"}));
        QCOMPARE(batch.names(2, 0), (QStringList{"X", "y", "z", "w"}));
        QCOMPARE(batch.names(5, 0), QStringList{"deepest"});
        QVERIFY(batch.names(5, 1).isEmpty());
        QCOMPARE(runtime->read("modules/macro/src/b/d2/d3/d4/deepest.bin"), kMacro);
        QVERIFY(!QFileInfo::exists(runtime->path("modules/macro/src/b/d2/d3/d4/d5")));
        QVERIFY(!QFileInfo::exists(runtime->path("modules/macro/src/a/bad.bin")));
    }

    void rescanClearsStaleGroups_data()
    {
        QTest::addColumn<int>("deleteLevel");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("0: the folder and all below") << 0 << QStringList{"Other"};
        QTest::newRow("1: below the folder") << 1 << QStringList{"A", "Other"};
        QTest::newRow("3") << 3 << QStringList{"A", "AB", "ABC", "Other"};
        QTest::newRow("4: none") << 4 << QStringList{"A", "AB", "ABC", "ABCD", "Other"};
    }
    void rescanClearsStaleGroups()
    {
        QFETCH(int, deleteLevel);
        QFETCH(QStringList, kept);
        const QStringList groups{"A", "AB", "ABC", "ABCD", "Other"};
        {
            QSettings file(runtime->path("modules/setting/name.bin"), QSettings::IniFormat);
            for (const QString &group : groups)
                file.setValue(group + "/macroName", QStringList{"x", "y"});
        }
        writeAll({"modules/macro/A/top.bin", "modules/macro/A/B/C/D/n.bin"});
        MacroTransfer(root, batch).rescan("A", 0, deleteLevel, MacroCatalogue());
        QCOMPARE(batch.names(1, 0), QStringList{"top"});
        QCOMPARE(batch.names(3, 1), QStringList{"D"});
        QStringList present;
        for (const QString &group : groups) {
            if (stored("name.bin", group + "/macroName").isValid())
                present.append(group);
        }
        QCOMPARE(present, kept);
    }

    void batchExportMirrorsTheTree()
    {
        writeAll({"modules/macro/M.bin", "modules/macro/F/N.bin"});
        MacroTransfer(root, batch).exportLevel(0, {"M"}, {0}); // no folder chosen yet
        QVERIFY(!QFileInfo::exists(runtime->path("out")));
        QVERIFY(QDir().mkpath(runtime->path("out")));
        QVERIFY(MacroTransfer(root, batch).chooseExportFolder(runtime->path("out")));
        MacroTransfer(root, batch).exportLevel(0, {"M", "F"}, {0, 1});
        const MacroSelection inF = selectionOf({"F"});
        MacroTransfer(inF, batch).exportLevel(1, {"N"}, {0});
        QCOMPARE(runtime->read("out/Macro/M.mc"), kMacro);
        QCOMPARE(runtime->read("out/Macro/F/N.mc"), kMacro);
    }

    void hostileInputChangesNothing()
    {
        writeAll({"victim/file.bin", "victim/absolute.bin", "modules/macro/Real.bin",
                  "modules/macro/RealDir/Inner.bin"});
        QVERIFY(runtime->write("out/garbage.mc", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)));
        QVERIFY(QDir().mkpath(runtime->path("out/Macro")));
        batch.exportPath = runtime->path("out/Macro");
        const auto before = snapshot(runtime->root());

        const QStringList names{"../x",
                                "a/b",
                                runtime->path("victim/absolute"),
                                QString(300, 'x'),
                                "..",
                                "../setting/p1",
                                "../../victim/file",
                                ""};
        for (const QString &name : names) {
            const QByteArray row = name.toUtf8().left(40);
            const MacroFiles files(root);
            QVERIFY2(files.createMacro(0, name, 0) == CreateResult::Refused, row.constData());
            QVERIFY2(files.createFolder(0, name) == CreateResult::Refused, row.constData());
            QVERIFY2(!files.save(0, name, {"1,A"}, 1), row.constData());
            QVERIFY2(!files.removeMacro(0, name), row.constData());
            QVERIFY2(!files.removeFolder(0, name), row.constData());
            QVERIFY2(!files.rename(0, false, "Real", name), row.constData());
            QTest::ignoreMessage(QtDebugMsg, kRenameFalse);
            QVERIFY2(!files.rename(0, true, "RealDir", name), row.constData());

            // The same name as a folder of the selected path.
            const MacroSelection inside = selectionOf({name});
            QVERIFY2(MacroFiles(inside).createMacro(1, "M", 0) == CreateResult::Refused,
                     row.constData());
            const MacroTransfer transfer(inside, batch);
            transfer.exportLevel(0, {name, name}, {0, 1});
            transfer.exportLevel(1, {"Real"}, {0});
            transfer.rescan(name, 0, 0, MacroCatalogue());
            QCOMPARE(transfer.importMacro(0, 1, runtime->path("modules/macro/Real.bin")).status,
                     TransferStatus::BadName);
        }
        const TransferResult garbage =
            MacroTransfer(root, batch).importMacro(-1, 0, runtime->path("out/garbage.mc"));
        QCOMPARE(garbage.status, TransferStatus::NotMacroFile);
        QVERIFY(garbage.name.isEmpty());
        QCOMPARE(snapshot(runtime->root()), before);
    }
};

QTEST_GUILESS_MAIN(TestMacroLibrary)
#include "tst_macro_library.moc"
