import QtQuick
import "../J2"

// The bottom bar: profile button, the maker's address, OK, Apply and Reset.
Item {
    id: bottomBar

    property bool isUnsaved: false

    signal profileClicked()
    signal okClicked()
    signal applyClicked()
    signal resetClicked()

    height: 40

    Row {
        anchors.left: parent.left
        anchors.verticalCenter: parent.verticalCenter
        spacing: 20

        // Opens the profile dialog.
        TextButton {
            objectName: "profileBtn"
            width: Math.max(130, implicitWidth)
            height: 32
            source: mainIten.sourceProfileBtn
            textMarginL: 26
            textValue: mainIten.keyMatrixLang[6]
            onClicked: bottomBar.profileClicked()
        }

        Text {
            objectName: "urlText"
            anchors.verticalCenter: parent.verticalCenter
            text: mainIten.url
            color: urlArea.containsMouse ? mainIten.colorPrimary : mainIten.colorGray2
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontMinSize + 2
            font.underline: urlArea.containsMouse || activeFocus
            activeFocusOnTab: true
            Keys.onSpacePressed: urlArea.open()
            Keys.onReturnPressed: urlArea.open()
            Keys.onEnterPressed: urlArea.open()
            Accessible.role: Accessible.Link
            Accessible.name: text
            Accessible.onPressAction: urlArea.open()

            MouseArea {
                id: urlArea

                function open() {
                    Qt.openUrlExternally("http://" + mainIten.url)
                }

                anchors.fill: parent
                hoverEnabled: true
                cursorShape: Qt.PointingHandCursor
                onClicked: open()
            }
        }
    }

    Row {
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        spacing: 12

        TextButton {
            objectName: "okBtn"
            width: Math.max(130, implicitWidth)
            height: 32
            source: mainIten.sourceOkBtn
            textMarginL: 26
            textValue: mainIten.keyMatrixLang[10]
            onClicked: bottomBar.okClicked()
        }

        TextButton {
            objectName: "applyBtn"
            width: Math.max(130, implicitWidth)
            height: 32
            source: mainIten.sourceApplyBtn
            textMarginL: 26
            textValue: mainIten.keyMatrixLang[12]
            textColor: bottomBar.isUnsaved ? mainIten.colorAccent : mainIten.fontColor
            onClicked: bottomBar.applyClicked()
        }

        TextButton {
            objectName: "resetBtn"
            width: Math.max(130, implicitWidth)
            height: 32
            source: mainIten.sourceResetBtn
            textMarginL: 26
            textValue: mainIten.keyMatrixLang[7]
            onClicked: bottomBar.resetClicked()
        }
    }
}
