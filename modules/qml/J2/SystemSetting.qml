import QtQuick

// The system panel: the desktop's pointer speed, double-click speed and wheel scroll amount, and
// the mouse's lift-off distance. The sliders store their knob offsets in the profile.
Item {
    id: systemSetting

    property list<string> systemSettingLang: ["System Setting", "Mouse Speed",
        "Double Click Speed", "Slow", "Fast", "Scroll Speed", "Number of Rows",
        "Scroll one Screen", "Lod", "Start with the desktop"]
    // Stored offsets into speed steps 0 ... 10: the first threshold above the offset.
    readonly property var compareValue: [4, 37, 70, 104, 138, 172, 205, 239, 272, 305, 338]
    readonly property var lodOffsets: ui_View.lodOffsets()
    readonly property int oneScreen: 1000
    property bool isSave: false
    property bool scrollLines: true
    // What the desktop did not take at the last send, shown under the panel.
    // The settings (indices of systemSettingLang) the desktop did not take at the last send, and
    // the line that names them in the shown language.
    property var refusedItems: []
    readonly property string refusedText: refusedItems.length
        ? warningAssigmentMain.warningAssigmentLang[10] + " "
          + refusedItems.map(i => systemSettingLang[i]).join(", ")
        : ""
    property alias mouseRate: mouseRateSlider
    property alias doubleRate: doubleRateSlider
    property alias lod: lodSlider
    property alias lodEnable: lodCheck
    property alias scrollField: scrollInput

    function stepOf(offset: int): int {
        for (let i = 0; i < compareValue.length; ++i) {
            if (compareValue[i] > offset)
                return i
        }
        return 0
    }

    function lodSnap(x: int): int {
        return ui_View.lodSnap(x)
    }

    function lodText(x: int): string {
        const mm = parseInt(((x - 3) * 2 / 325) * 10 + 10) / 10 + "mm"
        return mm === "1mm" ? "L" : mm === "2mm" ? "M" : "H"
    }

    function lodRate(x: int): int {
        return ui_View.lodRate(x)
    }

    function scrollCount(text: string): string {
        const n = parseInt(text)
        return n >= 1 ? String(Math.min(n, 100)) : "2"
    }

    function init(isSendData: bool, isRecovery: bool): bool {
        const stored = ui_View.storedSettings(isRecovery).system
        mouseRateSlider.setOffset(stored.cursor, false)
        doubleRateSlider.setOffset(stored.doubleClick, false)
        lodSlider.setOffset(stored.lod, false)
        lodCheck.isSelect = stored.lodEnabled === true
        const scroll = stored.scroll
        scrollLines = !(scroll > 100)
        scrollInput.textValue = scrollLines ? scrollCount(String(scroll)) : "2"
        if (isSendData)
            return saveData(true, 0)
        return true
    }

    // Returns whether the mouse took the lift-off distance; what the desktop refuses is shown on
    // the panel, since it is no write to the mouse.
    function saveData(isSendData: bool, isStep: int): bool {
        ui_View.setData("mouse/mouseRate", mouseRateSlider.value)
        ui_View.setData("mouse/doubleRate", doubleRateSlider.value)
        ui_View.setData("mouse/lod", lodSlider.value)
        ui_View.setData("mouse/lodEn", lodCheck.isSelect ? 1 : 0)
        ui_View.setData("mouse/scrollRate", scrollValue())
        if (!isSendData)
            return true
        sendDesktopSettings(isStep)
        return ui_View.mouseSetLodValue(lodRate(lodSlider.value), lodCheck.isSelect) === true
    }

    function scrollValue(): int {
        return scrollLines ? parseInt(scrollCount(scrollInput.textValue)) : oneScreen
    }

    // The desktop's part (isStep 0: all, 1 pointer speed, 2 double-click, 3 scroll); what the
    // desktop refuses is shown on the panel.
    function sendDesktopSettings(isStep: int) {
        const lines = scrollValue()
        const refused = []
        if ((isStep === 0 || isStep === 1)
                && ui_View.mouseSetCursorSpeed(stepOf(mouseRateSlider.value)) === false)
            refused.push(1)
        if ((isStep === 0 || isStep === 2)
                && ui_View.mouseSetDoubleClickSpeed(stepOf(doubleRateSlider.value)) === false)
            refused.push(2)
        if ((isStep === 0 || isStep === 3) && ui_View.mouseSetVerticalScrollLines(lines) === false)
            refused.push(5)
        refusedItems = refused
    }

    function systemSettingFocus() {
        scrollInput.input.focus = false
    }

    function changed() {
        isSave = true
    }

    objectName: "systemSettingMain"

    // A press anywhere else on the panel ends the number field's edit.
    MouseArea {
        anchors.fill: parent
        onPressed: mouse => {
            systemSetting.systemSettingFocus()
            mainIten.mainFocus()
            mouse.accepted = false
        }
    }

    Text {
        x: 24
        y: 14
        text: systemSetting.systemSettingLang[0]
        color: mainIten.fontColor
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMaxSize
    }

    Column {
        x: 24
        y: 60
        spacing: 18

        Repeater {
            model: [{ label: 1 }, { label: 2 }]

            Column {
                spacing: 6

                PanelLabel { text: systemSetting.systemSettingLang[modelData.label] }

                Item {
                    width: 544
                    height: 24

                    Text {
                        width: 60
                        height: parent.height
                        verticalAlignment: Text.AlignVCenter
                        text: systemSetting.systemSettingLang[3]
                        color: mainIten.colorGray2
                        font.family: mainIten.fontFamily
                        font.pixelSize: mainIten.fontMinSize
                    }

                    SkinImage {
                        x: 70
                        y: 18
                        width: 340
                        height: 8
                        source: mainIten.sourceMouseSpeedScale
                    }

                    Text {
                        x: 424
                        height: parent.height
                        verticalAlignment: Text.AlignVCenter
                        text: systemSetting.systemSettingLang[4]
                        color: mainIten.colorGray2
                        font.family: mainIten.fontFamily
                        font.pixelSize: mainIten.fontMinSize
                    }
                }
            }
        }
    }

    SliderButton {
        id: mouseRateSlider

        objectName: "mouseRateSlider"
        accessibleName: systemSetting.systemSettingLang[1]
        x: 94
        y: 84
        width: 340
        segment: 10
        isScale: true
        knobSource: mainIten.sourceMouseSpeedBtn
        onValueChangeDelay: systemSetting.changed()
    }

    SliderButton {
        id: doubleRateSlider

        objectName: "doubleRateSlider"
        accessibleName: systemSetting.systemSettingLang[2]
        x: 94
        y: 150
        width: 340
        segment: 10
        isScale: true
        knobSource: mainIten.sourceMouseSpeedBtn
        onValueChangeDelay: systemSetting.changed()
    }

    PanelLabel { x: 24; y: 206; text: systemSetting.systemSettingLang[5] }

    RadioButton {
        id: scrollRate1

        objectName: "scrollRate1"
        x: 24
        y: 232
        gapValue: 8
        textValue: systemSetting.systemSettingLang[6]
        isSelect: systemSetting.scrollLines
        onBtnClick: {
            systemSetting.scrollLines = true
            systemSetting.changed()
        }
    }

    RectInput {
        id: scrollInput

        objectName: "scrollField"
        accessibleName: systemSetting.systemSettingLang[6]
        x: scrollRate1.x + scrollRate1.implicitWidth + 16
        y: 230
        width: 56
        minValue: 0
        maxValue: 100
        textValue: "2"
        Component.onCompleted: input.maximumLength = 3
        onInputSignal: mainIten.mainFocus()
        onEndInputSignal: {
            textValue = systemSetting.scrollCount(textValue)
            systemSetting.changed()
        }
    }

    RadioButton {
        objectName: "scrollRate2"
        x: 24
        y: 266
        gapValue: 8
        textValue: systemSetting.systemSettingLang[7]
        isSelect: !systemSetting.scrollLines
        onBtnClick: {
            systemSetting.scrollLines = false
            systemSetting.changed()
        }
    }

    PanelLabel { x: 24; y: 314; text: systemSetting.systemSettingLang[8] }

    SliderButton {
        id: lodSlider

        objectName: "lodSlider"
        accessibleName: systemSetting.systemSettingLang[8]
        x: 94
        y: 340
        width: 340
        segment: 2
        knobSource: mainIten.sourceMouseSpeedBtn
        onValueChangeDelay: value => {
            setOffset(systemSetting.lodSnap(value), false)
            systemSetting.changed()
        }
    }

    Text {
        objectName: "lodText"
        x: 448
        y: 340
        height: 24
        verticalAlignment: Text.AlignVCenter
        text: systemSetting.lodText(lodSlider.value)
        color: mainIten.colorPrimary
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
    }

    // The three stops under the track; a click on one moves the knob there.
    Repeater {
        model: systemSetting.lodOffsets

        Text {
            required property int index
            required property int modelData

            objectName: "lodStop" + index
            x: lodSlider.x + modelData + lodSlider.btnH / 2 - width / 2
            y: lodSlider.y + lodSlider.height
            width: 20
            horizontalAlignment: Text.AlignHCenter
            text: systemSetting.lodText(modelData)
            color: lodSlider.value === modelData ? mainIten.colorPrimary : mainIten.colorGray2
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontMinSize

            MouseArea {
                anchors.fill: parent
                anchors.margins: -4
                onClicked: {
                    systemSetting.systemSettingFocus()
                    mainIten.mainFocus()
                    lodSlider.setOffset(modelData, false)
                    systemSetting.changed()
                }
            }
        }
    }

    CheckBox {
        id: lodCheck

        objectName: "lodEnable"
        x: 24
        y: 382
        textValue: mainIten.keyMatrixLang[16]
        onBtnClick: systemSetting.changed()
    }

    AutostartCheck {
        x: 24
        y: 430
        textValue: systemSetting.systemSettingLang[9]
    }

    Text {
        objectName: "pointerRefused"
        x: 24
        y: 470
        width: 544
        visible: systemSetting.refusedText !== ""
        wrapMode: Text.Wrap
        text: systemSetting.refusedText
        color: mainIten.colorAccent
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize + 2
    }
}
