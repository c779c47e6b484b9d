// The shell's sequences: start-up, save, reset, profile change, mode switch and language. It runs
// in the context of main.qml, so it reaches the pages, the dialogs and the core by their ids.
.import "Language.js" as Language

// The built-in texts of every language list, kept from before the first file was read.
let builtInLists = ({})

function isTrue(value) {
    return value === true || String(value) === "true"
}

function initUI() {
    setProtectUI(1000)
    mainIten.visible = true
    if (!mainIten.isPownOn)
        startUp()
    mainIten.currentDPI = Number(ui_View.mouseGetCurrentDPI()) - 1
}

function startUp() {
    mainIten.isColorful = isTrue(ui_View.getGlobalData("mouse/isColorful"))
    mainIten.icType = String(ui_View.getGlobalData("mouse/icType") ?? "553")
    mainIten.is55328 = isTrue(ui_View.getGlobalData("mouse/is55328"))
    mainIten.isGun = isTrue(ui_View.getGlobalData("mouse/isGun"))
    // mouseMain.keyCount = "mouse/keyCount" arrives with the mouse picture.
    setMode(parseInt(ui_View.getData("mouse/mouseMode", false)) === 1 ? 1 : 0)
    if (mainIten.icType === "560" && Number(ui_View.mouseReadCurrentProfile()) !== 1)
        hid.hid560_02H_SetCurrentProfile(1)
    const locale = Qt.locale()
    mainIten.language = Language.startLanguage(ui_View.getGlobalData("common/language"),
                                               locale.name, locale.uiLanguages)
    mainIten.url = Language.url(mainIten.language)
    setLangIndex(mainIten.language)
    loadLanguageLists()
    reportRate.init(false)
    // profileMain.init(), its profileNo and the selection in the menu bar's profile list arrive
    // with the profile dialog.
    const stored = parseInt(ui_View.getGlobalData("mouse/profileNo"))
    mainIten.profileNo = stored >= 0 && stored <= 9 ? stored : 0
    ui_View.setCurrentProfile(mainIten.profileNo)
    // Then, with their pages: gunControlMain.init(), keyAssigmentMain.init(),
    // keyMatrixMain.init(false, false), dpiSettingMain.init(false, false),
    // lightControlMain.init(false, false), systemSettingMain.init(false, false).
    mainIten.initDropDownList()
    mainIten.isPownOn = true
}

// Each group's list, from the language file over the built-in texts. The other pages' groups
// (keyAssigment, dpiSetting, lightControl, macroEditor, systemSetting, gunControl, profile)
// join this table with their pages.
function loadLanguageLists() {
    const targets = [["keyMatrix", mainIten, "keyMatrixLang"],
                     ["keyCode", _KeyCodeString, "keyCodeStr"],
                     ["warningAssigment", warningAssigmentMain, "warningAssigmentLang"]]
    for (const [group, target, property] of targets) {
        if (!(group in builtInLists))
            builtInLists[group] = Array.from(target[property])
        target[property] = Language.merge(builtInLists[group],
                                          ui_View.getLangStrings(group, mainIten.language))
    }
    // Refreshes the core's tray notification texts.
    ui_View.getLangStrings("other", mainIten.language)
}

function setLangIndex(langStr) {
    const index = Language.indexOf(langStr)
    if (index >= 0)
        mainIten.langIndex = index
}

// The language list of the menu bar: stored for the next start, applied to every list now.
function chooseLanguage(code) {
    const index = Language.indexOf(code)
    if (index < 0)
        return
    ui_View.setGlobalData("common/language", code)
    mainIten.language = code
    mainIten.url = Language.url(code)
    setLangIndex(code)
    loadLanguageLists()
    menuUp.languageList.setSelect(index)
    // keyMatrixMain.updateLang() and profileMain.updateLang() join with their pages.
    mainIten.initDropDownList()
}

function setScreenRect(w, h, isMaxNormal) {
    mainIten.frameW = w
    mainIten.frameH = h
    mainIten.isFrameMax = isMaxNormal
    mainIten.zoomInRate_min = Math.min(w / mainIten.normalW, h / mainIten.normalH)
    mainIten.zoomInRate_max = Math.max(w / mainIten.normalW, h / mainIten.normalH)
    console.log("zoomInRate_min =", mainIten.zoomInRate_min,
                "zoomInRate_max =", mainIten.zoomInRate_max)
}

function setProtectUI(interval) {
    protectUIItem.setBusy(true)
    ui_View.setEnabled(false)
    tmrProtectUI.interval = interval > 0 ? interval : 1000
    tmrProtectUI.restart()
}

