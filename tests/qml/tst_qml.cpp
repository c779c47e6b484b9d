// Qt Quick Test cases of the QML document's shared parts. The setup gives them a private copy of
// the runtime data, the English key names, a main view (for the send tests connected to the
// virtual TK700) and dialogs that record their warnings instead of showing them.

#include "controller/language_strings.h"
#include "controller/stored_settings.h"
#include "support/test_runtime.h"
#include "support/virtual_mouse.h"
#include "view/dialogs.h"
#include "view/myqquickview.h"
#include "view/qml_core.h"
#include "view/svg_elements.h"
#include "view/resource_font.h"
#include "view/svg_picture.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest>

#include <memory>

class RecordingDialogs : public Dialogs
{
public:
    QStringList warnings; // title|text
    QString chosen;       // what the next file or folder dialog returns (then nothing)

    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return std::exchange(chosen, {});
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return std::exchange(chosen, {});
    }
    QString existingDirectory(QWidget *, const QString &, const QString &) override
    {
        return std::exchange(chosen, {});
    }
    void warning(QWidget *, const QString &title, const QString &text) override
    {
        warnings << title + '|' + text;
    }
};

class Setup : public QObject
{
    Q_OBJECT

public:
    Setup() = default;
    ~Setup() override { Dialogs::setInstance(nullptr); }

public slots:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        // One copy at a time: an old copy going after the new one would take the current
        // directory back with it.
        runtime.reset();
        runtime = std::make_unique<TestRuntime>();
        Dialogs::setInstance(&dialogs);
        engine->rootContext()->setContextProperty("englishKeyNames",
                                                  languageStrings("keyCode", "English"));
        engine->rootContext()->setContextProperty("harness", this);
    }

    // A main view over a virtual mouse of `family`; the view is `ui_View` for the send tests.
    QObject *connectMouse(const QString &family)
    {
        link.reset();
        view.reset();
        mouse = std::make_unique<VirtualMouse>(VirtualMouse::Options{family, false, QString()});
        if (!mouse->start())
            return nullptr;
        {
            QSettings apConfig(runtime->path("modules/setting/apConfig.bin"), QSettings::IniFormat);
            apConfig.setValue("mouse/icType", family);
        }
        link = std::make_unique<Hid_Thread>();
        view = std::make_unique<myQQuickView>();
        link->traits = view.get();
        link->selectDevice(link->scanDevices());
        view->deviceLink = link.get();
        // Kept by the harness: the script must not collect it.
        QQmlEngine::setObjectOwnership(view.get(), QQmlEngine::CppOwnership);
        return view.get();
    }

    // The core's rules, for the stand-in view: the stored settings over its maps, and the rule
    // slots of a real view.
    QVariantMap storedSettings(const QVariantMap &profile, const QVariantMap &global)
    {
        return StoredSettings(profile, global).toMap();
    }
    QVariantMap storedPreset(const QVariantMap &profile, const QVariantMap &global, int preset)
    {
        return StoredSettings(profile, global).presetMap(preset);
    }
    QObject *rulesView()
    {
        if (!rules) {
            rules = std::make_unique<myQQuickView>();
            QQmlEngine::setObjectOwnership(rules.get(), QQmlEngine::CppOwnership);
        }
        return rules.get();
    }

    // A main view without a mouse.
    QObject *plainView()
    {
        link.reset();
        view.reset();
        mouse.reset();
        view = std::make_unique<myQQuickView>();
        QQmlEngine::setObjectOwnership(view.get(), QQmlEngine::CppOwnership);
        return view.get();
    }

    // `key` of `file` (below the runtime copy) as a fresh QSettings reads it: the view's writes
    // are saved, and the file is parsed under a new name, where no cached copy can answer.
    QVariant storedValue(const QString &file, const QString &key)
    {
        saveViewSettings();
        static int copies = 0;
        const QString copy = runtime->path(QStringLiteral("fresh%1.ini").arg(++copies));
        if (!QFile::copy(runtime->path(file), copy))
            return QStringLiteral("(no file)");
        return QSettings(copy, QSettings::IniFormat).value(key);
    }
    QString fileText(const QString &file)
    {
        saveViewSettings();
        return QString::fromUtf8(runtime->read(file));
    }
    // Writes a file below the runtime copy.
    bool writeFile(const QString &file, const QString &text)
    {
        return runtime->write(file, text.toUtf8());
    }

    QStringList takeWarnings() { return std::exchange(dialogs.warnings, {}); }

    // The next file or folder dialog chooses `file` below the runtime copy.
    void chooseNext(const QString &file) { dialogs.chosen = runtime->path(file); }
    bool exists(const QString &file) { return QFileInfo::exists(runtime->path(file)); }
    // A fresh, private configuration folder of the user ($XDG_CONFIG_HOME), for the autostart
    // entry.
    QString privateConfigHome()
    {
        configHome = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", configHome->path().toUtf8());
        return configHome->path();
    }
    bool fileExists(const QString &path) { return QFileInfo::exists(path); }
    bool writeAbsoluteFile(const QString &path, const QString &text)
    {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) > 0;
    }

    // The macro the mouse holds in slot `id` (1-based), as numbers.
    QVariantList mouseMacro(int id)
    {
        const QByteArray block =
            VirtualMouse::bytesOf(mouse->state()["macros"].toArray().at(id - 1));
        QVariantList bytes;
        for (char b : block)
            bytes << int(uchar(b));
        return bytes;
    }

    void clearLog() { mouse->clearLog(); }
    // Reports that reached the mouse; the opening and closing of handles (a previous exchange's
    // handle may close after the log was cleared) are no reports.
    int reportsSeen()
    {
        int seen = 0;
        for (const QJsonValue &entry : mouse->log()) {
            const QString kind = entry.toObject().value(QStringLiteral("kind")).toString();
            seen += kind != QLatin1String("open") && kind != QLatin1String("close");
        }
        return seen;
    }

private:
    void saveViewSettings()
    {
        if (!view)
            return;
        view->settings.global().sync();
        for (int i = 0; i < SettingsStore::kProfileCount; ++i)
            view->settings.profile(i).sync();
    }

    RecordingDialogs dialogs;
    std::unique_ptr<TestRuntime> runtime;
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<Hid_Thread> link;
    std::unique_ptr<myQQuickView> view;
    std::unique_ptr<myQQuickView> rules; // the rule slots for the stand-in view
    std::unique_ptr<QTemporaryDir> configHome;
};

// The main view is a widget, so the tests run in a widget application.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    SvgElements::registerQmlType();
    SvgPicture::registerQmlType();
    ResourceFont::registerQmlType();
    MacroCodec::registerQmlTypes();
    Setup setup;
    return quick_test_main_with_setup(argc, argv, "tk700qml", QUICK_TEST_SOURCE_DIR, &setup);
}
#include "tst_qml.moc"
