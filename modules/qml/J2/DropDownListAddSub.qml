import QtQuick
import "../js/KeyAssign.js" as KeyAssign

// The menu of one button row: a header with the row's function and, beside it, the list of
// functions. Hovering an item opens its sub-menu or panel beside it and closes the others.
Item {
    id: rowMenu

    property int row: 0
    property bool isOffice: true
    property string textValue: ""
    property bool isDrop: false
    // Room from the header's top down to the page bottom, and up to the page top.
    property real spaceBelow: 400
    property real spaceAbove: 400
    // The item whose sub-menu or panel is open, -1 for none.
    property int openItem: -1
    // The arrow keys' marks in the list and in the open sub-menu (-1: none).
    property int cursor: -1
    property int subCursor: -1
    readonly property int itemHeight: 26
    readonly property int count: KeyAssign.itemCount(isOffice)
    readonly property int currentSelect: KeyAssign.markedItem(row, isOffice)
    readonly property var lang: keyAssigmentMain.keyAssigmentLang
    readonly property alias list: list
    readonly property Item firePanel: fireLoader.item
    readonly property Item combinationPanel: combinationLoader.item

    // A popup of height h that would start at `top` (header coordinates), moved up to stay in
    // the page.
    function fit(top: real, h: real): real {
        return Math.max(-spaceAbove + 4, Math.min(top, spaceBelow - h - 4))
    }

    function open() {
        openItem = -1
        subCursor = -1
        cursor = Math.max(0, currentSelect)
        isDrop = true
    }

    function close() {
        isDrop = false
        openItem = -1
        subCursor = -1
    }

    function toggle() {
        const wasOpen = isDrop
        mainIten.mainFocus() // closes every menu, this one too, and clears the selected row
        if (!wasOpen) {
            open()
            mouseMain.selectKey = row
        }
    }

    function refuseOnLeftButton() {
        close()
        mainIten.mainFocus()
        warningAssigmentMain.showWarning(warningAssigmentMain.leftButtonRule)
    }

    // The header shows the entry as the button list names it.
    function apply(entry: var, keyString: string) {
        keyAssigmentMain.setCurrent(entry, keyString)
        keyAssigmentMain.keyDefineSetting()
        textValue = keyAssigmentMain.rowTextOf(entry, isOffice ? "mouseMacroKey/"
                                                               : "mouseMacroKey2/")
        close()
    }

    function choose(index: int) {
        const item = KeyAssign.menu[index]
        if (item.code !== undefined) {
            if (KeyAssign.refusedOnRow(row, index))
                refuseOnLeftButton()
            else
                apply(KeyAssign.parseKeyCode(item.code), lang[item.label])
        } else if (item.panel === "macro") {
            if (row === 0) {
                refuseOnLeftButton()
                return
            }
            const target = row
            close()
            mainIten.mainFocus()
            mainIten.buildPart("macroKeyAssigmentMain").show(target, rowMenu)
        } else {
            openItem = index
        }
    }

    function chooseSub(index: int) {
        if (openItem < 0)
            return
        const sub = KeyAssign.menu[openItem].sub[index]
        if (row === 0)
            refuseOnLeftButton()
        else
            apply(KeyAssign.parseKeyCode(sub.code), lang[sub.label])
    }

    // The keyboard: Enter, Space or Down opens the list; Up and Down move in the list or the open
    // sub-menu; Right, Enter or Space opens an item's sub-menu or panel (the panel takes the
    // focus) or takes the item; Left closes a sub-menu; Home and End go to the list's ends; Esc
    // closes the topmost level.
    function keyPress(e: var) {
        const take = e.key === Qt.Key_Return || e.key === Qt.Key_Enter || e.key === Qt.Key_Space
        const vertical = e.key === Qt.Key_Down ? 1 : e.key === Qt.Key_Up ? -1 : 0
        e.accepted = true
        if (!isDrop) {
            if (take || vertical > 0) {
                toggle()
                forceActiveFocus()
            } else {
                e.accepted = false
            }
        } else if (subCursor >= 0) {
            if (vertical !== 0)
                subCursor = Math.max(0, Math.min(subMenu.items.length - 1, subCursor + vertical))
            else if (take || e.key === Qt.Key_Right)
                chooseSub(subCursor)
            else if (e.key === Qt.Key_Left || e.key === Qt.Key_Escape)
                openItem = subCursor = -1
            else
                e.accepted = false
        } else if (vertical !== 0 || e.key === Qt.Key_Home || e.key === Qt.Key_End) {
            openItem = -1
            cursor = e.key === Qt.Key_Home ? 0 : e.key === Qt.Key_End ? count - 1
                   : Math.max(0, Math.min(count - 1, cursor + vertical))
        } else if (take || e.key === Qt.Key_Right) {
            choose(cursor)
            if (openItem >= 0 && (KeyAssign.menu[openItem].sub ?? []).length > 0)
                subCursor = 0
            else if (openItem === 6)
                firePanel.takeFocus()
            else if (openItem === 7)
                combinationPanel.takeFocus()
        } else if (e.key === Qt.Key_Escape || e.key === Qt.Key_Left) {
            close()
        } else {
            if (e.key === Qt.Key_Tab || e.key === Qt.Key_Backtab)
                close()
            e.accepted = false
        }
    }

    width: 250
    height: 30
    z: isDrop ? 100 : 0
    activeFocusOnTab: true
    Keys.onPressed: e => keyPress(e)
    Accessible.role: Accessible.ButtonMenu
    Accessible.name: KeyAssign.rowNumbers[row] + " " + textValue
    Accessible.onPressAction: toggle()

    Connections {
        target: mainIten

        function onClickMainFocus() {
            rowMenu.close()
            mouseMain.selectKey = -1
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: 3
        color: mainIten.colorSurface1
        border.color: rowMenu.isDrop || headerArea.containsMouse ? mainIten.colorPrimary
                                                                  : mainIten.colorLine

        Text {
            objectName: rowMenu.objectName + "Text"
            anchors.left: parent.left
            anchors.leftMargin: 10
            anchors.right: arrow.left
            anchors.rightMargin: 4
            anchors.verticalCenter: parent.verticalCenter
            text: rowMenu.textValue
            elide: Text.ElideRight
            color: headerArea.containsMouse ? mainIten.colorPrimary : mainIten.fontColor
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontMinSize + 3
        }

        SkinImage {
            id: arrow

            anchors.right: parent.right
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            width: 12
            height: 12
            rotation: rowMenu.isDrop ? -90 : 0
            source: mainIten.sourceArrowDown
        }

        MouseArea {
            id: headerArea

            objectName: rowMenu.objectName + "Header"
            anchors.fill: parent
            hoverEnabled: true
            onClicked: rowMenu.toggle()
        }
    }

    Rectangle {
        id: list

        objectName: rowMenu.objectName + "List"
        x: rowMenu.width + 6
        y: rowMenu.fit(0, height)
        width: 176
        height: rowMenu.count * rowMenu.itemHeight + 4
        visible: rowMenu.isDrop
        radius: 3
        color: mainIten.colorSurface1
        border.color: mainIten.colorLine

        // Placed by index, not by a Column: entries built as the menu opens are where they
        // belong at once, before the next layout pass.
        Item {
            x: 2
            y: 2
            width: parent.width - 4

            // Built only while open: seven closed menus hold no entries.
            Repeater {
                model: rowMenu.isDrop ? rowMenu.count : 0

                MenuItem {
                    required property int index
                    readonly property var item: KeyAssign.menu[index]

                    objectName: rowMenu.objectName + "Item" + index
                    y: index * rowMenu.itemHeight
                    width: parent.width
                    height: rowMenu.itemHeight
                    textValue: rowMenu.lang[item.label] ?? ""
                    isMarked: index === rowMenu.currentSelect
                    isOpen: index === rowMenu.openItem
                    isCursor: index === rowMenu.cursor
                    hasMore: item.code === undefined && item.panel !== "macro"
                    onEntered: rowMenu.openItem = item.code === undefined && item.panel !== "macro"
                                                  ? index : -1
                    onClicked: rowMenu.choose(index)
                }
            }
        }
    }

    Rectangle {
        id: subMenu

        readonly property var items: rowMenu.openItem >= 0
                                     ? KeyAssign.menu[rowMenu.openItem].sub ?? [] : []

        objectName: rowMenu.objectName + "Sub"
        x: list.x + list.width + 2
        y: rowMenu.fit(list.y + 2 + rowMenu.openItem * rowMenu.itemHeight, height)
        width: 160
        height: items.length * rowMenu.itemHeight + 4
        visible: rowMenu.isDrop && items.length > 0
        radius: 3
        color: mainIten.colorSurface1
        border.color: mainIten.colorPrimary

        Column {
            x: 2
            y: 2
            width: parent.width - 4

            Repeater {
                model: subMenu.items.length

                MenuItem {
                    required property int index

                    objectName: rowMenu.objectName + "SubItem" + index
                    width: parent.width
                    height: rowMenu.itemHeight
                    textValue: rowMenu.lang[subMenu.items[index]?.label] ?? ""
                    isCursor: index === rowMenu.subCursor
                    onClicked: rowMenu.chooseSub(index)
                }
            }
        }
    }

    // The two panels exist only while open; each starts from its defaults when it opens.
    Loader {
        id: fireLoader

        x: list.x + list.width + 2
        y: rowMenu.fit(list.y + 2 + 6 * rowMenu.itemHeight, height)
        active: rowMenu.isDrop && rowMenu.openItem === 6
        sourceComponent: FireKeyAssigment {
            objectName: rowMenu.objectName + "Fire"
            lang: rowMenu.lang
            Component.onCompleted: reset()
            onAccepted: (entry, name) => {
                if (rowMenu.row === 0)
                    rowMenu.refuseOnLeftButton()
                else
                    rowMenu.apply(entry, name)
            }
            onCancelled: {
                rowMenu.openItem = -1
                rowMenu.forceActiveFocus()
            }
        }
    }

    Loader {
        id: combinationLoader

        x: list.x + list.width + 2
        y: rowMenu.fit(list.y + 2 + 7 * rowMenu.itemHeight, height)
        active: rowMenu.isDrop && rowMenu.openItem === 7
        sourceComponent: GroupKeyAssigment {
            objectName: rowMenu.objectName + "Combination"
            lang: rowMenu.lang
            Component.onCompleted: reset()
            onAccepted: (entry, text) => {
                if (rowMenu.row === 0)
                    rowMenu.refuseOnLeftButton()
                else
                    rowMenu.apply(entry, text)
            }
            onCancelled: {
                rowMenu.openItem = -1
                rowMenu.forceActiveFocus()
            }
        }
    }
}
