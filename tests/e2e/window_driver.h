// Drives the real tk700 window the way an owner does: xdotool moves, clicks and keys at the
// on-screen centres of items, which the running program reports through its item probe
// (TK700_ITEM_PROBE). Waits are on conditions, never on fixed sleeps.
#pragma once

#include "support/program_rig.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

#include <functional>

class WindowDriver
{
public:
    // Why the window cannot be driven here (no X display, no xdotool); empty when it can.
    static QString unavailable()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY") || QGuiApplication::platformName() != "xcb")
            return QStringLiteral("needs an X display (the test command runs under Xvfb)");
        if (QStandardPaths::findExecutable("xdotool").isEmpty())
            return QStringLiteral("needs xdotool");
        return {};
    }

    static bool xdotool(const QStringList &args)
    {
        return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
    }

    // Polls `condition` (with the event loop running) until it holds or `ms` have passed.
    static bool waitFor(const std::function<bool()> &condition, int ms = 10000)
    {
        QDeadlineTimer deadline(ms);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            QTest::qWait(50);
        }
        return true;
    }

    explicit WindowDriver(const QString &probe) : probe(probe) {}

    // One request to the program's item probe.
    QJsonObject ask(const QByteArray &request) const
    {
        return ProgramRig::askProbe(probe, request);
    }

    QJsonObject item(const QString &name, const QString &properties = {}) const
    {
        return ask(("item " + name + " " + properties).toUtf8());
    }

    QVariant property(const QString &name, const QString &property) const
    {
        return item(name, property)["props"].toObject()[property].toVariant();
    }

    bool shown(const QString &name) const { return item(name)["visible"].toBool(); }

    // The on-screen point at (dx, dy) from the item's top left; its centre when dx < 0.
    QPoint pointOf(const QString &name, int dx = -1, int dy = -1) const
    {
        const QJsonObject found = item(name);
        if (!found["visible"].toBool()) {
            qWarning().noquote() << name << "is not shown:" << QJsonDocument(found).toJson();
            return {-1, -1};
        }
        return {found["x"].toInt() + (dx < 0 ? found["w"].toInt() / 2 : dx),
                found["y"].toInt() + (dy < 0 ? found["h"].toInt() / 2 : dy)};
    }

    // Like a user, it waits for the window to take input again: device work keeps the window
    // locked (the busy indicator shown) until the link's queue has run.
    bool moveTo(const QString &name, int dx = -1, int dy = -1) const
    {
        if (!waitFor([this] { return !property("protectUIItem", "isBusy").toBool(); }, 30000))
            qWarning() << "the window is still busy";
        const QPoint p = pointOf(name, dx, dy);
        return p.x() >= 0 &&
               xdotool({"mousemove", QString::number(p.x()), QString::number(p.y())});
    }

    bool click(const QString &name, int dx = -1, int dy = -1) const
    {
        return moveTo(name, dx, dy) && xdotool({"click", "1"});
    }

    // X key codes (Linux evdev code + 8): pressed in order, released in reverse.
    static bool chord(const QList<int> &keys)
    {
        QStringList args;
        for (int key : keys)
            args << "keydown" << QString::number(key);
        for (auto it = keys.crbegin(); it != keys.crend(); ++it)
            args << "keyup" << QString::number(*it);
        return xdotool(args);
    }

    QImage grabWindow() const
    {
        const QJsonObject root = item(QStringLiteral("mainIten"));
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, root["x"].toInt(), root["y"].toInt(), root["w"].toInt(),
                         root["h"].toInt())
            .toImage();
    }

    // The colour on screen at (dx, dy) inside an item.
    QColor colourAt(const QString &name, int dx, int dy) const
    {
        const QJsonObject root = item(QStringLiteral("mainIten"));
        const QPoint p = pointOf(name, dx, dy);
        const QImage window = grabWindow();
        return window.pixelColor(p.x() - root["x"].toInt(), p.y() - root["y"].toInt());
    }

    bool save(const QString &folder, const QString &file) const
    {
        QDir().mkpath(folder);
        return grabWindow().save(folder + file);
    }

private:
    QString probe;
};
