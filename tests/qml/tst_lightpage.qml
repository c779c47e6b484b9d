import QtQuick
import QtTest

// The lighting page inside the whole document: the effect list's mapping, what is stored and
// sent, presets and reset.
TestCase {
    id: testCase

    name: "LightPage"
    width: 1280
    height: 720
    when: windowShown
    visible: true

    property var shell: null

    RecordingView { id: ui_View }
    QtObject { id: hid; function hid560_02H_SetCurrentProfile(profile) {} }
    QtObject {
        id: ui_Ctl
        function onMinimize() {}
        function onHide() {}
        function onXChanged(dx) {}
        function onYChanged(dy) {}
    }

    function init() {
        ui_View.reset()
    }

    function start() {
        shell = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), testCase)
        verify(shell)
        shell.initUI()
        shell.setProtectUI(1)
        tryVerify(() => shell.isStarted, 3000)
        ui_View.clear()
        return shell
    }

    function child(name) {
        const found = shell.buildPart(name) ?? findChild(shell, name)
        verify(found, name)
        return found
    }

    function warningText() {
        const warning = child("warningAssigmentMain")
        return warning.visible ? warning.textValue : ""
    }

    function light() {
        return child("lightControlMain")
    }

    function colours(n) {
        const out = []
        for (let i = 0; i < 15; ++i)
            out.push(n + i, 2 * i, 3 * i)
        return out
    }

    function setPreset(store, suffix, effect, speed, brightness, direction, index, base) {
        store["mouseLight/lightValue" + suffix] = [effect, speed, brightness, direction]
        store["mouseLight/colorIndex" + suffix] = String(index)
        store["mouseLight/colorValue" + suffix] = colours(base)
    }

    function test_effectPositions_data() {
        return [{ tag: "static", effect: 0, position: 0 }, { tag: "neon", effect: 2, position: 2 },
                { tag: "circulating water", effect: 3, position: 3 },
                { tag: "symmetrical flow", effect: 5, position: 4 },
                { tag: "off", effect: 6, position: 5 }]
    }
    function test_effectPositions(data) {
        setPreset(ui_View.profile, "", data.effect, 2, 10, 1, 3, 100)
        start()
        compare(light().effectPosition, data.position)
        compare(child("lightEffect").currentSelect, data.position)
        verify(light().saveData(true, 0))
        compare(ui_View.profile["mouseLight/lightValue"], [data.effect, 2, 10, 1])
        const sent = ui_View.argsOf("mouseSetLedType")
        compare(sent.length, 1)
        // Brightness step 10 is sent as 50; the colours are block 3's, 15 times.
        compare(sent[0].slice(0, 4), [data.effect, 50, 2, 1])
        const block = [103, 6, 9]
        compare(sent[0][4], [].concat(...Array(15).fill(block)))
    }

    function test_presetNamesAndSentinel() {
        setPreset(ui_View.profile, "", 1, 0, 5, 0, 0, 0)
        ui_View.profile["mouseLight/lightCount"] = "1"
        ui_View.profile["mouseLight/lightName"] = ["Day", "nullslotmark"]
        start()
        compare(light().lightNames, ["Day"])
        light().saveData(false, 0)
        compare(ui_View.profile["mouseLight/lightName"], ["Day", "nullslotmark"])
        verify(light().newPreset())
        compare(light().lightNo, 1)
        compare(ui_View.profile["mouseLight/lightName"], ["Day", "Preset 2"])
        compare(ui_View.profile["mouseLight/lightValue1"], [1, 0, 5, 0])
        verify(light().renameCurrent("Night"))
        verify(!light().renameCurrent("Day"))
        verify(light().deletePreset())
        compare(light().lightNames, ["Day"])
        verify(!light().deletePreset())
    }

    // Reset sends the defaults of the preset in use, not those of preset 0.
    function test_resetSendsThePresetInUse() {
        ui_View.profile["mouseLight/lightCount"] = "2"
        ui_View.profile["mouseLight/lightNo"] = "1"
        ui_View.profile["mouseLight/lightName"] = ["A", "B"]
        setPreset(ui_View.profile, "", 0, 1, 1, 0, 0, 0)
        setPreset(ui_View.profile, "1", 1, 1, 1, 0, 0, 0)
        setPreset(ui_View.defaults, "", 2, 3, 4, 0, 0, 10)
        setPreset(ui_View.defaults, "1", 5, 4, 8, 2, 1, 20)
        start()
        shell.resetAllDate()
        // The preset list stays; the preset in use has the factory's values, and the core sends
        // it as stored.
        compare(ui_View.argsOf("sendStoredProfile").length, 1)
        const stored = harness.storedSettings(ui_View.profile, ui_View.global).light
        compare(stored.current, 1)
        compare([stored.effect, stored.speed, stored.brightness, stored.direction], [5, 4, 8, 2])
        compare(Array.from(stored.colours[stored.colourIndex]), [21, 2, 3])
        compare(ui_View.profile["mouseLight/lightValue1"], [5, 4, 8, 2])
    }

    // The page is shown and edits: a colour from the picker goes to the selected block.
    function test_editingOnThePage() {
        setPreset(ui_View.profile, "", 0, 0, 10, 0, 0, 0)
        start()
        mouseClick(child("tabLight"))
        verify(light().visible)
        mouseClick(child("lightBlock2"))
        compare(light().colorIndex, 2)
        const red = child("lightChannel0")
        mouseClick(red, red.width - 2, red.height / 2)
        tryVerify(() => light().colors[2].startsWith("#ff"), 3000, light().colors[2])
        verify(light().isSave)
        ui_View.clear()
        mouseClick(child("applyBtn"))
        const sent = ui_View.argsOf("mouseSetLedType")
        compare(sent.length, 1)
        compare(sent[0][4].slice(0, 3), [255, 4, 6])
        compare(ui_View.profile["mouseLight/colorIndex"], 2)
    }
}
