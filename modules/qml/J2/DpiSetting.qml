import QtQuick
import TK700.Artwork 1.0

// The DPI panel: one slider per stage of the mouse, − and + per stage, the stage colours and the
// stage the mouse uses now, highlighted. Edits only set isSave; saveData() stores and sends.
Item {
    id: dpiSetting

    property bool isSave: false
    // The stage the mouse uses, 0-based; the shell keeps it as the mouse reports it.
    readonly property int currentDPI: mainIten.currentDPI
    property int dpiCount: 8
    property int currentDpiCount: 4
    property int minDPI: 500
    property int maxDPI: 7000
    property int dpiBase: 500
    property string sensorType: "3320"
    property var dpiValueArray: [250, 500, 750, 1000, 1250, 1500, 1750, 2000]
    property var dpiEnableArray: [1, 1, 1, 1, 1, 1, 1, 1]
    property var dpiColorArray: Array(8).fill("#ff0000")
    // The value text of each slider.
    property var dpiValues: Array(8).fill("2000")
    property int sliderW: 435
    property list<string> dpiSettingLang: ["DPI Setting", "DPI Color", "DPI Stages", "Stage",
        "Current Stage", "Restore Defaults"]
    readonly property alias dpiSegment: segmentList
    readonly property int stages: 8
    readonly property int colourStages: 6
    // Closer rows for seven or eight stages leave the mouse picture above its room.
    readonly property int rowPitch: dpiCount > 6 ? 26 : 30
    readonly property int rowsTop: 42

    // The value a knob offset stands for: a whole multiple of dpiBase, maxDPI at the right end.
    function valueAt(x: int): int {
        return Math.floor(((x - 3) * (maxDPI - minDPI) / (sliderW - 18) + minDPI) / dpiBase)
               * dpiBase
    }

    function setValueText(s: int, value: int) {
        const values = dpiValues.slice()
        values[s] = String(value)
        dpiValues = values
    }

    function slider(s: int): var {
        return sliderRows.itemAt(s)?.slider ?? null
    }

    function showValue(s: int, value: int) {
        slider(s)?.setRatioValue((value - minDPI) / (maxDPI - minDPI))
    }

    // − (direction −1) and + (+1): one step while it stays in range; the page is unsaved either way.
    function step(s: int, direction: int) {
        const value = parseInt(dpiValues[s]) + direction * dpiBase
        if (value >= minDPI && value <= maxDPI)
            showValue(s, value)
        isSave = true
    }

    // Loads the stages from the profile (isRecovery: from the defaults) and, when asked, sends
    // them. Returns false when a send did not reach the mouse or could not be made.
    function init(isSendData: bool, isRecovery: bool): bool {
        const stored = ui_View.storedSettings(isRecovery).dpi
        dpiCount = stored.count
        currentDpiCount = stored.current
        minDPI = stored.min
        maxDPI = stored.max
        dpiBase = stored.base
        sensorType = stored.sensor
        dpiEnableArray = Array.from(stored.enables)
        dpiValueArray = Array.from(stored.values)
        const colours = Array.from(stored.colours, String)
        dpiColorArray = dpiColorArray.map((c, s) => colours[s] ?? c)
        if (dpiCount > stages) {
            console.log("dpiSetting: dpiCount", dpiCount, "is more than the panel has")
            return !isSendData
        }
        if (!isRecovery) {
            segmentList.mdItems.clear()
            for (let n = 1; n <= dpiCount; ++n)
                segmentList.mdItems.append({ textValue: String(n) })
            segmentList.setSelect(currentDpiCount - 1)
            segmentList.closeMenu()
        }
        for (let s = 0; s < stages; ++s)
            showValue(s, dpiValueArray[s] ?? minDPI)
        return isSendData ? saveData(true) : true
    }

    // The colours of stages 0 … 5 as #rrggbb; stages 6 and 7 are always white.
    function stageColourBytes(colours: var): var {
        const bytes = []
        for (let s = 0; s < stages; ++s) {
            const text = s < colourStages ? String(colours[s] ?? "#ffffff") : "#ffffff"
            bytes.push(...Array.from(ui_View.colourLevels(text)))
        }
        return bytes
    }

    function saveData(isSendData: bool): bool {
        const values = dpiValues.map(v => parseInt(v))
        const enables = Array.from({ length: stages }, (_, s) => dpiEnableArray[s] ?? 1)
        ui_View.setDataList("mouse/dpiValueArray", values)
        ui_View.setData("mouse/currentDpiCount", currentDpiCount)
        ui_View.setData("mouse/dpiEnableArray", enables)
        let ok = true
        if (isSendData)
            ok = ui_View.mouseSetDpi(currentDpiCount, sensorType, values, enables) === true
        const colours = dpiColorArray.slice(0, colourStages).map(String)
        ui_View.setData("mouse/dpiColorArray", colours)
        if (isSendData)
            ok = ui_View.mouseSetRGBColor(1, stageColourBytes(colours)) === true && ok
        return ok
    }

    function restore() {
        init(false, true)
        isSave = true
    }

    objectName: "dpiSettingMain"
    width: 560
    height: rowsTop + Math.min(dpiCount, stages) * rowPitch + 8

    SvgPicture {
        anchors.fill: parent
        source: mainIten.sourcedpiSettingSix
    }

    Text {
        x: 26
        height: 32
        verticalAlignment: Text.AlignVCenter
        text: dpiSetting.dpiSettingLang[0]
        color: mainIten.fontColor
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
    }

    ImageButton {
        objectName: "dpiRestoreBtn"
        accessibleName: dpiSetting.dpiSettingLang[5]
        anchors.right: parent.right
        anchors.rightMargin: 8
        y: 3
        width: 32
        height: 26
        source: mainIten.sourceBack
        onClicked: {
            mainIten.mainFocus()
            dpiSetting.restore()
        }
    }

    // The stage-count list is kept but not shown.
    DropDownList {
        id: segmentList

        objectName: "dpiSegment"
        visible: false
        enabled: false
    }

    Repeater {
        model: dpiSetting.colourStages

        Rectangle {
            required property int index

            objectName: "dpiColor" + index
            x: 12
            y: dpiSetting.rowsTop + index * dpiSetting.rowPitch + 7
            width: 12
            height: 12
            radius: 6
            color: dpiSetting.dpiColorArray[index]
            border.color: Qt.darker(color, 1.6)
        }
    }

    Repeater {
        id: sliderRows

        model: dpiSetting.stages

        Item {
            id: stageRow

            required property int index
            readonly property alias slider: slider
            readonly property bool hasButtons: index < dpiSetting.colourStages

            objectName: "dpiRow" + index
            x: 30
            y: dpiSetting.rowsTop + index * dpiSetting.rowPitch
            width: dpiSetting.width - 38
            height: 26
            visible: index < dpiSetting.dpiCount

            DpiStepButton {
                objectName: "dpiMinus" + stageRow.index
                accessibleName: slider.accessibleName + " −"
                anchors.verticalCenter: parent.verticalCenter
                visible: stageRow.hasButtons
                sourceUp: mainIten.sourcedpiSettingLbtnUp
                sourceDown: mainIten.sourcedpiSettingLbtnDown
                onClicked: dpiSetting.step(stageRow.index, -1)
            }

            SliderButton {
                id: slider

                objectName: "dpiSlider" + stageRow.index
                x: 24
                width: dpiSetting.sliderW
                anchors.verticalCenter: parent.verticalCenter
                knobSource: mainIten.sourceDpiBtn
                accessibleName: dpiSetting.dpiSettingLang[3] + " " + (stageRow.index + 1)
                shownValue: parseInt(dpiSetting.dpiValues[stageRow.index]) || 0
                shownMinimum: dpiSetting.minDPI
                shownMaximum: dpiSetting.maxDPI
                // One arrow step is one DPI step, as − and + make it.
                stepBy: direction => dpiSetting.step(stageRow.index, direction)
                colorS: stageRow.index === dpiSetting.currentDPI ? mainIten.colorAccent
                                                                  : mainIten.colorPrimary
                onValueChange: tmpValue => dpiSetting.setValueText(stageRow.index,
                                                                   dpiSetting.valueAt(tmpValue))
                onValueChangeDelay: dpiSetting.isSave = true
            }

            DpiStepButton {
                objectName: "dpiPlus" + stageRow.index
                accessibleName: slider.accessibleName + " +"
                x: slider.x + slider.width + 4
                anchors.verticalCenter: parent.verticalCenter
                visible: stageRow.hasButtons
                sourceUp: mainIten.sourcedpiSettingRbtnUp
                sourceDown: mainIten.sourcedpiSettingRbtnDown
                onClicked: dpiSetting.step(stageRow.index, 1)
            }

            Text {
                objectName: "dpiValue" + stageRow.index
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                text: dpiSetting.dpiValues[stageRow.index]
                color: stageRow.index === dpiSetting.currentDPI ? mainIten.colorAccent
                                                                 : mainIten.fontColor
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontMinSize + 3
            }
        }
    }
}
