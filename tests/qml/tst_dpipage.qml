import QtQuick
import QtTest

// The DPI panel inside the whole document, under a recording stand-in of the core: the value of
// a knob position, − and +, the stages shown and sent, the stage colours and the stage the
// mouse uses.
TestCase {
    id: testCase

    name: "DpiPage"
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
        shell.setProtectUI(1) // the page, not the start-up lock, is under test
        tryVerify(() => shell.isStarted, 3000)
        ui_View.clear()
        return findChild(shell, "dpiSettingMain")
    }

    function child(name) {
        const found = findChild(shell, name)
        verify(found, name)
        return found
    }

    // 500 at the left end, 7000 at the right end, only multiples of 500, never going back.
    function test_sliderRangeInStepsOfTheBase() {
        const dpi = start()
        const slider = child("dpiSlider2")
        const seen = []
        let last = 0
        for (let x = slider.minX; x <= slider.maxX; ++x) {
            slider.setOffset(x, true)
            const value = parseInt(dpi.dpiValues[2])
            verify(value >= last, "x " + x)
            verify(value % 500 === 0, "x " + x + ": " + value)
            if (!seen.includes(value))
                seen.push(value)
            last = value
        }
        compare(seen[0], 500)
        compare(seen[seen.length - 1], 7000)
        compare(seen.length, 14)
        compare(child("dpiValue2").text, "7000")
        verify(!dpi.isSave) // moved by the program, not by the user
    }

    // A stored value comes back as it was: the knob's position gives the same value again.
    function test_storedValuesAreShownExactly() {
        ui_View.global["mouse/dpiBase"] = "100"
        ui_View.profile["mouse/dpiValueArray"] = [500, 3200, 700, 6900, 7000, 1100, 4400, 2500]
        const dpi = start()
        compare(Array.from(dpi.dpiValues), ["500", "3200", "700", "6900", "7000", "1100", "4400",
                                            "2500"])
    }

    function test_minusAndPlus() {
        const dpi = start()
        compare(dpi.dpiValues[0], "500")
        mouseClick(child("dpiMinus0"))
        compare(dpi.dpiValues[0], "500")
        verify(dpi.isSave)
        dpi.isSave = false
        mouseClick(child("dpiPlus0"))
        compare(dpi.dpiValues[0], "1000")
        compare(child("dpiSlider0").value, Math.floor(417 * 500 / 6500) + 4)
        verify(dpi.isSave)
        dpi.isSave = false
        ui_View.profile["mouse/dpiValueArray"] = [7000, 1000, 1500, 2000, 3000, 4000, 5000, 6000]
        dpi.init(false, false)
        mouseClick(child("dpiPlus0"))
        compare(dpi.dpiValues[0], "7000")
        verify(dpi.isSave)
    }

    // The stored six stages: stages 6 and 7 hidden but sent with their stored values; their
    // colours are always white.
    function test_applySendsEightStagesAndColours() {
        ui_View.profile["mouse/dpiColorArray"] = ["#ff0000", "#00ff00", "#0000ff", "#ffff00",
                                                  "#00ffff", "#ff00ff", "#123456", "#abcdef"]
        const dpi = start()
        verify(child("dpiRow5").visible)
        verify(!child("dpiRow6").visible)
        verify(!child("dpiRow7").visible)
        mouseClick(child("dpiPlus1"))
        mouseClick(child("applyBtn"))
        compare(ui_View.argsOf("mouseSetDpi"),
                [[6, "3320", [500, 1500, 1500, 2000, 3000, 4000, 5000, 6000],
                  [1, 1, 1, 1, 1, 1, 1, 1]]])
        compare(ui_View.argsOf("mouseSetRGBColor"),
                [[1, [255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0, 0, 255, 255, 255, 0, 255,
                      255, 255, 255, 255, 255, 255]]])
        compare(ui_View.profile["mouse/dpiValueArray"], [500, 1500, 1500, 2000, 3000, 4000,
                                                         5000, 6000])
        compare(ui_View.profile["mouse/dpiColorArray"].length, 6)
        verify(!dpi.isSave)
    }

    // More stages than the panel has: nothing is shown or sent, and the send is not counted
    // as done.
    function test_dpiCountNineSendsNothing() {
        const dpi = start()
        const before = Array.from(dpi.dpiValues)
        ui_View.profile["mouse/dpiCount"] = "9"
        ui_View.profile["mouse/dpiValueArray"] = [900, 900, 900, 900, 900, 900, 900, 900]
        compare(dpi.init(true, false), false)
        compare(Array.from(dpi.dpiValues), before)
        compare(ui_View.argsOf("mouseSetDpi"), [])
        compare(ui_View.argsOf("mouseSetRGBColor"), [])
    }

    // Restore shows the stored defaults and marks the panel; the next Apply sends them.
    function test_restore() {
        ui_View.profile["mouse/dpiValueArray"] = [1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000]
        const dpi = start()
        mouseClick(child("dpiRestoreBtn"))
        verify(dpi.isSave)
        compare(ui_View.argsOf("mouseSetDpi"), [])
        compare(dpi.dpiValues[4], "3000")
        mouseClick(child("applyBtn"))
        compare(ui_View.argsOf("mouseSetDpi")[0][2], [500, 1000, 1500, 2000, 3000, 4000, 5000,
                                                      6000])
    }
}
