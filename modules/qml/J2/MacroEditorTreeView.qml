import QtQuick
import "../js/MacroTree.js" as MacroTree
import "../js/MacroEdit.js" as MacroEdit
import "../js/MacroTreeMenu.js" as MacroTreeMenu

// The macro editor: the library's tree, the selected macro's events, recording and the event
// and tree menus. Every change is written to the macro's file at once.
Item {
    id: editor

    property list<string> macroEditorLang: ["Macro Editor", "Macro List", "Rename", "Delete",
        "Import", "Export", "New Folder", "New Macro", "Batch Import", "Batch Export",
        "Event List", "Record", "Stop", "Record Delays", "Cycle Times", "Playback Mode",
        "Repeat the set number of times", "Repeat until the key is pressed",
        "Repeat until the key is released", "Delete", "Insert Delay", "Insert Key",
        "Left Button", "Middle Button", "Right Button", "Press the key to insert", "Delay (ms)",
        "Please enter a name", "Select Macro", "The macro is full. No more events can be added.",
        "Please select an item first !", "Right-click here to add a folder or a macro."]

    property var macroNumberModel: []
    // The selection: the item's index path, its attributes and its folder path.
    property string currentPath: ""
    property int currentIndex: -1
    property int currentLevel: -1
    property int currentType: -1
    property string currentName: ""
    property var selectNames: ["", "", "", "", ""]
    // The selected macro's events ({ type, info }, info a stored key name) and the current row.
    property var rows: []
    property int currentRow: -1
    property alias repeatText: events.repeatText
    // The panes' parts the functions drive.
    readonly property alias treeList: tree.treeList
    readonly property alias treeMenu: tree.treeMenu
    readonly property alias eventRows: events.eventRows
    readonly property alias macroData_lv: events.macroData_lv
    readonly property alias recordBar: events.recordBar
    readonly property alias eventMenu: events.eventMenu
    readonly property alias insertBox: events.insertBox
    property bool isInputting: false
    property bool isInsertting: false
    property int macroRecordCount: 0
    property int insertCode: 0
    property int macroOption: 0
    // The last save of the selected macro's file failed (told once for a run of failures).
    property bool macroFileFailed: false
    // The length of the macro block the rows make, terminator included.
    readonly property int recordCount: MacroEdit.encodedLength(rows)
    readonly property bool isFull: recordCount >= MacroEdit.LIMIT
    readonly property var selectIndices: indicesOf(currentPath)
    readonly property int selectIndex0: selectIndices.length > 1 ? selectIndices[0] : -1
    readonly property int selectIndex1: selectIndices.length > 2 ? selectIndices[1] : -1
    readonly property int selectIndex2: selectIndices.length > 3 ? selectIndices[2] : -1
    readonly property int selectIndex3: selectIndices.length > 4 ? selectIndices[3] : -1
    readonly property int selectIndex4: selectIndices.length > 5 ? selectIndices[4] : -1
    readonly property string selectName0: selectNames[0]
    readonly property string selectName1: selectNames[1]
    readonly property string selectName2: selectNames[2]
    readonly property string selectName3: selectNames[3]
    readonly property string selectName4: selectNames[4]
    readonly property bool hasMacro: currentType === 0 && currentName !== ""

    signal deleteMacro(string macroName)
    signal modifyMacroName(int level, int type, string macroOldName, string macroNewName)
    signal modifyMacroData(string macroName)
    signal listViewFocus()
    signal btnClicked(int cmd)

    // The name box's purposes.
    readonly property int nameNewMacro: 101
    readonly property int nameNewFolder: 102
    readonly property int nameRename: 103
    readonly property int confirmDelete: 201

    function init() {
        stopRecord(false)
        macroNumberModel = MacroTree.read(ui_View)
        clearSelection()
        refreshTree()
    }

    function refreshTree() {
        treeList.show(MacroTree.visibleRows(macroNumberModel))
    }

    function indicesOf(path: string): var {
        return path === "" ? [] : path.split("/").map(Number)
    }

    function clearSelection() {
        currentPath = ""
        currentIndex = -1
        currentLevel = -1
        currentType = -1
        currentName = ""
        selectNames = ["", "", "", "", ""]
        showRows([], "1")
    }

    function selectPath(path: string) {
        if (isInputting)
            stopRecord(true)
        const indices = indicesOf(path)
        const item = MacroTree.at(macroNumberModel, indices)
        if (!item) {
            clearSelection()
            treeList.currentPath = ""
            return
        }
        currentPath = path
        currentIndex = indices[indices.length - 1]
        currentLevel = item.level
        currentType = item.macroType
        currentName = item.textValue
        const folders = MacroTree.folderPath(macroNumberModel, indices)
        selectNames = MacroTree.selectNames(folders.concat([item.textValue]))
        applySelection()
        treeList.currentPath = path
        if (currentType === 0) {
            const stored = MacroEdit.loaded(ui_View.loadMacroIni(currentLevel, currentName))
            showRows(stored.rows, stored.repeat)
        } else {
            showRows([], "1")
        }
    }

    // The library's operations find the selected item through its folder names.
    function applySelection() {
        ui_View.setMacroSelectName(selectNames[0], selectNames[1], selectNames[2], selectNames[3],
                                   selectNames[4])
    }

    function selectByName(names: var) {
        let list = macroNumberModel, indices = []
        for (const name of names) {
            const i = list.findIndex(n => n.textValue === name)
            if (i < 0)
                return false
            indices.push(i)
            if (indices.length < names.length) {
                list[i].open = true
                list = list[i].subNode
            }
        }
        refreshTree()
        selectPath(indices.join("/"))
        return true
    }

    function toggleFolder(path: string) {
        const item = MacroTree.at(macroNumberModel, indicesOf(path))
        if (!item || item.macroType !== 1)
            return
        item.open = !item.open
        refreshTree()
    }

    function showRows(newRows, repeat) {
        rows = newRows
        eventRows.clear()
        for (const row of newRows)
            eventRows.append({ type: row.type, info: row.info })
        currentRow = Math.min(currentRow, rows.length - 1)
        if (repeat !== undefined)
            recordBar.repeatText = repeat
    }

    // Writes the selected macro and tells the shell, which sends it again to its buttons.
    function autoSave() {
        if (!hasMacro)
            return false
        applySelection()
        const repeat = parseInt(MacroEdit.repeatText(recordBar.repeatText))
        const saved = ui_View.saveMacroIni(currentLevel, currentName,
                                           rows.map(MacroEdit.recordText), repeat)
        if (saved)
            modifyMacroData(currentName)
        else if (!macroFileFailed)
            warningAssigmentMain.showWarning(warningAssigmentMain.notSaved, ui_View.saveFailure())
        // Told once for a run of failed saves (every edit saves), again after one has gone through.
        macroFileFailed = !saved
        return saved
    }

    function change(result: var) {
        if (!result)
            return
        showRows(result.rows)
        currentRow = result.current
        autoSave()
    }

    // Recording: keyboard events from anywhere on the desktop, with the time between them.
    function startRecord() {
        if (!hasMacro) {
            tell(macroEditorLang[30])
            return
        }
        macroRecordCount = 0
        isInputting = true
        recordTimer.start()
    }

    function stopRecord(save: bool) {
        const was = isInputting
        recordTimer.stop()
        isInputting = false
        if (save && was)
            autoSave()
    }

    function detectKeyboard(isDown: bool, usbCode: int) {
        if (isInsertting) {
            if (isDown && usbCode < MacroEdit.FIRST_MOUSE_CODE)
                insertCode = usbCode
            return
        }
        detectInput(isDown, usbCode)
    }

    function detectInput(isDown: bool, usbCode: int) {
        if (!isInputting || !hasMacro)
            return
        const added = MacroEdit.recorded(rows, isDown, usbCode, macroRecordCount,
                                         recordBar.delayRecord.isSelect,
                                         c => _KeyCodeString.storedName(c))
        if (added.length === 0)
            return
        macroRecordCount = 0
        showRows(rows.concat(added))
        currentRow = rows.length - 1
        macroData_lv.positionViewAtEnd()
    }

    // The event menu.
    function eventCommand(index: int) {
        switch (index) {
        case 0:
            change(MacroEdit.remove(rows, currentRow))
            break
        case 1:
            change(MacroEdit.insertDelay(rows, currentRow))
            break
        case 2:
            if (!isFull) {
                insertCode = 0
                isInsertting = true
                insertBox.visible = true
            }
            break
        default:
            change(MacroEdit.addButton(rows, currentRow, ["MS-L", "MS-M", "MS-R"][index - 3]))
        }
    }

    function insertKeyAccepted() {
        isInsertting = false
        insertBox.visible = false
        if (insertCode !== 0)
            change(MacroEdit.insertKey(rows, currentRow, _KeyCodeString.storedName(insertCode)))
    }

    function editDelay(row: int, typed: string) {
        if (row < 0 || row >= rows.length || rows[row].type !== 0)
            return
        const text = MacroEdit.editedDelay(rows[row].info, typed)
        if (text === rows[row].info) {
            eventRows.setProperty(row, "info", text)
            return
        }
        const copy = rows.slice()
        copy[row] = { type: 0, info: text }
        change({ rows: copy, current: row })
    }

    function tell(text: string) {
        warningAssigmentMain.textValue = text
        warningAssigmentMain.show()
    }

    // The tree menu (MacroTreeMenu.js).
    function treeCommand(index: int) {
        MacroTreeMenu.treeCommand(index)
    }

    function createItem(type: int, name: string): bool {
        return MacroTreeMenu.createItem(type, name)
    }

    function renameSelected(name: string): bool {
        return MacroTreeMenu.renameSelected(name)
    }

    function removeSelected() {
        MacroTreeMenu.removeSelected()
    }

    function macroEditorFocus() {
        treeMenu.close()
        eventMenu.close()
        recordBar.countRecordInput.input.focus = false
    }

    function updateLang() {
        treeMenu.items = [2, 3, 4, 5, 6, 7, 8, 9].map(i => macroEditorLang[i])
        eventMenu.items = [19, 20, 21, 22, 23, 24].map(i => macroEditorLang[i])
    }

    objectName: "macroEditorMain"
    Component.onCompleted: updateLang()
    onMacroEditorLangChanged: updateLang()

    Timer {
        id: recordTimer

        interval: 10
        repeat: true
        onTriggered: editor.macroRecordCount += 1
    }

    Connections {
        target: mainIten

        function onMsg_KB(isDown, usbCode) {
            editor.detectKeyboard(isDown, usbCode)
        }
        function onClickMainFocus() {
            treeMenu.close()
            eventMenu.close()
        }
    }

    Connections {
        target: tooltipMain

        function onTooltipClickOK(btnIndex) {
            if (btnIndex === editor.confirmDelete) {
                tooltipMain.hide()
                editor.removeSelected()
            }
        }
    }

    Connections {
        target: inputAssigmentMain

        function onClickOK(type) {
            const name = inputAssigmentMain.textValue
            if (type === editor.nameNewMacro)
                editor.createItem(0, name)
            else if (type === editor.nameNewFolder)
                editor.createItem(1, name)
            else if (type === editor.nameRename)
                editor.renameSelected(name)
        }
    }

    Text {
        x: 16
        y: 10
        text: editor.macroEditorLang[0]
        color: mainIten.fontColor
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMaxSize
    }

    MacroEventPane {
        id: events

        anchors.fill: parent
        editor: editor
    }

    // After the events, so that the tree's menu opens over them.
    MacroTreePane {
        id: tree

        anchors.fill: parent
        editor: editor
    }
}
