import QtQuick
import TK700.Artwork 1.0
import "basic"
import "J2"
import "js/Shell.js" as Shell

// The document's root: the look every page uses by name, the start-up logo, the lock state and
// the functions the core calls by name. Until the start-up lock runs out only the logo is
// shown, so the window maps with the logo alone; the screen behind it (window chrome, pages and
// dialogs, all created once) is built right after, a slice per frame, and the start-up waits for
// it: every page exists before the user can touch anything.
Look {
    id: mainIten

    property bool isFrameMax: false
    // False while the window is hidden: nothing animates then.
    property bool viewShown: true
    property int mouseMode: 0
    property string language: "ChineseSimplified"
    property string url: ""
    property bool isColorful: false
    property bool isGun: true
    property string icType: "553"
    property bool is55328: false
    property bool isPownOn: false
    property bool isStarted: false
    property int currentTab: 0
    property int profileNo: 0
    // The mouse's DPI stage, 0-based; the DPI panel shows it.
    property int currentDPI: 0
    // The pages whose edits Apply and OK send, in this order: { page, save: function returning
    // whether the mouse took it }.
    property var savers: [{ page: keyMatrixMain, save: () => keyMatrixMain.saveData() },
                          { page: dpiSettingMain, save: () => dpiSettingMain.saveData(true) },
                          { page: lightControlMain, save: () => lightControlMain.saveData(true, 0) },
                          { page: systemSettingMain,
                            save: () => systemSettingMain.saveData(true, 0) }]
    readonly property bool isUnsaved: savers.some(s => s.page?.isSave === true)
    // The lock the busy indicator shows, and its text ("n of m" while a queue is written).
    property bool busy: false
    property string busyText: ""
    // The screen's pages and dialogs under the names the shell uses; null until it is built (the
    // ones built on first use until then: `buildPart`).
    readonly property Item screen: screenLoader.item
    // For the screen's handlers: the shell's sequences, with their state, live in this document.
    readonly property var shell: Shell
    readonly property QtObject _KeyCodeString: screen?.parts._KeyCodeString ?? null
    readonly property Item keyAssigmentMain: screen?.parts.keyAssigmentMain ?? null
    readonly property Item reportRate: screen?.parts.reportRate ?? null
    readonly property Item menuUp: screen?.parts.menuUp ?? null
    readonly property Item mousePage: screen?.parts.mousePage ?? null
    readonly property Item keyMatrixMain: screen?.parts.keyMatrixMain ?? null
    readonly property Item mouseMain: screen?.parts.mouseMain ?? null
    readonly property Item dpiSettingMain: screen?.parts.dpiSettingMain ?? null
    readonly property Item settingsPage: screen?.parts.settingsPage ?? null
    readonly property Item profileMain: screen?.parts.profileMain ?? null
    readonly property Item tooltip: screen?.parts.tooltip ?? null
    readonly property Item warningAssigmentMain: screen?.parts.warningAssigmentMain ?? null
    readonly property Item quitQuestion: screen?.parts.quitQuestion ?? null
    readonly property Item lightControlMain: screen?.parts.lightControlMain ?? null
    readonly property Item systemSettingMain: screen?.parts.systemSettingMain ?? null
    readonly property Item macroEditorMain: screen?.parts.macroEditorMain ?? null
    readonly property Item gunControlMain: screen?.parts.gunControlMain ?? null
    readonly property Item macroKeyAssigmentMain: screen?.parts.macroKeyAssigmentMain ?? null
    readonly property bool pagesBuilt: screen !== null
    property list<string> keyMatrixLang: ["Key Setting", "Office Mode", "Game Mode", "Mode",
        "Gun Editor", "Report Rate", "Profile", "Reset",
        "Reset all settings of the current profile to their defaults?", "Cancel", "OK", "Close",
        "Apply", "Minimize", "Restore Defaults", "Language", "Enable", "Mouse & Macros",
        "Backlight", "Settings", "Reading the mouse…", "Quit",
        "Some pages have changes that were not applied to the mouse. Apply them before quitting?",
        "Discard"]

    signal initDropDownList()
    signal clickMainFocus()
    signal emptyAreaPressed()
    signal clickOfficeMode()
    signal clickGameMode()
    signal msg_KB(bool isDown, int usbCode)
    signal msg_MS(bool isDown, int vornCode, int x, int y)
    signal msg_wheel(int _value)

    function initUI() { Shell.initUI() }
    // A part by its name, built now if it is built on first use (null before the screen is).
    function buildPart(name) { return screen?.build(name) ?? null }
    onPagesBuiltChanged: if (pagesBuilt) Shell.pagesBuilt()
    onIsStartedChanged: if (isStarted) Qt.callLater(ui_View.releaseUnusedImages)
    function run() {}
    function setScreenRect(_widgetW, _widgetH, isMaxNormal) {
        Shell.setScreenRect(_widgetW, _widgetH, isMaxNormal)
    }
    function setProtectUI(interval) { Shell.setProtectUI(interval) }
    function setCurrentDPI(dpiValue) { Shell.setCurrentDPI(dpiValue) }
    function detectKeyboard(isDown, usbCode) { msg_KB(isDown, usbCode) }
    function detectMouse(isDown, vornCode, x, y) { msg_MS(isDown, vornCode, x, y) }
    function scroll(_value) {}

    function mainFocus() { Shell.mainFocus() }
    function controlUIEnable(isEnable: bool) { Shell.controlUIEnable(isEnable) }
    function setLangIndex(langStr: string) { Shell.setLangIndex(langStr) }
    function saveAllData() { Shell.saveAllData() }
    // The tray's Quit while pages are not applied (app/widget.cpp).
    function askQuit() { Shell.askQuit() }
    function resetAllDate() { Shell.resetAllDate() }
    function set_switchBtnMode(index: int) { Shell.setMode(index) }
    function changeProfile(tmpProfileNo: int) { Shell.changeProfile(tmpProfileNo) }
    function reloadProfile() { Shell.reloadProfile() }
    // The D-Bus service's requests (app/window_owner.cpp), each the user's own action: true or
    // false for a device work started (whether its writes were all queued), nothing otherwise.
    // `followed`: an application came to the front; the hand-chosen profile stays stored.
    function requestProfile(profileNo, followed) {
        return Shell.changeProfile(Number(profileNo), followed === true)
    }
    function requestProfileSent() { return Shell.reloadProfile() }
    function requestDpiStage(stage) { return Shell.setDpiStage(Number(stage)) }
    function requestMacro(bytes, slot, name) { return Shell.sendMacro(bytes, Number(slot), name) }
    function profileName(profileNo) { return profileMain?.nameOf(Number(profileNo)) ?? "" }
    function chooseLanguage(code: string) { Shell.chooseLanguage(code) }
    function deviceWork(work: var, done: var) { Shell.deviceWork(work, done) }
    function saveSettings(): bool { return Shell.saveSettings() }

    objectName: "mainIten"
    width: frameW
    height: frameH
    loadLatinFont: false
    // Keys no control took: Esc closes the topmost menu, panel or box, Enter applies the pages.
    focus: true
    Keys.onEscapePressed: Shell.escapePressed()
    Keys.onReturnPressed: Shell.enterPressed()
    Keys.onEnterPressed: Shell.enterPressed()

    Connections {
        target: ui_View
        function onDeviceWorkFinished(ok, saved) { Shell.deviceWorkFinished(ok, saved) }
        function onDeviceProgress(done, total) { Shell.deviceProgress(done, total) }
        function onMouseStateRead(ok, currentDPI) { Shell.mouseStateRead(ok, currentDPI) }
    }

    Timer {
        id: tmrProtectUI

        interval: 1000
        onTriggered: Shell.protectionOver()
    }

    // The first text is the screen's: the font database is set up once the window is up.
    Timer {
        interval: 0
        running: true
        onTriggered: mainIten.loadLatinFont = true
    }

    // The screen behind the logo, built a slice per frame once the window is up, and only after
    // the Latin font is there: its texts are laid out once, in the font they are shown in.
    Loader {
        id: screenLoader

        anchors.fill: parent
        active: mainIten.loadLatinFont
        asynchronous: true
        source: "basic/MainScreen.qml"
    }

    SvgPicture {
        anchors.centerIn: parent
        width: 480
        height: 220
        scale: mainIten.zoomInRate_min
        source: mainIten.isStarted ? "" : mainIten.sourcePowerOn
        visible: !mainIten.isStarted
    }
}
