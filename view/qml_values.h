#pragma once

// Values as QML hands them to the view's slots. A JavaScript array or object passed to a QVariant
// parameter arrives as a QJSValue, a `list<int>` property as a QList<int>, `null` as a null
// pointer. Stored like that, QSettings writes a binary blob that no other process can read. These
// turn every such value, also inside lists and maps, into plain lists, maps, numbers and strings.

#include <QVariant>
#include <QVariantList>

QVariant plainValue(const QVariant &value);
QVariantList plainList(const QVariantList &list);
