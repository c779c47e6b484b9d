import QtQuick
import "../js/MacroEdit.js" as MacroEdit

// The macro editor's recording controls: Record and Stop, whether delays are recorded, the
// repeat count, and the line that says the macro is full.
Item {
    id: recordBar

    property var lang: []
    property bool isInputting: false
    property bool showFull: false
    property alias delayRecord: delayRecord
    property alias countRecordInput: countRecordInput
    property alias repeatText: countRecordInput.textValue

    signal recordClicked()
    signal stopClicked()
    signal repeatEdited()

    height: 150

    Row {
        spacing: 12

        TextButton {
            objectName: "macroRecord"
            width: Math.max(100, implicitWidth)
            textValue: recordBar.lang[11] ?? ""
            textColor: recordBar.isInputting ? mainIten.colorAccent : mainIten.fontColor
            onClicked: recordBar.recordClicked()
        }

        TextButton {
            objectName: "macroStop"
            width: Math.max(100, implicitWidth)
            textValue: recordBar.lang[12] ?? ""
            onClicked: recordBar.stopClicked()
        }

        SkinImage {
            anchors.verticalCenter: parent.verticalCenter
            width: 18
            height: 18
            source: recordBar.isInputting ? mainIten.sourceMacroRecord : mainIten.sourceMacroStop
        }
    }

    CheckBox {
        id: delayRecord

        objectName: "macroDelayRecord"
        y: 40
        isSelect: true
        textValue: recordBar.lang[13] ?? ""
    }

    PanelLabel {
        y: 72
        height: 24
        verticalAlignment: Text.AlignVCenter
        text: recordBar.lang[14] ?? ""
    }

    RectInput {
        id: countRecordInput

        objectName: "macroRepeat"
        accessibleName: recordBar.lang[14] ?? ""
        x: 198
        y: 72
        width: 70
        maxValue: 65535
        minValue: 0
        textValue: "1"
        Component.onCompleted: input.maximumLength = 5
        onInputSignal: mainIten.mainFocus()
        onEndInputSignal: {
            textValue = MacroEdit.repeatText(textValue)
            recordBar.repeatEdited()
        }
    }

    Text {
        y: 106
        width: recordBar.width
        visible: recordBar.showFull
        wrapMode: Text.Wrap
        text: recordBar.lang[29] ?? ""
        color: mainIten.colorAccent
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize
    }
}
