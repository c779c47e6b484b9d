// The Debian package as an owner gets it: what it holds, what lintian and the AppStream validator
// say of it, and the program
// installed from it into a read-only folder, run by a user with a fresh home, keeping a setting it
// changed in the user's own data folder across a restart.

#include "support/program_rig.h"
#include "support/virtual_mouse.h"
#include "window_driver.h"

#include <QDirIterator>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

namespace
{

struct Result {
    int code = -1;
    QString out;
};

Result run(const QString &program, const QStringList &args, int timeoutMs = 120000)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAll())};
}

// Every file below `root` with its content, to tell whether anything was written there.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        files[path] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
    }
    return files;
}

void setTreeWritable(const QString &root, bool writable)
{
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    QStringList entries{root};
    while (it.hasNext())
        entries << it.next();
    for (const QString &entry : entries) {
        const QFileInfo info(entry);
        if (info.isSymLink())
            continue;
        QFile::Permissions mode = info.permissions();
        const QFile::Permissions write =
            QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
        mode = writable ? (mode | QFile::WriteOwner | QFile::WriteUser) : (mode & ~write);
        QFile::setPermissions(entry, mode);
    }
}

} // namespace

class TestPackage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir work;
    QString deb;
    std::unique_ptr<VirtualMouse> mouse;
    QProcess *program = nullptr;
    std::unique_ptr<WindowDriver> window;

    // The installed program, as a user with `home` starts it from the menu, against the virtual
    // TK700; true once its first screen after the logo is up.
    bool startInstalled(const QString &exe, const QString &home, const QString &runtimeDir)
    {
        const QString probe = runtimeDir + "/probe";
        window = std::make_unique<WindowDriver>(probe);
        program = new QProcess(this);
        QProcessEnvironment env = ProgramRig::programEnvironment(runtimeDir, probe);
        for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
            env.remove(name);
        env.insert("HOME", home);
        program->setProcessEnvironment(env);
        program->setProcessChannelMode(QProcess::MergedChannels);
        program->setWorkingDirectory(home);
        program->start(exe, {});
        return ProgramRig::waitForStart(*program, probe);
    }

