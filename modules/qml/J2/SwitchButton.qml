import QtQuick

// An image button with a label; source0 shows it off, source1 on. A click selects it.
Item {
    id: switchButton

    property string textValue: ""
    property string textValue2: ""
    property bool isSelect: false
    property int index: -1
    property string source0: ""
    property string source1: ""
    property int btnWidth: 90
    property int btnHeight: 42
    property int txtMarginL: 16
    // Which of the two texts the label shows.
    property int txtIndex: 0

    signal btnClick(int index)

    function click() {
        isSelect = true
        btnClick(index)
    }

    width: btnWidth
    height: btnHeight
    activeFocusOnTab: true
    Keys.onSpacePressed: click()
    Keys.onReturnPressed: click()
    Keys.onEnterPressed: click()
    Accessible.role: Accessible.Button
    Accessible.name: txtIndex === 0 ? textValue : textValue2
    Accessible.checkable: true
    Accessible.checked: isSelect
    Accessible.onPressAction: click()

    SkinImage {
        anchors.fill: parent
        source: switchButton.isSelect ? switchButton.source1 : switchButton.source0
    }

    Text {
        anchors.left: parent.left
        anchors.leftMargin: switchButton.txtMarginL
        anchors.right: parent.right
        anchors.rightMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        text: switchButton.txtIndex === 0 ? switchButton.textValue : switchButton.textValue2
        // A long label in some languages shrinks rather than lose its end.
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: 10
        elide: Text.ElideRight
        color: area.containsMouse || switchButton.isSelect ? mainIten.colorPrimary
                                                            : mainIten.fontColor
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
    }

    MouseArea {
        id: area

        anchors.fill: parent
        hoverEnabled: true
        onClicked: switchButton.click()
    }
}
