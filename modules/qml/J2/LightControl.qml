import QtQuick

// The mouse's lighting: effect, speed, brightness, direction and 15 colour blocks, kept as up to
// four presets in the profile. Apply sends the preset in use.
Item {
    id: light

    property list<string> lightControlLang: ["Light", "Static", "Breath", "Neon", "OFF", "Speed",
        "Color", "Brightness", "Effect", "Preset", "New", "Delete", "Rename", "Save", "Slow",
        "Fast", "Custom Color", "Circulating Water", "Symmetrical Flow", "Direction",
        "clockwise", "anti clockwise", "up", "down"]
    readonly property int maxPresets: 4
    readonly property int blockCount: 15
    readonly property string sentinel: "nullslotmark"
    readonly property int renamePreset: 401
    // The effect list, in list order, as indices of lightControlLang.
    readonly property var effectLabels: [1, 2, 3, 17, 18, 4]
    property alias lightModel: effects.effectList
    // The panes' parts the functions drive.
    readonly property alias speedSlider: effects.speedSlider
    readonly property alias brightnessSlider: effects.brightnessSlider
    readonly property alias effectList: effects.effectList
    readonly property alias effectModel: effects.effectModel
    readonly property alias directionList: effects.directionList
    readonly property alias directionModel: effects.directionModel
    readonly property alias picker: colours.picker
    readonly property alias presetList: colours.presetList
    property bool isSave: false
    property int lightCount: 1
    property int lightNo: 0
    property var lightNames: ["Preset 1"]
    property int colorIndex: 0
    property var colors: []
    property int effectPosition: 0
    property int direction: 0

    function suffix(preset: int): string {
        return preset === 0 ? "" : String(preset)
    }

    function effectOf(position: int): int {
        return position < 4 ? position : position + 1
    }

    function positionOf(effect: int): int {
        return effect < 4 ? effect : effect - 1
    }

    function speedStep(): int { return speedSlider.segmentValue }
    function brightnessStep(): int { return brightnessSlider.segmentValue }

    // Shows preset `preset` as the core reads it (isRecovery: from the factory profile).
    function loadPreset(preset: int, isRecovery: bool) {
        show(ui_View.storedPreset(preset, isRecovery))
    }

    function show(stored: var) {
        effectPosition = positionOf(stored.effect)
        effectList.setSelect(effectPosition)
        speedSlider.setIndexValue(stored.speed, false)
        brightnessSlider.setIndexValue(stored.brightness, false)
        direction = stored.direction
        directionList.setSelect(direction)
        colors = Array.from(stored.colours, levels => picker.colorText(Array.from(levels)))
        colorIndex = stored.colourIndex
        picker.showColor(colors[colorIndex])
    }

    function init(isSendData: bool, isRecovery: bool): bool {
        if (!isRecovery) {
            const stored = ui_View.storedSettings(false).light
            lightCount = stored.count
            const names = Array.from(stored.names, String)
            while (names.length < lightCount)
                names.push(lightControlLang[9] + " " + (names.length + 1))
            lightNames = names
            lightNo = stored.current
        }
        loadPreset(lightNo, isRecovery)
        presetList.refresh()
        if (isSendData)
            return saveData(true, 0)
        return true
    }

    // Stores the preset in use and, when asked, sends it; returns whether the mouse took it.
    function saveData(isSendData: bool, isStep: int): bool {
        const effect = effectOf(effectPosition)
        const s = suffix(lightNo)
        ui_View.setData("mouseLight/lightNo", lightNo)
        ui_View.setData("mouseLight/lightCount", lightCount)
        ui_View.setData("mouseLight/colorIndex" + s, colorIndex)
        ui_View.setDataList("mouseLight/lightValue" + s,
                            [effect, speedStep(), brightnessStep(), direction])
        let bytes = []
        for (const c of colors)
            bytes = bytes.concat(picker.rgbOf(c))
        ui_View.setDataList("mouseLight/colorValue" + s, bytes)
        ui_View.setDataList("mouseLight/lightName",
                            lightNames.length === 1 ? [lightNames[0], sentinel] : lightNames)
        if (!isSendData)
            return true
        let send = []
        for (let b = 0; b < blockCount; ++b)
            send = send.concat(picker.rgbOf(colors[colorIndex]))
        return ui_View.mouseSetLedType(effect, brightnessStep() * 5, speedStep(), direction,
                                       send) === true
    }

    function changed() {
        isSave = true
    }

    function setBlockColor(text: string) {
        const list = colors.slice()
        list[colorIndex] = text
        colors = list
        changed()
    }

    // Presets: a new one starts as a copy of the one in use.
    function choosePreset(index: int) {
        if (index === lightNo || index < 0 || index >= lightCount)
            return
        saveData(false, 0)
        lightNo = index
        loadPreset(lightNo, false)
        presetList.refresh()
        changed()
    }

    function newPreset(): bool {
        if (lightCount >= maxPresets)
            return false
        saveData(false, 0)
        lightNames = lightNames.concat([lightControlLang[9] + " " + (lightCount + 1)])
        lightCount += 1
        lightNo = lightCount - 1
        saveData(false, 0)
        presetList.refresh()
        changed()
        return true
    }

    // The preset in use goes, except the first; those after it move up one place.
    function deletePreset(): bool {
        if (lightNo === 0 || lightCount <= 1)
            return false
        for (let p = lightNo + 1; p < lightCount; ++p) {
            for (const key of ["mouseLight/lightValue", "mouseLight/colorValue"]) {
                ui_View.setDataList(key + suffix(p - 1),
                                    ui_View.getDataList(key + suffix(p), false))
            }
            ui_View.setData("mouseLight/colorIndex" + suffix(p - 1),
                            ui_View.getData("mouseLight/colorIndex" + suffix(p), false))
        }
        const names = lightNames.slice()
        names.splice(lightNo, 1)
        lightNames = names
        lightCount -= 1
        lightNo = 0
        loadPreset(0, false)
        saveData(false, 0)
        presetList.refresh()
        changed()
        return true
    }

    function renameCurrent(name: string): bool {
        if (name === "" || lightNames.includes(name))
            return false
        const names = lightNames.slice()
        names[lightNo] = name
        lightNames = names
        presetList.refresh()
        changed()
        return true
    }

    function lightControlFocus() {
        effectList.closeMenu()
        directionList.closeMenu()
        presetList.closeMenu()
    }

    function updateLang() {
        effectModel.clear()
        for (const i of effectLabels)
            effectModel.append({ textValue: lightControlLang[i] })
        effectList.setSelect(effectPosition)
        directionModel.clear()
        for (let i = 20; i <= 23; ++i)
            directionModel.append({ textValue: lightControlLang[i] })
        directionList.setSelect(direction)
    }

    objectName: "lightControlMain"
    Component.onCompleted: updateLang()
    onLightControlLangChanged: updateLang()

    Connections {
        target: inputAssigmentMain

        function onClickOK(type) {
            if (type === light.renamePreset)
                light.renameCurrent(inputAssigmentMain.textValue)
        }
    }

    Text {
        x: 24
        y: 14
        text: light.lightControlLang[0]
        color: mainIten.fontColor
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMaxSize
    }

    LightColours {
        id: colours

        anchors.fill: parent
        light: light
    }

    // After the colours, so that its lists open over them.
    LightEffect {
        id: effects

        anchors.fill: parent
        light: light
    }
}
