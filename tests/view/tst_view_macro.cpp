// The macro slots of the main view: what QML passes, which dialogs they ask and what they warn.

#include "support/test_runtime.h"
#include "view/dialogs.h"
#include "view/myqquickview.h"

#include <QDir>
#include <QtTest>

#include <memory>

namespace
{

// Answers the dialogs from a script and records what was asked.
class ScriptedDialogs : public Dialogs
{
public:
    QStringList answers;
    QStringList asked;    // kind|caption|folder|filter
    QStringList warnings; // title|text

    QString openFileName(QWidget *, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        return answer("open", caption, dir, filter);
    }
    QString saveFileName(QWidget *, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        return answer("save", caption, dir, filter);
    }
    QString existingDirectory(QWidget *, const QString &caption, const QString &dir) override
    {
        return answer("folder", caption, dir, QString());
    }
    void warning(QWidget *, const QString &title, const QString &text) override
    {
        warnings.append(title + '|' + text);
    }

private:
    QString answer(const QString &kind, const QString &caption, const QString &dir,
                   const QString &filter)
    {
        asked.append(QStringList{kind, caption, dir, filter}.join('|'));
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

} // namespace

class TestViewMacro : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<myQQuickView> view;

private slots:
    void init()
    {
        runtime = std::make_unique<TestRuntime>();
        QVERIFY(runtime->isValid());
        dialogs = std::make_unique<ScriptedDialogs>();
        Dialogs::setInstance(dialogs.get());
        view = std::make_unique<myQQuickView>();
    }
    void cleanup()
    {
        view.reset();
        Dialogs::setInstance(nullptr);
        dialogs.reset();
        runtime.reset();
    }

    void dialogsOpenOnTheDesktop_data()
    {
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QString>("asked");
        const QString desktop = Dialogs::desktopFolder();
        QTest::newRow("import") << "loadMacroFile"
                                << "open|Open File|" + desktop + "|Macro(*.mc)";
        QTest::newRow("export") << "saveMacroFile"
                                << "save|Save File|" + desktop + "|Macro(*.mc)";
        QTest::newRow("batch import") << "loadMacroFile_batch"
                                      << "folder|Open Directory|" + desktop + "|";
        QTest::newRow("batch export") << "getbatchPath"
                                      << "folder|Save File|" + desktop + "|";
    }
    void dialogsOpenOnTheDesktop()
    {
        QFETCH(QString, slot);
        QFETCH(QString, asked);
        const QStringList before = QDir(runtime->path("modules/macro")).entryList();
        if (slot == "loadMacroFile")
            QCOMPARE(view->loadMacroFile(0, 0), QString());
        else if (slot == "saveMacroFile")
            view->saveMacroFile(0, "M");
        else if (slot == "loadMacroFile_batch")
            QCOMPARE(view->loadMacroFile_batch(), QString());
        else
            view->getbatchPath();
        QCOMPARE(dialogs->asked, QStringList{asked});
        QVERIFY(dialogs->warnings.isEmpty()); // cancelled: nothing to say
        QCOMPARE(QDir(runtime->path("modules/macro")).entryList(), before);
    }

    void secondFolderOfOneNameWarns()
    {
        QVERIFY(view->createMacroIni("F", 0, 0, 1).toBool());
        QVERIFY(dialogs->warnings.isEmpty());
        QVERIFY(view->createMacroIni("F", 1, 0, 1).toBool());
        QCOMPARE(dialogs->warnings,
                 QStringList{QString::fromUtf8("Create folder|Duplicate name！")});
        QVERIFY(dialogs->warnings.first().endsWith(QChar(0xFF01)));
    }

    void unusableNamesAreRefusedWithAWarning()
    {
        QVERIFY(!view->createMacroIni("../x", 0, 0, 0).toBool());
        QVERIFY(!view->createMacroIni("a/b", 0, 0, 1).toBool());
        QCOMPARE(dialogs->warnings.size(), 2);
        QVERIFY(!QFile::exists(runtime->path("modules/x.bin")));

        QVERIFY(runtime->write("out/Junk.mc", "just some text"));
        dialogs->answers = {runtime->path("out/Junk.mc")};
        QCOMPARE(view->loadMacroFile(-1, 0), QString());
        QCOMPARE(dialogs->warnings.size(), 3);
        QVERIFY(!QFile::exists(runtime->path("modules/macro/Junk.bin")));
    }
    // A name that fits the file system but leaves no room for the settings library's lock and
    // temporary files used to be created in vain, without a word. Every length either works all
    // the way to a saved and loaded macro, or is refused with a warning.
    void namesAtTheFileSystemLimit()
    {
        int created = 0;
        for (int length = 236; length <= 256; ++length) {
            const QString name(length, QLatin1Char('n'));
            const qsizetype warned = dialogs->warnings.size();
            const bool done = view->createMacroIni(name, 0, 0, 0).toBool();
            if (!done) {
                QVERIFY2(dialogs->warnings.size() == warned + 1,
                         qPrintable(QString::number(length)));
                continue;
            }
            ++created;
            QVERIFY2(dialogs->warnings.size() == warned, qPrintable(QString::number(length)));
            QVERIFY2(view->saveMacroIni(0, name, {"1,A", "2,A"}, 4).toBool(),
                     qPrintable(QString::number(length)));
            QCOMPARE(view->loadMacroIni(0, name), (QStringList{"1,A", "2,A", "4"}));
        }
        QVERIFY(created > 0);

        // Folders have no helper files: a full-length name is taken.
        QVERIFY(view->createMacroIni(QString(255, 'f'), 0, 0, 1).toBool());
        QVERIFY(QFileInfo(runtime->path("modules/macro/" + QString(255, 'f'))).isDir());
        const qsizetype warned = dialogs->warnings.size();
        QVERIFY(!view->createMacroIni(QString(256, 'f'), 0, 0, 1).toBool());
        QCOMPARE(dialogs->warnings.size(), warned + 1);
    }

    // The file system says no: a warning, every time.
    void failedCreatesWarn()
    {
        QVERIFY(runtime->write("modules/macro/Plain", "a file, not a folder"));
        view->setMacroSelectName("Plain", "", "", "", "");
        QVERIFY(!view->createMacroIni("M", 0, 1, 0).toBool());
        QCOMPARE(dialogs->warnings.size(), 1);
        QVERIFY(dialogs->warnings.last().contains("M"));
        view->setMacroSelectName("Missing", "", "", "", "");
        QVERIFY(!view->createMacroIni("F", 0, 1, 1).toBool());
        QCOMPARE(dialogs->warnings.size(), 2);
        QVERIFY(!QFileInfo::exists(runtime->path("modules/macro/Missing")));
    }
};

QTEST_MAIN(TestViewMacro)
#include "tst_view_macro.moc"
