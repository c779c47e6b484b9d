import QtQuick

// An image rasterised once, at the size it is shown (window zoom and screen density included), so
// that the software renderer never scales a bitmap. Every use gives it a size; until the layout
// has, it asks for a 1 x 1 raster rather than the picture at its natural size, which would be
// held as long as the one it is shown at.
Image {
    // One value for every image: an attached Screen object each costs memory.
    property real density: mainIten.imageDensity

    sourceSize: Qt.size(Math.max(1, Math.ceil(width * density)),
                        Math.max(1, Math.ceil(height * density)))
    smooth: true
}
