import QtQuick

// A caption inside a panel or dialog.
Text {
    color: mainIten.colorGray3
    font.family: mainIten.fontFamily
    font.pixelSize: mainIten.fontMinSize + 2
}
