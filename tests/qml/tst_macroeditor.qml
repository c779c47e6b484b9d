import QtQuick
import QtTest

// The macro editor and the macro chooser inside the whole document: recording, the event menu,
// delay editing, the block's length limit, names in folders, and what the shell does when a macro
// is assigned, changed or deleted. The macro files and the catalogue are real (a main view over
// the test's private copy of the runtime data); the mouse is the recording stand-in.
TestCase {
    id: testCase

    name: "MacroEditor"
    width: 1280
    height: 720
    when: windowShown
    visible: true

    property var shell: null
    property var editor: null
    property int macroCount: 0

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
        ui_View.macroView = harness.plainView()
        harness.takeWarnings()
    }

    function start() {
        shell = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), testCase)
        verify(shell)
        shell.initUI()
        shell.setProtectUI(1)
        tryVerify(() => shell.isStarted, 3000)
        mouseClick(child("tabSettings"))
        editor = child("macroEditorMain")
        verify(editor.visible)
        ui_View.clear()
        return shell
    }

    function child(name) {
        const found = shell.buildPart(name) ?? findChild(shell, name)
        verify(found, name)
        return found
    }

    function rowsOf() {
        return editor.rows.map(r => r.type + "," + r.info)
    }

    // A new macro in the root, selected, with `records` stored.
    function newMacro(records) {
        const name = "M" + (++macroCount) + "_" + Date.now()
        editor.clearSelection()
        verify(editor.createItem(0, name))
        compare(editor.currentName, name)
        if (records) {
            editor.showRows(records.map(t => ({ type: parseInt(t.charAt(0)),
                                                info: t.substring(2) })), "1")
            verify(editor.autoSave())
        }
        // The event rows are laid out with the next frame, as they are before a user clicks.
        waitForRendering(shell)
        return name
    }

    // Event rows are made anew with the next frame after every change.
    function eventRow(i) {
        waitForRendering(shell)
        return child("macroEvent" + i)
    }

    function icon(row) {
        waitForRendering(shell)
        return String(child("macroEventIcon" + row).source)
    }

    function stored(name, level) {
        return Array.from(ui_View.macroView.loadMacroIni(level ?? 0, name))
    }

    function key(isDown, usage) {
        shell.detectKeyboard(isDown, usage)
    }

    function warningText() {
        const warning = child("warningAssigmentMain")
        return warning.visible ? warning.textValue : ""
    }

    function test_recordingAKeyWithAndWithoutDelays_data() {
        return [{ tag: "delays recorded", delays: true, rows: ["1,A", "0,230", "2,A"] },
                { tag: "delays not recorded", delays: false, rows: ["1,A", "2,A"] }]
    }
    function test_recordingAKeyWithAndWithoutDelays(data) {
        start()
        const name = newMacro()
        if (child("macroDelayRecord").isSelect !== data.delays)
            mouseClick(child("macroDelayRecord"))
        mouseClick(child("macroRecord"))
        verify(editor.isInputting)
        // The first event never gets a delay, however long the wait before it.
        editor.macroRecordCount = 57
        key(true, 0x04)
        editor.macroRecordCount = 23
        key(false, 0x04)
        mouseClick(child("macroStop"))
        verify(!editor.isInputting)
        compare(rowsOf(), data.rows)
        compare(stored(name), data.rows.concat(["1"]))
        // One icon per kind of row.
        verify(icon(0).endsWith("keyDown.svg"))
        verify(icon(data.rows.length - 1).endsWith("keyUp.svg"))
        if (data.delays) {
            verify(icon(1).endsWith("delay.svg"))
            compare(child("macroEventText1").text, "230 ms")
        }
        // Keys of the mouse's own range are button events.
        mouseClick(child("macroRecord"))
        key(true, 0xF0)
        mouseClick(child("macroStop"))
        compare(rowsOf()[rowsOf().length - 1], "3,MS-L")
        verify(icon(rowsOf().length - 1).endsWith("mouseDown.svg"))
    }

    // The delay is the ticks of the 10 ms timer since the last event.
    function test_recordingTicksEveryTenMilliseconds() {
        start()
        newMacro()
        mouseClick(child("macroRecord"))
        key(true, 0x05)
        compare(editor.macroRecordCount, 0)
        tryVerify(() => editor.macroRecordCount >= 3, 3000)
        const ticks = editor.macroRecordCount
        key(false, 0x05)
        mouseClick(child("macroStop"))
        compare(rowsOf(), ["1,B", "0," + ticks * 10, "2,B"])
    }

    function test_eventMenu() {
        start()
        const name = newMacro(["1,A", "0,50", "2,A"])

        // Insert key while the second of three rows is current: press, release, then that row.
        mouseClick(eventRow(1))
        compare(editor.currentRow, 1)
        editor.eventCommand(2)
        verify(child("macroInsertBox").visible)
        key(true, 0x05)
        key(false, 0x06) // a release sets nothing
        mouseClick(child("macroInsertOK"))
        compare(rowsOf(), ["1,A", "1,B", "2,B", "0,50", "2,A"])
        compare(stored(name), ["1,A", "1,B", "2,B", "0,50", "2,A", "1"])

        // A left button after the last row goes at the end, press first.
        mouseClick(eventRow(4))
        editor.eventCommand(3)
        compare(rowsOf().slice(5), ["3,MS-L", "4,MS-L"])
        // A right button after a middle row goes after it.
        mouseClick(eventRow(0))
        editor.eventCommand(5)
        compare(rowsOf().slice(0, 3), ["1,A", "3,MS-R", "4,MS-R"])

        // Insert delay: before the current row, which it becomes; delete takes the current row.
        mouseClick(eventRow(2))
        editor.eventCommand(1)
        compare(rowsOf().slice(1, 4), ["3,MS-R", "0,50", "4,MS-R"])
        compare(editor.currentRow, 2)
        editor.eventCommand(0)
        compare(rowsOf().slice(1, 3), ["3,MS-R", "4,MS-R"])
        compare(stored(name).length, rowsOf().length + 1)
    }

    function test_editingADelay_data() {
        return [{ tag: "number", typed: "1250", info: "1250" },
                { tag: "letters", typed: "abc", info: "50" },
                { tag: "too long a delay", typed: "70000", info: "50" },
                { tag: "empty", typed: "", info: "50" }]
    }
    function test_editingADelay(data) {
        start()
        const name = newMacro(["1,A", "0,50", "2,A"])
        mouseDoubleClickSequence(eventRow(1))
        const field = child("macroDelayField1")
        verify(field.visible)
        verify(field.activeFocus)
        keyClick(Qt.Key_A, Qt.ControlModifier)
        keyClick(Qt.Key_Delete)
        for (const ch of data.typed)
            keyClick(ch)
        keyClick(Qt.Key_Return)
        verify(!field.visible)
        compare(editor.rows[1].info, data.info)
        compare(stored(name)[1], "0," + data.info)
    }

    // 61 actions make 2 + 122 + 2 = 126 bytes: Record still runs, nothing is added.
    function test_nothingIsAddedAtTheLimit() {
        start()
        let records = []
        for (let i = 0; i < 61; ++i)
            records.push(i % 2 ? "2,B" : "1,B")
        newMacro(records)
        verify(editor.isFull)
        verify(child("macroEvents").visible)
        mouseClick(child("macroRecord"))
        verify(editor.isInputting)
        key(true, 0x04)
        key(false, 0x04)
        mouseClick(child("macroStop"))
        compare(rowsOf().length, 61)
        // Rows beyond the frame: the strip shows, and a press at its foot brings the last ones.
        const events = child("macroEvents")
        const strip = child("macroEventsScroll")
        verify(strip.visible)
        events.positionViewAtBeginning()
        mousePress(strip, strip.width / 2, strip.height - 1)
        mouseRelease(strip, strip.width / 2, strip.height - 1)
        tryVerify(() => events.contentY + events.height >= events.contentHeight + events.originY - 1)
        editor.currentRow = 60 // scrolled out of view
        for (const command of [1, 2, 3, 4, 5])
            editor.eventCommand(command)
        verify(!child("macroInsertBox").visible)
        compare(rowsOf().length, 61)

        // One action below the limit: one event (with its delay) is taken, the next is not.
        editor.eventCommand(0)
        compare(rowsOf().length, 60)
        mouseClick(child("macroRecord"))
        key(true, 0x04)
        key(false, 0x04)
        mouseClick(child("macroStop"))
        compare(rowsOf().slice(60), ["0,0", "1,A"])
    }

    function test_namesInFolders() {
        start()
        const folder = "F_" + Date.now()
        editor.clearSelection()
        verify(editor.createItem(1, folder))
        compare(editor.currentType, 1)
        verify(editor.createItem(0, "Same"))
        compare(editor.currentLevel, 1)
        compare(ui_View.macroView.loadMacroIni(1, "Same").length, 1)

        // The same name in the same folder is refused with the warning.
        verify(editor.selectByName([folder]))
        verify(!editor.createItem(0, "Same"))
        compare(warningText(), "Already have a macro with the same name!")
        child("warningAssigmentMain").hide()
        compare(editor.macroNumberModel.find(n => n.textValue === folder).subNode.length, 1)

        // In another folder (here the root) it is accepted.
        editor.clearSelection()
        verify(editor.createItem(0, "Same"))
        compare(warningText(), "")

        // The catalogue gives the same tree back.
        editor.init()
        verify(editor.selectByName([folder, "Same"]))
        compare(editor.currentLevel, 1)
        editor.clearSelection()
        verify(editor.selectByName(["Same"]))
        compare(editor.currentLevel, 0)
    }

    function test_foldersStopAtTheFifthLevel() {
        start()
        editor.clearSelection()
        const names = ["D0_" + Date.now(), "D1", "D2", "D3", "D4"]
        for (const name of names)
            verify(editor.createItem(1, name))
        compare(editor.currentLevel, 4)
        verify(!editor.createItem(1, "D5"))
        compare(warningText(), "Can't add a new folder!")
        child("warningAssigmentMain").hide()
        verify(editor.createItem(0, "Deep"))
        compare(editor.currentLevel, 5)
        editor.init()
        verify(editor.selectByName(names.concat(["Deep"])))
    }

    // The chooser gives button 3 the macro of a folder and sends it to slot 3 at once.
    function test_chooserAssignsAndSends() {
        start()
        const folder = "C_" + Date.now()
        editor.clearSelection()
        verify(editor.createItem(1, folder))
        verify(editor.createItem(0, "Burst"))
        editor.showRows([{ type: 1, info: "H" }, { type: 0, info: "50" }, { type: 2, info: "H" }],
                        "1")
        verify(editor.autoSave())
        mouseClick(child("macroOption2"))
        compare(editor.macroOption, 2)

        mouseClick(child("tabMouse"))
        mouseClick(child("keyMenu3Header"))
        mouseClick(child("keyMenu3Item9"))
        const chooser = child("macroKeyAssigmentMain")
        verify(chooser.visible)
        waitForRendering(shell)

        // Nothing or a folder: warning 5, the chooser stays.
        mouseClick(child("macroChooserOK"))
        compare(warningText(), "Please select a macro first !")
        child("warningAssigmentMain").hide()
        const folderRow = chooser.list.rowOf(String(chooser.macroNumberModel.findIndex(
                                                        n => n.textValue === folder)))
        verify(folderRow >= 0)
        mouseClick(child("macroChooserTreeRow" + folderRow))
        mouseClick(child("macroChooserOK"))
        compare(warningText(), "Please select a macro first !")
        child("warningAssigmentMain").hide()
        verify(chooser.visible)

        ui_View.clear()
        mouseDoubleClickSequence(child("macroChooserTreeRow" + folderRow))
        waitForRendering(shell)
        mouseClick(child("macroChooserTreeRow" + (folderRow + 1)))
        mouseClick(child("macroChooserOK"))
        verify(!chooser.visible)
        compare(warningText(), "")
        const keys = child("keyMatrixMain")
        compare(entry(keys.modKeys.get(3)), [4, 2, 3, 0])
        compare(child("keyMenu3").textValue, "Macro Function-Burst")
        compare(ui_View.profile["mouseMacroKey/3"], "Burst")
        verify(keys.isSave)
        const sent = ui_View.argsOf("mouseSendMacroData")
        compare(sent.length, 1)
        compare(sent[0][0], [0, 1, 0x05, 0x0B, 0x81, 0x0B, 0, 0])
        compare(sent[0][1], 3)
        // The window was locked while it was sent.
        verify(ui_View.calls.includes("setEnabled(false)"))
    }

    function entry(e) {
        return [e.keyCode0, e.keyCode1, e.keyCode2, e.keyCode3]
    }

    // A changed macro goes again to every button that plays it; a deleted one gives the buttons
    // their defaults back and saves them.
    function test_shellAnswersChangesAndDeletion() {
        start()
        const name = newMacro(["1,A", "2,A"])
        const keys = child("keyMatrixMain")
        keys.modKeys.set(3, { keyCode0: 4, keyCode1: 0, keyCode2: 3, keyCode3: 0, keyText: name })
        keys.modKeys.set(4, { keyCode0: 4, keyCode1: 0, keyCode2: 4, keyCode3: 0, keyText: name })
        ui_View.profile["mouseMacroKey/3"] = name
        ui_View.profile["mouseMacroKey/4"] = name
        ui_View.clear()

        editor.selectPath(editor.currentPath)
        waitForRendering(shell)
        mouseClick(eventRow(0))
        editor.eventCommand(1) // a delay before the press
        const sent = ui_View.argsOf("mouseSendMacroData")
        compare(sent.map(s => s[1]), [3, 4])
        compare(sent[0][0], [0, 1, 0x01, 0x04, 0x81, 0x04, 0, 0])
        // No Apply was needed, and the keys were not sent.
        compare(ui_View.argsOf("mouseSetKeyMatrix").length, 0)

        // A failed send is told.
        ui_View.failing = ["mouseSendMacroData"]
        editor.eventCommand(0)
        verify(warningText().startsWith("Some settings could not be written to the mouse."))
        child("warningAssigmentMain").hide()
        ui_View.failing = []

        ui_View.clear()
        editor.treeCommand(1)
        verify(child("tooltipMain").visible)
        mouseClick(child("tooltipMainOK"))
        compare(entry(keys.modKeys.get(3)), [0, 0, 0xF4, 0])
        compare(entry(keys.modKeys.get(4)), [0, 0, 0xF3, 0])
        compare(ui_View.argsOf("mouseSetKeyMatrix").length, 1)
        verify(ui_View.calls.includes("deleteMacroUpdateProfile(" + name + ")"))
        compare(stored(name), [])
        compare(editor.currentName, "")
    }

    function test_renameFollowsIntoTheProfile() {
        start()
        const name = newMacro(["1,A", "2,A"])
        const keys = child("keyMatrixMain")
        keys.modKeys.set(3, { keyCode0: 4, keyCode1: 0, keyCode2: 3, keyCode3: 0, keyText: name })
        ui_View.profile["mouseMacroKey/3"] = name
        // A name the library refuses changes nothing, and the library says why.
        verify(!editor.renameSelected("a/b"))
        compare(harness.takeWarnings().length, 1)
        compare(editor.currentName, name)
        compare(ui_View.profile["mouseMacroKey/3"], name)
        compare(stored(name), ["1,A", "2,A", "1"])
        // A file of that name already on disk, outside the library: the rename fails there, the
        // user is told, and the tree and the buttons keep the old name.
        verify(harness.writeFile("modules/macro/" + name + "y.bin", "[config]\n"))
        verify(!editor.renameSelected(name + "y"))
        compare(harness.takeWarnings().length, 1)
        compare(editor.currentName, name)
        compare(ui_View.profile["mouseMacroKey/3"], name)
        compare(stored(name), ["1,A", "2,A", "1"])

        verify(editor.renameSelected(name + "x"))
        compare(ui_View.profile["mouseMacroKey/3"], name + "x")
        compare(stored(name), [])
        compare(stored(name + "x"), ["1,A", "2,A", "1"])
        compare(child("keyMenu3").textValue, "Macro Function-" + name + "x")
        editor.init()
        verify(editor.selectByName([name + "x"]))
    }

    // Key names are stored language-independent; older files hold the names of the language they
    // were recorded in, and still send the right keys in another language.
    function test_keyNamesDoNotDependOnTheLanguage() {
        const german = Array.from(englishKeyNames)
        german[120] = "Strg links"
        german[7] = "Hx"
        ui_View.lists["keyCode/German"] = german
        start()
        shell.chooseLanguage("German")
        const name = newMacro()
        mouseClick(child("macroRecord"))
        key(true, 0xE0)
        key(true, 0x0B)
        mouseClick(child("macroStop"))
        compare(stored(name).slice(0, 1), ["1,LCtrl"])
        compare(stored(name)[2], "1,H")
        // Shown in the language of the window.
        compare(child("macroEventText0").text, "Strg links")

        shell.chooseLanguage("English")
        const old = newMacro(["1,Strg links", "1,Hx", "2,Hx", "2,Strg links"])
        ui_View.clear()
        verify(child("macroKeyAssigmentMain").sendNow(5, old))
        const sent = ui_View.argsOf("mouseSendMacroData")
        compare(sent[0][0], [0, 1, 0x01, 0xE0, 0x01, 0x0B, 0x81, 0x0B, 0x81, 0xE0, 0, 0])
    }

    // Import and export go through the library's own operations; a batch import keeps every name
    // with its own folder.
    function test_importAndBatchTransfer() {
        const macro = "[config]\ntotal=2\nrepeat=1\n[macro]\n0=\"1,A\"\n1=\"2,A\"\n"
        const stamp = String(Date.now())
        verify(harness.writeFile("in/My.Macro.mc", macro))
        for (const file of ["a", "Sub/b", "Sub/Deep/c", "Other/d"])
            verify(harness.writeFile("batch/Pack" + stamp + "/" + file + ".mc", macro))
        start()
        const folder = "Into" + stamp
        editor.clearSelection()
        verify(editor.createItem(1, folder))

        harness.chooseNext("in/My.Macro.mc")
        editor.treeCommand(2)
        compare(harness.takeWarnings(), [])
        verify(editor.selectByName([folder, "My"]))
        compare(stored("My", 1), ["1,A", "2,A", "1"])
        // The same file again: the name exists there.
        verify(editor.selectByName([folder]))
        harness.chooseNext("in/My.Macro.mc")
        editor.treeCommand(2)
        compare(warningText(), "There is already a macro with the same name in this directory.")
        child("warningAssigmentMain").hide()
        compare(editor.macroNumberModel.find(n => n.textValue === folder).subNode.length, 1)

        harness.chooseNext("batch/Pack" + stamp)
        editor.treeCommand(6)
        editor.init()
        const top = "Pack" + stamp
        for (const path of [[top, "a"], [top, "Sub", "b"], [top, "Sub", "Deep", "c"],
                            [top, "Other", "d"]]) {
            verify(editor.selectByName(path), path.join("/"))
            compare(rowsOf(), ["1,A", "2,A"], path.join("/"))
        }
        const sub = editor.macroNumberModel.find(n => n.textValue === top).subNode
        compare(sub.map(n => n.textValue).sort(), ["Other", "Sub", "a"])

        verify(harness.writeFile("out" + stamp + "/.keep", ""))
        // The same folder again, with one file more: merged into the folder that is there.
        verify(harness.writeFile("batch/Pack" + stamp + "/Sub/e.mc", macro))
        harness.chooseNext("batch/Pack" + stamp)
        editor.treeCommand(6)
        compare(editor.macroNumberModel.filter(n => n.textValue === top).length, 1)
        editor.init()
        verify(editor.selectByName([top, "Sub", "e"]))
        verify(editor.selectByName([top, "Sub", "Deep", "c"]))

        harness.chooseNext("out" + stamp)
        editor.treeCommand(7)
        compare(harness.takeWarnings(), [])
        verify(harness.exists("out" + stamp + "/Macro/" + top + "/Sub/Deep/c.mc"))
        verify(harness.exists("out" + stamp + "/Macro/" + folder + "/My.mc"))

        // Export of one macro.
        verify(editor.selectByName([top, "a"]))
        harness.chooseNext("one" + stamp + ".mc")
        editor.treeCommand(3)
        verify(harness.exists("one" + stamp + ".mc"))
    }
}
