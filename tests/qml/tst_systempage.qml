import QtQuick
import QtTest

// The system panel inside the whole document: stored offsets into speed steps, the older
// default, the scroll choice, the lift-off distance and what Apply hands to the desktop.
TestCase {
    id: testCase

    name: "SystemPage"
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
        shell.buildPart("systemSettingMain")
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

    function system() {
        return child("systemSettingMain")
    }

    function sent(name) {
        return ui_View.argsOf(name).map(a => a[0])
    }

    function test_storedOffsetIntoStep_data() {
        return [{ tag: "0", offset: 0, step: 0 }, { tag: "3", offset: 3, step: 0 },
                { tag: "4", offset: 4, step: 1 }, { tag: "163", offset: 163, step: 5 },
                { tag: "328", offset: 328, step: 10 }, { tag: "338", offset: 338, step: 0 },
                { tag: "400", offset: 400, step: 0 }]
    }
    function test_storedOffsetIntoStep(data) {
        ui_View.profile["mouse/mouseRate"] = data.offset
        ui_View.profile["mouse/doubleRate"] = data.offset
        start()
        verify(system().init(true, false))
        compare(sent("mouseSetCursorSpeed"), [data.step])
        compare(sent("mouseSetDoubleClickSpeed"), [data.step])
    }

    // isStep picks which desktop setting is sent; the lift-off distance always goes.
    function test_isStepSendsOneSetting_data() {
        return [{ tag: "all", step: 0, sent: ["mouseSetCursorSpeed", "mouseSetDoubleClickSpeed",
                                              "mouseSetVerticalScrollLines"] },
                { tag: "speed", step: 1, sent: ["mouseSetCursorSpeed"] },
                { tag: "double click", step: 2, sent: ["mouseSetDoubleClickSpeed"] },
                { tag: "scroll", step: 3, sent: ["mouseSetVerticalScrollLines"] }]
    }
    function test_isStepSendsOneSetting(data) {
        start()
        verify(system().saveData(true, data.step))
        const desktop = ["mouseSetCursorSpeed", "mouseSetDoubleClickSpeed",
                         "mouseSetVerticalScrollLines"]
        compare(ui_View.made.map(c => c.name).filter(n => desktop.includes(n)), data.sent)
        compare(ui_View.argsOf("mouseSetLodValue").length, 1)
    }

    // 174 was the default of older versions: step 5 on both sliders, shown and sent.
    function test_olderDefault174() {
        ui_View.profile["mouse/mouseRate"] = "174"
        ui_View.profile["mouse/doubleRate"] = "174"
        start()
        compare(system().mouseRate.value, 163)
        compare(system().doubleRate.value, 161)
        verify(system().init(true, false))
        compare(sent("mouseSetCursorSpeed"), [5])
        compare(sent("mouseSetDoubleClickSpeed"), [5])
    }

    function test_scrollChoice_data() {
        return [{ tag: "100 lines", stored: "100", lines: true, field: "100", sends: 100 },
                { tag: "101", stored: "101", lines: false, field: "2", sends: 1000 },
                { tag: "one screen", stored: "1000", lines: false, field: "2", sends: 1000 },
                { tag: "3 lines", stored: "3", lines: true, field: "3", sends: 3 }]
    }
    function test_scrollChoice(data) {
        ui_View.profile["mouse/scrollRate"] = data.stored
        start()
        compare(child("scrollRate1").isSelect, data.lines)
        compare(child("scrollRate2").isSelect, !data.lines)
        compare(system().scrollField.textValue, data.field)
        verify(system().saveData(true, 0))
        compare(sent("mouseSetVerticalScrollLines"), [data.sends])
        compare(ui_View.profile["mouse/scrollRate"], data.sends)
    }

    function test_emptyScrollFieldBecomesTwo() {
        ui_View.profile["mouse/scrollRate"] = "7"
        start()
        mouseClick(child("tabSettings"))
        mouseClick(child("scrollFieldInput"))
        verify(child("scrollFieldInput").activeFocus)
        keyClick(Qt.Key_Backspace)
        keyClick(Qt.Key_Backspace)
        compare(system().scrollField.textValue, "")
        mouseClick(system(), 500, 480) // elsewhere on the panel
        compare(system().scrollField.textValue, "2")
        verify(system().isSave)
        mouseClick(child("scrollRate2"))
        verify(!child("scrollRate1").isSelect)
    }

    function test_lodSend_data() {
        return [{ tag: "L on", lod: "3", en: "1", rate: 125, enable: true, text: "L" },
                { tag: "M off", lod: "168", en: "0", rate: 108, enable: false, text: "M" },
                { tag: "H on", lod: "330", en: "1", rate: 90, enable: true, text: "H" }]
    }
    function test_lodSend(data) {
        ui_View.profile["mouse/lod"] = data.lod
        ui_View.profile["mouse/lodEn"] = data.en
        start()
        compare(child("lodText").text, data.text)
        compare(child("lodEnable").isSelect, data.enable)
        verify(system().init(true, false))
        compare(ui_View.argsOf("mouseSetLodValue"), [[data.rate, data.enable]])
    }

    // The LOD knob snaps to its three places when let go.
    function test_lodSnapsOnRelease() {
        start()
        mouseClick(child("tabSettings"))
        const slider = child("lodSlider")
        mouseClick(slider, slider.width / 2, slider.height / 2)
        tryCompare(slider, "value", 168)
        compare(child("lodText").text, "M")
        verify(system().isSave)
        mouseClick(slider, slider.width - 2, slider.height / 2)
        tryCompare(slider, "value", 330)
        compare(child("lodText").text, "H")
        // The stop's letter under the track moves the knob there.
        mouseClick(child("lodStop0"))
        compare(slider.value, 3)
        compare(child("lodText").text, "L")
    }

    // Apply hands the pointer settings to the desktop; what it refuses is named on the panel,
    // and is not taken for a failed write to the mouse.
    function test_applyAndTheDesktopsRefusal() {
        start()
        mouseClick(child("tabSettings"))
        const slider = child("mouseRateSlider")
        mouseClick(slider, slider.width - 2, slider.height / 2)
        tryCompare(slider, "value", 328)
        verify(system().isSave)
        ui_View.failing = ["mouseSetVerticalScrollLines"]
        ui_View.clear()
        mouseClick(child("applyBtn"))
        compare(sent("mouseSetCursorSpeed"), [10])
        compare(ui_View.profile["mouse/mouseRate"], 328)
        verify(!system().isSave)
        compare(warningText(), "")
        const refused = child("pointerRefused")
        verify(refused.visible)
        compare(refused.text, "The desktop did not take these settings: Scroll Speed")
        // The line follows the shown language.
        system().systemSettingLang = system().systemSettingLang.map((t, i) => i === 5 ? "Rollen" : t)
        compare(refused.text, "The desktop did not take these settings: Rollen")

        // A lift-off distance the mouse did not take is a failed write.
        ui_View.failing = ["mouseSetLodValue"]
        mouseClick(child("lodEnable"))
        mouseClick(child("applyBtn"))
        verify(warningText().startsWith("Some settings could not be written"))
        verify(system().isSave)
        child("warningAssigmentMain").hide()
        ui_View.failing = []
        mouseClick(child("applyBtn"))
        verify(!refused.visible)
        verify(!system().isSave)
        // A later Apply of another page that goes through ends the line too.
        ui_View.failing = ["mouseSetVerticalScrollLines"]
        mouseClick(child("lodEnable"))
        mouseClick(child("applyBtn"))
        verify(refused.visible)
        ui_View.failing = []
        child("dpiSettingMain").isSave = true
        mouseClick(child("applyBtn"))
        verify(!refused.visible)
    }

    // Reset reads the defaults and sends them; a profile change sends the new profile's.
    function test_resetAndProfileChangeSend() {
        ui_View.profile["mouse/mouseRate"] = "296"
        ui_View.defaults["mouse/mouseRate"] = "129"
        start()
        shell.resetAllDate()
        compare(sent("mouseSetCursorSpeed"), [4])
        ui_View.clear()
        ui_View.profile["mouse/mouseRate"] = "263"
        shell.changeProfile(2)
        compare(sent("mouseSetCursorSpeed"), [8])
    }
}
