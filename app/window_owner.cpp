#include "app/window_owner.h"

#include "app/widget.h"
#include "base/settings_store.h"
#include "view/myqquickview.h"
#include "view/ui_controler.h"

#include <QFileInfo>
#include <QQmlProperty>
#include <QQuickItem>

WindowOwner::WindowOwner(Widget *widget)
    : widget(widget), view(widget->controler->mainView), isConnected(deviceConnected)
{
    connect(widget, &Widget::mouseConnected, this, [this](bool connected) {
        if (connected == isConnected)
            return;
        isConnected = connected;
        emit connectionChanged(connected);
    });
    connect(view, &myQQuickView::profileSent, this,
            [this](const QVariantMap &parts) { sentParts.insert(parts); });
    connect(view, &myQQuickView::deviceWorkFinished, this, [this](bool ok, bool saved) {
        const QVariantMap parts = sentParts;
        sentParts.clear();
        emit workFinished(ok, saved, parts);
    });
    connect(view, &QQuickWidget::statusChanged, this, &WindowOwner::watchRoot);
    watchRoot();
}

QObject *WindowOwner::root() const
{
    return view->rootObject();
}

void WindowOwner::watchRoot()
{
    if (watching || !root())
        return;
    watching = true;
    QQmlProperty(root(), QStringLiteral("profileNo"))
        .connectNotifySignal(this, SLOT(shownProfileChanged()));
    QQmlProperty(root(), QStringLiteral("currentDPI"))
        .connectNotifySignal(this, SLOT(shownStageChanged()));
    QQmlProperty(root(), QStringLiteral("busy")).connectNotifySignal(this, SLOT(busyChanged()));
    QQmlProperty(root(), QStringLiteral("isStarted"))
        .connectNotifySignal(this, SLOT(busyChanged()));
}

void WindowOwner::shownProfileChanged()
{
    emit profileChanged(profile());
}

void WindowOwner::shownStageChanged()
{
    emit dpiStageChanged(dpiStage());
}

void WindowOwner::busyChanged()
{
    if (!busy())
        emit becameIdle();
}

QString WindowOwner::family() const
{
    return view->is560() ? QStringLiteral("560") : QStringLiteral("553");
}

int WindowOwner::profile() const
{
    return root() ? root()->property("profileNo").toInt() + 1 : view->settings.currentProfile() + 1;
}

int WindowOwner::dpiStage() const
{
    // The panel's stage is 0-based.
    return root() ? root()->property("currentDPI").toInt() + 1 : 0;
}

QVariantMap WindowOwner::device() const
{
    const Hid_Thread &link = widget->hidLink;
    if (!isConnected || link.currentDevice < 0 || link.currentDevice >= int(link.devices.size()))
        return {};
    const DeviceEntry &d = *link.devices[size_t(link.currentDevice)];
    auto hex4 = [](quint16 id) { return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')); };
    return {{QStringLiteral("vid"), hex4(d.vid)},
            {QStringLiteral("pid"), hex4(d.pid)},
            {QStringLiteral("command"), d.cmdPath},
            {QStringLiteral("event"), d.eventPath}};
}

QStringList WindowOwner::profileFiles() const
{
    QStringList files;
    for (int n = 0; n < SettingsStore::kProfileCount; ++n)
        files << QFileInfo(SettingsStore::profileFileName(n)).fileName();
    return files;
}

QString WindowOwner::language() const
{
    return view->settings.globalData(QStringLiteral("common/language")).toString();
}

QString WindowOwner::saveFailure() const
{
    return view->saveFailure();
}

bool WindowOwner::busy() const
{
    // Until the start-up is over the pages are not there to show a request's effect.
    return !root() || !root()->property("isStarted").toBool() || root()->property("busy").toBool();
}

MouseOwner::Started WindowOwner::call(const char *function, const QVariantList &args)
{
    sentParts.clear();
    QVariant result;
    bool invoked = false;
    switch (args.size()) {
    case 0:
        invoked = QMetaObject::invokeMethod(root(), function, Q_RETURN_ARG(QVariant, result));
        break;
    case 1:
        invoked = QMetaObject::invokeMethod(root(), function, Q_RETURN_ARG(QVariant, result),
                                            Q_ARG(QVariant, args.at(0)));
        break;
    case 2:
        invoked =
            QMetaObject::invokeMethod(root(), function, Q_RETURN_ARG(QVariant, result),
                                      Q_ARG(QVariant, args.at(0)), Q_ARG(QVariant, args.at(1)));
        break;
    default:
        invoked = QMetaObject::invokeMethod(
            root(), function, Q_RETURN_ARG(QVariant, result), Q_ARG(QVariant, args.at(0)),
            Q_ARG(QVariant, args.at(1)), Q_ARG(QVariant, args.value(2)));
        break;
    }
    // The shell answers a bool for a work it ran; anything else means none was started.
    const bool started = invoked && result.typeId() == QMetaType::Bool;
    return {started, started && result.toBool()};
}

MouseOwner::Started WindowOwner::switchProfile(int profile)
{
    // The window changes nothing for the profile it shows: that one is sent again, as tk700ctl's
    // switch to the current profile does.
    if (profile == this->profile())
        return applyProfile();
    return call("requestProfile", {profile - 1, false});
}

MouseOwner::Started WindowOwner::applyProfile()
{
    return call("requestProfileSent");
}

MouseOwner::Started WindowOwner::setDpiStage(int stage)
{
    return call("requestDpiStage", {stage});
}

MouseOwner::Started WindowOwner::sendMacro(const QVariantList &bytes, int button,
                                           const QString &name)
{
    return call("requestMacro", {bytes, button - 1, name});
}

MouseOwner::Started WindowOwner::followProfile(int profile)
{
    return call("requestProfile", {profile - 1, true});
}

QString WindowOwner::profileName(int profile) const
{
    QVariant name;
    if (root())
        QMetaObject::invokeMethod(root(), "profileName", Q_RETURN_ARG(QVariant, name),
                                  Q_ARG(QVariant, profile - 1));
    // A profile the dialog lists under no name is told by its number.
    return name.toString().isEmpty() ? QString::number(profile) : name.toString();
}
