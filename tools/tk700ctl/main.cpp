// tk700ctl: the TK700 from the command line, over the program's own core (device link, settings
// files, feature classes), without a window. It works in the program's data folder. While the
// program runs, the program holds the mouse and its settings in memory would overwrite what the
// tool wrote: the commands then go through the program's D-Bus service (program_link.h).

#include "answer.h"
#include "base/data_folder.h"
#include "base/device_context.h"
#include "base/instance_id.h"
#include "base/profile_block.h"
#include "base/settings_store.h"
#include "controller/dpi_settings.h"
#include "controller/key_matrix.h"
#include "controller/lighting.h"
#include "controller/mouse_options.h"
#include "controller/profile_send.h"
#include "controller/profiles.h"
#include "controller/stored_settings.h"
#include "device/hid_thread.h"
#include "frontend/stored_macro.h"
#include "macro/macro_download.h"
#include "program_link.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStandardPaths>
#include <QTextStream>

#include <cstdio>
#include <iterator>
#include <memory>
#include <optional>

namespace
{

const char kHelp[] = R"(Usage: tk700ctl [--json] [--verbose] <command> [<args>]

Configure the Talvemark TK700 mouse from the command line. The commands work
on the same settings as the TK700 utility. While the utility runs, it holds
the mouse: status, profile list, profile switch, apply, dpi stage and macro
send are then done by the utility (over its D-Bus service on the session bus),
and its window shows them; profile import needs the utility closed.

Commands:
  status                     whether the mouse is found, its family and
                             interfaces, the current profile and DPI stage
  profile list               the profiles (1-10); * marks the current one
  profile switch N           make profile N current and send it to the mouse
  profile export N FILE      write profile N to FILE (a .pf file)
  profile import N FILE      replace profile N by the profile in FILE
  apply                      send the current profile's stored settings
                             (buttons, report rate, DPI stages and their
                             colours, lift-off distance, lighting and, in
                             game mode, the gun tables) to the mouse
  dpi stage N                make DPI stage N (1-8) the active one
  macro list                 the stored macros, with their folders
  macro send NAME BUTTON     send macro NAME (as "macro list" names it) to
                             the macro slot of button BUTTON (1-12)

Options:
  --json      print one JSON object on standard output (also on errors)
  --verbose   show the core's debug lines on standard error
  -h, --help  show this help

Exit status:
  0  done
  1  failed: the mouse did not take it, or a file could not be written
  2  wrong usage: unknown command, wrong or missing argument
  3  the TK700 utility is running and cannot do this (profile import, or its
     D-Bus service is not reachable)
  4  no TK700 found, or it cannot be opened (see the udev rule in the README)
)";

bool verbose = false;

void messages(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtDebugMsg && !verbose)
        return;
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

// A whole number in [low, high], or nothing.
std::optional<int> number(const QString &text, int low, int high)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < low || n > high)
        return std::nullopt;
    return n;
}

QString hex4(quint16 id)
{
    return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0'));
}

// The settings files, the model they describe and, once connected, the mouse.
class Session : public DeviceTraits
{
public:
    Session()
    {
        model.isColorful = settings.globalData(QStringLiteral("mouse/isColorful")).toBool();
        model.isGun = settings.globalData(QStringLiteral("mouse/isGun")).toBool();
        model.icType = settings.globalData(QStringLiteral("mouse/icType")).toString();
        model.is55328 = settings.globalData(QStringLiteral("mouse/is55328")).toBool();
        const int profile = settings.globalData(QStringLiteral("mouse/profileNo")).toInt();
        settings.setCurrentProfile(Profiles::isSlot(profile) ? profile : 0);
        link.traits = this;
    }

    bool gunCapable() const override { return model.isGun; }
    bool family560() const override { return model.family560(); }

    DeviceContext context(bool withLink)
    {
        return DeviceContext{model, withLink ? &link : nullptr, settings, image, &blockStates};
    }

