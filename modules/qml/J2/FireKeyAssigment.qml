import QtQuick
import "../js/KeyAssign.js" as KeyAssign

// The fire panel of a row menu: a key captured from the keyboard, the rate and the number of
// shots (0: until the button is released). OK reports the entry (1, key, rate, times).
Rectangle {
    id: firePanel

    property var lang: []
    property int usage: 0
    property string keyText: ""
    property bool isInput: false
    property int rate: 10
    property string rateText: "10ms"
    // When the capture was started from the keyboard (ms), 0 for a click.
    property real keyboardStart: 0
    readonly property alias rateSlider: rateSlider
    readonly property alias timesField: timesField
    readonly property alias endlessBox: endlessBox

    signal accepted(var entry, string name)
    signal cancelled()

    function reset() {
        usage = 0
        keyText = ""
        isInput = false
        rate = 10
        rateText = "10ms"
        rateSlider.setOffset(rate - 1, false)
        timesField.textValue = "0"
        endlessBox.isSelect = true
    }

    // From the row menu's keyboard: the capture field takes the focus.
    function takeFocus() {
        field.forceActiveFocus()
    }

    function startInput() {
        keyboardStart = 0
        field.forceActiveFocus()
        keyText = lang[10] ?? ""
        isInput = true
    }

    function ok() {
        if (isInput || usage === 0) {
            startInput()
            return
        }
        const times = Math.max(0, Math.min(255, parseInt(timesField.textValue) || 0))
        accepted([KeyAssign.kFire, usage, rate, times], keyText)
    }

    width: 260
    height: 168
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
        enabled: firePanel.isInput

        function onMsg_KB(isDown, usbCode) {
            const name = _KeyCodeString.keycodeTostr(usbCode)
            if (!isDown || name === "" || KeyAssign.isStartEcho(usbCode, firePanel.keyboardStart))
                return
            firePanel.usage = usbCode
            firePanel.keyText = name
            firePanel.isInput = false
        }
    }

    // Clicks between the controls stay in the panel.
    MouseArea {
        anchors.fill: parent
        onClicked: firePanel.forceActiveFocus()
    }

    Grid {
        x: 12
        y: 12
        columns: 2
        columnSpacing: 10
        rowSpacing: 12
        verticalItemAlignment: Grid.AlignVCenter

        PanelLabel { text: firePanel.lang[0] ?? "" }
        Rectangle {
            id: field

            objectName: firePanel.objectName + "Field"
            // While it captures, every key is the key captured (Tab and Esc too); the capture
            // ends with the first key. Enter or Space starts it when let go, so that it does not
            // take the key that started it.
            activeFocusOnTab: true
            // The key must have been pressed here too: the Enter that opened the panel from the
            // menu is let go after the focus came here.
            property int pressedKey: 0

            onActiveFocusChanged: pressedKey = 0
            Keys.onPressed: e => {
                if (firePanel.isInput || KeyAssign.startsCapture(e)) {
                    e.accepted = true
                    if (!e.isAutoRepeat)
                        pressedKey = e.key
                } else if (e.key === Qt.Key_Escape) {
                    firePanel.cancelled()
                }
            }
            Keys.onReleased: e => {
                if (!firePanel.isInput && KeyAssign.startsCapture(e) && !e.isAutoRepeat
                        && pressedKey === e.key) {
                    firePanel.startInput()
                    firePanel.keyboardStart = Date.now()
                }
                pressedKey = 0
                e.accepted = true
            }
            Accessible.role: Accessible.EditableText
            Accessible.name: firePanel.lang[0] ?? ""
            Accessible.description: firePanel.keyText
            width: 150
            height: 26
            radius: 3
            color: mainIten.colorSurface0
            border.color: firePanel.isInput || fieldArea.containsMouse ? mainIten.colorPrimary
                                                                        : mainIten.colorLine

            Text {
                objectName: firePanel.objectName + "FieldText"
                anchors.fill: parent
                anchors.leftMargin: 8
                verticalAlignment: Text.AlignVCenter
                text: firePanel.keyText
                elide: Text.ElideRight
                color: firePanel.isInput ? mainIten.colorPrimary : mainIten.fontColor
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontMinSize + 2
            }

            MouseArea {
                id: fieldArea

                anchors.fill: parent
                hoverEnabled: true
                onClicked: firePanel.startInput()
            }
        }

        PanelLabel { text: firePanel.lang[11] ?? "" }
        Row {
            spacing: 8

            SliderButton {
                id: rateSlider

                objectName: firePanel.objectName + "Rate"
                accessibleName: firePanel.lang[11] ?? ""
                width: 110 - 16
                anchors.verticalCenter: parent.verticalCenter
                onValueChange: tmpValue => {
                    firePanel.rate = KeyAssign.fireRate(tmpValue)
                    firePanel.rateText = firePanel.rate + "MS"
                }
            }
            PanelLabel {
                objectName: firePanel.objectName + "RateText"
                text: firePanel.rateText
                color: mainIten.fontColor
            }
        }

        PanelLabel { text: firePanel.lang[12] ?? "" }
        Row {
            spacing: 10

            RectInput {
                id: timesField

                objectName: firePanel.objectName + "Times"
                accessibleName: firePanel.lang[12] ?? ""
                width: 54
                onEndInputSignal: endlessBox.isSelect = (parseInt(textValue) || 0) === 0
            }
            CheckBox {
                id: endlessBox

                objectName: firePanel.objectName + "Endless"
                anchors.verticalCenter: parent.verticalCenter
                textValue: firePanel.lang[13] ?? ""
                onBtnClick: {
                    if (isSelect)
                        timesField.textValue = "0"
                }
            }
        }
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 12
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 12
        spacing: 8

        TextButton {
            objectName: firePanel.objectName + "Cancel"
            width: Math.max(72, implicitWidth)
            textValue: mainIten.keyMatrixLang[9]
            onClicked: firePanel.cancelled()
        }
        TextButton {
            objectName: firePanel.objectName + "OK"
            width: Math.max(72, implicitWidth)
            textValue: mainIten.keyMatrixLang[10]
            onClicked: firePanel.ok()
        }
    }
}
