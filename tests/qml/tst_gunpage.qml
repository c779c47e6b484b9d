import QtQuick
import QtTest

// The gun editor inside the whole document, under a recording stand-in of the core: reset,
// the slots, the rate, the Y axis and what closing sends.
TestCase {
    id: testCase

    name: "GunPage"
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
        // Game mode: the editor's button is shown.
        ui_View.profile["mouse/mouseMode"] = "1"
    }

    function start() {
        shell = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), testCase)
        verify(shell)
        shell.initUI()
        shell.setProtectUI(1) // the page, not the start-up lock, is under test
        tryVerify(() => shell.isStarted, 3000)
        ui_View.clear()
        return shell.buildPart("gunControlMain")
    }

    // The editor's rows come with the first layout after it is built.
    function child(name) {
        tryVerify(() => shell.buildPart(name) ?? findChild(shell, name), 1000, name)
        return shell.buildPart(name) ?? findChild(shell, name)
    }

    function open() {
        const gun = child("gunControlMain")
        mouseClick(child("gunEditorBtn"))
        verify(gun.visible)
        verify(child("mainMask").visible)
        return gun
    }

    function close() {
        mouseClick(child("gunCloseBtn"))
        verify(!child("gunControlMain").visible)
    }

    // Slots 1 … 3 get M416, AKM and M16A4 with Y 5, 7 and 8 and period 9, stored and sent.
    function test_resetSendsTheFirstThreePresets() {
        ui_View.global["mouse/selectGun"] = [5, 4, 3]
        ui_View.gunData[0] = ["M416", "L-Click", "30", "0", "40", "12"]
        const gun = start()
        compare(gun.slotRow(0), 5)
        compare(gun.resetData(), true)
        compare(ui_View.argsOf("mouseSendGundata"), [[1, [12, 0, 5]], [2, [0, 0, 7]],
                                                     [3, [0, 0, 8]]])
        // The three rows in one write of the gun file.
        compare(ui_View.argsOf("mouseSaveGundata"), [])
        compare(ui_View.argsOf("mouseSaveGundataRows"),
                [[[[0, "M416", "L-Click", "9", "0", "5", "12"],
                   [1, "AKM", "L-Click", "9", "0", "7", "0"],
                   [2, "M16A4", "L-Click", "9", "0", "8", "0"]]]])
        compare(ui_View.global["mouse/selectGun"], [0, 1, 2])
        compare(gun.slotPeriods(), [9, 9, 9])
        compare(gun.currentSlot, 0)
        compare(gun.currentRow, 0)
        compare(gun.yField.textValue, "5")
        compare(child("gunRateText").text, "9MS")
        // Everything is on the mouse: closing sends nothing again.
        open()
        ui_View.clear()
        close()
        compare(ui_View.calls.filter(c => c.startsWith("mouse")), [])
    }

    function test_closingWithoutChangesSendsNothing() {
        start()
        open()
        child("gunSlotList").openMenu()
        child("gunSlotList").choose(2)
        tryCompare(child("gunControlMain"), "currentSlot", 2)
        close()
        compare(ui_View.calls.filter(c => c.startsWith("mouse")), [])
    }

    // A changed preset: closing sends the three slots, then the button tables with the periods.
    function test_closingAfterAChangeSendsSlotsAndButtons() {
        const gun = start()
        open()
        gun.rateSlider.setOffset(44, true)
        compare(child("gunRateText").text, "45MS")
        gun.rateSlider.valueChangeDelay(44)
        compare(ui_View.argsOf("mouseSaveGundata"),
                [[0, ["M416", "L-Click", "45", "0", "10", "0"]]])
        close()
        compare(ui_View.calls.filter(c => c.startsWith("mouseSend") || c.startsWith("mouseSetKey"))
                             .map(c => c.split("(")[0]),
                ["mouseSendGundata", "mouseSendGundata", "mouseSendGundata", "mouseSetKeyMatrix"])
        const keys = ui_View.argsOf("mouseSetKeyMatrix")[0]
        compare(keys[0], 1)
        compare(keys[4], [45, 10, 10])
        verify(!gun.isSave)
        verify(!child("warningAssigmentMain").visible)
    }

    // A rate of 9 is shown "9MS" and stored "9"; the ends of the slider are 4 and 90.
    function test_rateIsTheOffsetPlusOne_data() {
        return [{ tag: "9", offset: 8, text: "9MS", stored: "9" },
                { tag: "45", offset: 44, text: "45MS", stored: "45" },
                { tag: "left end", offset: 3, text: "4MS", stored: "4" },
                { tag: "right end", offset: 89, text: "90MS", stored: "90" }]
    }
    function test_rateIsTheOffsetPlusOne(data) {
        const gun = start()
        open()
        gun.rateSlider.setOffset(data.offset, true)
        compare(child("gunRateText").text, data.text)
        gun.rateSlider.valueChangeDelay(data.offset)
        compare(gun.gunNumberModel.get(0).gunPeriod, data.stored)
        compare(gun.rateSlider.maxX, 89)
        // Shown again, the stored period puts the knob back where it was.
        gun.loadGunData(1)
        gun.loadGunData(0)
        compare(child("gunRateText").text, data.text)
    }

    // The dot's travel 89 … 183 stands for Y 0 … 64; the field moves the dot.
    function test_yAxisFromTheDotAndTheField() {
        const gun = start()
        open()
        compare(gun.yOfDot(89), 0)
        compare(gun.yOfDot(183), 64)
        compare(gun.yOfDot(136), 32)
        const dot = gun.dot
        mouseDrag(dot, 7, 7, 0, 183 - dot.y)
        compare(dot.y, 183)
        compare(gun.yField.textValue, "64")
        compare(gun.gunNumberModel.get(0).gunY, "64")
        compare(ui_View.argsOf("mouseSaveGundata").pop(), [0, ["M416", "L-Click", "10", "0",
                                                               "64", "0"]])
        gun.yField.input.forceActiveFocus()
        gun.yField.textValue = "16"
        gun.forceActiveFocus()
        compare(dot.y, 89 + Math.round(16 * 94 / 64))
        compare(gun.gunNumberModel.get(0).gunY, "16")

        // A press on the dialog's empty ground ends the Times edit: the field lets go, Endless
        // follows what was typed, the row keeps it.
        verify(gun.endlessBox.isSelect) // the factory rows fire without end
        gun.timesField.input.forceActiveFocus()
        gun.timesField.input.selectAll()
        keyClick("5")
        compare(gun.timesField.textValue, "5")
        mouseClick(gun, gun.width - 6, gun.height - 6)
        verify(!gun.timesField.input.activeFocus)
        verify(!gun.endlessBox.isSelect)
        compare(gun.gunNumberModel.get(0).gunTimes, "5")
    }

    // A gun file that cannot be written is told, once for a run of failed writes (a drag writes at
    // every release), and again after a write has gone through; a reset tells it too.
    function test_aGunFileThatCannotBeWrittenIsTold() {
        const gun = start()
        open()
        const warning = child("warningAssigmentMain")
        const dot = gun.dot
        ui_View.failing = ["mouseSaveGundata", "mouseSaveGundataRows"]
        mouseDrag(dot, 7, 7, 0, 20)
        verify(warning.visible)
        compare(warning.textValue, warning.warningAssigmentLang[warning.gunFileFailed])
        warning.hide()
        mouseDrag(dot, 7, 7, 0, 20)
        verify(!warning.visible)
        ui_View.failing = []
        mouseDrag(dot, 7, 7, 0, -20)
        verify(!warning.visible)
        ui_View.failing = ["mouseSaveGundataRows"]
        gun.resetData()
        verify(warning.visible)
        compare(warning.textValue, warning.warningAssigmentLang[warning.gunFileFailed])
    }

    // A preset can serve two slots; the choice is stored for the next start.
    function test_sameRowForTwoSlots() {
        const gun = start()
        open()
        mouseClick(child("gunRow4"))
        child("gunSlotList").openMenu()
        child("gunSlotList").choose(1)
        tryCompare(gun, "currentSlot", 1)
        compare(gun.currentRow, 1)
        mouseClick(child("gunRow4"))
        compare(ui_View.global["mouse/selectGun"], [4, 4, 2])
        compare(gun.slotPeriods(), [10, 10, 10])
        close()
        compare(ui_View.argsOf("mouseSendGundata").map(a => a[0]), [1, 2, 3])
    }

    // A mouse without gun slots takes no gun data; nothing is sent and nothing failed.
    function test_mouseWithoutGunSlots() {
        ui_View.global["mouse/isGun"] = "false"
        const gun = start()
        compare(gun.resetData(), true)
        compare(ui_View.argsOf("mouseSendGundata"), [])
    }
}
