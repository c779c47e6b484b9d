#include "view/item_probe.h"

#include <QAccessible>
#include <QColor>
#include <QFont>
#include <QJSEngine>
#include <QJSValue>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>

#include <chrono>

namespace
{

QQuickItem *findItem(QQuickItem *item, const QString &name)
{
    if (!item)
        return nullptr;
    if (item->objectName() == name)
        return item;
    for (QQuickItem *child : item->childItems())
        if (QQuickItem *found = findItem(child, name))
            return found;
    return nullptr;
}

QJsonValue jsonOf(const QVariant &value)
{
    if (value.metaType().id() == QMetaType::QColor)
        return value.value<QColor>().name(QColor::HexArgb);
    if (value.metaType().id() == QMetaType::QFont)
        return value.value<QFont>().family();
    return QJsonValue::fromVariant(value);
}

// Shown: visible all the way up and not fully transparent.
bool isShown(const QQuickItem *item)
{
    for (const QQuickItem *i = item; i; i = i->parentItem())
        if (!i->isVisible() || i->opacity() <= 0.0)
            return false;
    return true;
}

void collectTexts(QQuickItem *item, QJsonArray &out)
{
    if (!isShown(item))
        return;
    if (item->inherits("QQuickText") || item->inherits("QQuickTextInput")) {
        const QString text = item->property("text").toString();
        if (!text.isEmpty()) {
            const auto font = item->property("font").value<QFont>();
            out.append(QJsonObject{
                {"text", text}, {"family", font.family()}, {"pixelSize", font.pixelSize()}});
        }
    }
    for (QQuickItem *child : item->childItems())
        collectTexts(child, out);
}

bool takesInput(const QQuickItem *item)
{
    for (const QQuickItem *i = item; i; i = i->parentItem())
        if (!i->isEnabled())
            return false;
    return isShown(item);
}

// Where an item is on the screen, as xdotool takes it.
void addPlace(const QQuickWidget *view, const QQuickItem *item, QJsonObject &out)
{
    const QRectF scene = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    const QPoint topLeft = view->mapToGlobal(scene.topLeft().toPoint());
    out["x"] = topLeft.x();
    out["y"] = topLeft.y();
    out["w"] = qRound(scene.width());
    out["h"] = qRound(scene.height());
}

// An item as a keyboard or screen reader user meets it.
QJsonObject describe(const QQuickWidget *view, QQuickItem *item)
{
    if (!item)
        return {};
    QJsonObject out{{"id", QString::number(reinterpret_cast<quintptr>(item), 16)},
                    {"name", item->objectName()}};
    addPlace(view, item, out);
    if (QAccessibleInterface *a11y = QAccessible::queryAccessibleInterface(item)) {
        out["role"] = int(a11y->role());
        out["accessibleName"] = a11y->text(QAccessible::Name);
    }
    return out;
}

void collectTabbable(const QQuickWidget *view, QQuickItem *item, QJsonArray &out)
{
    if (!takesInput(item))
        return;
    if (item->activeFocusOnTab())
        out.append(describe(view, item));
    for (QQuickItem *child : item->childItems())
        collectTabbable(view, child, out);
}

} // namespace

void ItemProbe::attachIfRequested(QQuickWidget *view)
{
    const QString name = qEnvironmentVariable("TK700_ITEM_PROBE");
    if (name.isEmpty())
        return;
    auto *server = new QLocalServer;
    QLocalServer::removeServer(name);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name)) {
        qWarning().noquote() << "item probe: cannot listen on" << name;
        delete server;
        return;
    }
    new ItemProbe(view, server);
}

