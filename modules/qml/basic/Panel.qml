import QtQuick

// A surface of the content frame that a page fills.
Rectangle {
    radius: 6
    color: Qt.rgba(0.106, 0.118, 0.141, 0.92)
    border.color: mainIten.colorLine
}
