// The fault matrix: the real tk700 binary against the virtual TK700 of both families, plain and
// scrambled, while the user applies, resets, changes the profile and sends a macro, with one fault
// armed on one exchange of the action. Every cell must end within the designed time-outs with the
// program alive, the mouse holding per part either what it held or what the fault-free action
// leaves, the failure told whenever the mouse did not get everything, every settings file there
// and readable, and the user's next Apply (or macro send) after the mouse is back bringing the
// mouse to the shown settings. The table of cells and outcomes is printed at the end.

#include "support/program_rig.h"
#include "support/test_runtime.h"
#include "support/virtual_mouse.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QProcess>
#include <QSettings>
#include <QtTest>

#include <functional>
#include <memory>

namespace
{

// One exchange's deadline in the device link; a fault can cost at most that much per exchange.
constexpr int kExchangeBoundMs = 2000;
// Scheduling noise of a shared machine on top of the designed time.
constexpr int kSlackMs = 6000;
constexpr int kReportLength = 32; // the virtual TK700's chunk size

enum class Kind { Query, Set, Block8, Block64, Block128, BlockRead };

struct KindInfo {
    Kind kind;
    const char *name;
    int chunks; // reports of the data phase
};

const KindInfo kKinds[] = {
    {Kind::Query, "query", 0},
    {Kind::Set, "set without block", 0},
    {Kind::Block8, "set with 8-byte block", 8 / kReportLength + 1},
    {Kind::Block64, "set with 64-byte block", 64 / kReportLength},
    {Kind::Block128, "set with 128-byte block", 128 / kReportLength},
    {Kind::BlockRead, "block read", 128 / kReportLength},
};

// The command codes of each family by exchange kind. Codes of other kinds (the 24-byte stage
// colours) are not cells of the matrix.
struct CodeKind {
    int code;
    Kind kind;
};
const CodeKind k553Codes[] = {{0x83, Kind::Query},    {0x8B, Kind::Query},   {0x01, Kind::Set},
                              {0x0B, Kind::Set},      {0x04, Kind::Set},     {0x03, Kind::Set},
                              {0x11, Kind::Block8},   {0x12, Kind::Block64}, {0x16, Kind::Block64},
                              {0x0C, Kind::Block128}, {0x13, Kind::Block128}};
const CodeKind k560Codes[] = {
    {0x82, Kind::Query},    {0x84, Kind::Query},    {0x03, Kind::Set},      {0x04, Kind::Set},
    {0x02, Kind::Set},      {0x16, Kind::Block64},  {0x0D, Kind::Block128}, {0x0C, Kind::Block128},
    {0x0F, Kind::Block128}, {0x8C, Kind::BlockRead}};

enum class Fault {
    UnplugBefore,
    UnplugAfterRequest,
    UnplugBetweenChunks,
    UnplugAfterLast,
    SilentReply,
    GarbageReply,
    WrongCode,
    QuickReplug
};

const Fault kFaults[] = {Fault::UnplugBefore,        Fault::UnplugAfterRequest,
                         Fault::UnplugBetweenChunks, Fault::UnplugAfterLast,
                         Fault::SilentReply,         Fault::GarbageReply,
                         Fault::WrongCode,           Fault::QuickReplug};

const char *faultName(Fault f)
{
    switch (f) {
    case Fault::UnplugBefore:
        return "unplug before the request";
    case Fault::UnplugAfterRequest:
        return "unplug between request and reply";
    case Fault::UnplugBetweenChunks:
        return "unplug between chunks";
    case Fault::UnplugAfterLast:
        return "unplug after the last report";
    case Fault::SilentReply:
        return "silent reply";
    case Fault::GarbageReply:
        return "garbage reply";
    case Fault::WrongCode:
        return "wrong scrambling code";
    case Fault::QuickReplug:
        return "quick replug inside the exchange";
    }
    return "";
}

// How the simulator arms a fault for one exchange: its name and count, or why the cell does not
// apply. Counts are the reports of the exchange, from its request on, that go through first.
struct Arming {
    QString name;
    int count = 0;
    QString notApplicable;
    bool keep = false; // the fault lasts past its exchange until it is cleared
};

Arming arming(Fault fault, const KindInfo &kind, bool scrambled)
{
    const bool query = kind.kind == Kind::Query;
    const bool read = kind.kind == Kind::BlockRead;
    const bool plainSet = kind.kind == Kind::Set;
    const bool blockSet = !query && !read && !plainSet;
    // query: request, reply. set: request. block set: request, chunks. block read: request,
    // reply, chunks.
    const int reports =
        1 + (query ? 1 : 0) + (blockSet ? kind.chunks : 0) + (read ? 1 + kind.chunks : 0);
    switch (fault) {
    case Fault::UnplugBefore:
        return {"unplug-after", 0, {}};
    case Fault::UnplugAfterRequest:
        if (plainSet)
            return {{}, 0, "a set without a block has no reply and no data after its request"};
        return {"unplug-after", 1, {}};
    case Fault::UnplugBetweenChunks:
        if (query || plainSet)
            return {{}, 0, "no data block"};
        if (kind.chunks < 2)
            return {{}, 0, "the block fits in one report"};
        return {"unplug-after", read ? 3 : 2, {}};
    case Fault::UnplugAfterLast:
        return {"unplug-after", reports, {}};
    case Fault::SilentReply:
        if (plainSet)
            return {{}, 0, "a set without a block reads no reply"};
        // A block set reads no reply either: its data phase goes unanswered instead.
        return {blockSet ? "silent-write" : "silent-feature", 0, {}};
    case Fault::GarbageReply:
        if (!query && !read)
            return {{}, 0, "a set reads no reply"};
        return {"garbage-reply", 0, {}};
    case Fault::WrongCode:
        if (!scrambled)
            return {{}, 0, "nothing is scrambled"};
        // A mouse does not change its code for one exchange: from this one on it uses another.
        return {"wrong-scode", 0, {}, true};
    case Fault::QuickReplug:
        return {"replug-after", 1, {}};
    }
    return {};
}

QJsonObject stripped(QJsonObject state)
{
    // What the link and the test set, not what the mouse holds.
    state.remove("plugged");
    state.remove("faults");
    return state;
}

// The parts of `after` that are neither what the mouse held before nor what the fault-free
// action leaves: a mix no action asked for.
QStringList mixedParts(const QJsonObject &before, const QJsonObject &after,
                       const QJsonObject &expected)
{
    QStringList mixed;
    for (auto it = after.begin(); it != after.end(); ++it) {
        const QJsonValue was = before.value(it.key());
        const QJsonValue wanted = expected.value(it.key());
        if (it.value().isArray()) {
            const QJsonArray now = it.value().toArray();
            for (int i = 0; i < now.size(); ++i)
                if (now.at(i) != was.toArray().at(i) && now.at(i) != wanted.toArray().at(i))
                    mixed << QStringLiteral("%1[%2]").arg(it.key()).arg(i);
        } else if (it.value() != was && it.value() != wanted) {
            mixed << it.key();
        }
    }
    return mixed;
}

QStringList differingKeys(const QJsonObject &a, const QJsonObject &b)
{
    QStringList keys;
    for (auto it = a.begin(); it != a.end(); ++it)
        if (it.value() != b.value(it.key()))
            keys << it.key();
    return keys;
}

struct Step {
    Step(QString action, QString call, std::function<void()> prepare)
        : action(std::move(action)), call(std::move(call)), prepare(std::move(prepare))
    {
    }
    QString action; // Apply, Reset, profile change, macro send
    QString call;   // the probe request that does what the control does
    std::function<void()> prepare;
    // From the fault-free pass.
    QJsonObject before, after;
    QList<int> codes;
    qint64 ms = 0;
};

struct Cell {
    const KindInfo *kind;
    Fault fault;
    Arming arm;
};

QStringList table;

} // namespace

