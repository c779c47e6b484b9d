import QtQuick

// A preset of the gun editor's list: its picture, its name and the slots that use it.
Rectangle {
    id: gunRow

    property string name: ""
    property string picture: ""
    property bool isCurrent: false
    property var slots: []

    signal clicked()

    height: 54
    radius: 4
    color: isCurrent ? mainIten.colorSurface2 : area.containsMouse ? "#20242a" : "transparent"
    border.color: isCurrent ? mainIten.colorPrimary : mainIten.colorLine
    activeFocusOnTab: true
    Keys.onSpacePressed: clicked()
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()
    Accessible.role: Accessible.ListItem
    Accessible.name: name
    Accessible.selected: isCurrent
    Accessible.onPressAction: clicked()

    SkinImage {
        x: 6
        anchors.verticalCenter: parent.verticalCenter
        width: 138
        height: 46
        source: gunRow.picture
    }

    Text {
        x: 152
        anchors.verticalCenter: parent.verticalCenter
        text: gunRow.name
        color: gunRow.isCurrent ? mainIten.colorPrimary : mainIten.fontColor
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        spacing: 4

        Repeater {
            model: gunRow.slots

            Rectangle {
                required property int modelData

                width: 18
                height: 18
                radius: 9
                color: mainIten.colorPrimary

                Text {
                    anchors.centerIn: parent
                    text: parent.modelData
                    color: mainIten.colorBlack
                    font.family: mainIten.fontFamily
                    font.pixelSize: 12
                }
            }
        }
    }

    MouseArea {
        id: area

        anchors.fill: parent
        hoverEnabled: true
        onClicked: gunRow.clicked()
    }
}
