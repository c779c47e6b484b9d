import QtQuick
import QtTest

// The button page inside the whole document, under a recording stand-in of the core: the texts of
// every kind of entry, the row menu, the fire and combination panels, the left-button rule and
// what Apply sends.
TestCase {
    id: testCase

    name: "KeyPage"
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
        return shell
    }

    function child(name) {
        const found = shell.buildPart(name) ?? findChild(shell, name)
        verify(found, name)
        return found
    }

    function entry(list, row) {
        const e = list.get(row)
        return [e.keyCode0, e.keyCode1, e.keyCode2, e.keyCode3]
    }

    function openMenu(row) {
        mouseClick(child("keyMenu" + row + "Header"))
        verify(child("keyMenu" + row).isDrop)
    }

    // Hovering an item opens what it has beside it.
    function hover(row, item) {
        const target = child("keyMenu" + row + "Item" + item)
        mouseMove(target, target.width / 2, target.height / 2)
        tryCompare(child("keyMenu" + row), "openItem", item)
        // What opened is laid out with the next frame, as it is before a user can click on it.
        waitForRendering(shell)
    }

    function press(usage) {
        shell.detectKeyboard(true, usage)
        wait(0)
    }

    function release(usage) {
        shell.detectKeyboard(false, usage)
        wait(0)
    }

    function applied() {
        ui_View.clear()
        mouseClick(child("applyBtn"))
        const sent = ui_View.argsOf("mouseSetKeyMatrix")
        compare(sent.length, 1)
        return sent[0]
    }

    function test_labelOfEveryEntryType_data() {
        return [
            { tag: "left", entry: [0, 0, 0xF0, 0], label: "Left Key", row: "Left Key" },
            { tag: "middle", entry: [0, 0, 0xF2, 0], label: "Middle Key", row: "Middle Key" },
            { tag: "back", entry: [0, 0, 0xF3, 0], label: "Back Key", row: "Back Key" },
            { tag: "double fire", entry: [0, 0xF0, 0x1E, 2], label: "Double Fire",
              row: "Double Fire" },
            { tag: "fire", entry: [1, 0x1D, 10, 0], label: "Z", row: "Fire Function-Z" },
            { tag: "combination", entry: [2, 0x03, 0x04, 0], label: "LCtrl+LShift+A",
              row: "Group Function-LCtrl+LShift+A" },
            { tag: "combination, two keys", entry: [2, 0x05, 0x4C, 0x04],
              label: "LCtrl+LAlt+Del+A", row: "Group Function-LCtrl+LAlt+Del+A" },
            { tag: "media", entry: [3, 0, 0xB7, 0], label: "Stop", row: "Stop" },
            { tag: "media, unknown", entry: [3, 0, 0x99, 0], label: "", row: "" },
            { tag: "macro", entry: [4, 0, 5, 0], label: "Burst", row: "Macro Function-Burst" },
            { tag: "DPI", entry: [5, 0, 3, 0], label: "DPI LOOP", row: "DPI LOOP" },
            { tag: "sniper", entry: [5, 0, 4, 0], label: "Sniper Key", row: "Sniper Key" },
            { tag: "Windows", entry: [6, 4, 0x2C, 0x1B], label: "Max", row: "Max" },
            { tag: "Windows, other second byte", entry: [6, 4, 0x2C, 0x11], label: "Min",
              row: "Min" },
            { tag: "shortcut", entry: [7, 0, 0xE0, 0x06], label: "Copy", row: "Copy" },
            { tag: "gun", entry: [8, 0, 3, 0], label: "Three Gun", row: "Three Gun" },
            { tag: "hidden", entry: [0xFF, 0, 1, 0], label: "", row: "" }]
    }
    function test_labelOfEveryEntryType(data) {
        ui_View.profile["mouseMacroKey/5"] = "Burst"
        ui_View.profile["mouseKeyMatrix/3"] = data.entry
        start()
        const keys = child("keyAssigmentMain")
        compare(keys.keyCodeToString(...data.entry), data.label)
        compare(child("keyMatrixMain").modKeys.get(3).keyText, data.label)
        compare(child("keyMenu3").textValue, data.row)
    }

    // Recomputed when the document asks for it, in the language now chosen.
    function test_rowTextsFollowTheLanguage() {
        ui_View.profile["mouseKeyMatrix/4"] = [1, 0x1D, 10, 0]
        start()
        const keys = child("keyAssigmentMain")
        const lang = Array.from(keys.keyAssigmentLang)
        lang[8] = "Dauerfeuer"
        lang[2] = "Linke Taste"
        keys.keyAssigmentLang = lang
        shell.initDropDownList()
        compare(child("keyMenu0").textValue, "Linke Taste")
        compare(child("keyMenu4").textValue, "Dauerfeuer-Z")
    }

    function test_combinationOfLeftCtrlLeftShiftA() {
        start()
        openMenu(3)
        hover(3, 7)
        const panel = child("keyMenu3Combination")
        verify(panel.visible)
        mouseClick(child("keyMenu3CombinationField"))
        press(0xE0)
        press(0xE1)
        release(0xE1)
        press(0x04)
        release(0x04)
        compare(child("keyMenu3CombinationFieldText").text, "LCtrl + LShift + A")
        compare(panel.entry, [2, 0x03, 0x04, 0])
        mouseClick(child("keyMenu3CombinationOK"))
        verify(!child("keyMenu3").isDrop)
        const keys = child("keyMatrixMain")
        compare(entry(keys.modKeys, 3), [2, 0x03, 0x04, 0])
        compare(child("keyAssigmentMain").keyString, "LCtrl + LShift + A")
        compare(child("keyMenu3").textValue, "Group Function-LCtrl+LShift+A")
        verify(keys.isSave)
        compare(child("mouseMain").selectKey, -1)
        const sent = applied()
        compare(sent[0], 0)
        compare(sent[1].slice(12, 16), [2, 0x03, 0x04, 0])
        compare(sent[3], true)
        compare(sent[4], [10, 10, 10])
        verify(!keys.isSave)
    }

    // Two keys beside the modifiers; a third, a repeated key or modifier, and releases change
    // nothing.
    function test_combinationTakesTwoKeysAtMost() {
        start()
        openMenu(4)
        hover(4, 7)
        const panel = child("keyMenu4Combination")
        mouseClick(child("keyMenu4CombinationField"))
        for (const usage of [0xE0, 0x04, 0x05, 0x06, 0xE0, 0x04])
            press(usage)
        press(0xE2)
        compare(panel.entry, [2, 0x05, 0x04, 0x05])
        compare(panel.keyText, "LCtrl + A + B + LAlt")
        // OK with an empty field only shows the prompt.
        mouseClick(child("keyMenu4CombinationField"))
        compare(panel.keyText, "")
        mouseClick(child("keyMenu4CombinationOK"))
        verify(panel.visible)
        verify(panel.isWarned)
        compare(child("keyMenu4CombinationFieldText").text, panel.prompt)
        compare(child("keyMenu4CombinationFieldText").color, shell.colorPrimary)
        verify(!child("keyMatrixMain").isSave)
    }

    function test_fireKeyWithoutMovingTheSliderHasRateTen() {
        start()
        openMenu(2)
        hover(2, 6)
        const panel = child("keyMenu2Fire")
        compare(child("keyMenu2FireRateText").text, "10ms")
        // OK before a key: input again.
        mouseClick(child("keyMenu2FireOK"))
        verify(panel.isInput)
        compare(child("keyMenu2FireFieldText").text, "Click Input")
        press(0x1D)
        verify(!panel.isInput)
        compare(child("keyMenu2FireFieldText").text, "Z")
        press(0x05) // input mode has ended: ignored
        compare(child("keyMenu2FireFieldText").text, "Z")
        mouseClick(child("keyMenu2FireOK"))
        compare(entry(child("keyMatrixMain").modKeys, 2), [1, 0x1D, 10, 0])
        compare(child("keyMenu2").textValue, "Fire Function-Z")
    }

    function test_fireRateAndTimes() {
        start()
        openMenu(3)
        hover(3, 6)
        const panel = child("keyMenu3Fire")
        mouseClick(child("keyMenu3FireField"))
        press(0x2C)
        panel.rateSlider.setOffset(44, true)
        compare(panel.rateText, "45MS")
        panel.rateSlider.setOffset(panel.rateSlider.maxX, true)
        compare(panel.rate, 80)
        panel.rateSlider.setOffset(panel.rateSlider.minX, true)
        compare(panel.rate, 4)
        panel.rateSlider.setOffset(8, true)
        compare(panel.rateText, "9MS")
        // A number of shots turns "Endness" off; 0 or the box turns it on again.
        const times = panel.timesField
        times.input.forceActiveFocus()
        times.textValue = "25"
        panel.forceActiveFocus()
        verify(!panel.endlessBox.isSelect)
        mouseClick(panel.endlessBox)
        verify(panel.endlessBox.isSelect)
        compare(times.textValue, "0")
        times.input.forceActiveFocus()
        times.textValue = "7"
        panel.forceActiveFocus()
        mouseClick(child("keyMenu3FireOK"))
        compare(entry(child("keyMatrixMain").modKeys, 3), [1, 0x2C, 9, 7])
        compare(child("keyMenu3").textValue, "Fire Function-Space")
    }

    // Row 0 keeps its left click: every other choice shows warning 6 and changes nothing.
    function test_leftButtonRule_data() {
        return [{ tag: "Right Key", item: 1 }, { tag: "Back Key", item: 4 },
                { tag: "DPI sub-menu", item: 5, sub: 0 },
                { tag: "shortcut sub-menu", item: 11, sub: 2 },
                { tag: "fire panel", item: 6, panel: "Fire" },
                { tag: "combination panel", item: 7, panel: "Combination" }]
    }
    function test_leftButtonRule(data) {
        start()
        const keys = child("keyMatrixMain")
        const warning = child("warningAssigmentMain")
        openMenu(0)
        if (data.sub !== undefined) {
            hover(0, data.item)
            mouseClick(child("keyMenu0SubItem" + data.sub))
        } else if (data.panel) {
            hover(0, data.item)
            const prefix = "keyMenu0" + data.panel
            mouseClick(child(prefix + "Field"))
            press(0x04)
            mouseClick(child(prefix + "OK"))
        } else {
            mouseClick(child("keyMenu0Item" + data.item))
        }
        verify(warning.visible)
        compare(warning.textValue, "Please keep a key at least for the left button function.")
        compare(entry(keys.modKeys, 0), [0, 0, 0xF0, 0])
        compare(child("keyMenu0").textValue, "Left Key")
        verify(!keys.isSave)
        verify(!child("keyMenu0").isDrop)
        mouseClick(child("warningAssigmentMainOK"))

        // Left Key itself is accepted, and other rows take Right Key.
        openMenu(0)
        mouseClick(child("keyMenu0Item0"))
        verify(!warning.visible)
        verify(keys.isSave)
        openMenu(4)
        mouseClick(child("keyMenu4Item1"))
        verify(!warning.visible)
        compare(entry(keys.modKeys, 4), [0, 0, 0xF1, 0])
    }

    // The same item again changes no byte and still marks the page.
    function test_sameItemAgainMarksUnsaved() {
        start()
        const keys = child("keyMatrixMain")
        openMenu(1)
        compare(child("mouseMain").selectKey, 1)
        mouseClick(child("keyMenu1Item1"))
        compare(entry(keys.modKeys, 1), [0, 0, 0xF1, 0])
        verify(keys.isSave)
        compare(child("mouseMain").selectKey, -1)
        compare(applied()[1].slice(4, 8), [0, 0, 0xF1, 0])
    }

    function test_shortcutAndMediaFromTheSubMenus() {
        start()
        openMenu(3)
        hover(3, 11)
        mouseClick(child("keyMenu3SubItem2"))
        openMenu(4)
        hover(4, 8)
        compare(child("keyMenu4Sub").items.length, 8)
        mouseClick(child("keyMenu4SubItem5"))
        const keys = child("keyMatrixMain")
        compare(entry(keys.modKeys, 3), [7, 0, 0xE0, 0x06])
        compare(entry(keys.modKeys, 4), [3, 0, 0xCD, 0])
        compare(child("keyMenu3").textValue, "Copy")
        compare(child("keyMenu4").textValue, "Play/Pause")
        // Hovering a plain item closes the open sub-menu.
        openMenu(5)
        hover(5, 10)
        verify(child("keyMenu5Sub").visible)
        const plain = child("keyMenu5Item2")
        mouseMove(plain, 5, 5)
        tryCompare(child("keyMenu5"), "openItem", -1)
        verify(!child("keyMenu5Sub").visible)
    }

    // Office: twelve items, the row's own marked. Game: the gun item is added and rows past 3
    // mark it.
    function test_menuPerMode_data() {
        return [{ tag: "office", mode: "0", row: 5, count: 12, marked: 5 },
                { tag: "office, row 2", mode: "0", row: 2, count: 12, marked: 2 },
                { tag: "game, row 2", mode: "1", row: 2, count: 13, marked: 2 },
                { tag: "game, row 5", mode: "1", row: 5, count: 13, marked: 12 }]
    }
    function test_menuPerMode(data) {
        ui_View.profile["mouse/mouseMode"] = data.mode
        start()
        openMenu(data.row)
        const menu = child("keyMenu" + data.row)
        compare(menu.count, data.count)
        compare(menu.currentSelect, data.marked)
        verify(child("keyMenu" + data.row + "Item" + (data.count - 1)).visible)
        if (data.mode === "1") {
            compare(menu.textValue, data.row === 5 ? "One Gun" : "Middle Key")
            hover(data.row, 12)
            mouseClick(child("keyMenu" + data.row + "SubItem2"))
            compare(entry(child("keyMatrixMain").modKeys2, data.row), [8, 0, 3, 0])
            compare(entry(child("keyMatrixMain").modKeys, data.row),
                    ui_View.profile["mouseKeyMatrix/" + data.row])
            compare(applied()[0], 1)
        }
    }

    // The macro item opens the chooser for its row; the left button keeps its function.
    function test_macroItemOpensTheChooser() {
        start()
        openMenu(3)
        mouseClick(child("keyMenu3Item9"))
        const chooser = child("macroKeyAssigmentMain")
        verify(chooser.visible)
        compare(chooser.keyIndex, 3)
        verify(!child("keyMatrixMain").isSave)
        chooser.hide()

        openMenu(0)
        mouseClick(child("keyMenu0Item9"))
        verify(!chooser.visible)
        const warning = child("warningAssigmentMain")
        verify(warning.visible)
        compare(warning.textValue, "Please keep a key at least for the left button function.")
        compare(entry(child("keyMatrixMain").modKeys, 0), [0, 0, 0xF0, 0])
    }

    // Six buttons: the seventh row and marker are hidden, its entry is still sent unchanged.
    function test_keyCountSixHidesRowSixButSendsIt() {
        ui_View.global["mouse/keyCount"] = "6"
        ui_View.profile["mouseKeyMatrix/6"] = [7, 0, 0xE0, 0x19]
        start()
        verify(child("keyRow5").visible)
        verify(!child("keyRow6").visible)
        verify(child("mouseMarker5").visible)
        verify(!child("mouseMarker6").visible)
        openMenu(1)
        mouseClick(child("keyMenu1Item2"))
        const office = applied()[1]
        compare(office.length, 64)
        compare(office.slice(4, 8), [0, 0, 0xF2, 0])
        compare(office.slice(24, 28), [7, 0, 0xE0, 0x19])
        compare(office.slice(56, 64), [255, 0, 1, 0, 255, 0, 2, 0])
    }

    // Restore loads the stored defaults of both modes and marks the page; Apply sends them.
    function test_restoreLoadsTheDefaultsUnsent() {
        ui_View.profile["mouseKeyMatrix/3"] = [7, 0, 0xE0, 0x06]
        ui_View.profile["mouseKeyMatrix2/5"] = [5, 0, 1, 0]
        start()
        const keys = child("keyMatrixMain")
        mouseClick(child("keyRestoreBtn"))
        verify(keys.isSave)
        compare(ui_View.argsOf("mouseGetKeydefine").length, 32)
        verify(ui_View.argsOf("mouseGetKeydefine").every(a => a[2] === true))
        compare(ui_View.argsOf("mouseSetKeyMatrix").length, 0)
        compare(entry(keys.modKeys, 3), [0, 0, 0xF4, 0])
        compare(entry(keys.modKeys2, 5), [8, 0, 1, 0])
        compare(child("keyMenu3").textValue, "Forward Key")
        const sent = applied()
        compare(sent[1].slice(12, 16), [0, 0, 0xF4, 0])
        compare(sent[2].slice(20, 24), [8, 0, 1, 0])
    }

    // An entry missing from the profile keeps the button's default instead of a blank one.
    function test_missingEntryKeepsTheDefault() {
        delete ui_View.profile["mouseKeyMatrix/2"]
        ui_View.profile["mouseKeyMatrix/3"] = [1, 2]
        start()
        const keys = child("keyMatrixMain")
        compare(entry(keys.modKeys, 2), [0, 0, 0xF2, 0])
        compare(entry(keys.modKeys, 3), [0, 0, 0xF4, 0])
    }

    // A marker selects its row only for a moment: the document's focus releases it.
    function test_markerClickLeavesNoSelection() {
        start()
        const marker = child("mouseMarker2")
        mouseClick(marker)
        compare(child("mouseMain").selectKey, -1)
        openMenu(4)
        verify(child("mouseHighlight4").visible)
        verify(!child("mouseHighlight3").visible)
        verify(child("keyMenu4").isDrop)
        mouseClick(marker)
        verify(!child("keyMenu4").isDrop)
        verify(!child("mouseHighlight4").visible)
    }
}
