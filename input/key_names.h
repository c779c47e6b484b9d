#pragma once

// The one table between key names and codes: USB HID keyboard usages, plus the application's own
// mouse-button codes 0xF0 ... 0xF4. A key keeps its index in every list derived from the table:
// a language file's "keyCode" group names the same keys in the same order.

#include <QList>
#include <QString>
#include <QStringList>

namespace keys
{

constexpr int kNamedKeys = 133;

QList<int> namedKeyCodes();
// The built-in (English) names: what macro files store, whatever language is shown.
QStringList builtInKeyNames();

// The code of `name` in the first of `nameLists` that holds it, each list read by the table's
// index; 0 when none does.
int codeOfKeyName(const QString &name, const QList<QStringList> &nameLists);

} // namespace keys
