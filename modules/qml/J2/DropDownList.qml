import QtQuick

// A 24-pixel header and a list that slides open below it. A choice is reported once the list
// has closed, so that a page never acts on a list that is still moving.
Item {
    id: dropDown

    property ListModel mdItems: ListModel {}
    property int count: mdItems.count
    property int currentSelect: -1
    property string textValue: ""
    property bool isDrop: false
    property int horizontalOffset: 0
    property int itemHeight: 24
    property int listWidth: width
    property int fontSize: mainIten.fontMinSize + 2
    property color bgColor: mainIten.colorSurface1
    property color borderColor: mainIten.colorLine
    property real openness: 0
    property int pendingIndex: -1
    readonly property int slideMs: Math.max(0, 180 - 10 * count)
    readonly property bool isSliding: slide.running

    signal valueChange(int index)
    signal btnClick()
    signal btnContainMS(int index)

    function slideTo(target: real) {
        slide.stop()
        slide.to = target
        slide.duration = slideMs
        slide.start()
    }

    function openMenu() {
        isDrop = true
        slideTo(1)
    }

    function closeMenu() {
        if (!isDrop)
            return
        isDrop = false
        slideTo(0)
    }

    // Shows entry i in the header without reporting it.
    function setSelect(i: int) {
        currentSelect = i
        textValue = i >= 0 && i < mdItems.count ? mdItems.get(i).textValue : ""
    }

    function choose(i: int) {
        setSelect(i)
        pendingIndex = i
        closeMenu()
    }

    width: 144
    height: 24
    z: isDrop || slide.running ? 100 : 0

    NumberAnimation {
        id: slide

        target: dropDown
        property: "openness"
        onFinished: {
            if (slide.to === 0 && dropDown.pendingIndex >= 0) {
                const index = dropDown.pendingIndex
                dropDown.pendingIndex = -1
                dropDown.valueChange(index)
            }
        }
    }

    Rectangle {
        id: header

        anchors.fill: parent
        radius: 3
        color: dropDown.bgColor
        border.color: dropDown.isDrop || headerArea.containsMouse ? mainIten.colorPrimary
                                                                   : dropDown.borderColor

        Text {
            anchors.left: parent.left
            anchors.leftMargin: 8
            anchors.right: arrow.left
            anchors.verticalCenter: parent.verticalCenter
            text: dropDown.textValue
            elide: Text.ElideRight
            color: headerArea.containsMouse ? mainIten.colorPrimary : mainIten.fontColor
            font.family: mainIten.fontFamily
            font.pixelSize: dropDown.fontSize
        }

        SkinImage {
            id: arrow

            anchors.right: parent.right
            anchors.rightMargin: 6
            anchors.verticalCenter: parent.verticalCenter
            width: 12
            height: 12
            rotation: dropDown.openness * 180
            source: mainIten.sourceArrowDown
        }

        MouseArea {
            id: headerArea

            objectName: dropDown.objectName + "Header"
            anchors.fill: parent
            hoverEnabled: true
            onClicked: {
                dropDown.btnClick()
                if (dropDown.isDrop)
                    dropDown.closeMenu()
                else
                    dropDown.openMenu()
            }
        }
    }

    Rectangle {
        x: dropDown.horizontalOffset
        y: dropDown.height + 2
        width: dropDown.listWidth
        height: dropDown.openness * dropDown.count * dropDown.itemHeight
        visible: height > 0
        clip: true
        color: dropDown.bgColor
        border.color: dropDown.borderColor

        Column {
            width: parent.width

            Repeater {
                model: dropDown.mdItems

                Rectangle {
                    required property int index
                    required property string textValue

                    objectName: dropDown.objectName + "Item" + index
                    width: parent.width
                    height: dropDown.itemHeight
                    color: itemArea.containsMouse ? mainIten.colorSurface2 : "transparent"

                    Text {
                        anchors.fill: parent
                        anchors.leftMargin: 8
                        verticalAlignment: Text.AlignVCenter
                        text: parent.textValue
                        elide: Text.ElideRight
                        color: itemArea.containsMouse || parent.index === dropDown.currentSelect
                               ? mainIten.colorPrimary : mainIten.fontColor
                        font.family: mainIten.fontFamily
                        font.pixelSize: dropDown.fontSize
                    }

                    MouseArea {
                        id: itemArea

                        anchors.fill: parent
                        hoverEnabled: true
                        onContainsMouseChanged: {
                            if (containsMouse)
                                dropDown.btnContainMS(parent.index)
                        }
                        onClicked: dropDown.choose(parent.index)
                    }
                }
            }
        }
    }
}