private slots:
    void initTestCase()
    {
        const QString cpack = qEnvironmentVariable("TK700_CPACK_COMMAND");
        const QString build = qEnvironmentVariable("TK700_BUILD_DIR");
        if (cpack.isEmpty() || build.isEmpty())
            QSKIP("needs TK700_CPACK_COMMAND and TK700_BUILD_DIR (set by ctest)");
        if (QStandardPaths::findExecutable("dpkg-deb").isEmpty())
            QSKIP("needs dpkg-deb");
        const Result made =
            run(cpack, {"--config", build + "/CPackConfig.cmake", "-B", work.filePath("out")});
        QVERIFY2(made.code == 0, qPrintable(made.out));
        const QStringList debs = QDir(work.filePath("out")).entryList({"*.deb"}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        deb = work.filePath("out/" + debs.first());
    }

    void cleanup()
    {
        ProgramRig::endProcess(program, 30000);
        mouse.reset();
    }

    // The program, its factory data, the udev rule for every model, the desktop entry, its icon,
    // the software centre's metadata and screenshot, the shell completion, and the licences; the
    // virtual TK700 stays out; Depends names the libraries.
    void packageHoldsWhatAnOwnerNeeds()
    {
        const Result listing = run("dpkg-deb", {"-c", deb});
        QCOMPARE(listing.code, 0);
        QStringList paths;
        for (const QString &line : listing.out.split('\n', Qt::SkipEmptyParts))
            paths << line.section(' ', -1).section(" -> ", 0, 0);
        const QString all = listing.out;
        for (const char *path :
             {"./usr/lib/tk700/tk700", "./usr/lib/tk700/modules/setting/apConfig.bin",
              "./usr/lib/tk700/modules/setting/pD.bin", "./usr/lib/tk700/modules/i18n/English.ini",
              "./usr/lib/tk700/modules/gun/gunData.bin", "./usr/lib/tk700/modules/img/logo.ico",
              "./usr/lib/udev/rules.d/70-tk700.rules", "./usr/share/applications/tk700.desktop",
              "./usr/share/icons/hicolor/scalable/apps/tk700.svg",
              "./usr/share/doc/tk700/copyright", "./usr/share/doc/tk700/changelog.gz",
              "./usr/share/metainfo/com.talvemark.TK700.metainfo.xml",
              "./usr/share/tk700/screenshots/main.png",
              "./usr/share/bash-completion/completions/tk700ctl"})
            QVERIFY2(all.contains(QString(path) + '\n') || all.contains(QString(path) + ' '), path);
        QVERIFY(all.contains("./usr/bin/tk700 -> ../lib/tk700/tk700"));
        QVERIFY(all.contains("./usr/bin/tk700ctl -> ../lib/tk700/tk700ctl"));
        QVERIFY(all.contains("./usr/share/man/man1/tk700ctl.1.gz"));
        QVERIFY(!all.contains("virtual-tk700"));
        QVERIFY(!all.contains("README"));

        const QString root = work.filePath("contents");
        QCOMPARE(run("dpkg-deb", {"-x", deb, root}).code, 0);
        QFile rule(root + "/usr/lib/udev/rules.d/70-tk700.rules");
        QVERIFY(rule.open(QIODevice::ReadOnly));
        const QByteArray rules = rule.readAll();
        QVERIFY(rules.contains("ATTRS{idProduct}==\"a09f\", TAG+=\"uaccess\""));
        QVERIFY(rules.contains("ATTRS{idProduct}==\"a1f7\", TAG+=\"uaccess\""));
        QFile copyright(root + "/usr/share/doc/tk700/copyright");
        QVERIFY(copyright.open(QIODevice::ReadOnly));
        const QByteArray licences = copyright.readAll();
        QVERIFY(licences.contains("SIL OPEN FONT LICENSE Version 1.1"));
        QVERIFY(licences.contains("Files: *\nCopyright: TK700 developers\nLicense: GPL-3+\n"));
        QVERIFY(licences.contains("\"/usr/share/common-licenses/GPL-3\""));
        const QSettings desktop(root + "/usr/share/applications/tk700.desktop",
                                QSettings::IniFormat);
        QCOMPARE(desktop.value("Desktop Entry/Exec").toString(), QString("tk700"));
        QCOMPARE(desktop.value("Desktop Entry/Icon").toString(), QString("tk700"));

        const Result depends = run("dpkg-deb", {"-f", deb, "Depends"});
        for (const char *package :
             {"libhidapi-hidraw0", "libqt6quick6", "libudev1", "qml6-module-qtquick", "libqt6svg6"})
            QVERIFY2(depends.out.contains(package), qPrintable(depends.out));
    }

    void lintianFindsNoErrors()
    {
        if (QStandardPaths::findExecutable("lintian").isEmpty())
            QSKIP("needs lintian (scripts/install-deps.sh --with-tests installs it)");
        const Result lint = run("lintian", {"--tag-display-limit", "0", deb}, 300000);
        qInfo().noquote() << "lintian:" << lint.out;
        QVERIFY2(lint.code == 0, qPrintable(lint.out));
        for (const QString &line : lint.out.split('\n'))
            QVERIFY2(!line.startsWith("E:") && !line.startsWith("W:"), qPrintable(line));
    }

    // The metadata as a software centre reads it from the installed tree: valid with no hint above
    // the pedantic ones (validate-tree also finds the desktop entry it launches), a modalias for
    // every model the udev rule lets in, and a release for the package's own version.
    void appstreamMetadataIsValid()
    {
        if (QStandardPaths::findExecutable("appstreamcli").isEmpty())
            QSKIP("needs appstreamcli (scripts/install-deps.sh --with-tests installs it)");
        const QString root = work.filePath("appstream");
        QCOMPARE(run("dpkg-deb", {"-x", deb, root}).code, 0);
        const Result valid = run("appstreamcli", {"validate-tree", "--no-net", "--strict", root});
        QVERIFY2(valid.code == 0, qPrintable(valid.out));

        QFile metainfo(root + "/usr/share/metainfo/com.talvemark.TK700.metainfo.xml");
        QVERIFY(metainfo.open(QIODevice::ReadOnly));
        const QString xml = QString::fromUtf8(metainfo.readAll());
        const QString version = run("dpkg-deb", {"-f", deb, "Version"}).out.trimmed();
        QVERIFY(!version.isEmpty());
        QVERIFY2(xml.contains("<release version=\"" + version + "\" date=\""), qPrintable(xml));

        QFile rule(root + "/usr/lib/udev/rules.d/70-tk700.rules");
        QVERIFY(rule.open(QIODevice::ReadOnly));
        static const QRegularExpression model(
            QStringLiteral("idVendor}==\"([0-9a-f]{4})\", ATTRS{idProduct}==\"([0-9a-f]{4})\""));
        int models = 0;
        for (const auto &match : model.globalMatch(QString::fromUtf8(rule.readAll()))) {
            const QString alias =
                QStringLiteral("<modalias>usb:v%1p%2d*</modalias>")
                    .arg(match.captured(1).toUpper(), match.captured(2).toUpper());
            QVERIFY2(xml.contains(alias), qPrintable(alias));
            ++models;
        }
        QVERIFY(models >= 2);
        QCOMPARE(xml.count("<modalias>"), models);
    }

    // Installed read-only: the program works in the user's data folder, which the first start
    // fills; a setting changed there (the language) is still there after a restart, and nothing
    // is written into the installed tree.
    void installedProgramKeepsSettingsPerUser()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY") || QGuiApplication::platformName() != "xcb")
            QSKIP("needs an X display (the test command runs under Xvfb)");
        if (QStandardPaths::findExecutable("xdotool").isEmpty())
            QSKIP("needs xdotool");
        const QString root = work.filePath("root");
        QCOMPARE(run("dpkg-deb", {"-x", deb, root}).code, 0);
        const QString installed = root + "/usr/lib/tk700";
        setTreeWritable(installed, false);
        const QMap<QString, QByteArray> before = snapshot(installed);
        QTemporaryDir home;
        QTemporaryDir runtimeDir;
        const QString settings = home.path() + "/.local/share/tk700/modules/setting/apConfig.bin";

        mouse = std::make_unique<VirtualMouse>();
        QVERIFY(mouse->start());
        QVERIFY(startInstalled(root + "/usr/bin/tk700", home.path(), runtimeDir.path()));
        QVERIFY(QFileInfo::exists(settings));
        QVERIFY(QFileInfo::exists(home.path() + "/.local/share/tk700/modules/i18n/German.ini"));
        QCOMPARE(QSettings(settings, QSettings::IniFormat).value("common/language").toString(),
                 QString("English"));

        QVERIFY(window->click("languageListHeader"));
        QTest::qWait(500);
        QVERIFY(window->click("languageListItem3"));
        const QString german =
            QSettings(installed + "/modules/i18n/German.ini", QSettings::IniFormat)
                .value("keyMatrix/19")
                .toString();
        QVERIFY(!german.isEmpty());
        QTRY_COMPARE(window->property("tabSettingsLabel", "text").toString(), german);
        ProgramRig::endProcess(program, 30000);
        QCOMPARE(QSettings(settings, QSettings::IniFormat).value("common/language").toString(),
                 QString("German"));

        QVERIFY(startInstalled(root + "/usr/bin/tk700", home.path(), runtimeDir.path()));
        QTRY_COMPARE(window->property("tabSettingsLabel", "text").toString(), german);
        ProgramRig::endProcess(program, 30000);
        // The installed tool works on the same user folder: it sees the German setting's profile
        // list and reaches the mouse.
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            env.remove(name);
        env.insert("HOME", home.path());
        env.insert("XDG_RUNTIME_DIR", runtimeDir.path());
        env.insert("LD_PRELOAD", qEnvironmentVariable("TK700_HIDAPI_SIM"));
        tool.setProcessEnvironment(env);
        QSettings(settings, QSettings::IniFormat).setValue("mouse/profileNo", 4);
        tool.start(root + "/usr/bin/tk700ctl", {"--json", "status"});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 0);
        const QJsonObject status = QJsonDocument::fromJson(tool.readAllStandardOutput()).object();
        QCOMPARE(status["found"].toBool(), true);
        QCOMPARE(status["profile"].toInt(), 5);

        QVERIFY(snapshot(installed) == before);
        setTreeWritable(installed, true);
    }
};

QTEST_MAIN(TestPackage)
#include "tst_package.moc"
