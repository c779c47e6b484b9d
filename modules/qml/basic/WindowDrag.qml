import QtQuick

// An empty area: pressing it tells the pages to drop their focus, dragging it moves the window.
// Offsets are in window pixels, whatever the scale of the area.
MouseArea {
    id: drag

    property point pressPoint

    signal pressedEmpty()

    acceptedButtons: Qt.LeftButton
    onPressed: mouse => {
        pressPoint = mapToItem(null, mouse.x, mouse.y)
        drag.pressedEmpty()
    }
    onPositionChanged: mouse => {
        const now = mapToItem(null, mouse.x, mouse.y)
        const dx = Math.round(now.x - pressPoint.x)
        const dy = Math.round(now.y - pressPoint.y)
        if (dx !== 0)
            ui_Ctl.onXChanged(dx)
        if (dy !== 0)
            ui_Ctl.onYChanged(dy)
    }
}
