#pragma once

// The core's key name table and macro encoder for the QML document, as singletons of the module
// TK700.Core: KeyNames (the table's codes and built-in names) and MacroCodec (the macro block
// encoder behind MacroEncoder.js). They convert QML's values and delegate.

#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

class KeyNames : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    Q_INVOKABLE QVariantList codes() const;
    Q_INVOKABLE QStringList builtInNames() const;
};

class MacroCodec : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int blockSize READ blockSize CONSTANT)

public:
    using QObject::QObject;

    int blockSize() const;
    // { type, info }; a record without a type digit has the type NaN, as the script gave it.
    Q_INVOKABLE QVariantMap parseRecord(const QString &text) const;
    Q_INVOKABLE int blockRepeat(const QString &text) const;
    // Whether a record of `type` names a key or button.
    Q_INVOKABLE bool isAction(const QVariant &type) const;
    // `records`: [{ type, info }]; `codes`: the key code of each action's name; `limit`: the
    // block's bound in bytes. The bytes as numbers.
    Q_INVOKABLE QVariantList encode(const QVariantList &records, const QVariantList &codes,
                                    int repeat, double limit) const;
    Q_INVOKABLE int encodedLength(const QVariantList &records) const;

    // Registers both singletons; before the first document that imports TK700.Core.
    static void registerQmlTypes();
};
