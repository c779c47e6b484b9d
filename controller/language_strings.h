#pragma once

#include <QStringList>

// One group of UI texts from ./modules/i18n/<langCode>.ini: "<group>/total" texts under the keys
// 0, 1, 2, ... Only the shipped language codes are read; any other code gives an empty list.
QStringList languageStrings(const QString &group, const QString &langCode);
bool isLanguageCode(const QString &langCode);
// The shipped language codes in the order of the window's language list.
QStringList languageCodes();
