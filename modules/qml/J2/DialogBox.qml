import QtQuick

// A movable box: dragged by its background, it never leaves its parent (the window's dialog
// layer). Opens centred.
Rectangle {
    id: dialog

    property string titleText: ""
    property string iconSource: ""
    default property alias content: body.data
    // The box's controls, built the first time it opens: a box never opened holds its frame only.
    property Component controls: null
    readonly property Item controlsItem: controlsLoader.item
    property bool opened: false
    // Esc does what the box's Cancel does: by default it closes the box; a box whose Cancel does
    // more sets this false and acts on escapePressed.
    property bool escapeHides: true
    // Where the keyboard focus was when the box opened: it goes back there when it closes.
    property Item focusBefore: null

    signal escapePressed()

    function show() {
        x = Math.round((parent.width - width) / 2)
        y = Math.round((parent.height - height) / 2)
        visible = true
    }

    function hide() {
        visible = false
    }

    function closeByEscape() {
        if (escapeHides)
            hide()
        escapePressed()
    }

    function holdsFocus(): bool {
        for (let item = Window.activeFocusItem; item; item = item.parent) {
            if (item === dialog)
                return true
        }
        return false
    }

    // The focus goes back to where it was, unless it has moved on to another control.
    function giveFocusBack() {
        const back = focusBefore
        focusBefore = null
        if (visible || (Window.activeFocusItem?.activeFocusOnTab && !holdsFocus()))
            return
        if (back && back.visible && back.enabled)
            back.forceActiveFocus()
        else
            mainIten.forceActiveFocus()
    }

    // The first control of the box takes the focus, unless the opener has given it to one.
    function focusFirst() {
        if (!visible || holdsFocus())
            return
        const first = dialog.nextItemInFocusChain(true)
        let inside = false
        for (let item = first; item && !inside; item = item.parent)
            inside = item === dialog
        if (inside)
            first.forceActiveFocus(Qt.TabFocusReason)
        else
            dialog.forceActiveFocus()
    }

    visible: false
    // Only the topmost box takes input: the Tab chain stays inside it.
    enabled: (mainIten.screen?.topDialog ?? dialog) === dialog
    radius: 6
    Accessible.role: Accessible.Dialog
    Accessible.name: titleText
    Keys.onEscapePressed: closeByEscape()
    onVisibleChanged: {
        if (visible) {
            opened = true
            focusBefore = Window.activeFocusItem
            Qt.callLater(focusFirst)
        } else {
            // Once the pages take input again.
            Qt.callLater(giveFocusBack)
        }
    }
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

        Loader {
            id: controlsLoader

            anchors.fill: parent
            active: dialog.opened && dialog.controls !== null
            sourceComponent: dialog.controls
        }
    }
}
