import QtQuick
import TK700.Core
import "../js/Language.js" as Language

// The core's table between key names and codes (USB HID keyboard usages, plus the application's
// own mouse-button codes 0xF0 ... 0xF4), with the names shown. These are display texts and are
// replaced from the language file at start-up; a code keeps its index.
QtObject {
    id: keyCodeString

    readonly property var keyCode: KeyNames.codes()
    // The built-in (English) names: what macro files store, whatever language is shown.
    readonly property var baseNames: KeyNames.builtInNames()
    property var keyCodeStr: baseNames

    function codeIn(names, str) {
        const i = names.indexOf(str)
        return i >= 0 && i < keyCode.length ? keyCode[i] : 0
    }

    // The code of a key name; 0 when none. Macro files written before the names became
    // language-independent hold names in the language shown when they were recorded, so a name
    // is looked up in the shown names, then the built-in ones, then every language's.
    function strTokeycode(str) {
        const code = codeIn(keyCodeStr, str) || codeIn(baseNames, str)
        if (code || typeof ui_View === "undefined")
            return code
        // Every language's names, read once, when a name is found in neither list above.
        const tables = Language.keyNameTables(
            () => Language.allCodes().map(lang => Array.from(ui_View.getLangStrings("keyCode", lang)
                                                              ?? [])))
        for (const names of tables) {
            const found = codeIn(names, str)
            if (found)
                return found
        }
        return 0
    }

    // The language-independent name of a code, as macro files store it; "" when unknown.
    function storedName(keycode) {
        const i = keyCode.indexOf(keycode)
        return i >= 0 ? baseNames[i] : ""
    }

    // The shown name of a stored name.
    function shownName(str) {
        const code = strTokeycode(str)
        return code ? keycodeTostr(code) : str
    }

    // The display name of a code, which must be a number; "" when it is not in the table.
    function keycodeTostr(keycode) {
        for (let i = 0; i < keyCode.length; ++i) {
            if (keyCode[i] === keycode)
                return keyCodeStr[i]
        }
        return ""
    }
}
