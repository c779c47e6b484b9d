import QtQuick

// The keyboard focus's mark: a ring in the look's primary colour around the focused control.
// Mouse clicks do not move the focus, so the ring shows only where keys act.
Rectangle {
    property Item target: parent

    anchors.fill: target
    anchors.margins: -3
    radius: 4
    color: "transparent"
    border.width: 2
    border.color: mainIten.colorPrimary
    visible: target.activeFocus
}
