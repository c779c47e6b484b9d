import QtQuick
import QtQuick.Window

// An image rasterised once, at the size it is shown (window zoom and screen density included), so
// that the software renderer never scales a bitmap. Every use gives it a size; until the layout
// has, it asks for a 1 x 1 raster rather than the picture at its natural size, which would be
// held as long as the one it is shown at.
Image {
    property real density: mainIten.zoomInRate_min * Screen.devicePixelRatio

    sourceSize: Qt.size(Math.max(1, Math.ceil(width * density)),
                        Math.max(1, Math.ceil(height * density)))
    smooth: true
}
