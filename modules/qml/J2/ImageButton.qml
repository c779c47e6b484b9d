import QtQuick

// An icon button of the title bar and the panels; a soft plate marks it under the mouse.
Item {
    id: imageButton

    property string source: ""
    property color hoverColor: mainIten.colorPrimary
    readonly property bool hovered: area.containsMouse

    signal clicked()

    width: 28
    height: 24

    Rectangle {
        anchors.fill: parent
        radius: 3
        color: imageButton.hoverColor
        opacity: area.pressed ? 0.45 : 0.25
        visible: area.containsMouse
    }

    SkinImage {
        anchors.centerIn: parent
        width: 16
        height: 16
        source: imageButton.source
    }

    MouseArea {
        id: area

        anchors.fill: parent
        hoverEnabled: true
        onClicked: imageButton.clicked()
    }
}