class TestFaultMatrix : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<QTemporaryDir> xdg;
    QProcess *program = nullptr;
    QString probe;
    QString family;
    QStringList settingsFiles;

    QJsonObject ask(const QString &request) const
    {
        return ProgramRig::askProbe(probe, request.toUtf8());
    }

    // A call into the window. The actions queue their work on the link and return, but the answer
    // may take as long as the action's designed time: a call held up by the mouse shows as a slow
    // step, not as a lost answer.
    QJsonObject call(const QString &request, int ms) const
    {
        return ProgramRig::askProbe(probe, request.toUtf8(), ms);
    }

    QJsonValue property(const QString &item, const QString &name) const
    {
        return ask("item " + item + " " + name)["props"].toObject()[name];
    }

    static bool waitFor(const std::function<bool()> &condition, int ms)
    {
        QDeadlineTimer deadline(ms);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            QTest::qWait(50);
        }
        return true;
    }

    bool busy() const { return property("protectUIItem", "isBusy").toBool(); }

    // Warning 8, as the window shows it (the program runs in English).
    bool writeFailedShown() const
    {
        const QJsonObject warning =
            ask("item warningAssigmentMain visible textValue")["props"].toObject();
        return warning["visible"].toBool() &&
               warning["textValue"].toString().startsWith(
                   "Some settings could not be written to the mouse.");
    }

    void writeSetting(const QString &file, const QString &key, const QVariant &value)
    {
        QSettings settings(runtime->path("modules/setting/" + file), QSettings::IniFormat);
        settings.setValue(key, value);
    }

    // Two stored macros, as the library keeps them.
    void writeMacros()
    {
        const QStringList records[2] = {{"1,A", "0,100", "2,A"}, {"1,B", "0,50", "2,B", "0,20"}};
        for (int m = 0; m < 2; ++m) {
            QSettings file(runtime->path(QStringLiteral("modules/macro/m%1.bin").arg(m + 1)),
                           QSettings::IniFormat);
            file.setValue("config/total", records[m].size());
            file.setValue("config/repeat", 1);
            for (int r = 0; r < records[m].size(); ++r)
                file.setValue(QStringLiteral("macro/%1").arg(r), records[m].at(r));
        }
        writeSetting("name.bin", "macro/macroName", QStringList{"m1", "m2"});
        writeSetting("name.bin", "macro/macroType", QStringList{"0", "0"});
    }

    // The settings files that are there, and whether each reads as settings.
    QStringList readableSettings() const
    {
        QStringList files;
        for (const QString &folder :
             QStringList{"modules/setting", "modules/gun", "modules/macro"}) {
            QDirIterator it(runtime->path(folder), QDir::Files);
            while (it.hasNext()) {
                const QString path = it.next();
                if (!path.endsWith(".bin"))
                    continue;
                QSettings settings(path, QSettings::IniFormat);
                files << QDir(runtime->root()).relativeFilePath(path) +
                             (settings.status() == QSettings::NoError &&
                                      !settings.allKeys().isEmpty()
                                  ? ""
                                  : " (unreadable)");
            }
        }
        files.sort();
        return files;
    }

    bool startProgram(bool scrambled)
    {
        writeSetting("apConfig.bin", "mouse/icType", family);
        if (scrambled) {
            writeSetting("apConfig.bin", "1/isEncode", true);
            writeSetting("apConfig.bin", "1/sCode", "123456");
        }
        writeMacros();
        mouse = std::make_unique<VirtualMouse>(
            VirtualMouse::Options{family, scrambled, scrambled ? "123456" : QString()});
        if (!mouse->start())
            return false;
        const QString exe = runtime->path("tk700");
        ProgramRig::installProgram(exe);
        probe = xdg->path() + "/probe";
        program = new QProcess(this);
        QProcessEnvironment env = ProgramRig::programEnvironment(xdg->path(), probe);
        // Nothing here is clicked: off the shared display, the matrix can run beside other tests.
        env.insert("QT_QPA_PLATFORM", "offscreen");
        program->setProcessEnvironment(env);
        program->setProcessChannelMode(QProcess::MergedChannels);
        program->setWorkingDirectory(runtime->root());
        program->start(exe, {});
        return ProgramRig::waitForStart(*program, probe) && waitFor([&] { return !busy(); }, 20000);
    }

    // Plain command codes of the requests the mouse took since the log was cleared, in order.
    QList<int> requestCodes()
    {
        QList<int> codes;
        for (const QString &plain : mouse->requests()) {
            const int code = plain.split(' ').value(1).toInt(nullptr, 16);
            if (!codes.contains(code))
                codes << code;
        }
        return codes;
    }

    // Runs one step and waits until the window takes input again; -1 when it did not in time.
    qint64 runStep(Step &step, int boundMs)
    {
        step.prepare();
        QElapsedTimer clock;
        clock.start();
        const QJsonObject answer = call(step.call, boundMs);
        if (!answer["called"].toBool()) {
            qWarning().noquote() << step.call << "failed:" << QJsonDocument(answer).toJson();
            return -1;
        }
        if (!waitFor([&] { return !busy(); }, boundMs))
            return -1;
        return clock.elapsed();
    }

    // The mouse back and the program connected to it again, with the warning closed.
    bool logHas(const char *kind)
    {
        const QJsonArray log = mouse->log();
        for (const QJsonValue &entry : log)
            if (entry["kind"] == kind)
                return true;
        return false;
    }

    bool mouseBack(bool clearFaults = true)
    {
        if (clearFaults)
            mouse->fault("none");
        // A call the mouse never answered holds the link's I/O until the system gives up on it
        // (the USB control time-out); only then can a retry reach the mouse.
        const bool released = waitFor(
            [&] {
                QSet<double> stalled;
                const QJsonArray log = mouse->log();
                for (const QJsonValue &e : log) {
                    if (e["kind"] == "stall")
                        stalled.insert(e["conn"].toDouble());
                    else if (e["kind"] == "close")
                        stalled.remove(e["conn"].toDouble());
                }
                return stalled.isEmpty();
            },
            15000);
        if (!released)
            return false;
        if (!mouse->state()["plugged"].toBool()) {
            mouse->clearLog();
            mouse->plug();
            // Connected again once the event interface is watched.
            const bool watched = waitFor(
                [&] {
                    const QJsonArray log = mouse->log();
                    for (const QJsonValue &e : log)
                        if (e["kind"] == "open" && e["iface"].toInt() == 1)
                            return true;
                    return false;
                },
                20000);
            if (!watched)
                return false;
        }
        // The work after a connect (block reads, the window's start-up lock) is over once the
        // window takes input and the mouse has heard nothing for a while.
        qsizetype heard = -1;
        int quiet = 0;
        const bool settled = waitFor(
            [&] {
                const qsizetype now = mouse->log().size();
                quiet = now == heard ? quiet + 1 : 0;
                heard = now;
                return quiet >= 6 && !busy();
            },
            20000);
        if (!settled)
            return false;
        ask("call warningAssigmentMain hide");
        return true;
    }

