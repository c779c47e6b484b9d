import QtQuick

// The macro library as an indented list of its open folders' items, shared by the macro editor
// and the macro chooser. Rows are identified by their index path ("0/2/1").
Rectangle {
    id: treeList

    property alias model: rows
    property string currentPath: ""
    property string accessibleName: ""

    signal itemClicked(string path)
    signal itemDoubleClicked(string path)
    signal menuRequested(string path, real px, real py)

    // The rows of `tree` whose folders are open (MacroTree.visibleRows).
    function show(visible: var) {
        rows.clear()
        for (const row of visible)
            rows.append(row)
    }

    // The on-screen row of `path`, for the tests' and the driver's clicks.
    function rowOf(path: string): int {
        for (let i = 0; i < rows.count; ++i) {
            if (rows.get(i).path === path)
                return i
        }
        return -1
    }

    // The keyboard: Up and Down move through the rows, Enter opens as a double click does, the
    // menu key or Shift+F10 opens the row's menu (the list's, when it is empty).
    function keyPress(e: var) {
        const row = rowOf(currentPath)
        if (e.key === Qt.Key_Up || e.key === Qt.Key_Down) {
            const next = Math.max(0, Math.min(rows.count - 1,
                                              row + (e.key === Qt.Key_Down ? 1 : -1)))
            if (next >= 0 && next < rows.count) {
                itemClicked(rows.get(next).path)
                view.positionViewAtIndex(next, ListView.Contain)
            }
        } else if (e.key === Qt.Key_Return || e.key === Qt.Key_Enter) {
            if (row >= 0)
                itemDoubleClicked(currentPath)
        } else if (e.key === Qt.Key_Menu
                   || e.key === Qt.Key_F10 && (e.modifiers & Qt.ShiftModifier)) {
            const item = row >= 0 ? view.itemAtIndex(row) : null
            const p = item ? item.mapToItem(treeList, 40, item.height / 2) : Qt.point(20, 20)
            menuRequested(row >= 0 ? currentPath : "", p.x, p.y)
        } else {
            return
        }
        e.accepted = true
    }

    color: mainIten.colorSurface0
    border.color: mainIten.colorLine
    radius: 3
    clip: true
    activeFocusOnTab: true
    Keys.onPressed: e => keyPress(e)
    Accessible.role: Accessible.List
    Accessible.name: accessibleName

    ListModel { id: rows }

    MouseArea {
        objectName: treeList.objectName + "Empty"
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onClicked: mouse => {
            if (mouse.button === Qt.RightButton)
                treeList.menuRequested("", mouse.x, mouse.y)
            else
                treeList.itemClicked("")
        }
    }

    ListView {
        id: view

        anchors.fill: parent
        anchors.margins: 2
        model: rows
        boundsBehavior: Flickable.StopAtBounds
        interactive: contentHeight > height

        delegate: Rectangle {
            required property int index
            required property string textValue
            required property int macroType
            required property int indent
            required property bool isOpen
            required property string path

            objectName: treeList.objectName + "Row" + index
            width: view.width
            height: 24
            color: path === treeList.currentPath ? mainIten.colorSurface2 : "transparent"
            Accessible.role: Accessible.ListItem
            Accessible.name: textValue
            Accessible.selected: path === treeList.currentPath

            Rectangle {
                width: 3
                height: parent.height
                color: mainIten.colorPrimary
                visible: path === treeList.currentPath
            }

            SkinImage {
                x: indent
                anchors.verticalCenter: parent.verticalCenter
                width: 16
                height: 16
                source: macroType === 1 ? (isOpen ? mainIten.sourceMacroFolderOpen
                                                  : mainIten.sourceMacroFolder)
                                        : mainIten.sourceMacroFile
            }

            Text {
                x: indent + 22
                width: parent.width - x - 4
                height: parent.height
                verticalAlignment: Text.AlignVCenter
                text: textValue
                elide: Text.ElideRight
                color: path === treeList.currentPath || rowArea.containsMouse
                       ? mainIten.colorPrimary : mainIten.fontColor
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontMinSize + 2
            }

            MouseArea {
                id: rowArea

                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onClicked: mouse => {
                    treeList.itemClicked(path)
                    if (mouse.button === Qt.RightButton) {
                        const p = mapToItem(treeList, mouse.x, mouse.y)
                        treeList.menuRequested(path, p.x, p.y)
                    }
                }
                onDoubleClicked: mouse => {
                    if (mouse.button === Qt.LeftButton)
                        treeList.itemDoubleClicked(path)
                }
            }
        }
    }
}
