import QtQuick

// A message with one OK that closes it. The texts are the page warnings of the language file.
DialogBox {
    id: warning

    property string textValue: ""
    property var warningAssigmentLang: [
        "Please enter any key value !", "Please click on the tick ✓ !",
        "There is already a macro with the same name in this directory.",
        "Can't add a new folder!", "Already have a macro with the same name!",
        "Please select a macro first !",
        "Please keep a key at least for the left button function.", "Confirm delete ?",
        "Some settings could not be written to the mouse. Check that it is connected and try again.",
        "This function is not available in this version.",
        "The desktop did not take these settings:",
        "The gun settings could not be saved. Check that the settings folder can be written.",
        "The mouse did not answer while it was being read. Check that it is connected and plug it in again.",
        "These settings could not be saved on this computer:"]
    readonly property int leftButtonRule: 6
    readonly property int writeFailed: 8
    readonly property int notAvailable: 9
    readonly property int gunFileFailed: 11
    readonly property int readFailed: 12
    readonly property int notSaved: 13

    // Shows warning `index` of the list, with `detail` (optional) on a line of its own. A warning
    // that comes while the box is open is added below the one shown.
    function showWarning(index: int, detail) {
        let text = warningAssigmentLang[index] ?? ""
        if (detail)
            text += "\n" + detail
        textValue = visible && textValue !== "" && textValue !== text ? textValue + "\n\n" + text
                                                                      : text
        show()
    }

    width: 430
    height: 180
    iconSource: mainIten.sourceWarning
    titleText: "TK700"

    controls: Component {
        Item {
            Text {
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                anchors.bottom: okButton.top
                anchors.bottomMargin: 8
                verticalAlignment: Text.AlignVCenter
                horizontalAlignment: Text.AlignHCenter
                text: warning.textValue
                wrapMode: Text.Wrap
                color: mainIten.colorGray3
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontNormalSize
            }

            TextButton {
                id: okButton

                objectName: warning.objectName + "OK"
                anchors.horizontalCenter: parent.horizontalCenter
                anchors.bottom: parent.bottom
                textValue: mainIten.keyMatrixLang[10]
                onClicked: warning.hide()
            }
        }
    }
}