    // Finds and prepares the mouse; an answer when it cannot be used.
    std::optional<Answer> connect()
    {
        index = link.scanDevices();
        if (index < 0)
            return failure(kNoMouse, QStringLiteral("no TK700 found"));
        link.selectDevice(index);
        const QString refused = link.unopenableInterface(index);
        if (!refused.isEmpty())
            return failure(kNoMouse,
                           QStringLiteral("the TK700 was found but %1 cannot be opened: install "
                                          "the udev rule 70-tk700.rules and plug the mouse in "
                                          "again")
                               .arg(refused));
        // The 560 family's blocks are changed in place: they must be a copy of the mouse's. A
        // block that cannot be read is marked unread, and read again before it is changed.
        if (model.family560()) {
            DeviceContext ctx = context(true);
            for (int b = 0; b < profile_block::blocksInUse(model.isGun); ++b)
                profile_block::read(ctx, b);
        }
        return std::nullopt;
    }

    const DeviceEntry &device() const { return *link.devices[size_t(index)]; }

    SettingsStore settings;
    MouseModel model;
    ProfileImage image = {};
    BlockStates blockStates;
    // After the image: its queue, which may hold steps on the image, ends first.
    Hid_Thread link;
    int index = -1;
};

// The current profile's stored settings, sent as the window sends them on a profile change: the
// button table of `mode` (the mode last sent, which a profile change carries over) and, in game
// mode, the gun tables back to the firmware's. Each part is reported; the answer fails when any
// part did not reach the mouse.
Answer apply(Session &s, int mode)
{
    DeviceContext ctx = s.context(true);
    SettingsStore &st = s.settings;
    QJsonObject parts;
    for (const auto &[part, sent] : sendStoredProfile(ctx, mode, mode == 1).parts)
        parts[part] = sent;

    Answer a;
    QStringList failed;
    for (auto it = parts.begin(); it != parts.end(); ++it) {
        a.lines << QStringLiteral("%1: %2").arg(it.key(), it.value().toBool() ? "sent" : "FAILED");
        if (!it.value().toBool())
            failed << it.key();
    }
    a.json[QStringLiteral("profile")] = st.currentProfile() + 1;
    a.json[QStringLiteral("sent")] = parts;
    if (!failed.isEmpty()) {
        a.code = kFailed;
        a.error = QStringLiteral("not sent to the mouse: ") + failed.join(QStringLiteral(", "));
    }
    return a;
}

Answer status(Session &s)
{
    Answer a;
    const int profile = s.settings.currentProfile() + 1;
    a.json[QStringLiteral("profile")] = profile;
    a.json[QStringLiteral("family")] = s.model.family560() ? "560" : "553";
    if (const auto refused = s.connect()) {
        a.code = refused->code;
        a.error = refused->error;
        a.json[QStringLiteral("found")] = false;
        return a;
    }
    const DeviceEntry &d = s.device();
    DeviceContext ctx = s.context(true);
    const int stage = DpiSettings(ctx).currentStage();
    a.json[QStringLiteral("found")] = true;
    a.json[QStringLiteral("vid")] = hex4(d.vid);
    a.json[QStringLiteral("pid")] = hex4(d.pid);
    a.json[QStringLiteral("interfaces")] =
        QJsonObject{{QStringLiteral("command"), d.cmdPath}, {QStringLiteral("event"), d.eventPath}};
    // 0: no stage known (no answer, or one that is no stage of the mouse).
    a.json[QStringLiteral("dpiStage")] = qMax(stage, 0);
    a.lines << QStringLiteral("mouse: found (%1:%2)").arg(hex4(d.vid), hex4(d.pid))
            << QStringLiteral("family: %1").arg(a.json[QStringLiteral("family")].toString())
            << QStringLiteral("command interface: %1").arg(d.cmdPath)
            << QStringLiteral("event interface: %1").arg(d.eventPath)
            << QStringLiteral("profile: %1").arg(profile)
            << QStringLiteral("dpi stage: %1")
                   .arg(stage == 0                   ? QStringLiteral("unknown (no answer)")
                        : stage == dpi::kNoSuchStage ? QStringLiteral("unknown (no stage of it)")
                                                     : QString::number(stage));
    if (stage == 0) {
        a.code = kFailed;
        a.error = QStringLiteral("the mouse did not answer the DPI stage query");
    } else if (stage == dpi::kNoSuchStage) {
        a.code = kFailed;
        a.error = QStringLiteral("the mouse answered the DPI stage query with no stage it has");
    }
    return a;
}

