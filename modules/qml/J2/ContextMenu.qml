import QtQuick

// A right-click menu: a column of texts; a click reports the item's position and closes it.
Rectangle {
    id: menu

    property var items: []
    property int itemHeight: 24
    // The arrow keys' mark, and where the focus was when the menu opened (it goes back there).
    property int cursor: 0
    property Item focusBefore: null

    signal chosen(int index)

    function openAt(px: real, py: real) {
        x = Math.max(0, Math.min(px, parent.width - width))
        y = Math.max(0, Math.min(py, parent.height - height))
        cursor = 0
        focusBefore = Window.activeFocusItem
        visible = true
        forceActiveFocus()
    }

    // Opened from the keyboard (the menu key or Shift+F10 on `item`): beside the item.
    function openBeside(item: Item) {
        const p = item.mapToItem(parent, item.width / 2, item.height / 2)
        openAt(p.x, p.y)
    }

    function close() {
        const hadFocus = activeFocus
        visible = false
        if (hadFocus && focusBefore && focusBefore.visible)
            focusBefore.forceActiveFocus()
        focusBefore = null
    }

    function take(index: int) {
        close()
        chosen(index)
    }

    visible: false
    Keys.onUpPressed: cursor = Math.max(0, cursor - 1)
    Keys.onDownPressed: cursor = Math.min(items.length - 1, cursor + 1)
    Keys.onReturnPressed: take(cursor)
    Keys.onEnterPressed: take(cursor)
    Keys.onSpacePressed: take(cursor)
    Keys.onEscapePressed: close()
    Keys.onTabPressed: close()
    Accessible.role: Accessible.PopupMenu
    z: 50
    width: 150
    height: items.length * itemHeight + 4
    radius: 3
    color: mainIten.colorSurface1
    border.color: mainIten.colorPrimary

    // Built only while open, and placed by index so that the entries are in place at once.
    Item {
        x: 2
        y: 2

        Repeater {
            model: menu.visible ? menu.items : []

            Rectangle {
                y: index * menu.itemHeight
                width: menu.width - 4
                height: menu.itemHeight
                color: area.containsMouse || index === menu.cursor ? mainIten.colorSurface2
                                                                    : "transparent"
                Accessible.role: Accessible.MenuItem
                Accessible.name: modelData
                Accessible.onPressAction: menu.take(index)

                Text {
                    anchors.fill: parent
                    anchors.leftMargin: 8
                    verticalAlignment: Text.AlignVCenter
                    text: modelData
                    elide: Text.ElideRight
                    color: area.containsMouse || index === menu.cursor ? mainIten.colorPrimary
                                                                        : mainIten.fontColor
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontMinSize + 2
                }

                MouseArea {
                    id: area

                    objectName: menu.objectName + "Item" + index
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: menu.take(index)
                }
            }
        }
    }
}
