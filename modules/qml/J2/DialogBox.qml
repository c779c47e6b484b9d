import QtQuick

// A movable box: dragged by its background, it never leaves its parent (the window's dialog
// layer). Opens centred.
Rectangle {
    id: dialog

    property string titleText: ""
    property string iconSource: ""
    default property alias content: body.data

    function show() {
        x = Math.round((parent.width - width) / 2)
        y = Math.round((parent.height - height) / 2)
        visible = true
    }

    function hide() {
        visible = false
    }

    visible: false
    radius: 6
    color: mainIten.colorSurface1
    border.color: mainIten.colorLine

    MouseArea {
        objectName: dialog.objectName + "Drag"
        anchors.fill: parent
        drag.target: dialog
        drag.threshold: 0
        drag.minimumX: 0
        drag.maximumX: Math.max(0, dialog.parent.width - dialog.width)
        drag.minimumY: 0
        drag.maximumY: Math.max(0, dialog.parent.height - dialog.height)
        // A press on the dialog's own ground ends an edit in one of its fields, as a press
        // anywhere else in the window does.
        onPressed: dialog.forceActiveFocus()
    }

    Rectangle {
        x: 1
        y: 1
        width: parent.width - 2
        height: 3
        radius: 2
        color: mainIten.colorPrimary
    }

    SkinImage {
        id: icon

        x: 14
        y: 12
        width: visible ? 18 : 0
        height: 18
        visible: dialog.iconSource !== ""
        source: dialog.iconSource
    }

    Text {
        objectName: dialog.objectName + "Title"
        anchors.left: icon.right
        anchors.leftMargin: icon.visible ? 8 : 0
        anchors.right: parent.right
        anchors.rightMargin: 14
        y: 10
        height: 22
        verticalAlignment: Text.AlignVCenter
        text: dialog.titleText
        elide: Text.ElideRight
        color: mainIten.fontColor
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMaxSize
    }

    Item {
        id: body

        anchors.fill: parent
        anchors.topMargin: 36
        anchors.margins: 14
    }
}