Answer profileCommand(Session &s, const QStringList &args)
{
    const QString sub = args.value(0);
    if (sub == QLatin1String("list") && args.size() == 1) {
        Answer a;
        QJsonArray list;
        for (int n = 0; n < SettingsStore::kProfileCount; ++n) {
            const bool current = n == s.settings.currentProfile();
            const QString file = QFileInfo(SettingsStore::profileFileName(n)).fileName();
            list.append(QJsonObject{{QStringLiteral("number"), n + 1},
                                    {QStringLiteral("file"), file},
                                    {QStringLiteral("current"), current}});
            a.lines << QStringLiteral("%1 %2 %3").arg(current ? "*" : " ").arg(n + 1).arg(file);
        }
        a.json[QStringLiteral("profiles")] = list;
        return a;
    }
    const std::optional<int> n = number(args.value(1), 1, SettingsStore::kProfileCount);
    if (sub == QLatin1String("switch") && args.size() == 2) {
        if (!n)
            return failure(
                kUsage,
                QStringLiteral("profile: N must be 1-%1").arg(SettingsStore::kProfileCount));
        if (const auto refused = s.connect())
            return *refused;
        const int mode = StoredSettings(s.settings, false).mode();
        s.settings.setGlobalData(QStringLiteral("mouse/profileNo"), *n - 1);
        s.settings.setCurrentProfile(*n - 1);
        Answer a = apply(s, mode);
        a.lines.prepend(QStringLiteral("profile %1 is current").arg(*n));
        return a;
    }
    if ((sub == QLatin1String("export") || sub == QLatin1String("import")) && args.size() == 3) {
        if (!n)
            return failure(
                kUsage,
                QStringLiteral("profile: N must be 1-%1").arg(SettingsStore::kProfileCount));
        const QString file = QFileInfo(args.at(2)).absoluteFilePath();
        DeviceContext ctx = s.context(false);
        Answer a;
        a.json[QStringLiteral("profile")] = *n;
        a.json[QStringLiteral("file")] = file;
        if (sub == QLatin1String("export")) {
            if (const SaveResult written = Profiles(ctx).exportFile(*n - 1, file); !written)
                return failure(kFailed,
                               QStringLiteral("could not write %1").arg(written.message()));
            a.lines << QStringLiteral("profile %1 written to %2").arg(*n).arg(file);
            return a;
        }
        QString refusal;
        if (!Profiles(ctx).importFile(*n - 1, file, &refusal))
            return failure(kFailed, refusal.isEmpty()
                                        ? QStringLiteral("could not import %1").arg(file)
                                        : refusal);
        a.lines << QStringLiteral("profile %1 replaced by %2").arg(*n).arg(file);
        return a;
    }
    return failure(kUsage, QStringLiteral("profile: expected list, switch N, export N FILE or "
                                          "import N FILE"));
}

