import QtQuick
import "../js/MacroTree.js" as MacroTree
import "../js/MacroEdit.js" as MacroEdit

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
        "Please select an item first !"]

    property var tree: []
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
    property alias repeatText: repeatInput.textValue
    property bool isInputting: false
    property bool isInsertting: false
    property int macroRecordCount: 0
    property int insertCode: 0
    property int macroOption: 0
    readonly property bool isFull: !MacroEdit.canAdd(rows)
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
        tree = MacroTree.read(ui_View)
        clearSelection()
        refreshTree()
    }

    function refreshTree() {
        treeList.show(MacroTree.visibleRows(tree))
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
        const item = MacroTree.at(tree, indices)
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
        const folders = MacroTree.folderPath(tree, indices)
        selectNames = MacroTree.selectNames(folders.concat([item.textValue]))
        ui_View.setMacroSelectName(selectNames[0], selectNames[1], selectNames[2], selectNames[3],
                                   selectNames[4])
        treeList.currentPath = path
        if (currentType === 0) {
            const stored = MacroEdit.loaded(ui_View.loadMacroIni(currentLevel, currentName))
            showRows(stored.rows, stored.repeat)
        } else {
            showRows([], "1")
        }
    }

    function selectByName(names: var) {
        let list = tree, indices = []
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
        const item = MacroTree.at(tree, indicesOf(path))
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
            repeatInput.textValue = repeat
    }

    // Writes the selected macro and tells the shell, which sends it again to its buttons.
    function autoSave() {
        if (!hasMacro)
            return false
        ui_View.setMacroSelectName(selectNames[0], selectNames[1], selectNames[2], selectNames[3],
                                   selectNames[4])
        const saved = ui_View.saveMacroIni(currentLevel, currentName, rows.map(MacroEdit.recordText),
                                           parseInt(MacroEdit.repeatText(repeatInput.textValue)))
        if (saved)
            modifyMacroData(currentName)
        return saved
    }

    function change(result: var) {
        if (!result)
            return
        currentRow = result.current
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
                                         delayRecord.isSelect, c => _KeyCodeString.storedName(c))
        if (added.length === 0)
            return
        macroRecordCount = 0
        showRows(rows.concat(added))
        currentRow = rows.length - 1
        eventList.positionViewAtEnd()
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

    // The tree menu.
    function treeCommand(index: int) {
        switch (index) {
        case 0: // rename
            if (currentName === "")
                tell(macroEditorLang[30])
            else
                askName(nameRename, currentName)
            break
        case 1:
            if (currentName === "") {
                tell(macroEditorLang[30])
            } else {
                tooltipMain.btnIndex = confirmDelete
                tooltipMain.titleText = macroEditorLang[3]
                tooltipMain.textValue = warningAssigmentMain.warningAssigmentLang[7]
                tooltipMain.show()
            }
            break
        case 2:
            importMacro()
            break
        case 3:
            if (hasMacro)
                ui_View.saveMacroFile(currentLevel, currentName)
            else
                warningAssigmentMain.showWarning(5)
            break
        case 4:
            if (targetLevel() > MacroTree.MAX_FOLDER_LEVEL)
                warningAssigmentMain.showWarning(3)
            else
                askName(nameNewFolder, "")
            break
        case 5:
            askName(nameNewMacro, "")
            break
        case 6:
            batchImport()
            break
        case 7:
            batchExport()
            break
        }
    }

    function askName(purpose: int, text: string) {
        inputAssigmentMain.titleText = macroEditorLang[27]
        inputAssigmentMain.showFor(purpose, text)
    }

    // Where a new item goes: inside the selected folder, else in the root.
    function targetIndices(): var {
        return currentType === 1 ? indicesOf(currentPath) : []
    }

    function targetLevel(): int {
        return targetIndices().length
    }

    function childrenAt(indices: var): var {
        return indices.length === 0 ? tree : MacroTree.at(tree, indices).subNode
    }

    function folderNamesAt(indices: var): var {
        const names = MacroTree.folderPath(tree, indices)
        if (indices.length > 0)
            names.push(MacroTree.at(tree, indices).textValue)
        return names
    }

    // Rewrites the catalogue lists of the folder at `indices` and of every folder below it.
    function writeFolders(indices: var, att: int) {
        const path = folderNamesAt(indices)
        const list = childrenAt(indices)
        MacroTree.renumber(list, indices.length, indices)
        MacroTree.writeFolder(ui_View, path, list, att)
        for (let i = 0; i < list.length; ++i) {
            if (list[i].macroType === 1)
                writeFolders(indices.concat([i]), 1)
        }
    }

    // False, with the warning, when the name cannot join the folder at `indices`.
    function nameFree(indices: var, name: string): bool {
        if (MacroTree.hasName(childrenAt(indices), name)) {
            warningAssigmentMain.showWarning(4)
            return false
        }
        return true
    }

    function createItem(type: int, name: string): bool {
        if (name === "")
            return false
        const indices = targetIndices()
        const level = indices.length
        if (type === 1 && level > MacroTree.MAX_FOLDER_LEVEL) {
            warningAssigmentMain.showWarning(3)
            return false
        }
        if (!nameFree(indices, name))
            return false
        MacroTree.select(ui_View, folderNamesAt(indices))
        const list = childrenAt(indices)
        if (ui_View.createMacroIni(name, list.length, level, type) !== true)
            return false
        list.push(MacroTree.node(name, type, level, indices))
        if (indices.length > 0)
            MacroTree.at(tree, indices).open = true
        writeFolders(indices, 0)
        refreshTree()
        selectPath(indices.concat([list.length - 1]).join("/"))
        return true
    }

    function renameSelected(name: string): bool {
        if (name === "" || name === currentName || currentName === "")
            return false
        const indices = indicesOf(currentPath)
        const parent = indices.slice(0, -1)
        // Files of one folder cannot share a name: the rename would fail on disk.
        if (!nameFree(parent, name))
            return false
        const item = MacroTree.at(tree, indices)
        const oldName = item.textValue
        // The folder groups of the catalogue are named by their paths, which change.
        const oldFolders = MacroTree.foldersOf(item, folderNamesAt(indices))
        for (const path of oldFolders)
            ui_View.updataMacroList_delOld(path.join(""))
        ui_View.setMacroSelectName(selectNames[0], selectNames[1], selectNames[2], selectNames[3],
                                   selectNames[4])
        modifyMacroName(currentLevel, currentType, oldName, name)
        item.textValue = name
        writeFolders(parent, 1)
        refreshTree()
        selectPath(currentPath)
        return true
    }

    function macroNames(item: var): var {
        if (item.macroType === 0)
            return [item.textValue]
        let names = []
        for (const child of item.subNode)
            names = names.concat(macroNames(child))
        return names
    }

    function removeSelected() {
        const indices = indicesOf(currentPath)
        const item = MacroTree.at(tree, indices)
        if (!item)
            return
        const parent = indices.slice(0, -1)
        const folders = MacroTree.foldersOf(item, folderNamesAt(indices))
        const gone = macroNames(item)
        const level = currentLevel, type = currentType, name = currentName
        stopRecord(false)
        showRows([], "1")
        ui_View.setMacroSelectName(selectNames[0], selectNames[1], selectNames[2], selectNames[3],
                                   selectNames[4])
        if (ui_View.deleteMacroIni(level, type, name) !== true) {
            selectPath(currentPath)
            return
        }
        for (const path of folders)
            ui_View.updataMacroList_delOld(path.join(""))
        childrenAt(parent).splice(indices[indices.length - 1], 1)
        writeFolders(parent, 0)
        clearSelection()
        refreshTree()
        // A button keeps playing a macro of the same name that is still in the library.
        for (const macro of gone) {
            if (!MacroTree.findMacro(tree, macro))
                deleteMacro(macro)
        }
    }

    function importMacro() {
        const indices = targetIndices()
        const name = ui_View.loadMacroFile(currentType === 1 ? currentLevel : -1,
                                           currentType === 1 ? 1 : 0)
        if (!name)
            return
        const list = childrenAt(indices)
        if (MacroTree.hasName(list, name)) {
            warningAssigmentMain.showWarning(2)
            return
        }
        const path = folderNamesAt(indices)
        MacroTree.select(ui_View, path)
        if (ui_View.loadMacroIni(path.length, name).length === 0)
            return // the copy did not happen
        list.push(MacroTree.node(name, 0, path.length, indices))
        writeFolders(indices, 0)
        refreshTree()
    }

    // A batch import copies a folder tree into the root. The core lists what it copied by depth;
    // each name is put under the folder that holds it on disk.
    function batchImport() {
        if (currentType === 1 && currentLevel >= MacroTree.MAX_FOLDER_LEVEL) {
            warningAssigmentMain.showWarning(3)
            return
        }
        const top = ui_View.loadMacroFile_batch()
        if (!top)
            return
        ui_View.loadMacroFile_sub_batch()
        if (MacroTree.hasName(tree, top)) {
            warningAssigmentMain.showWarning(2)
            return
        }
        const root = MacroTree.node(top, 1, 0, [])
        let parents = [{ item: root, path: [top] }]
        for (let depth = 1; depth <= MacroTree.MAX_LEVEL; ++depth) {
            const files = Array.from(ui_View.getMacroFileName_batch(depth, 0))
            for (const parent of parents) {
                MacroTree.select(ui_View, parent.path)
                for (const file of files) {
                    if (!MacroTree.hasName(parent.item.subNode, file)
                            && ui_View.loadMacroIni(depth, file).length > 0)
                        parent.item.subNode.push(MacroTree.node(file, 0, depth, []))
                }
            }
            if (depth > MacroTree.MAX_FOLDER_LEVEL)
                break
            const next = []
            for (const folder of Array.from(ui_View.getMacroFileName_batch(depth, 1))) {
                // A folder name of several parents goes to the one that holds one of its files.
                const owner = parents.length === 1 ? parents[0] : parents.find(p => {
                    MacroTree.select(ui_View, p.path.concat([folder]))
                    return Array.from(ui_View.getMacroFileName_batch(depth + 1, 0))
                               .some(f => ui_View.loadMacroIni(depth + 1, f).length > 0)
                }) ?? parents[0]
                if (MacroTree.hasName(owner.item.subNode, folder))
                    continue
                const item = MacroTree.node(folder, 1, depth, [])
                owner.item.subNode.push(item)
                next.push({ item: item, path: owner.path.concat([folder]) })
            }
            parents = next
        }
        tree.push(root)
        writeFolders([], 0)
        refreshTree()
    }

    function batchExport() {
        ui_View.getbatchPath()
        function exportFolder(list, path) {
            MacroTree.select(ui_View, path)
            ui_View.saveMacroFile_batch(path.length, list.map(n => n.textValue),
                                        list.map(n => n.macroType))
            for (const item of list) {
                if (item.macroType === 1)
                    exportFolder(item.subNode, path.concat([item.textValue]))
            }
        }
        exportFolder(tree, [])
    }

    function macroEditorFocus() {
        treeMenu.close()
        eventMenu.close()
        repeatInput.input.focus = false
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

    PanelLabel { x: 16; y: 42; text: editor.macroEditorLang[1] }

    MacroTreeList {
        id: treeList

        objectName: "macroTree"
        x: 16
        y: 64
        width: 250
        height: 300
        onItemClicked: path => {
            editor.macroEditorFocus()
            editor.selectPath(path)
        }
        onItemDoubleClicked: path => editor.toggleFolder(path)
        onMenuRequested: (path, px, py) => treeMenu.openAt(treeList.x + px, treeList.y + py)
    }

    PanelLabel { x: 16; y: 376; text: editor.macroEditorLang[15] }

    Column {
        x: 16
        y: 400
        spacing: 8

        Repeater {
            model: 3

            RadioButton {
                objectName: "macroOption" + index
                textValue: editor.macroEditorLang[16 + index]
                isSelect: editor.macroOption === index
                index: model.index
                gapValue: 8
                onBtnClick: i => editor.macroOption = i
            }
        }
    }

    PanelLabel { x: 282; y: 42; text: editor.macroEditorLang[10] }

    Rectangle {
        id: eventFrame

        x: 282
        y: 64
        width: 294
        height: 300
        color: mainIten.colorSurface0
        border.color: mainIten.colorLine
        radius: 3
        clip: true

        ListModel { id: eventRows }

        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.RightButton
            onClicked: mouse => {
                if (editor.hasMacro)
                    eventMenu.openAt(eventFrame.x + mouse.x, eventFrame.y + mouse.y)
            }
        }

        ListView {
            id: eventList

            objectName: "macroEvents"
            anchors.fill: parent
            anchors.margins: 2
            model: eventRows
            boundsBehavior: Flickable.StopAtBounds
            interactive: contentHeight > height

            delegate: Rectangle {
                id: eventRow

                required property int index
                required property int type
                required property string info

                objectName: "macroEvent" + index
                width: eventList.width
                height: 24
                color: index === editor.currentRow ? mainIten.colorSurface2 : "transparent"

                SkinImage {
                    objectName: "macroEventIcon" + eventRow.index
                    x: 6
                    anchors.verticalCenter: parent.verticalCenter
                    width: 16
                    height: 16
                    source: [mainIten.sourceMacroDelay, mainIten.sourceMacroKeyDown,
                             mainIten.sourceMacroKeyUp, mainIten.sourceMacroMouseDown,
                             mainIten.sourceMacroMouseUp][type] ?? ""
                }

                Text {
                    objectName: "macroEventText" + eventRow.index
                    x: 30
                    height: parent.height
                    verticalAlignment: Text.AlignVCenter
                    visible: !delayField.visible
                    text: type === 0 ? info + " ms" : _KeyCodeString.shownName(info)
                    color: index === editor.currentRow ? mainIten.colorPrimary : mainIten.fontColor
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontMinSize + 2
                }

                MouseArea {
                    anchors.fill: parent
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onClicked: mouse => {
                        editor.currentRow = eventRow.index
                        if (mouse.button === Qt.RightButton) {
                            const p = mapToItem(editor, mouse.x, mouse.y)
                            eventMenu.openAt(p.x, p.y)
                        }
                    }
                    onDoubleClicked: {
                        if (eventRow.type === 0) {
                            delayField.text = eventRow.info
                            delayField.visible = true
                            delayField.forceActiveFocus()
                            delayField.selectAll()
                        }
                    }
                }

                TextInput {
                    id: delayField

                    objectName: "macroDelayField" + eventRow.index
                    x: 30
                    width: 80
                    height: parent.height
                    visible: false
                    verticalAlignment: TextInput.AlignVCenter
                    maximumLength: 5
                    selectByMouse: true
                    color: mainIten.colorPrimary
                    selectionColor: mainIten.colorPrimary
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontMinSize + 2
                    function accept() {
                        if (!visible)
                            return
                        visible = false
                        editor.editDelay(eventRow.index, text)
                    }
                    Keys.onReturnPressed: accept()
                    Keys.onEnterPressed: accept()
                    onActiveFocusChanged: if (!activeFocus) accept()
                }
            }
        }
    }

    Row {
        x: 282
        y: 374
        spacing: 12

        TextButton {
            objectName: "macroRecord"
            width: 100
            textValue: editor.macroEditorLang[11]
            textColor: editor.isInputting ? mainIten.colorAccent : mainIten.fontColor
            onClicked: editor.startRecord()
        }

        TextButton {
            objectName: "macroStop"
            width: 100
            textValue: editor.macroEditorLang[12]
            onClicked: editor.stopRecord(true)
        }

        SkinImage {
            anchors.verticalCenter: parent.verticalCenter
            width: 18
            height: 18
            source: editor.isInputting ? mainIten.sourceMacroRecord : mainIten.sourceMacroStop
        }
    }

    CheckBox {
        id: delayRecord

        objectName: "macroDelayRecord"
        x: 282
        y: 414
        isSelect: true
        textValue: editor.macroEditorLang[13]
    }

    PanelLabel {
        x: 282
        y: 446
        height: 24
        verticalAlignment: Text.AlignVCenter
        text: editor.macroEditorLang[14]
    }

    RectInput {
        id: repeatInput

        objectName: "macroRepeat"
        x: 480
        y: 446
        width: 70
        maxValue: 65535
        minValue: 0
        textValue: "1"
        Component.onCompleted: input.maximumLength = 5
        onInputSignal: mainIten.mainFocus()
        onEndInputSignal: {
            textValue = MacroEdit.repeatText(textValue)
            editor.autoSave()
        }
    }

    Text {
        x: 282
        y: 480
        width: 294
        visible: editor.hasMacro && editor.isFull
        wrapMode: Text.Wrap
        text: editor.macroEditorLang[29]
        color: mainIten.colorAccent
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize
    }

    ContextMenu {
        id: treeMenu

        objectName: "macroTreeMenu"
        onChosen: index => editor.treeCommand(index)
    }

    ContextMenu {
        id: eventMenu

        objectName: "macroEventMenu"
        onChosen: index => editor.eventCommand(index)
    }

    // The insert-key box: the next key pressed anywhere is the key to insert.
    Rectangle {
        id: insertBox

        objectName: "macroInsertBox"
        x: 300
        y: 150
        z: 60
        width: 260
        height: 120
        visible: false
        radius: 4
        color: mainIten.colorSurface1
        border.color: mainIten.colorPrimary

        MouseArea { anchors.fill: parent }

        Text {
            x: 12
            y: 10
            width: parent.width - 24
            text: editor.macroEditorLang[25]
            elide: Text.ElideRight
            color: mainIten.colorGray3
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontMinSize + 2
        }

        Text {
            objectName: "macroInsertKey"
            anchors.horizontalCenter: parent.horizontalCenter
            y: 38
            text: editor.insertCode ? _KeyCodeString.keycodeTostr(editor.insertCode) : "-"
            color: mainIten.colorPrimary
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontMaxSize
        }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 10
            spacing: 12

            TextButton {
                objectName: "macroInsertCancel"
                textValue: mainIten.keyMatrixLang[9]
                onClicked: {
                    editor.isInsertting = false
                    insertBox.visible = false
                }
            }

            TextButton {
                objectName: "macroInsertOK"
                textValue: mainIten.keyMatrixLang[10]
                onClicked: editor.insertKeyAccepted()
            }
        }
    }
}
