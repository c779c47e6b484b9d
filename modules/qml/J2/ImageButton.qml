import QtQuick

// An icon button of the title bar and the panels; a soft plate marks it under the mouse.
Item {
    id: imageButton

    property string source: ""
    property color hoverColor: mainIten.colorPrimary
    readonly property bool hovered: area.containsMouse
    // What the icon stands for, for a screen reader.
    property string accessibleName: ""

    signal clicked()

    width: 28
    height: 24
    activeFocusOnTab: true
    Keys.onSpacePressed: clicked()
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()
    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.onPressAction: clicked()

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
