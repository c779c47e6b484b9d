import QtQuick

// The backlight page: one surface that the lighting editor fills.
Item {
    objectName: "lightPage"
    x: mainIten.marginLeftFrame
    y: 96
    width: mainIten.normalW - 2 * mainIten.marginLeftFrame
    height: 548

    Panel { anchors.fill: parent }
}