// The first time the protection runs out, the logo gives way to the window.
function protectionOver() {
    ui_View.setEnabled(true)
    protectUIItem.setBusy(false)
    if (!mainIten.isStarted) {
        mainIten.isStarted = true
        menuUp.languageList.setSelect(mainIten.langIndex)
    }
}

function controlUIEnable(isEnable) {
    protectUIItem.setBusy(!isEnable)
    ui_View.setEnabled(isEnable)
}

function setCurrentDPI(dpiValue) {
    console.log("setCurrentDPI", dpiValue)
    const stage = parseInt(dpiValue)
    if (stage !== 0 && !isNaN(stage))
        mainIten.currentDPI = stage - 1
}

function mainFocus() {
    reportRate.closeMenu()
    menuUp.closeMenus()
    // dpiSettingMain.dpiSegment and lightControlMain.lightModel close here with their pages.
    mainIten.clickMainFocus()
}

function emptyAreaPressed() {
    mainFocus()
    mainIten.emptyAreaPressed()
}

// The open pages and dialogs drop their focus (macroEditorFocus, profileFocus,
// gunControlFocus, lightControlFocus, systemSettingFocus join with their pages).
function maskPressed() {
    mainFocus()
}

function chooseTab(index) {
    mainIten.currentTab = index
    if (index === 2) {
        // macroEditorMain.init() joins with the macro editor.
        mainFocus()
    }
}

function setMode(index) {
    const game = index === 1
    mainIten.mouseMode = game ? 1 : 0
    mousePage.officeBtn.isSelect = !game
    mousePage.gameBtn.isSelect = game
    // keyMatrixMain.initMode(mouseMode) joins with the button page.
    if (game)
        mainIten.clickGameMode()
    else
        mainIten.clickOfficeMode()
    mainIten.isGun = game
    // keyMatrixMain.init(false, false) joins with the button page.
    mainIten.initDropDownList()
}

function saveAllData() {
    mainFocus()
    const pending = mainIten.savers.filter(s => s.page.isSave)
    if (pending.length > 0)
        controlUIEnable(false)
    for (const saver of pending) {
        saver.page.isSave = false
        saver.save()
    }
    controlUIEnable(true)
}

function okClicked() {
    mainFocus()
    saveAllData()
    ui_Ctl.onMinimize()
}

function resetAllDate() {
    controlUIEnable(false)
    tooltip.hide()
    mainIten.mouseMode = 0
    mousePage.officeBtn.isSelect = true
    mousePage.gameBtn.isSelect = false
    // keyMatrixMain.initMode(0) joins with the button page.
    mainIten.clickOfficeMode()
    ui_View.resetProfile(mainIten.profileNo)
    // keyMatrixMain.init(true, true) and keyMatrixMain.resetKey(true) join with the button page.
    reportRate.init(true)
    // dpiSettingMain, lightControlMain and systemSettingMain .init(true, true) join here.
    if (mainIten.isGun) {
        ui_View.mouseSwitchKeyMatrix(1)
        ui_View.mouseResetKeyMatrix()
    }
    ui_View.mouseSetCurrentDPI(2)
    mainIten.currentDPI = 1
    // gunControlMain.resetData() joins with the gun editor.
    controlUIEnable(true)
    for (const saver of mainIten.savers)
        saver.page.isSave = false
    reportRate.isSave = false
}

// The handler of the profile dialog's changeProfile(tmpProfileNo).
function changeProfile(tmpProfileNo) {
    if (tmpProfileNo === mainIten.profileNo)
        return
    controlUIEnable(false)
    mainIten.profileNo = tmpProfileNo
    ui_View.setGlobalData("mouse/profileNo", mainIten.profileNo)
    ui_View.setCurrentProfile(mainIten.profileNo)
    // keyMatrixMain.init(true, false) joins with the button page.
    reportRate.init(true)
    // dpiSettingMain, lightControlMain and systemSettingMain .init(true, false) join here.
    if (mainIten.isGun) {
        ui_View.mouseSwitchKeyMatrix(1)
        ui_View.mouseResetKeyMatrix()
    }
    controlUIEnable(true)
}

// The macro editor's deleteMacro, modifyMacroName and modifyMacroData reach the button page
// through MacroNotify.js (deleteMacro, renameMacro, macroChanged on keyMatrixMain.modKeys); the
// Connections join with the macro editor.

function anyVisible(items) {
    for (let i = 0; i < items.length; ++i) {
        if (items[i].visible)
            return true
    }
    return false
}
