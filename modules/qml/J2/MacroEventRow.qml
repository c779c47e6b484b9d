import QtQuick

// One row of the macro editor's event list: its kind's icon and its text ("50 ms" or a key's
// shown name). A double click on a delay opens its number field.
Rectangle {
    id: eventRow

    required property int index
    required property int type
    required property string info
    property bool isCurrent: false

    // `px`, `py`: where a right click was made, in the row's coordinates.
    signal clicked(bool isRight, real px, real py)
    signal delayEdited(string typed)

    // A delay's number field opens.
    function startEdit() {
        if (type !== 0)
            return
        delayField.text = info
        delayField.visible = true
        delayField.forceActiveFocus()
        delayField.selectAll()
    }

    objectName: "macroEvent" + index
    height: 24
    color: isCurrent ? mainIten.colorSurface2 : "transparent"
    Accessible.role: Accessible.ListItem
    Accessible.name: eventText.text
    Accessible.selected: isCurrent

    SkinImage {
        objectName: "macroEventIcon" + eventRow.index
        x: 6
        anchors.verticalCenter: parent.verticalCenter
        width: 16
        height: 16
        source: [mainIten.sourceMacroDelay, mainIten.sourceMacroKeyDown, mainIten.sourceMacroKeyUp,
                 mainIten.sourceMacroMouseDown, mainIten.sourceMacroMouseUp][eventRow.type] ?? ""
    }

    Text {
        id: eventText

        objectName: "macroEventText" + eventRow.index
        x: 30
        height: parent.height
        verticalAlignment: Text.AlignVCenter
        visible: !delayField.visible
        text: eventRow.type === 0 ? eventRow.info + " ms" : _KeyCodeString.shownName(eventRow.info)
        color: eventRow.isCurrent ? mainIten.colorPrimary : mainIten.fontColor
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize + 2
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onClicked: mouse => eventRow.clicked(mouse.button === Qt.RightButton, mouse.x, mouse.y)
        onDoubleClicked: eventRow.startEdit()
    }

    TextInput {
        id: delayField

        function accept() {
            if (!visible)
                return
            visible = false
            eventRow.delayEdited(text)
        }

        objectName: "macroDelayField" + eventRow.index
        x: 30
        width: 80
        height: parent.height
        visible: false
        verticalAlignment: TextInput.AlignVCenter
        maximumLength: 5
        selectByMouse: true
        color: mainIten.colorPrimary
        selectionColor: mainIten.colorPrimary
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize + 2
        Keys.onReturnPressed: accept()
        Keys.onEnterPressed: accept()
        onActiveFocusChanged: {
            if (!activeFocus)
                accept()
        }
    }
}
