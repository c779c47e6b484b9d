#include "view/qml_core.h"

#include "input/key_names.h"
#include "macro/macro_encoder.h"
#include "view/qml_values.h"

#include <QHash>
#include <QQmlEngine>

#include <cmath>
#include <limits>

namespace
{

// A page's record type: a whole number (NaN, or anything else, is no type).
int typeOf(const QVariant &value)
{
    bool ok = false;
    const double type = plainValue(value).toDouble(&ok);
    if (ok && std::isfinite(type) && type == std::floor(type) && std::abs(type) < 1e9)
        return int(type);
    return macro_encoder::kNoType;
}

macro_encoder::Record recordOf(const QVariant &value)
{
    const QVariantMap map = value.toMap();
    return {typeOf(map.value(QStringLiteral("type"))),
            map.value(QStringLiteral("info")).toString()};
}

QList<macro_encoder::Record> recordsOf(const QVariantList &list)
{
    QList<macro_encoder::Record> records;
    for (const QVariant &item : plainList(list))
        records.append(recordOf(item));
    return records;
}

} // namespace

QVariantList KeyNames::codes() const
{
    QVariantList list;
    for (const int code : keys::namedKeyCodes())
        list.append(code);
    return list;
}

QStringList KeyNames::builtInNames() const
{
    return keys::builtInKeyNames();
}

int MacroCodec::blockSize() const
{
    return macroblock::kSize;
}

QVariantMap MacroCodec::parseRecord(const QString &text) const
{
    const macro_encoder::Record record = macro_encoder::parseRecord(text);
    const QVariant type = record.type == macro_encoder::kNoType
                              ? QVariant(std::numeric_limits<double>::quiet_NaN())
                              : QVariant(record.type);
    return {{QStringLiteral("type"), type}, {QStringLiteral("info"), record.info}};
}

int MacroCodec::blockRepeat(const QString &text) const
{
    return macro_encoder::blockRepeat(text);
}

bool MacroCodec::isAction(const QVariant &type) const
{
    return macro_encoder::isAction(typeOf(type));
}

QVariantList MacroCodec::encode(const QVariantList &records, const QVariantList &codes, int repeat,
                                double limit) const
{
    const QList<macro_encoder::Record> list = recordsOf(records);
    // The page looked every action's name up; a name's code does not depend on its record.
    const QVariantList codeList = plainList(codes);
    QHash<QString, int> codeOfName;
    for (qsizetype i = 0; i < list.size() && i < codeList.size(); ++i) {
        if (macro_encoder::isAction(list.at(i).type))
            codeOfName.insert(list.at(i).info, codeList.at(i).toInt() & 0xFF);
    }
    const auto codeOf = [&codeOfName](const QString &name) { return codeOfName.value(name); };
    const qsizetype bound = limit >= double(macro_encoder::kUnbounded) || std::isnan(limit)
                                ? macro_encoder::kUnbounded
                                : qsizetype(qMax(0.0, limit));
    QVariantList bytes;
    for (const char b : macro_encoder::encode(list, repeat, codeOf, bound))
        bytes.append(int(uchar(b)));
    return bytes;
}

int MacroCodec::encodedLength(const QVariantList &records) const
{
    return int(macro_encoder::encodedLength(recordsOf(records)));
}

void MacroCodec::registerQmlTypes()
{
    const char *uri = "TK700.Core";
    qmlRegisterSingletonType<KeyNames>(
        uri, 1, 0, "KeyNames", [](QQmlEngine *, QJSEngine *) -> QObject * { return new KeyNames; });
    qmlRegisterSingletonType<MacroCodec>(
        uri, 1, 0, "MacroCodec",
        [](QQmlEngine *, QJSEngine *) -> QObject * { return new MacroCodec; });
}
