import QtQuick

// The keyboard focus's mark: one ring in the look's primary colour, moved into the control that has
// the keyboard focus (a control that takes Tab; text fields show their caret instead), so that it
// moves, scales and hides with it. Mouse clicks do not move the focus, so the ring shows only
// where keys act. Where it waits meanwhile: this item.
Item {
    id: home

    Rectangle {
        readonly property Item focused: {
            const item = Window.activeFocusItem
            return item && item.activeFocusOnTab && item.cursorPosition === undefined ? item : null
        }

        objectName: "focusMark"
        parent: focused ?? home
        // Under the control's own children, as a popup that opens from it.
        z: -1
        anchors.fill: parent
        anchors.margins: -3
        radius: 4
        color: "transparent"
        border.width: 2
        border.color: mainIten.colorPrimary
        visible: focused !== null && focused.activeFocus
    }
}
