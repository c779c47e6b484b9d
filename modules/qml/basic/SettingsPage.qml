import QtQuick

// The settings page: the system panel on the left, the macro editor on the right; both are
// declared in main.qml inside it.
Item {
    readonly property alias leftPanel: leftPanel
    readonly property alias rightPanel: rightPanel

    objectName: "settingsPage"
    x: mainIten.marginLeftFrame
    y: 96
    width: mainIten.normalW - 2 * mainIten.marginLeftFrame
    height: 548

    Panel { id: leftPanel; width: 592; height: parent.height }
    Panel { id: rightPanel; x: 616; width: 592; height: parent.height }
}
