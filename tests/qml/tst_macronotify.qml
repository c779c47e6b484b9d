import QtQuick
import QtTest
import "qrc:/modules/qml/js/MacroNotify.js" as MacroNotify

// The shell's answers to the macro editor, on a button list with two buttons playing "Copy"
// (slots 2 and 5) and one playing "Paste" (slot 3).
TestCase {
    name: "MacroNotify"

    QtObject {
        id: view

        property var profile: ({})
        property var calls: []

        function getData(key, isRecovery) { return profile[key] }
        function setData(key, value) { calls.push("setData(" + key + "," + value + ")"); profile[key] = value }
        function deleteMacroUpdateProfile(name) { calls.push("deleteMacroUpdateProfile(" + name + ")") }
    }

    ListModel { id: keys }
    ListModel { id: defaults }

    function init() {
        view.profile = { "mouseMacroKey/2": "Copy", "mouseMacroKey/3": "Paste",
                         "mouseMacroKey/5": "Copy", "mouseMacroKey/6": "Copy" }
        view.calls = []
        keys.clear()
        defaults.clear()
        for (let i = 0; i < 16; ++i) {
            defaults.append({ keyCode0: 0, keyCode1: 0, keyCode2: 0xF0 + i % 5, keyCode3: 0,
                              keyText: "default " + i })
            keys.append({ keyCode0: 0, keyCode1: 0, keyCode2: 0xF0 + i % 5, keyCode3: 0,
                          keyText: "default " + i })
        }
        for (const slot of [2, 3, 5]) {
            keys.set(slot, { keyCode0: 4, keyCode1: 1, keyCode2: slot, keyCode3: 0,
                             keyText: view.profile["mouseMacroKey/" + slot] })
        }
        // Slot 6 names "Copy" in the profile but the button plays a key: not a macro entry.
        keys.set(6, { keyCode0: 1, keyCode1: 0x06, keyCode2: 6, keyCode3: 0, keyText: "C" })
    }

    function test_deleteRestoresTheDefaultsAndSavesPerButton() {
        let saves = 0
        MacroNotify.deleteMacro(keys, defaults, view, () => ++saves, "Copy")
        compare(saves, 2)
        for (const slot of [2, 5]) {
            compare(keys.get(slot).keyCode0, 0)
            compare(keys.get(slot).keyCode2, 0xF0 + slot % 5)
            compare(keys.get(slot).keyText, "default " + slot)
        }
        compare(keys.get(3).keyText, "Paste")
        compare(keys.get(6).keyText, "C")
        compare(view.calls, ["deleteMacroUpdateProfile(Copy)"])
    }

    function test_renameFollowsInTheProfileAndTheLabels() {
        MacroNotify.renameMacro(keys, view, "Copy", "Copy all")
        compare(view.calls, ["setData(mouseMacroKey/2,Copy all)", "setData(mouseMacroKey/5,Copy all)"])
        compare(keys.get(2).keyText, "Copy all")
        compare(keys.get(5).keyText, "Copy all")
        compare(keys.get(3).keyText, "Paste")
    }

    function test_changedMacroIsSentToEveryButtonPlayingIt() {
        const sent = []
        MacroNotify.macroChanged(keys, view, (index, name) => sent.push([index, name]), "Copy")
        compare(sent, [[2, "Copy"], [5, "Copy"]])
        sent.length = 0
        MacroNotify.macroChanged(keys, view, (index, name) => sent.push([index, name]), "None")
        compare(sent, [])
    }

    function test_plainArraysToo() {
        const list = [{ keyCode0: 4, keyCode1: 0, keyCode2: 2, keyCode3: 0, keyText: "Copy" }]
        const old = [{ keyCode0: 0, keyCode1: 0, keyCode2: 0xF1, keyCode3: 0, keyText: "Right Key" }]
        MacroNotify.deleteMacro(list, old, view, () => {}, "Copy")
        compare(list[0].keyText, "Right Key")
        compare(list[0].keyCode2, 0xF1)
    }
}
