import QtQuick

// The − or + button of a DPI stage: its pressed picture while held.
Item {
    id: stepButton

    property string sourceUp: ""
    property string sourceDown: ""

    property string accessibleName: ""

    signal clicked()

    width: 20
    height: 20
    activeFocusOnTab: true
    Keys.onSpacePressed: clicked()
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()
    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.onPressAction: clicked()

    SkinImage {
        anchors.fill: parent
        source: area.pressed ? stepButton.sourceDown : stepButton.sourceUp
    }

    MouseArea {
        id: area

        anchors.fill: parent
        onClicked: stepButton.clicked()
    }
}
