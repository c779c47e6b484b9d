import QtQuick

// A centred number field. Leaving it empty, or with a value below 1, gives "0".
Rectangle {
    id: rectInput

    property int maxValue: 255
    property int minValue: 0
    property alias textValue: input.text
    property alias input: input
    property string accessibleName: ""

    signal endInputSignal()
    signal inputSignal()

    width: 60
    height: 24
    radius: 3
    color: mainIten.colorSurface0
    border.color: input.activeFocus ? mainIten.colorPrimary : mainIten.colorLine

    TextInput {
        id: input

        objectName: rectInput.objectName + "Input"
        anchors.fill: parent
        anchors.leftMargin: 4
        anchors.rightMargin: 4
        horizontalAlignment: TextInput.AlignHCenter
        verticalAlignment: TextInput.AlignVCenter
        text: "0"
        maximumLength: 4
        validator: IntValidator {
            bottom: rectInput.minValue
            top: rectInput.maxValue
        }
        selectByMouse: true
        activeFocusOnTab: true
        Accessible.role: Accessible.EditableText
        Accessible.name: rectInput.accessibleName
        color: mainIten.fontColor
        selectionColor: mainIten.colorPrimary
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize + 2
        onActiveFocusChanged: {
            if (activeFocus) {
                rectInput.inputSignal()
                return
            }
            if (text === "" || !(parseInt(text) >= 1))
                text = "0"
            rectInput.endInputSignal()
        }
        Keys.onReturnPressed: focus = false
        Keys.onEnterPressed: focus = false
    }
}
