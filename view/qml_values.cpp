#include "view/qml_values.h"

#include <QJSValue>
#include <QSequentialIterable>

namespace
{

// Deeper nesting than any page builds; a self-referencing value must not recurse for ever.
constexpr int kMaxDepth = 16;

QVariant plain(const QVariant &value, int depth);

QVariantList plainItems(const QVariantList &list, int depth)
{
    QVariantList out;
    out.reserve(list.size());
    for (const QVariant &item : list)
        out.append(plain(item, depth + 1));
    return out;
}

QVariant plain(const QVariant &value, int depth)
{
    if (depth > kMaxDepth)
        return {};
    const QMetaType type = value.metaType();
    if (type == QMetaType::fromType<QJSValue>())
        return plain(value.value<QJSValue>().toVariant(), depth + 1);
    if (type == QMetaType::fromType<std::nullptr_t>())
        return {};
    switch (type.id()) {
    case QMetaType::QVariantList:
        return plainItems(value.toList(), depth);
    case QMetaType::QVariantMap: {
        QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            it.value() = plain(it.value(), depth + 1);
        return map;
    }
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::QStringList:
        return value;
    default:
        break;
    }
    // QList<int>, QList<double>, ... from typed list properties.
    if (QMetaType::canView(type, QMetaType::fromType<QSequentialIterable>())) {
        QVariantList items;
        for (const QVariant &item : value.value<QSequentialIterable>())
            items.append(item);
        return plainItems(items, depth);
    }
    return value;
}

} // namespace

QVariant plainValue(const QVariant &value)
{
    return plain(value, 0);
}

QVariantList plainList(const QVariantList &list)
{
    return plainItems(list, 0);
}