Answer macroCommand(Session &s, const QStringList &args)
{
    const QString sub = args.value(0);
    if (sub == QLatin1String("list") && args.size() == 1) {
        const MacroNames names = macroNames();
        Answer a;
        a.lines = names.macros;
        a.json[QStringLiteral("macros")] = QJsonArray::fromStringList(names.macros);
        a.json[QStringLiteral("notMacroFiles")] = QJsonArray::fromStringList(names.refused);
        for (const QString &name : names.refused)
            std::fprintf(stderr, "tk700ctl: %s is not a macro file (left out)\n", qPrintable(name));
        return a;
    }
    if (sub == QLatin1String("send") && args.size() == 3) {
        const QString name = args.at(1);
        const std::optional<int> button = number(args.at(2), 1, int(macroblock::kSlots));
        if (!button)
            return failure(kUsage,
                           QStringLiteral("macro: BUTTON must be 1-%1").arg(macroblock::kSlots));
        const NamedMacro macro =
            namedMacro(name, s.settings.globalData(QStringLiteral("common/language")).toString());
        if (macro.problem != NamedMacro::Problem::None)
            return failure(macro.problem == NamedMacro::Problem::Unknown ? kUsage : kFailed,
                           macro.message);
        const QVariantList &bytes = macro.bytes;
        if (const auto refused = s.connect())
            return *refused;
        DeviceContext ctx = s.context(true);
        if (!sendMacroBlock(ctx, bytes, uint(*button - 1)))
            return failure(kFailed, QStringLiteral("the mouse did not take macro %1").arg(name));
        Answer a;
        a.lines << QStringLiteral("macro %1 sent to button %2 (%3 bytes)")
                       .arg(name)
                       .arg(*button)
                       .arg(bytes.size());
        a.json[QStringLiteral("macro")] = name;
        a.json[QStringLiteral("button")] = *button;
        a.json[QStringLiteral("bytes")] = int(bytes.size());
        return a;
    }
    return failure(kUsage, QStringLiteral("macro: expected list or send NAME BUTTON"));
}

Answer dpiCommand(Session &s, const QStringList &args)
{
    if (args.size() != 2 || args.at(0) != QLatin1String("stage"))
        return failure(kUsage, QStringLiteral("dpi: expected stage N"));
    const std::optional<int> stage = number(args.at(1), 1, dpi::kStages);
    if (!stage)
        return failure(kUsage, QStringLiteral("dpi: N must be 1-%1").arg(dpi::kStages));
    if (const auto refused = s.connect())
        return *refused;
    DeviceContext ctx = s.context(true);
    if (!DpiSettings(ctx).setCurrentStage(uchar(*stage)))
        return failure(kFailed, QStringLiteral("the mouse did not take DPI stage %1").arg(*stage));
    Answer a;
    a.lines << QStringLiteral("dpi stage %1 is active").arg(*stage);
    a.json[QStringLiteral("dpiStage")] = *stage;
    return a;
}

