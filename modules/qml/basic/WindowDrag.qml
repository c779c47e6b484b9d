import QtQuick

// An empty area: pressing it tells the pages to drop their focus, dragging it moves the window.
// Offsets are in window pixels, whatever the scale of the area. Where the compositor moves windows
// (Wayland), it is asked to, and follows the pointer itself.
MouseArea {
    id: drag

    property point pressPoint
    property bool movedBySystem: false

    signal pressedEmpty()

    acceptedButtons: Qt.LeftButton
    onPressed: mouse => {
        pressPoint = mapToItem(null, mouse.x, mouse.y)
        movedBySystem = ui_Ctl.startSystemMove()
        drag.pressedEmpty()
    }
    onPositionChanged: mouse => {
        if (movedBySystem)
            return
        const now = mapToItem(null, mouse.x, mouse.y)
        const dx = Math.round(now.x - pressPoint.x)
        const dy = Math.round(now.y - pressPoint.y)
        if (dx !== 0)
            ui_Ctl.onXChanged(dx)
        if (dy !== 0)
            ui_Ctl.onYChanged(dy)
    }
}
