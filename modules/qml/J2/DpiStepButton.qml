import QtQuick

// The − or + button of a DPI stage: its pressed picture while held.
Item {
    id: stepButton

    property string sourceUp: ""
    property string sourceDown: ""

    signal clicked()

    width: 20
    height: 20

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
