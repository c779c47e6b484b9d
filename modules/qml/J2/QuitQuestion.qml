import QtQuick

// Asked on Quit while pages are not applied: Apply quits once the mouse has taken the edits,
// Discard quits without them, Cancel goes back to the window with the edits kept.
DialogBox {
    id: question

    signal applyChosen()
    signal discardChosen()

    width: 430
    height: 150
    iconSource: mainIten.sourceQuestion
    titleText: mainIten.keyMatrixLang[21]

    controls: Component {
        Item {
            Text {
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                anchors.bottom: buttons.top
                anchors.bottomMargin: 8
                verticalAlignment: Text.AlignVCenter
                text: mainIten.keyMatrixLang[22]
                wrapMode: Text.Wrap
                color: mainIten.colorGray3
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontMinSize + 1
            }

            Row {
                id: buttons

                anchors.right: parent.right
                anchors.bottom: parent.bottom
                spacing: 8

                // First, so that it has the keyboard focus when the box opens, as in the other boxes.
                TextButton {
                    objectName: question.objectName + "Cancel"
                    textValue: mainIten.keyMatrixLang[9]
                    onClicked: question.hide()
                }

                TextButton {
                    objectName: question.objectName + "Discard"
                    textValue: mainIten.keyMatrixLang[23]
                    onClicked: {
                        question.hide()
                        question.discardChosen()
                    }
                }

                TextButton {
                    objectName: question.objectName + "Apply"
                    textValue: mainIten.keyMatrixLang[12]
                    onClicked: {
                        question.hide()
                        question.applyChosen()
                    }
                }
            }
        }
    }
}
