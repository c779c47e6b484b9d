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
    // The entry the arrow keys mark while the list is open.
    property int cursor: -1
    property string accessibleName: ""

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
        cursor = Math.max(0, currentSelect)
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

    // Enter, Space or Down opens the list; the arrows mark an entry, Enter or Space takes it,
    // Esc closes the list and Tab leaves it.
    function keyPress(e: var) {
        const open = e.key === Qt.Key_Return || e.key === Qt.Key_Enter || e.key === Qt.Key_Space
        if (!isDrop) {
            if (open || e.key === Qt.Key_Down) {
                btnClick()
                openMenu()
                e.accepted = true
            }
            return
        }
        if (e.key === Qt.Key_Down || e.key === Qt.Key_Up) {
            cursor = Math.max(0, Math.min(count - 1, cursor + (e.key === Qt.Key_Down ? 1 : -1)))
        } else if (open) {
            if (cursor >= 0 && cursor < count)
                choose(cursor)
            else
                closeMenu()
        } else if (e.key === Qt.Key_Escape) {
            closeMenu()
        } else {
            if (e.key === Qt.Key_Tab || e.key === Qt.Key_Backtab)
                closeMenu()
            return
        }
        e.accepted = true
    }

    width: 144
    height: 24
    z: isDrop || slide.running ? 100 : 0
    activeFocusOnTab: true
    Keys.onPressed: e => keyPress(e)
    Accessible.role: Accessible.ComboBox
    Accessible.name: accessibleName !== "" ? accessibleName : textValue
    Accessible.description: textValue
    Accessible.onPressAction: isDrop ? closeMenu() : openMenu()

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

        Item {
            width: parent.width

            // The entries exist only while the list shows: a closed list holds no rows, and
            // texts in other scripts (the language list's) load no font until they are seen.
            // Placed by index, so that they are in place as soon as they are built.
            Repeater {
                model: dropDown.isDrop || dropDown.openness > 0 ? dropDown.mdItems : null

                Rectangle {
                    required property int index
                    required property string textValue

                    objectName: dropDown.objectName + "Item" + index
                    y: index * dropDown.itemHeight
                    width: parent.width
                    height: dropDown.itemHeight
                    color: itemArea.containsMouse || index === dropDown.cursor && dropDown.isDrop
                           ? mainIten.colorSurface2 : "transparent"
                    Accessible.role: Accessible.ListItem
                    Accessible.name: textValue
                    Accessible.selected: index === dropDown.currentSelect

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
