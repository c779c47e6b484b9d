import QtQuick

// A 24-pixel header with a text that opens a slider below it.
Item {
    id: dropSlider

    property string textValue: ""
    property bool isDrop: false
    property color bgColor: mainIten.colorSurface1
    property color borderColor: mainIten.colorLine
    property color sliderBgColor: mainIten.colorSurface2
    property color sliderbarBg: mainIten.colorPrimary
    readonly property alias slider: slider

    signal valueChange(int index)
    signal dragSignal(bool isDrag)
    signal btnClick()

    function setValue(ratio: real) {
        slider.setRatioValue(ratio)
    }

    function closeMenu() {
        isDrop = false
    }

    width: 160
    height: 24
    z: isDrop ? 100 : 0

    Rectangle {
        anchors.fill: parent
        radius: 3
        color: dropSlider.bgColor
        border.color: dropSlider.isDrop || headerArea.containsMouse ? mainIten.colorPrimary
                                                                     : dropSlider.borderColor

        Text {
            anchors.left: parent.left
            anchors.leftMargin: 8
            anchors.right: arrow.left
            anchors.verticalCenter: parent.verticalCenter
            text: dropSlider.textValue
            elide: Text.ElideRight
            color: headerArea.containsMouse ? mainIten.colorPrimary : mainIten.fontColor
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontMinSize + 2
        }

        SkinImage {
            id: arrow

            anchors.right: parent.right
            anchors.rightMargin: 6
            anchors.verticalCenter: parent.verticalCenter
            width: 12
            height: 12
            rotation: dropSlider.isDrop ? 180 : 0
            source: mainIten.sourceArrowDown
        }

        MouseArea {
            id: headerArea

            anchors.fill: parent
            hoverEnabled: true
            onClicked: {
                dropSlider.btnClick()
                dropSlider.isDrop = !dropSlider.isDrop
            }
        }
    }

    Rectangle {
        y: dropSlider.height + 2
        width: dropSlider.width
        height: 28
        visible: dropSlider.isDrop
        radius: 3
        color: dropSlider.bgColor
        border.color: dropSlider.borderColor

        SliderButton {
            id: slider

            x: 8
            width: dropSlider.width - 16
            anchors.verticalCenter: parent.verticalCenter
            colorS: dropSlider.sliderbarBg
            trackColor: dropSlider.sliderBgColor
            onValueChange: tmpValue => dropSlider.valueChange(tmpValue)
            onDragSignal: isDrag => dropSlider.dragSignal(isDrag)
        }
    }
}
