import QtQuick

// One choice of a group: a click selects it; the page clears its partners.
Item {
    id: radioButton

    property string textValue: ""
    property string textValue2: ""
    property bool isSelect: false
    property int index: -1
    // Which of the two texts the label shows.
    property int txtIndex: 0
    property int gapValue: 16

    signal btnClick(int index)

    function click() {
        isSelect = true
        btnClick(index)
    }

    activeFocusOnTab: true
    Keys.onSpacePressed: click()
    Keys.onReturnPressed: click()
    Keys.onEnterPressed: click()
    Accessible.role: Accessible.RadioButton
    Accessible.name: txtIndex === 0 ? textValue : textValue2
    Accessible.checkable: true
    Accessible.checked: isSelect
    Accessible.onPressAction: click()
    implicitWidth: dot.width + gapValue + label.implicitWidth
    // A label wider than the button is given wraps onto more lines.
    implicitHeight: Math.max(20, label.height)

    SkinImage {
        id: dot

        anchors.verticalCenter: parent.verticalCenter
        width: 16
        height: 16
        source: radioButton.isSelect ? mainIten.sourceRadio1 : mainIten.sourceRadio0
    }

    Text {
        id: label

        anchors.left: dot.right
        anchors.leftMargin: radioButton.gapValue
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        wrapMode: Text.Wrap
        text: radioButton.txtIndex === 0 ? radioButton.textValue : radioButton.textValue2
        color: area.containsMouse ? mainIten.colorPrimary : mainIten.fontColor
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize + 2
    }

    MouseArea {
        id: area

        anchors.fill: parent
        hoverEnabled: true
        onClicked: radioButton.click()
    }
}
