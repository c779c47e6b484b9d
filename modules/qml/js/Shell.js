// The shell's sequences: start-up, save, mode switch, language, focus and macro changes (reset and
// profile change are in DeviceWork.js). It runs in the context of main.qml, so it reaches the core
// by its names and the pages and dialogs by the names the root publishes for them (null until the
// screen behind the logo is built; the hidden pages and dialogs until their first use, `part`).
.import "Language.js" as Language
.import "MacroNotify.js" as MacroNotify
.import "DeviceWork.js" as DeviceWork

// The built-in texts of every language list, kept from before the first file was read.
let builtInLists = ({})

// The device work lives in DeviceWork.js (one instance, this script's): its names as the root,
// the pages and the sequences here call them.
function controlUIEnable(isEnable) { DeviceWork.controlUIEnable(isEnable) }
function deviceWork(work, done) { DeviceWork.deviceWork(work, done) }
function deviceWorkFinished(queued, saved) { DeviceWork.deviceWorkFinished(queued, saved) }
function deviceProgress(done, total) { DeviceWork.deviceProgress(done, total) }
function tellNotSaved() { DeviceWork.tellNotSaved() }
function saveSettings() { return DeviceWork.saveSettings() }
function resetAllDate() { DeviceWork.resetAllDate() }
function changeProfile(tmpProfileNo, followed) {
    return DeviceWork.changeProfile(tmpProfileNo, followed)
}
function reloadProfile() { return DeviceWork.reloadProfile() }
function setDpiStage(stage) { return DeviceWork.setDpiStage(stage) }
function sendMacro(bytes, slot, name) { return DeviceWork.sendMacro(bytes, slot, name) }

function isTrue(value) {
    return value === true || String(value) === "true"
}

// What waits for the pages built after the first frame: the start-up and the end of the start-up
// lock (until then the window shows the logo and takes no input).
let startWaits = false
let protectionWaits = false
// The start-up's reads of the mouse run on the device link's thread; until they have run the
// window stays locked and says so, however long a mouse that does not answer takes. A reconnect
// may ask again before the first answer: the window waits for both and tells a failure once.
let mouseReads = 0
let mouseReadFailed = false

function initUI() {
    setProtectUI(1000)
    mainIten.visible = true
    if (mainIten.pagesBuilt)
        start()
    else
        startWaits = true
}

function start() {
    const first = !mainIten.isPownOn
    if (first)
        startUp()
    readMouse(first)
}

function readMouse(first) {
    ++mouseReads
    mainIten.busy = true
    mainIten.busyText = mainIten.keyMatrixLang[20]
    ui_View.readMouseState(first)
}

// From the core: the reads of the connect and the start-up have run.
function mouseStateRead(ok, currentDPI) {
    if (mouseReads === 0)
        return
    // Below 0 the mouse named no stage it has: the stage shown stays. 0 (not asked) marks none.
    if (Number(currentDPI) >= 0)
        mainIten.currentDPI = Number(currentDPI) - 1
    mouseReadFailed = mouseReadFailed || !ok
    if (--mouseReads > 0)
        return
    mainIten.busyText = ""
    // The start-up lock may still run; then it ends by itself.
    if (!tmrProtectUI.running && !protectionWaits)
        controlUIEnable(true)
    if (mouseReadFailed)
        warningAssigmentMain.showWarning(warningAssigmentMain.readFailed)
    mouseReadFailed = false
}

function pagesBuilt() {
    if (startWaits) {
        startWaits = false
        start()
    }
    if (protectionWaits) {
        protectionWaits = false
        protectionOver()
    }
}