ItemProbe::ItemProbe(QQuickWidget *view, QLocalServer *server) : QObject(view), view(view)
{
    server->setParent(this);
    if (qEnvironmentVariableIntValue("TK700_FRAME_PROBE") == 1) {
        // Every frame the widget's scene renders (QQuickWidget renders on this thread).
        connect(
            view->quickWindow(), &QQuickWindow::afterRendering, this,
            [this] {
                if (frames.size() < kMaxRecorded)
                    frames << monotonicMs();
            },
            Qt::DirectConnection);
        connect(view, SIGNAL(deviceWorkFinished(bool, bool)), this, SLOT(noteFinished()));
        connect(view, SIGNAL(mouseStateRead(bool, int)), this, SLOT(noteFinished()));
    }
    connect(server, &QLocalServer::newConnection, this, [this, server] {
        while (QLocalSocket *socket = server->nextPendingConnection())
            serve(socket);
    });
}

void ItemProbe::serve(QLocalSocket *socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        while (socket->canReadLine())
            socket->write(answer(socket->readLine().trimmed()) + '\n');
    });
}

// The same clock as Python's time.monotonic(): the bench lines these up with its clicks.
double ItemProbe::monotonicMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void ItemProbe::noteFinished()
{
    if (finished.size() < kMaxRecorded)
        finished << monotonicMs();
}

QByteArray ItemProbe::answer(const QByteArray &request)
{
    const QStringList words = QString::fromUtf8(request).split(' ', Qt::SkipEmptyParts);
    QJsonObject reply;
    if (words.value(0) == "texts") {
        QJsonArray texts;
        if (view->isVisible())
            collectTexts(view->rootObject(), texts);
        reply["texts"] = texts;
    } else if (words.value(0) == "item" && words.size() >= 2) {
        QQuickItem *item = findItem(view->rootObject(), words[1]);
        reply["found"] = item != nullptr;
        if (item) {
            reply["visible"] = view->isVisible() && isShown(item);
            addPlace(view, item, reply);
            QJsonObject props;
            for (const QString &name : words.mid(2))
                props[name] = jsonOf(item->property(name.toUtf8().constData()));
            reply["props"] = props;
        }
    } else if (words.value(0) == "set" && words.size() >= 4) {
        QQuickItem *item = findItem(view->rootObject(), words[1]);
        reply["found"] = item != nullptr;
        if (item) {
            const QJsonDocument value =
                QJsonDocument::fromJson("[" + words.mid(3).join(' ').toUtf8() + "]");
            item->setProperty(words[2].toUtf8().constData(), value.array().at(0).toVariant());
        }
    } else if (words.value(0) == "call" && words.size() >= 3) {
        // What a click would end in, for actions whose controls are deep in menus and dialogs.
        QQuickItem *item = findItem(view->rootObject(), words[1]);
        reply["found"] = item != nullptr;
        if (item) {
            QJSEngine *engine = view->engine();
            QJSValue self = engine->toScriptValue(static_cast<QObject *>(item));
            QJSValue function = self.property(words[2]);
            QJSValueList args;
            for (const QString &word : words.mid(3)) {
                const QJsonArray value = QJsonDocument::fromJson("[" + word.toUtf8() + "]").array();
                args << engine->toScriptValue(value.at(0).toVariant());
            }
            const QJSValue result = function.isCallable()
                                        ? function.callWithInstance(self, args)
                                        : QJSValue(QStringLiteral("not callable"));
            reply["called"] = function.isCallable() && !result.isError();
            reply["result"] = result.isError() || !function.isCallable()
                                  ? QJsonValue(result.toString())
                                  : QJsonValue::fromVariant(result.toVariant());
        }
    } else if (words.value(0) == "focus") {
        reply = describe(view, view->quickWindow()->activeFocusItem());
    } else if (words.value(0) == "tabbable") {
        QJsonArray items;
        collectTabbable(view, view->rootObject(), items);
        reply["items"] = items;
    } else if (words.value(0) == "frames") {
        QJsonArray f, d;
        for (double t : std::as_const(frames))
            f.append(t);
        for (double t : std::as_const(finished))
            d.append(t);
        frames.clear();
        finished.clear();
        reply["frames"] = f;
        reply["finished"] = d;
    } else {
        reply["error"] = QStringLiteral("unknown request");
    }
    return QJsonDocument(reply).toJson(QJsonDocument::Compact);
}
