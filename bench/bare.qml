import QtQuick

Rectangle {
    width: 1280
    height: 720
    color: "#202020"
}