// Reads only the settings files: what the mouse holds comes with mouseStateRead().
function startUp() {
    mainIten.isColorful = isTrue(ui_View.getGlobalData("mouse/isColorful"))
    mainIten.icType = String(ui_View.getGlobalData("mouse/icType") ?? "553")
    mainIten.is55328 = isTrue(ui_View.getGlobalData("mouse/is55328"))
    mainIten.isGun = isTrue(ui_View.getGlobalData("mouse/isGun"))
    const stored = ui_View.storedSettings(false)
    if (stored.keyCount >= 0)
        mouseMain.keyCount = stored.keyCount
    setMode(stored.mode)
    const locale = Qt.locale()
    mainIten.language = Language.startLanguage(ui_View.getGlobalData("common/language"),
                                               locale.name, locale.uiLanguages)
    mainIten.url = Language.url(mainIten.language)
    setLangIndex(mainIten.language)
    loadLanguageLists()
    reportRate.init(false)
    profileMain.profileNo = stored.profileNo
    profileMain.init()
    mainIten.profileNo = profileMain.profileNo
    menuUp.profileList.setSelect(profileMain.rowOfNumber(mainIten.profileNo))
    menuUp.profileList.closeMenu()
    ui_View.setCurrentProfile(mainIten.profileNo)
    keyAssigmentMain.init()
    keyMatrixMain.init(false, false)
    dpiSettingMain.init(false, false)
    initBuiltParts()
    mainIten.initDropDownList()
    mainIten.isPownOn = true
}

// The parts built on first use show the profile in use when they are built; until then there is
// nothing of theirs to show, save or send.
function initPart(name, part) {
    if (name === "gunControlMain")
        part.init()
    else if (name === "lightControlMain" || name === "systemSettingMain")
        part.init(false, false)
}

function initBuiltParts() {
    for (const name of ["gunControlMain", "lightControlMain", "systemSettingMain"]) {
        if (mainIten[name])
            initPart(name, mainIten[name])
    }
}

// A part built on first use has been built: it takes the shown language and, once the settings
// have been read, the profile in use.
function partBuilt(name, part) {
    if (!mainIten.isPownOn)
        return
    for (const [group, target, property] of languageGroups) {
        if (target === name)
            translate(group, part, property)
    }
    initPart(name, part)
}

// A part by its name, built now if it is built on first use and is not yet.
function part(name) {
    return mainIten.buildPart(name)
}

// The language groups: the group's name in the language files, the part that shows it, and the
// part's list of texts.
const languageGroups = [["keyMatrix", "mainIten", "keyMatrixLang"],
                        ["keyAssigment", "keyAssigmentMain", "keyAssigmentLang"],
                        ["dpiSetting", "dpiSettingMain", "dpiSettingLang"],
                        ["gunControl", "gunControlMain", "gunControlLang"],
                        ["macroEditor", "macroEditorMain", "macroEditorLang"],
                        ["lightControl", "lightControlMain", "lightControlLang"],
                        ["systemSetting", "systemSettingMain", "systemSettingLang"],
                        ["profile", "profileMain", "profileLang"],
                        ["keyCode", "_KeyCodeString", "keyCodeStr"],
                        ["warningAssigment", "warningAssigmentMain", "warningAssigmentLang"]]

// A group's list, from the language file over the built-in texts.
function translate(group, target, property) {
    if (!(group in builtInLists))
        builtInLists[group] = Array.from(target[property])
    target[property] = Language.merge(builtInLists[group],
                                      ui_View.getLangStrings(group, mainIten.language))
}