private slots:
    void init()
    {
        runtime = std::make_unique<TestRuntime>();
        xdg = std::make_unique<QTemporaryDir>();
        QVERIFY(runtime->isValid());
    }

    void cleanup()
    {
        ProgramRig::endProcess(program);
        mouse.reset();
        xdg.reset();
        runtime.reset();
    }

    void cleanupTestCase()
    {
        if (!table.isEmpty())
            qInfo().noquote() << "\nfault matrix: family | exchange (command) | fault | action | "
                                 "outcome\n" +
                                     table.join('\n');
    }

    void matrix_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("scrambled");
        QTest::newRow("553 plain") << "553" << false;
        QTest::newRow("553 scrambled") << "553" << true;
        QTest::newRow("560 plain") << "560" << false;
        QTest::newRow("560 scrambled") << "560" << true;
    }

    void matrix()
    {
        QFETCH(QString, family);
        QFETCH(bool, scrambled);
        const QString only = qEnvironmentVariable("TK700_FAULT_MATRIX_FAMILY");
        if (!only.isEmpty() && only != family)
            QSKIP("the other family's test runs it");
        this->family = family;
        const QString run = family + (scrambled ? " scrambled" : " plain");
        QVERIFY(startProgram(scrambled));
        settingsFiles = readableSettings();

        // Two DPI tables the Apply alternates between, and the other profile and macro each time.
        const QString dpiTables[2] = {
            R"(["1000","1500","2000","2500","3000","3500","4000","4500"])",
            R"(["800","1600","2400","3200","4000","4800","5600","6400"])"};
        int applied = 0;
        // The pages and the chooser the cycle reaches by name are built on first use.
        for (const char *part : {"lightControlMain", "systemSettingMain", "macroKeyAssigmentMain"})
            ask(QStringLiteral("call mainIten buildPart \"%1\"").arg(part));
        auto markPages = [this] {
            for (const char *page :
                 {"keyMatrixMain", "dpiSettingMain", "lightControlMain", "systemSettingMain"})
                ask(QStringLiteral("set %1 isSave true").arg(page));
        };
        QList<Step> cycle = {
            {"Apply", "call mainIten saveAllData",
             [&] {
                 ask("set dpiSettingMain dpiValues " + dpiTables[applied++ % 2]);
                 markPages();
             }},
            {"Reset", "call mainIten resetAllDate", [] {}},
            {"profile change", "call mainIten changeProfile 1", [] {}},
            {"profile change", "call mainIten changeProfile 0", [] {}},
            {"macro send", R"(call macroKeyAssigmentMain sendMacro 3 "m1")", [] {}},
            {"macro send", R"(call macroKeyAssigmentMain sendMacro 3 "m2")", [] {}},
        };
        // The Apply toggles between two tables: both directions are steps of their own.
        cycle.insert(2, cycle.at(0));

        // A fault-free pass to reach the cycle's steady state, then one that records each step.
        for (int pass = 0; pass < 2; ++pass) {
            for (Step &step : cycle) {
                mouse->clearLog();
                step.before = stripped(mouse->state());
                const qint64 ms = runStep(step, 60000);
                QVERIFY2(ms >= 0, qPrintable(step.action + " did not finish"));
                QVERIFY2(!writeFailedShown(), qPrintable(step.action + " failed without a fault"));
                step.after = stripped(mouse->state());
                step.codes = requestCodes();
                step.ms = ms;
            }
        }

        const auto &codes = family == "553"
                                ? QList<CodeKind>(std::begin(k553Codes), std::end(k553Codes))
                                : QList<CodeKind>(std::begin(k560Codes), std::end(k560Codes));
        auto codeOf = [&](const Step &step, Kind kind) {
            // A profile block is read in an action only when its read at the connect failed:
            // before it is changed and sent, it is read again.
            if (kind == Kind::BlockRead)
                return family == "560" && step.codes.contains(0x0C) ? 0x8C : -1;
            for (int code : step.codes)
                for (const CodeKind &ck : codes)
                    if (ck.code == code && ck.kind == kind)
                        return code;
            return -1;
        };

        // The cells, fault by fault; those no action reaches are reported, not run.
        QList<Cell> pending;
        for (Fault fault : kFaults) {
            for (const KindInfo &kind : kKinds) {
                Arming arm = arming(fault, kind, scrambled);
                // Without scrambling only the reply check differs from the scrambled run, so the
                // plain run keeps the faults that meet it and one unplug and one replug.
                const bool plainRuns = fault == Fault::UnplugBefore ||
                                       fault == Fault::GarbageReply || fault == Fault::QuickReplug;
                if (!scrambled && arm.notApplicable.isEmpty() && !plainRuns)
                    arm.notApplicable = "merged: run scrambled, the same path";
                const QString cell =
                    QStringLiteral("%1 | %2 | %3").arg(run, kind.name, faultName(fault));
                bool reached = false;
                for (const Step &step : std::as_const(cycle))
                    reached = reached || codeOf(step, kind.kind) >= 0;
                if (!arm.notApplicable.isEmpty())
                    table << cell + " | - | n/a: " + arm.notApplicable;
                else if (!reached)
                    table << cell + " | - | n/a: no user action makes this exchange on this family";
                else
                    pending << Cell{&kind, fault, arm};
            }
        }

        QStringList failures;
        int position = 0;
        int guard = 0;
        while (!pending.isEmpty() && guard++ < 400) {
            Step &step = cycle[position];
            position = (position + 1) % cycle.size();
            int chosen = -1;
            for (int i = 0; i < pending.size() && chosen < 0; ++i)
                if (codeOf(step, pending[i].kind->kind) >= 0)
                    chosen = i;

            const QJsonObject before = stripped(mouse->state());
            if (before != step.before) {
                failures << run + ": the mouse is not where " + step.action +
                                " starts: " + differingKeys(before, step.before).join(", ");
                for (const QString &key : differingKeys(before, step.before))
                    qWarning().noquote() << key
                                         << QJsonDocument(QJsonObject{{"now", before[key]},
                                                                      {"was", step.before[key]}})
                                                .toJson(QJsonDocument::Compact);
                break;
            }
            if (chosen < 0) {
                // Nothing to try here: the step moves the cycle on, fault-free.
                mouse->clearLog();
                QVERIFY(runStep(step, 60000) >= 0);
                QCOMPARE(stripped(mouse->state()), step.after);
                continue;
            }
            const Cell cell = pending.takeAt(chosen);
            const int code = codeOf(step, cell.kind->kind);
            if (cell.kind->kind == Kind::BlockRead) {
                // The mouse comes back with a reply the block read at the connect cannot use.
                mouse->command("fault", {{"name", "garbage-reply"}, {"on", "8c"}});
                mouse->clearLog();
                mouse->unplug();
                waitFor([&] { return logHas("refused"); }, 5000);
                if (!mouseBack(false) || !logHas("armed") ||
                    stripped(mouse->state()) != step.before) {
                    failures << run + ": no failed block read at the connect before " + step.action;
                    break;
                }
            }
            const QString name =
                QStringLiteral("%1 | %2 (%3H) | %4 | %5")
                    .arg(run, cell.kind->name,
                         QString::number(code, 16).toUpper().rightJustified(2, '0'),
                         faultName(cell.fault), step.action);
            mouse->clearLog();
            QVERIFY(mouse
                        ->command("fault", {{"name", cell.arm.name},
                                            {"count", cell.arm.count},
                                            {"on", QString::number(code, 16)},
                                            {"keep", cell.arm.keep}})["ok"]
                        .toBool());
            // The designed time of the action, and one deadline for the exchange that met the
            // fault and one for the next, which may still meet what it left.
            const int bound = int(step.ms) + 2 * kExchangeBoundMs + kSlackMs;
            const qint64 ms = runStep(step, bound);

            QStringList problems;
            if (program->state() != QProcess::Running) {
                failures << name + ": the program died";
                table << name + " | FAIL: crashed";
                QFAIL(qPrintable(failures.join('\n')));
            }
            if (ms < 0)
                problems << QStringLiteral("still busy after %1 ms").arg(bound);
            if (!logHas("armed"))
                problems << "the fault was not met";
            const QJsonObject after = stripped(mouse->state());
            const bool told = writeFailedShown();
            const bool complete = after == step.after;
            const QStringList mixed = mixedParts(before, after, step.after);
            if (!mixed.isEmpty())
                problems << "a mix no action asked for: " + mixed.join(", ");
            if (!complete && !told)
                problems << "success shown, the mouse did not get everything";
            if (readableSettings() != settingsFiles)
                problems << "settings files: " + readableSettings().join(", ");

            // The mouse comes back; the user tries again what did not reach it.
            if (!mouseBack()) {
                problems << "the program did not take the mouse back";
            } else {
                const bool macro = step.action == "macro send";
                if (macro && told) {
                    runStep(step, 60000);
                } else if (!macro && property("mainIten", "isUnsaved").toBool()) {
                    markPages(); // unchanged: the pages the failure left unsaved are sent again
                    Step apply{"Apply", "call mainIten saveAllData", [] {}};
                    if (runStep(apply, 60000) < 0)
                        problems << "the next Apply did not finish";
                }
                const QJsonObject now = stripped(mouse->state());
                if (now != step.after)
                    problems
                        << "after the next Apply the mouse differs from the shown settings in " +
                               differingKeys(now, step.after).join(", ");
                if (writeFailedShown())
                    problems << "the next Apply failed";
                ask("call warningAssigmentMain hide");
            }
            const QString outcome =
                QStringLiteral("%1 (%2, %3 ms)")
                    .arg(problems.isEmpty() ? "pass" : "FAIL: " + problems.join("; "),
                         QStringLiteral("%1, %2").arg(complete ? "mouse new" : "mouse not new",
                                                      told ? "failure told" : "success shown"),
                         QString::number(ms));
            table << name + " | " + outcome;
            qInfo().noquote() << name << "|" << outcome;
            if (!problems.isEmpty())
                failures << name + ": " + problems.join("; ");
            // The next cell starts where the step ends.
            if (stripped(mouse->state()) != step.after)
                break;
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
        QVERIFY2(pending.isEmpty(),
                 qPrintable(QStringLiteral("%1 cells not run").arg(pending.size())));
    }
};

QTEST_MAIN(TestFaultMatrix)
#include "tst_fault_matrix.moc"
