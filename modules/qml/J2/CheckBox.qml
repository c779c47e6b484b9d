import QtQuick

// A box and its label. A click toggles the box first, so the signal reports the new state.
Item {
    id: checkBox

    property string textValue: ""
    property bool isSelect: false
    property int index: -1
    property int gapValue: 8

    signal btnClick(int index)

    function toggle() {
        isSelect = !isSelect
        btnClick(index)
    }

    activeFocusOnTab: true
    Keys.onSpacePressed: toggle()
    Keys.onReturnPressed: toggle()
    Keys.onEnterPressed: toggle()
    Accessible.role: Accessible.CheckBox
    Accessible.name: textValue
    Accessible.checkable: true
    Accessible.checked: isSelect
    Accessible.onToggleAction: toggle()
    Accessible.onPressAction: toggle()
    implicitWidth: box.width + gapValue + label.implicitWidth
    implicitHeight: 20

    SkinImage {
        id: box

        anchors.verticalCenter: parent.verticalCenter
        width: 16
        height: 16
        source: checkBox.isSelect ? mainIten.sourceCheckBox1 : mainIten.sourceCheckBox0
    }

    Text {
        id: label

        anchors.left: box.right
        anchors.leftMargin: checkBox.gapValue
        anchors.verticalCenter: parent.verticalCenter
        text: checkBox.textValue
        color: area.containsMouse ? mainIten.colorPrimary : mainIten.fontColor
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize + 2
    }

    MouseArea {
        id: area

        anchors.fill: parent
        hoverEnabled: true
        onClicked: checkBox.toggle()
    }
}