// Commands that only read files run beside the program, on the files.
bool onlyReads(const QStringList &command)
{
    return command == QStringList{QStringLiteral("macro"), QStringLiteral("list")} ||
           (command.value(0) == QLatin1String("profile") &&
            command.value(1) == QLatin1String("export"));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The program's name: its data folder is the same.
    QCoreApplication::setApplicationName(QStringLiteral("tk700"));
    qInstallMessageHandler(messages);

    bool json = false;
    QStringList command;
    for (const QString &arg : QCoreApplication::arguments().mid(1)) {
        if (arg == QLatin1String("--json"))
            json = true;
        else if (arg == QLatin1String("--verbose") || arg == QLatin1String("-v"))
            verbose = true;
        else if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            command = {QStringLiteral("help")};
        else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1 && command.value(0) != "help")
            command = {QStringLiteral("bad-option"), arg};
        else if (command.value(0) != QLatin1String("help") &&
                 command.value(0) != QLatin1String("bad-option"))
            command << arg;
    }

    QTextStream out(stdout);
    QTextStream err(stderr);
    auto finish = [&](const Answer &a, const QString &name) {
        if (json) {
            QJsonObject o = a.json;
            o[QStringLiteral("command")] = name;
            o[QStringLiteral("ok")] = a.code == kDone;
            o[QStringLiteral("exitCode")] = a.code;
            if (!a.error.isEmpty())
                o[QStringLiteral("error")] = a.error;
            out << QJsonDocument(o).toJson(QJsonDocument::Compact) << '\n';
        } else {
            for (const QString &line : a.lines)
                out << line << '\n';
            if (!a.error.isEmpty())
                err << "tk700ctl: " << a.error << '\n';
            if (a.code == kUsage)
                err << "Try 'tk700ctl --help'.\n";
        }
        return a.code;
    };

    if (command.value(0) == QLatin1String("help")) {
        out << kHelp;
        return kDone;
    }
    const QString name = command.mid(0, 2).join(QLatin1Char(' '));
    if (command.value(0) == QLatin1String("bad-option"))
        return finish(failure(kUsage, QStringLiteral("unknown option %1").arg(command.value(1))),
                      QString());
    if (command.isEmpty())
        return finish(failure(kUsage, QStringLiteral("no command given")), QString());
    static const QStringList known = {QStringLiteral("status"), QStringLiteral("profile"),
                                      QStringLiteral("apply"), QStringLiteral("dpi"),
                                      QStringLiteral("macro")};
    if (!known.contains(command.first()))
        return finish(failure(kUsage, QStringLiteral("unknown command %1").arg(command.first())),
                      name);

    // The same data folder as the program's, beside it or in the user's folder.
    const QString folder =
        prepareDataFolder(QCoreApplication::applicationDirPath(),
                          QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    if (folder.isEmpty() || !QDir::setCurrent(folder))
        return finish(
            failure(kFailed,
                    QStringLiteral("the settings folder %1 could not be prepared")
                        .arg(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))),
            name);

    // Taken before the instance lock and given up after it: a program that starts meanwhile and
    // finds the instance lock held can tell that this tool holds it.
    QLockFile toolLock(toolLockPath());
    toolLock.setStaleLockTime(0);
    const bool toolLocked = toolLock.tryLock(0);
    // Held while the tool works, so that the program does not start in between.
    QLockFile lock(instanceLockPath());
    lock.setStaleLockTime(0);
    const bool locked = lock.tryLock(0);
    if (!locked && toolLocked)
        toolLock.unlock();
    if (!locked && !onlyReads(command)) {
        if (lock.error() != QLockFile::LockFailedError)
            return finish(failure(kFailed, QStringLiteral("the lock file %1 could not be made")
                                               .arg(instanceLockPath())),
                          name);
        // The program keeps its profiles in memory: a file put under it would be overwritten.
        if (command.value(0) == QLatin1String("profile") &&
            command.value(1) == QLatin1String("import"))
            return finish(failure(kProgramRuns,
                                  QStringLiteral("the TK700 utility is running: import the "
                                                 "profile in its profile dialog, or quit it from "
                                                 "its tray menu first")),
                          name);
        if (const std::optional<Answer> answer = throughProgram(command))
            return finish(*answer, name);
        // Without the service the list is read from the files, as the program last wrote them.
        const bool profileList =
            command == QStringList{QStringLiteral("profile"), QStringLiteral("list")};
        if (!profileList)
            return finish(
                failure(kProgramRuns, QStringLiteral("the TK700 utility is running and holds "
                                                     "the mouse, and its D-Bus service is not "
                                                     "on the session bus: quit it from its "
                                                     "tray menu first")),
                name);
    }

    Session session;
    Answer answer;
    const QStringList rest = command.mid(1);
    if (command.first() == QLatin1String("status"))
        answer = rest.isEmpty() ? status(session) : failure(kUsage, "status: takes no arguments");
    else if (command.first() == QLatin1String("apply")) {
        if (!rest.isEmpty())
            answer = failure(kUsage, QStringLiteral("apply: takes no arguments"));
        else if (const auto refused = session.connect())
            answer = *refused;
        else
            answer = apply(session, StoredSettings(session.settings, false).mode());
    } else if (command.first() == QLatin1String("profile"))
        answer = profileCommand(session, rest);
    else if (command.first() == QLatin1String("dpi"))
        answer = dpiCommand(session, rest);
    else
        answer = macroCommand(session, rest);
    // Written before the answer is given: a script may read the files next. A change that did
    // not reach its file is not done, whatever the mouse took.
    if (const SaveResult saved = session.settings.save(); !saved && answer.code == kDone)
        answer =
            failure(kFailed,
                    QStringLiteral("the settings could not be written to %1").arg(saved.message()));
    return finish(answer, name);
}
