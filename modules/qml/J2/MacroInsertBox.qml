import QtQuick

// The macro editor's insert-key box: it shows the key pressed last; OK inserts it.
Rectangle {
    id: insertBox

    property string titleText: ""
    property string keyText: ""

    signal accepted()
    signal cancelled()

    objectName: "macroInsertBox"
    width: 260
    height: 120
    visible: false
    radius: 4
    color: mainIten.colorSurface1
    border.color: mainIten.colorPrimary

    MouseArea { anchors.fill: parent }

    Text {
        x: 12
        y: 10
        width: parent.width - 24
        text: insertBox.titleText
        elide: Text.ElideRight
        color: mainIten.colorGray3
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize + 2
    }

    Text {
        objectName: "macroInsertKey"
        anchors.horizontalCenter: parent.horizontalCenter
        y: 38
        text: insertBox.keyText === "" ? "-" : insertBox.keyText
        color: mainIten.colorPrimary
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMaxSize
    }

    Row {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 10
        spacing: 12

        TextButton {
            objectName: "macroInsertCancel"
            textValue: mainIten.keyMatrixLang[9]
            onClicked: insertBox.cancelled()
        }

        TextButton {
            objectName: "macroInsertOK"
            textValue: mainIten.keyMatrixLang[10]
            onClicked: insertBox.accepted()
        }
    }
}
