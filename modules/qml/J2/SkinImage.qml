import QtQuick
import QtQuick.Window

// An image rasterised once, at the size it is shown (window zoom and screen density included), so
// that the software renderer never scales a bitmap.
Image {
    property real density: mainIten.zoomInRate_min * Screen.devicePixelRatio

    sourceSize: Qt.size(Math.ceil(width * density), Math.ceil(height * density))
    smooth: true
}
