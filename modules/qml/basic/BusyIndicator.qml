import QtQuick

// Shown while the UI is locked for a device operation; its text pulses.
Item {
    id: busyIndicator

    property bool isBusy: false
    // The pulse runs only while it can be seen.
    property bool animate: true
    property alias text: busyText.text

    visible: isBusy

    Rectangle {
        anchors.fill: parent
        color: "#000000"
        opacity: 0.25
    }

    Text {
        id: busyText

        anchors.centerIn: parent
        color: "#f0f0f0"
        font.pixelSize: 18
        text: ""

        SequentialAnimation on opacity {
            running: busyIndicator.isBusy && busyIndicator.visible && busyIndicator.animate
            loops: Animation.Infinite
            NumberAnimation { from: 1.0; to: 0.2; duration: 400 }
            NumberAnimation { from: 0.2; to: 1.0; duration: 400 }
        }
    }

    // Swallows input while busy.
    MouseArea {
        anchors.fill: parent
        enabled: busyIndicator.isBusy
        hoverEnabled: true
    }
}