// Each built part's lists; a part built later takes its list when it is built.
function loadLanguageLists() {
    for (const [group, name, property] of languageGroups) {
        const target = name === "mainIten" ? mainIten : mainIten[name]
        if (target)
            translate(group, target, property)
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
    keyMatrixMain.updateLang()
    gunControlMain?.updateLang()
    profileMain.updateLang()
    // Row 0 is named in the shown language.
    profileMain.init()
    menuUp.profileList.setSelect(profileMain.rowOfNumber(mainIten.profileNo))
    mainIten.initDropDownList()
    // Told in the chosen language.
    saveSettings()
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
    mainIten.busy = true
    ui_View.setEnabled(false)
    tmrProtectUI.interval = interval > 0 ? interval : 1000
    tmrProtectUI.restart()
}

// The first time the protection runs out, the logo gives way to the window.
function protectionOver() {
    if (!mainIten.pagesBuilt || startWaits) {
        protectionWaits = true
        return
    }
    if (mouseReads === 0) {
        ui_View.setEnabled(true)
        mainIten.busy = false
    }
    if (!mainIten.isStarted) {
        mainIten.isStarted = true
        menuUp.languageList.setSelect(mainIten.langIndex)
    }
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
    dpiSettingMain.dpiSegment.closeMenu()
    lightControlMain?.lightControlFocus()
    mainIten.clickMainFocus()
}

function escapePressed() {
    const top = mainIten.screen?.topDialog
    if (top?.closeByEscape)
        top.closeByEscape()
    else
        maskPressed()
}

function enterPressed() {
    if (mainIten.isStarted && !mainIten.busy && !mainIten.screen?.topDialog && mainIten.isUnsaved)
        saveAllData()
}

function emptyAreaPressed() {
    mainFocus()
    mainIten.emptyAreaPressed()
}

// The open pages and dialogs drop their focus.
function maskPressed() {
    if (gunControlMain?.visible)
        gunControlMain.gunControlFocus()
    if (profileMain.visible)
        profileMain.profileFocus()
    if (settingsPage.visible) {
        macroEditorMain?.macroEditorFocus()
        systemSettingMain?.systemSettingFocus()
    }
    mainFocus()
}

function chooseTab(index) {
    mainIten.currentTab = index
    if (index === 2) {
        part("macroEditorMain").init()
        mainFocus()
    }
}

function setMode(index) {
    const game = index === 1
    mainIten.mouseMode = game ? 1 : 0
    mousePage.officeBtn.isSelect = !game
    mousePage.gameBtn.isSelect = game
    keyMatrixMain.initMode(mainIten.mouseMode)
    if (game)
        mainIten.clickGameMode()
    else
        mainIten.clickOfficeMode()
    mainIten.isGun = game
    keyMatrixMain.init(false, false)
    mainIten.initDropDownList()
}

// A page whose send failed stays unsaved, so that the next Apply tries again; when the queue
// failed, nobody knows which write it was, and every page sent stays unsaved. `then` (optional)
// hears whether everything reached the mouse and the settings files.
function saveAllData(then) {
    mainFocus()
    const pending = mainIten.savers.filter(s => s.page?.isSave === true)
    if (pending.length === 0) {
        controlUIEnable(true)
        then?.(true)
        return
    }
    deviceWork(() => {
        let ok = true
        for (const saver of pending) {
            saver.page.isSave = false
            if (saver.save() !== true) {
                saver.page.isSave = true
                ok = false
            }
        }
        return ok
    }, (ok, queued) => {
        if (!queued)
            pending.forEach(s => s.page.isSave = true)
        // An Apply that went through ends the last refusal's line, unless it just said it again.
        else if (ok && systemSettingMain && !pending.some(s => s.page === systemSettingMain))
            systemSettingMain.refusedItems = []
        then?.(ok)
    })
}

function askQuit() {
    mainFocus()
    quitQuestion.show()
}

// A failed write is told as after any Apply, and the program stays with the pages unsaved.
function applyAndQuit() {
    saveAllData(ok => {
        if (ok)
            ui_Ctl.onQuit()
    })
}

function okClicked() {
    mainFocus()
    saveAllData()
    ui_Ctl.onMinimize()
}

// The macro editor's deleteMacro, modifyMacroName and modifyMacroData reach the button page
// through MacroNotify.js.
function macroDeleted(macroName) {
    let changed = false
    if (MacroNotify.deleteMacro(keyMatrixMain.modKeys, keyMatrixMain.modKeys_tmp, ui_View,
                                () => { changed = true }, macroName) === false)
        tellNotSaved()
    if (!changed)
        return
    keyMatrixMain.updateKeyLang()
    deviceWork(() => keyMatrixMain.saveData(), ok => { keyMatrixMain.isSave = !ok })
}

function macroRenamed(level, type, oldName, newName) {
    MacroNotify.renameMacro(keyMatrixMain.modKeys, ui_View, oldName, newName)
    keyMatrixMain.updateKeyLang()
}

// A changed macro goes to every button that plays it, under one lock.
function macroChanged(macroName) {
    const slots = []
    MacroNotify.macroChanged(keyMatrixMain.modKeys, ui_View, index => slots.push(index), macroName)
    if (slots.length === 0)
        return
    deviceWork(() => {
        let ok = true
        for (const index of slots)
            ok = part("macroKeyAssigmentMain").sendNow(index, macroName) && ok
        return ok
    })
}

function anyVisible(items) {
    for (let i = 0; i < items.length; ++i) {
        if (items[i].visible)
            return true
    }
    return false
}
