import QtQuick
import "../J2"

// The window's background, stretched to the window, with its watermark. Its empty area drags
// the window.
Item {
    id: environment

    signal emptyPressed()

    Image {
        anchors.fill: parent
        source: mainIten.sourceBackground
        sourceSize: Qt.size(mainIten.frameW, mainIten.frameH)
        fillMode: Image.Stretch
    }

    SkinImage {
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.rightMargin: 40 * mainIten.zoomInRate_min
        anchors.bottomMargin: 70 * mainIten.zoomInRate_min
        width: 420 * mainIten.zoomInRate_min
        height: 420 * mainIten.zoomInRate_min
        density: 1
        source: mainIten.sourceBgLogo
    }

    WindowDrag {
        objectName: "emptyArea"
        anchors.fill: parent
        onPressedEmpty: environment.emptyPressed()
    }
}
