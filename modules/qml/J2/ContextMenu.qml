import QtQuick

// A right-click menu: a column of texts; a click reports the item's position and closes it.
Rectangle {
    id: menu

    property var items: []
    property int itemHeight: 24

    signal chosen(int index)

    function openAt(px: real, py: real) {
        x = Math.max(0, Math.min(px, parent.width - width))
        y = Math.max(0, Math.min(py, parent.height - height))
        visible = true
    }

    function close() {
        visible = false
    }

    visible: false
    z: 50
    width: 150
    height: items.length * itemHeight + 4
    radius: 3
    color: mainIten.colorSurface1
    border.color: mainIten.colorPrimary

    Column {
        x: 2
        y: 2

        Repeater {
            model: menu.items

            Rectangle {
                width: menu.width - 4
                height: menu.itemHeight
                color: area.containsMouse ? mainIten.colorSurface2 : "transparent"

                Text {
                    anchors.fill: parent
                    anchors.leftMargin: 8
                    verticalAlignment: Text.AlignVCenter
                    text: modelData
                    elide: Text.ElideRight
                    color: area.containsMouse ? mainIten.colorPrimary : mainIten.fontColor
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontMinSize + 2
                }

                MouseArea {
                    id: area

                    objectName: menu.objectName + "Item" + index
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: {
                        menu.close()
                        menu.chosen(index)
                    }
                }
            }
        }
    }
}
