import QtQuick
import "basic"

// The document's root: the functions the core calls by name, the start-up logo and the busy
// protection. Pages are children of the content frame.
Item {
    id: root

    readonly property int normalW: 1280
    readonly property int normalH: 720
    property int frameW: normalW
    property int frameH: normalH
    property bool isFrameMax: false
    property real zoomInRate_min: 1.0
    property real zoomInRate_max: 1.0

    property bool isPownOn: false
    property bool isStarted: false
    property bool isColorful: false
    property string icType: ""
    property bool is55328: false
    property bool isGun: false
    property string language: "English"
    property int langIndex: 0
    property int profileNo: 0
    property int currentDPI: 0
    property var langLists: ({})

    readonly property var langGroups: ["keyMatrix", "keyAssigment", "dpiSetting", "lightControl",
        "macroEditor", "systemSetting", "gunControl", "profile", "keyCode", "warningAssigment"]

    signal msg_KB(bool isDown, int usbCode)
    signal msg_MS(bool isDown, int vornCode, int x, int y)
    signal msg_wheel(int _value)

    function initUI() {
        setProtectUI(1000)
        root.visible = true
        if (!isPownOn) {
            isColorful = String(ui_View.getGlobalData("mouse/isColorful")) === "true"
            icType = ui_View.getGlobalData("mouse/icType") ?? ""
            is55328 = String(ui_View.getGlobalData("mouse/is55328")) === "true"
            isGun = String(ui_View.getGlobalData("mouse/isGun")) === "true"
            if (icType === "560" && ui_View.mouseReadCurrentProfile() !== 1)
                hid.hid560_02H_SetCurrentProfile(1)
            language = ui_View.getGlobalData("common/language") ?? "English"
            setLangIndex(language)
            const lists = {}
            for (const group of langGroups)
                lists[group] = ui_View.getLangStrings(group, language)
            langLists = lists
            // The key names follow the language; a short list would shift codes, so it is kept
            // out.
            if (lists["keyCode"].length === _KeyCodeString.keyCode.length)
                _KeyCodeString.keyCodeStr = lists["keyCode"]
            ui_View.getLangStrings("other", language)
            profileNo = parseInt(ui_View.getGlobalData("mouse/profileNo") ?? "0")
            ui_View.setCurrentProfile(profileNo)
            isPownOn = true
        }
        currentDPI = ui_View.mouseGetCurrentDPI() - 1
    }

    function run() {
    }

    function setScreenRect(_widgetW, _widgetH, isMaxNormal) {
        frameW = _widgetW
        frameH = _widgetH
        isFrameMax = isMaxNormal
        zoomInRate_min = Math.min(frameW / normalW, frameH / normalH)
        zoomInRate_max = Math.max(frameW / normalW, frameH / normalH)
        console.log("zoomInRate_min =", zoomInRate_min, "zoomInRate_max =", zoomInRate_max)
    }

    function setProtectUI(interval) {
        protectUIItem.setBusy(true)
        ui_View.setEnabled(false)
        tmrProtectUI.interval = interval > 0 ? interval : 1000
        tmrProtectUI.restart()
    }

    function controlUIEnable(isEnable: bool) {
        protectUIItem.setBusy(!isEnable)
        ui_View.setEnabled(isEnable)
    }

    function setCurrentDPI(dpiValue) {
        console.log("setCurrentDPI", dpiValue)
        if (parseInt(dpiValue) !== 0)
            currentDPI = parseInt(dpiValue) - 1
    }

    function detectKeyboard(isDown, usbCode) {
        msg_KB(isDown, usbCode)
    }

    function detectMouse(isDown, vornCode, x, y) {
        msg_MS(isDown, vornCode, x, y)
    }

    function scroll(_value) {
    }

    function setLangIndex(langStr) {
        const index = ["English", "ChineseSimplified", "ChineseTraditional", "German", "French",
                       "Italian", "Spanish"].indexOf(langStr)
        if (index >= 0)
            langIndex = index
    }

    width: normalW
    height: normalH

    KeyCodeString {
        id: _KeyCodeString
    }

    Timer {
        id: tmrProtectUI

        interval: 1000
        repeat: false
        onTriggered: {
            ui_View.setEnabled(true)
            protectUIItem.setBusy(false)
            root.isStarted = true
        }
    }

    Image {
        id: sourcePowerOn

        anchors.centerIn: parent
        source: "../img/skin1/powerOn.svg"
        sourceSize.width: 480 * root.zoomInRate_min
        sourceSize.height: 220 * root.zoomInRate_min
        visible: !root.isStarted
    }

    Rectangle {
        id: sourceBackground

        anchors.fill: parent
        radius: 8 * root.zoomInRate_min
        color: "#1e2026"
        border.color: "#3a3c44"
        visible: root.isStarted

        // The content frame: pages are laid out in design pixels and scaled to the window.
        Item {
            id: contentFrame

            anchors.centerIn: parent
            width: root.normalW
            height: root.normalH
            scale: root.zoomInRate_min
        }
    }

    BusyIndicator {
        id: protectUIItem

        anchors.fill: parent
        visible: isBusy && root.isStarted
    }
}
