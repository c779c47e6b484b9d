import QtQuick

// One entry of a row menu: primary under the mouse and when marked; `hasMore` shows that it
// opens something beside it.
Rectangle {
    id: menuItem

    property string textValue: ""
    property bool isMarked: false
    property bool isOpen: false
    property bool hasMore: false
    // The arrow keys' mark.
    property bool isCursor: false

    signal entered()
    signal clicked()

    radius: 2
    color: area.containsMouse || isOpen || isCursor ? mainIten.colorSurface2 : "transparent"
    Accessible.role: Accessible.MenuItem
    Accessible.name: textValue
    Accessible.onPressAction: clicked()

    Rectangle {
        x: 0
        width: 3
        height: parent.height - 8
        anchors.verticalCenter: parent.verticalCenter
        radius: 1
        color: mainIten.colorPrimary
        visible: menuItem.isMarked
    }

    Text {
        anchors.left: parent.left
        anchors.leftMargin: 10
        anchors.right: more.left
        anchors.verticalCenter: parent.verticalCenter
        text: menuItem.textValue
        elide: Text.ElideRight
        color: area.containsMouse || menuItem.isMarked || menuItem.isOpen || menuItem.isCursor
               ? mainIten.colorPrimary : mainIten.fontColor
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize + 2
    }

    SkinImage {
        id: more

        anchors.right: parent.right
        anchors.rightMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        width: menuItem.hasMore ? 10 : 0
        height: 10
        rotation: -90
        visible: menuItem.hasMore
        source: mainIten.sourceArrowDown
    }

    MouseArea {
        id: area

        anchors.fill: parent
        hoverEnabled: true
        onContainsMouseChanged: {
            if (containsMouse)
                menuItem.entered()
        }
        onClicked: menuItem.clicked()
    }
}
