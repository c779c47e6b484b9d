#pragma once

// A test-only window into the running program. With TK700_ITEM_PROBE naming a local socket, the
// program answers questions about its QML items, so that end-to-end tests click where an item
// really is and read what it shows, the way a user sees it. Without the variable nothing listens.
//
// One request per line, one JSON object per line back:
//   item <objectName> [property ...]  {"found", "visible", "x", "y", "w", "h" (screen pixels),
//                                      "props": {name: value}}
//   texts                             {"texts": [{"text", "family", "pixelSize"}]}: every text
//                                      the window shows now
//   set <objectName> <property> <json> {"found"}: sets the property (the bench marks pages unsaved)
//   call <objectName> <function> [json ...] {"found", "called", "result"}: calls a QML function of
//                                      the item with the given arguments
//   focus                             {"id", "name", "role", "accessibleName"}: the item with the
//                                      keyboard focus ("id" tells items apart)
//   tabbable                          {"items": [{"id", "name", "role", "accessibleName"}]}: the
//                                      shown, enabled items that Tab can reach, in tree order
//   frames                            {"frames": [ms], "finished": [ms]}: the monotonic times of
//                                      the frames shown and of the device works and the reads of
//                                      the mouse after a connect finished since the last ask;
//                                      both are recorded only with
//                                      TK700_FRAME_PROBE=1 (the bench's frame-gap figure)

#include <QList>
#include <QObject>

class QLocalServer;
class QLocalSocket;
class QQuickItem;
class QQuickWidget;

class ItemProbe : public QObject
{
    Q_OBJECT

public:
    static void attachIfRequested(QQuickWidget *view);

private slots:
    void noteFinished();

private:
    static constexpr int kMaxRecorded = 200000;
    static double monotonicMs();
    ItemProbe(QQuickWidget *view, QLocalServer *server);

    void serve(QLocalSocket *socket);
    QByteArray answer(const QByteArray &request);

    QQuickWidget *view;
    QList<double> frames;
    QList<double> finished;
};
