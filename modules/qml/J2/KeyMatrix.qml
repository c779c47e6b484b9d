import QtQuick
import "../js/KeyAssign.js" as KeyAssign

// The button list: two tables of sixteen entries (office and game mode), their defaults, and one
// row with a menu per button the mouse has. Edits only change the tables; saveData() stores and
// sends them.
Item {
    id: keyMatrix

    property bool isSave: false
    property bool isOfficeMode: true
    property ListModel modKeys: ListModel {}
    property ListModel modKeys2: ListModel {}
    property ListModel modKeys_tmp: ListModel {}
    property ListModel modKeys_tmp2: ListModel {}
    // Where the rows' menus may open: the page's top and bottom, in this item's coordinates.
    property real menuTop: 0
    property real menuBottom: height

    function entryOf(list: ListModel, i: int): var {
        const e = list.get(i)
        return [e.keyCode0, e.keyCode1, e.keyCode2, e.keyCode3]
    }

    function setEntries(list: ListModel, entries: var) {
        list.clear()
        for (const e of entries)
            list.append({ keyCode0: e[0], keyCode1: e[1], keyCode2: e[2], keyCode3: e[3],
                          keyText: "" })
    }

    // Loads both tables from the profile (isRecovery: from the defaults) and, when asked,
    // sends them. Returns false when a send did not reach the mouse.
    function init(isSendData: bool, isRecovery: bool): bool {
        for (const [mode, list, defaults] of [[0, modKeys, modKeys_tmp], [1, modKeys2, modKeys_tmp2]]) {
            for (let j = 0; j < KeyAssign.kEntries; ++j) {
                const stored = ui_View.mouseGetKeydefine(mode, j, isRecovery) ?? []
                // A missing or short entry keeps the button's default rather than a blank one.
                const entry = stored.length >= 4 ? stored.slice(0, 4).map(Number)
                                                 : entryOf(defaults, j)
                list.set(j, { keyCode0: entry[0], keyCode1: entry[1], keyCode2: entry[2],
                              keyCode3: entry[3] })
            }
        }
        updateKeyLang()
        return isSendData ? saveData() : true
    }

    function tableOf(list: ListModel): var {
        const table = []
        for (let i = 0; i < KeyAssign.kEntries; ++i)
            table.push(...entryOf(list, i))
        return table
    }

    // Stores both tables and sends the current mode's one with the periods of the three guns
    // (the stored ones until the gun editor is built).
    function saveData(): bool {
        const periods = mainIten.gunControlMain?.slotPeriods() ?? ui_View.storedGunPeriods()
        return ui_View.mouseSetKeyMatrix(mainIten.mouseMode, tableOf(modKeys), tableOf(modKeys2),
                                         true, periods) === true
    }

    function initMode(mode: int) {
        isOfficeMode = mode === 0
    }

    function resetKey(isSendData: bool) {
        isSave = true
        mainIten.initDropDownList()
    }

    function updateKeyLang() {
        for (const [list, group] of [[modKeys, "mouseMacroKey/"], [modKeys_tmp, "mouseMacroKey/"],
                                     [modKeys2, "mouseMacroKey2/"], [modKeys_tmp2, "mouseMacroKey2/"]]) {
            for (let i = 0; i < list.count; ++i)
                list.setProperty(i, "keyText", keyAssigmentMain.labelOf(entryOf(list, i), group))
        }
        refreshRows()
    }

    function updateLang() {
        updateKeyLang()
    }

    // The closed menus show the current mode's entries.
    function refreshRows() {
        const office = mainIten.mouseMode === 0
        const list = office ? modKeys : modKeys2
        for (let r = 0; r < rows.count; ++r) {
            const row = rows.itemAt(r)
            if (row)
                row.menu.textValue = keyAssigmentMain.rowTextOf(entryOf(list, r),
                                                                office ? "mouseMacroKey/"
                                                                       : "mouseMacroKey2/")
        }
    }

    function restore() {
        init(false, true)
        resetKey(false)
    }

    objectName: "keyMatrixMain"

    Component.onCompleted: {
        // The buttons' built-in functions, as the core keeps them (entries 14 and 15, type 0xFF,
        // are never shown and pass through unchanged).
        const office = ui_View.buttonDefaults(0)
        const game = ui_View.buttonDefaults(1)
        setEntries(modKeys_tmp, office)
        setEntries(modKeys_tmp2, game)
        setEntries(modKeys, office)
        setEntries(modKeys2, game)
    }

    Connections {
        target: mainIten

        function onInitDropDownList() {
            keyMatrix.updateKeyLang()
        }
    }

    ImageButton {
        objectName: "keyRestoreBtn"
        accessibleName: mainIten.keyMatrixLang[14]
        anchors.right: parent.right
        anchors.rightMargin: 18
        y: -44
        width: 32
        height: 28
        source: mainIten.sourceBack
        onClicked: {
            mainIten.mainFocus()
            keyMatrix.restore()
        }
    }

    Repeater {
        id: rows

        model: KeyAssign.kMaxRows

        Item {
            id: rowItem

            required property int index
            readonly property alias menu: rowMenu

            objectName: "keyRow" + index
            x: 18
            y: index * 52
            width: rowMenu.x + rowMenu.width + 10
            height: 40
            z: rowMenu.isDrop ? 10 : 0
            visible: index < mouseMain.keyCount

            Rectangle {
                anchors.fill: parent
                radius: 5
                color: mouseMain.selectKey === rowItem.index ? mainIten.colorSurface2
                                                             : "transparent"
                border.color: mainIten.colorLine
            }

            Text {
                x: 12
                anchors.verticalCenter: parent.verticalCenter
                text: KeyAssign.rowNumbers[rowItem.index]
                color: mouseMain.selectKey === rowItem.index ? mainIten.colorPrimary
                                                             : mainIten.colorGray3
                font.family: mainIten.fontFamily
                font.pixelSize: 22
            }

            DropDownListAddSub {
                id: rowMenu

                objectName: "keyMenu" + rowItem.index
                x: 52
                anchors.verticalCenter: parent.verticalCenter
                row: rowItem.index
                isOffice: keyMatrix.isOfficeMode
                // The list stays inside the page.
                spaceBelow: keyMatrix.menuBottom - rowItem.y - y
                spaceAbove: rowItem.y + y - keyMatrix.menuTop
            }
        }
    }
}
