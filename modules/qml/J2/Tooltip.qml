import QtQuick

// The confirmation box: OK reports which action it confirms, Cancel only closes.
DialogBox {
    id: tooltip

    property int btnIndex: -1
    property string textValue: ""
    property string okText: mainIten.keyMatrixLang[10]
    property string cancelText: mainIten.keyMatrixLang[9]

    signal tooltipClickOK(int btnIndex)

    width: 427
    height: 102
    iconSource: mainIten.sourceQuestion

    controls: Component {
        Item {
            Text {
                anchors.left: parent.left
                anchors.right: buttons.left
                anchors.rightMargin: 10
                anchors.verticalCenter: buttons.verticalCenter
                text: tooltip.textValue
                wrapMode: Text.Wrap
                maximumLineCount: 2
                elide: Text.ElideRight
                color: mainIten.colorGray3
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontMinSize + 1
            }

            Row {
                id: buttons

                anchors.right: parent.right
                anchors.bottom: parent.bottom
                spacing: 8

                TextButton {
                    objectName: tooltip.objectName + "Cancel"
                    width: Math.max(72, implicitWidth)
                    textValue: tooltip.cancelText
                    onClicked: tooltip.hide()
                }

                TextButton {
                    objectName: tooltip.objectName + "OK"
                    width: Math.max(72, implicitWidth)
                    textValue: tooltip.okText
                    onClicked: {
                        tooltip.hide()
                        tooltip.tooltipClickOK(tooltip.btnIndex)
                    }
                }
            }
        }
    }
}
