import QtQuick
import "../js/KeyAssign.js" as KeyAssign

// The button page's current entry, the functions that apply it to the selected row and name an
// entry, and the page's language list. Never shown.
Item {
    id: keyAssigment

    property list<string> keyAssigmentLang: ["Key ", "Mouse Function", "Left Key", "Middle Key",
        "Right Key", "Forward Key", "Back Key", "Double Fire", "Fire Function", "Fire Key",
        "Click Input", "Rate", "Times", "Endness", "Group Function", "Media Function",
        "Macro Function", "Key Combination", "Press a key combination", "Disable",
        "Restore Defaults", "DPI Function", "DPI+", "DPI-", "DPI LOOP", "Windows Function",
        "Shortcut Function", "Player", "Next", "Privous", "Stop", "Mute", "Play/Pause", "Volumn+",
        "Volumn-", "My PC", "Index", "Search", "Max", "Min", "Desktop", "Run", "New", "Cut",
        "Copy", "Paste", "Save", "Print", "Find", "Redo", "Undo", "Select All", "Gun Function",
        "One Gun", "Two Gun", "Three Gun", "Sniper Key"]
    // Eight hex digits: the four bytes of the current entry.
    property string keyCode: "00000000"
    property int keyCode0: 0
    property int keyCode1: 0
    property int keyCode2: 0
    property int keyCode3: 0
    property string keyString: ""

    function init() {
        setCurrent([0, 0, 0, 0], "")
    }

    function keyCodeStrProc() {
        const bytes = KeyAssign.parseKeyCode(keyCode)
        keyCode0 = bytes[0]
        keyCode1 = bytes[1]
        keyCode2 = bytes[2]
        keyCode3 = bytes[3]
    }

    function setCurrent(entry: var, text: string) {
        keyCode = KeyAssign.hexOf(entry)
        keyString = text
        keyCodeStrProc()
    }

    function currentEntry(): var {
        return [keyCode0, keyCode1, keyCode2, keyCode3]
    }

    // The current entry goes to the selected row of the current mode's list. Nothing is sent:
    // Apply and OK do that.
    function keyDefineSetting() {
        const row = mouseMain.selectKey
        if (row < 0 || row >= KeyAssign.kEntries)
            return
        const isOffice = mainIten.mouseMode === 0
        const list = isOffice ? keyMatrixMain.modKeys : keyMatrixMain.modKeys2
        const entry = currentEntry()
        const copied = !KeyAssign.sameEntry(keyMatrixMain.entryOf(list, row), entry)
                       || (isOffice && keyCode0 === KeyAssign.kMacro)
        if (copied) {
            list.set(row, { keyCode0: entry[0], keyCode1: entry[1], keyCode2: entry[2],
                            keyCode3: entry[3], keyText: keyString })
            if (keyCode0 === KeyAssign.kMacro) {
                // The macro chooser sends a macro to its button's slot.
                mainIten.buildPart("macroKeyAssigmentMain")?.sendMacro(keyCode2, keyString)
                ui_View.setData((isOffice ? "mouseMacroKey/" : "mouseMacroKey2/") + keyCode2,
                                keyString)
            }
        }
        keyMatrixMain.isSave = true
        mouseMain.selectKey = -1
    }

    function keyName(code: int): string {
        return _KeyCodeString.keycodeTostr(code)
    }

    // `macroGroup` names where the mode's macro names are stored.
    function macroNamesIn(macroGroup: string): var {
        return slot => String(ui_View.getData(macroGroup + slot, false) ?? "")
    }

    function labelOf(entry: var, macroGroup: string): string {
        return KeyAssign.label(entry, keyAssigmentLang, keyName, macroNamesIn(macroGroup))
    }

    function rowTextOf(entry: var, macroGroup: string): string {
        return KeyAssign.rowText(entry, keyAssigmentLang, keyName, macroNamesIn(macroGroup))
    }

    function keyCodeToString(code0: int, code1: int, code2: int, code3: int): string {
        return labelOf([code0, code1, code2, code3], "mouseMacroKey/")
    }

    objectName: "keyAssigmentMain"
    visible: false
}
