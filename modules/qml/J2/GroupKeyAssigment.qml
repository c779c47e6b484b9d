import QtQuick
import "../js/KeyAssign.js" as KeyAssign

// The combination panel of a row menu: modifiers and up to two keys pressed on the keyboard
// after a click on the field. OK reports the entry (2, modifier bits, key, key) and its text.
Rectangle {
    id: combinationPanel

    property var lang: []
    property var entry: [KeyAssign.kCombination, 0, 0, 0]
    property string keyText: ""
    property bool isInput: false
    // The prompt after an OK without keys is drawn in the primary colour.
    property bool isWarned: false
    // A capture started from the keyboard ends when a key other than a modifier is let go, so
    // that Tab and Esc work again; one started with the mouse ends with OK, as it always did.
    property bool endsOnRelease: false
    property real keyboardStart: 0
    readonly property string prompt: lang[18] ?? ""

    signal accepted(var entry, string text)
    signal cancelled()

    function reset() {
        entry = [KeyAssign.kCombination, 0, 0, 0]
        keyText = ""
        isInput = false
        isWarned = false
    }

    function takeFocus() {
        field.forceActiveFocus()
    }

    function startInput(fromKeyboard) {
        field.forceActiveFocus()
        reset()
        isInput = true
        endsOnRelease = fromKeyboard === true
        keyboardStart = endsOnRelease ? Date.now() : 0
    }

    function take(usage: int) {
        const next = KeyAssign.addToCombination(entry, usage)
        if (!next)
            return
        entry = next
        keyText += (keyText === "" ? "" : " + ") + _KeyCodeString.keycodeTostr(usage)
    }

    function ok() {
        isInput = false
        if (keyText === "") {
            isWarned = true
            return
        }
        accepted(entry, keyText)
    }

    // Wide enough for the prompt of every language at its own size.
    width: Math.max(290, promptMetrics.advanceWidth + 40)
    height: 136
    Keys.onEscapePressed: cancelled()
    radius: 3
    color: mainIten.colorSurface1
    border.color: mainIten.colorPrimary
    onVisibleChanged: {
        if (visible)
            reset()
        else
            isInput = false
    }

    Connections {
        target: mainIten
        enabled: combinationPanel.isInput

        function onMsg_KB(isDown, usbCode) {
            if (KeyAssign.isStartEcho(usbCode, combinationPanel.keyboardStart))
                return
            if (isDown && _KeyCodeString.keycodeTostr(usbCode) !== "")
                combinationPanel.take(usbCode)
            else if (!isDown && combinationPanel.endsOnRelease && KeyAssign.modifierBit(usbCode) === 0
                     && combinationPanel.keyText !== "")
                combinationPanel.isInput = false
        }
    }

    MouseArea {
        anchors.fill: parent
        onClicked: combinationPanel.forceActiveFocus()
    }

    PanelLabel {
        x: 12
        y: 12
        text: combinationPanel.lang[17] ?? ""
    }

    Rectangle {
        id: field

        objectName: combinationPanel.objectName + "Field"
        activeFocusOnTab: true
        // As in the fire panel: only a key pressed here starts the capture when let go.
        property int pressedKey: 0

        onActiveFocusChanged: pressedKey = 0
        Keys.onPressed: e => {
            if (combinationPanel.isInput || KeyAssign.startsCapture(e)) {
                e.accepted = true
                if (!e.isAutoRepeat)
                    pressedKey = e.key
            } else if (e.key === Qt.Key_Escape) {
                combinationPanel.cancelled()
            }
        }
        Keys.onReleased: e => {
            if (!combinationPanel.isInput && KeyAssign.startsCapture(e) && !e.isAutoRepeat
                    && pressedKey === e.key)
                combinationPanel.startInput(true)
            pressedKey = 0
            e.accepted = true
        }
        Accessible.role: Accessible.EditableText
        Accessible.name: combinationPanel.lang[17] ?? ""
        Accessible.description: combinationPanel.keyText
        x: 12
        y: 38
        width: parent.width - 24
        height: 30
        radius: 3
        color: mainIten.colorSurface0
        border.color: combinationPanel.isInput || fieldArea.containsMouse ? mainIten.colorPrimary
                                                                           : mainIten.colorLine

        TextMetrics {
            id: promptMetrics

            font: fieldText.font
            text: combinationPanel.prompt
        }

        Text {
            id: fieldText

            objectName: combinationPanel.objectName + "FieldText"
            anchors.fill: parent
            anchors.leftMargin: 8
            anchors.rightMargin: 8
            verticalAlignment: Text.AlignVCenter
            text: combinationPanel.keyText !== "" ? combinationPanel.keyText
                                                  : combinationPanel.prompt
            elide: Text.ElideRight
            color: combinationPanel.keyText !== "" ? mainIten.fontColor
                   : combinationPanel.isWarned ? mainIten.colorPrimary : mainIten.colorGray6
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontMinSize + 2
        }

        MouseArea {
            id: fieldArea

            anchors.fill: parent
            hoverEnabled: true
            onClicked: combinationPanel.startInput(false)
        }
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 12
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 12
        spacing: 8

        TextButton {
            objectName: combinationPanel.objectName + "Cancel"
            width: Math.max(72, implicitWidth)
            textValue: mainIten.keyMatrixLang[9]
            onClicked: {
                combinationPanel.isInput = false
                combinationPanel.cancelled()
            }
        }
        TextButton {
            objectName: combinationPanel.objectName + "OK"
            width: Math.max(72, implicitWidth)
            textValue: mainIten.keyMatrixLang[10]
            onClicked: combinationPanel.ok()
        }
    }
}
