import QtQuick

// The name box: OK closes it and reports what the name is for (`type`, set by the caller).
DialogBox {
    id: inputBox

    property string textValue: ""
    property int type: 0

    signal clickOK(int type)

    function showFor(newType: int, text: string) {
        type = newType
        textValue = text
        show()
        controlsItem.field.forceActiveFocus()
        controlsItem.field.selectAll()
    }

    function accept() {
        controlsItem.field.focus = false
        hide()
        clickOK(type)
    }

    width: 416
    height: 180
    titleText: "Please enter a name"

    controls: Component {
        Item {
            readonly property alias field: field

            Rectangle {
                anchors.horizontalCenter: parent.horizontalCenter
                y: 20
                width: 250
                height: 30
                radius: 3
                color: mainIten.colorSurface0
                border.color: field.activeFocus ? mainIten.colorPrimary : mainIten.colorLine

                TextInput {
                    id: field

                    objectName: inputBox.objectName + "Field"
                    activeFocusOnTab: true
                    Accessible.role: Accessible.EditableText
                    Accessible.name: inputBox.titleText
                    anchors.fill: parent
                    anchors.leftMargin: 8
                    anchors.rightMargin: 8
                    verticalAlignment: TextInput.AlignVCenter
                    clip: true
                    selectByMouse: true
                    color: mainIten.fontColor
                    selectionColor: mainIten.colorPrimary
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontNormalSize
                    // Typed text goes to the box's own property, which the callers read.
                    text: inputBox.textValue
                    onTextEdited: inputBox.textValue = text
                    onActiveFocusChanged: {
                        if (!activeFocus && text === "")
                            inputBox.textValue = "0"
                    }
                    // Enter confirms the name, as OK does.
                    Keys.onReturnPressed: inputBox.accept()
                    Keys.onEnterPressed: inputBox.accept()
                }
            }

            Row {
                anchors.horizontalCenter: parent.horizontalCenter
                anchors.bottom: parent.bottom
                spacing: 16

                TextButton {
                    objectName: inputBox.objectName + "Cancel"
                    textValue: mainIten.keyMatrixLang[9]
                    onClicked: inputBox.hide()
                }

                TextButton {
                    objectName: inputBox.objectName + "OK"
                    textValue: mainIten.keyMatrixLang[10]
                    onClicked: inputBox.accept()
                }
            }
        }
    }
}
