// The writes to the mouse under the window's lock: the lock, the end of the link's queue, the
// settings files written with it, and the sequences that send every page (reset, profile change).
// Imported by Shell.js, whose names the root and the pages call; it runs in main.qml's context.

function controlUIEnable(isEnable) {
    mainIten.busy = !isEnable
    ui_View.setEnabled(isEnable)
}

// Every write to the mouse that the pages make goes through here. The writes are queued on the
// device link and `work` returns at once with the AND of their immediate results (false for a
// write refused before it was queued); what the pages stored meanwhile is written to the settings
// files when the work ends. The window keeps painting, takes no input and shows the progress until
// the queue has run the last write. Then `done(ok, queued)` is called, `queued` telling whether
// every queued write reached the mouse and every settings file was written, and `ok` whether
// everything did, and the user is told of a failure. It answers whether every write was queued.
let runningWork = []

function deviceWork(work, done) {
    const entry = { ok: false, done: done }
    runningWork.push(entry)
    controlUIEnable(false)
    mainIten.busyText = ""
    ui_View.beginDeviceWork()
    try {
        entry.ok = work() === true
    } finally {
        ui_View.endDeviceWork()
    }
    return entry.ok
}

// From the core: the queue has run the last write of the device work; `saved` when the settings
// files took what the work stored.
function deviceWorkFinished(queued, saved) {
    const finished = runningWork
    runningWork = []
    mainIten.busyText = ""
    controlUIEnable(true)
    const stored = queued && saved !== false
    let allOk = true
    for (const entry of finished) {
        const ok = entry.ok && stored
        allOk = allOk && entry.ok && queued
        if (entry.done)
            entry.done(ok, stored)
    }
    if (!allOk)
        warningAssigmentMain.showWarning(warningAssigmentMain.writeFailed)
    if (saved === false)
        tellNotSaved()
}

// A settings file that could not be written, named with the reason.
function tellNotSaved() {
    warningAssigmentMain.showWarning(warningAssigmentMain.notSaved, ui_View.saveFailure())
}

// Writes what was stored outside a device work; false (and the user told) when it was not.
function saveSettings() {
    if (ui_View.saveSettings() === true)
        return true
    tellNotSaved()
    return false
}

function deviceProgress(done, total) {
    if (runningWork.length > 0)
        mainIten.busyText = done + " of " + total
}

function resetAllDate() {
    tooltip.hide()
    deviceWork(() => {
        mainIten.mouseMode = 0
        mousePage.officeBtn.isSelect = true
        mousePage.gameBtn.isSelect = false
        keyMatrixMain.initMode(0)
        mainIten.clickOfficeMode()
        // The lighting page keeps its preset list through the reset: it reads it now if it has
        // not been built yet.
        mainIten.buildPart("lightControlMain")
        // A profile file that could not be reset keeps the mouse as it is: the two stay alike.
        if (ui_View.resetProfile(mainIten.profileNo) !== true)
            return false
        keyMatrixMain.init(false, false)
        keyMatrixMain.resetKey(true)
        const sent = showAndSendProfile(0, true)
        const stage = ui_View.mouseSetCurrentDPI(2) === true
        mainIten.currentDPI = 1
        const guns = mainIten.buildPart("gunControlMain").resetData()
        for (const saver of mainIten.savers) {
            if (saver.page)
                saver.page.isSave = false
        }
        markUnsent(sent)
        return allSent(sent) && stage && guns
    }, pagesUnsavedUnlessQueued)
}

function pagesUnsavedUnlessQueued(ok, queued) {
    if (queued)
        return
    keyMatrixMain.isSave = true
    dpiSettingMain.isSave = true
    // Built if need be, so that Apply sends them again.
    mainIten.buildPart("lightControlMain").isSave = true
    mainIten.buildPart("systemSettingMain").isSave = true
}

// The handler of the profile dialog's changeProfile(tmpProfileNo). A switch that `followed` an
// application to the front leaves the stored choice, so that the next start begins with the
// profile chosen by hand.
function changeProfile(tmpProfileNo, followed) {
    if (tmpProfileNo === mainIten.profileNo)
        return undefined
    return deviceWork(() => {
        mainIten.profileNo = tmpProfileNo
        profileMain.profileNo = tmpProfileNo
        menuUp.profileList.setSelect(profileMain.rowOfNumber(tmpProfileNo))
        if (followed !== true)
            ui_View.setGlobalData("mouse/profileNo", mainIten.profileNo)
        ui_View.setCurrentProfile(mainIten.profileNo)
        return loadProfilePages()
    }, pagesUnsavedUnlessQueued)
}

// The pages show the current profile and the core sends it as stored, in the mode shown.
function loadProfilePages() {
    keyMatrixMain.init(false, false)
    const sent = showAndSendProfile(mainIten.mouseMode, false)
    markUnsent(sent)
    return allSent(sent)
}

// The pages show the profile in use; the core sends it to the mouse (the gun tables back to the
// firmware's in game mode), and the system page gives the desktop its part. Each part sent, by
// name. A reset keeps the lighting page's preset list, the preset in use with the factory's
// values.
function showAndSendProfile(mode, isReset) {
    reportRate.init(false)
    dpiSettingMain.init(false, false)
    if (isReset) {
        const light = mainIten.buildPart("lightControlMain")
        light.init(false, true)
        light.saveData(false, 0)
    } else {
        // A page built later shows the profile in use when it is built.
        lightControlMain?.init(false, false)
    }
    systemSettingMain?.init(false, false)
    const sent = ui_View.sendStoredProfile(mode, mainIten.isGun)
    // The desktop's part comes from the page, which reads it from the profile when it is built.
    mainIten.buildPart("systemSettingMain").sendDesktopSettings(0)
    return sent
}

// A page built on first use that has something unsent is built, so that Apply sends it.
function markPage(name, unsent) {
    const page = unsent ? mainIten.buildPart(name) : mainIten[name]
    if (page)
        page.isSave = unsent
}

function allSent(sent) {
    return Object.keys(sent).length > 0 && Object.values(sent).every(v => v === true)
}

// A page whose part did not reach the mouse stays unsaved, so that Apply sends it again.
function markUnsent(sent) {
    keyMatrixMain.isSave = sent.buttons !== true
    dpiSettingMain.isSave = !(sent.dpiStages === true && sent.dpiColours === true)
    markPage("lightControlMain", sent.lighting !== true)
    markPage("systemSettingMain", sent.liftOff !== true)
}

// A profile file was read into the profile in use: the pages show and send it, so that a later
// Apply does not write the old values over it.
function reloadProfile() {
    return deviceWork(loadProfilePages, pagesUnsavedUnlessQueued)
}

// The active DPI stage (1-based) set from outside the window; the panel shows it once the mouse
// has taken it.
function setDpiStage(stage) {
    return deviceWork(() => ui_View.mouseSetCurrentDPI(stage) === true, ok => {
        if (ok)
            mainIten.currentDPI = stage - 1
    })
}

// A macro's block sent to macro slot `slot`, as the button page sends one.
function sendMacro(bytes, slot, name) {
    return deviceWork(() => ui_View.mouseSendMacroData(bytes, slot, name) === true, null)
}
