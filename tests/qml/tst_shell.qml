import QtQuick
import QtTest

// The document's root under stand-ins of the core's three objects, which record every call.
// main.qml finds them by name, as it finds the real ones.
TestCase {
    id: testCase

    name: "Shell"
    width: 1280
    height: 720
    when: windowShown
    visible: true

    readonly property var german: ["Tasteneinstellung", "Büromodus", "Spielmodus", "Modus",
        "Waffeneditor", "Abfragerate", "Profil", "Zurücksetzen", "Alles zurücksetzen?",
        "Abbrechen", "OK", "Schließen", "Übernehmen", "Minimieren", "Standard", "Sprache",
        "Aktivieren", "Maus & Makros", "Beleuchtung", "Einstellungen"]
    property var shell: null

    RecordingView { id: ui_View }

    QtObject {
        id: hid

        property var calls: []

        function hid560_02H_SetCurrentProfile(profile) { calls.push(profile) }
    }

    QtObject {
        id: ui_Ctl

        property var calls: []
        // Whether the compositor moves the window (Wayland).
        property bool systemMoves: false

        function onMinimize() { calls.push("onMinimize") }
        function onHide() { calls.push("onHide") }
        function onMaxRestore() { calls.push("onMaxRestore") }
        function onXChanged(dx) { calls.push("onXChanged(" + dx + ")") }
        function onYChanged(dy) { calls.push("onYChanged(" + dy + ")") }
        function startSystemMove() {
            calls.push("startSystemMove")
            return systemMoves
        }
    }

    // A page with unsaved edits, as the pages will be.
    Component {
        id: pageComponent

        QtObject {
            property bool isSave: false
            property int saved: 0
        }
    }

    function init() {
        ui_View.reset()
        ui_View.lists = { "keyMatrix/German": german }
        hid.calls = []
        ui_Ctl.calls = []
    }

    function start() {
        shell = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), testCase)
        verify(shell)
        shell.initUI()
        tryVerify(() => shell.isStarted, 3000)
        ui_View.clear()
        return shell
    }

    // The shell's own steps and every write to the mouse, in order; page writes by name only.
    function sequence() {
        const steps = ["setEnabled", "resetProfile", "setGlobalData(mouse/profileNo",
                       "setCurrentProfile", "mouseSetReportRate", "mouseSwitchKeyMatrix",
                       "mouseResetKeyMatrix", "mouseSetCurrentDPI", "sendStoredProfile"]
        const writes = ["mouseSetKeyMatrix", "mouseSetDpi", "mouseSetRGBColor", "mouseSendGundata",
                        "mouseSetLedType", "mouseSetLodValue"]
        return ui_View.calls
            .filter(c => steps.some(s => c.startsWith(s)) || writes.some(w => c.startsWith(w + "(")))
            .map(c => writes.find(w => c.startsWith(w + "(")) ?? c)
    }

    function called(name) {
        return ui_View.calls.filter(c => c.startsWith(name))
    }

    function test_zoomRates() {
        const shell = start()
        shell.setScreenRect(2560, 1440, true)
        compare(shell.zoomInRate_min, 2.0)
        compare(shell.zoomInRate_max, 2.0)
        verify(shell.isFrameMax)
        shell.setScreenRect(1280, 1080, false)
        compare(shell.zoomInRate_min, 1.0)
        compare(shell.zoomInRate_max, 1.5)
        verify(!shell.isFrameMax)
    }

    function test_setCurrentDPI() {
        ui_View.dpiStage = 1
        const shell = start()
        compare(shell.currentDPI, 0)
        shell.setCurrentDPI(3)
        compare(shell.currentDPI, 2)
        shell.setCurrentDPI(0)
        compare(shell.currentDPI, 2)
    }

    // After a reconnect only the lock and the current stage remain.
    function test_secondInitUIReadsNoSettingsAgain() {
        const shell = start()
        ui_View.dpiStage = 5
        shell.initUI()
        compare(ui_View.calls, ["setEnabled(false)", "readMouseState(false)"])
        compare(shell.currentDPI, 4)
        tryVerify(() => ui_View.enabled, 2000)
    }

    function test_startUpReadsTraitsLanguageAndProfile() {
        ui_View.global["common/language"] = "German"
        ui_View.global["mouse/profileNo"] = "2"
        ui_View.global["mouse/isColorful"] = "false"
        shell = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), testCase)
        const lists = signalSpy(shell, "initDropDownList")
        shell.initUI()
        // The start-up runs once the pages built after the first frame are there.
        tryVerify(() => shell.isPownOn, 3000)
        verify(!shell.isColorful)
        compare(shell.langIndex, 3)
        compare(shell.fontFamily, "WenQuanYi Micro Hei")
        compare(shell.keyMatrixLang[12], "Übernehmen")
        verify(shell.url !== "")
        // No German key names here: the built-in ones stay.
        compare(shell.warningAssigmentLang?.length ?? 8, 8)
        verify(called("getLangStrings(other,German)").length === 1)
        verify(called("setCurrentProfile(2)").length === 1)
        compare(lists.count, 2) // once by the mode switch, once at the end
    }

    function test_unknownLanguageKeepsIndexZeroAndRajdhani() {
        ui_View.global["common/language"] = "Klingon"
        const shell = start()
        compare(shell.language, "Klingon")
        compare(shell.langIndex, 0)
        compare(shell.fontFamily, "Rajdhani")
        compare(shell.keyMatrixLang[12], "Apply")
    }

    // The start-up's reads of the mouse run on the device link: the pages come up and stay
    // locked, saying so, until the reads have run; a failure is told once, also when a reconnect
    // asked again meanwhile.
    function test_lockedWhileTheMouseIsRead_data() {
        return [{ tag: "answered", ok: true, reads: 1, stage: 2 },
                { tag: "not answered", ok: false, reads: 1, stage: -1 },
                { tag: "not answered, asked again by a reconnect", ok: false, reads: 2,
                  stage: -1 }]
    }
    function test_lockedWhileTheMouseIsRead(data) {
        ui_View.holdRead = true
        ui_View.readOk = data.ok
        shell = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), testCase)
        shell.initUI()
        tryVerify(() => shell.isStarted, 3000)
        const busy = findChild(shell, "protectUIItem")
        const warning = findChild(shell, "warningAssigmentMain")
        if (data.reads > 1)
            shell.initUI()
        compare(called("readMouseState"),
                ["readMouseState(true)", "readMouseState(false)"].slice(0, data.reads))
        for (let read = 0; read < data.reads; ++read) {
            wait(1200) // longer than the start-up lock
            verify(busy.visible)
            compare(busy.text, "Reading the mouse…")
            verify(!ui_View.enabled)
            verify(!warning.visible)
            ui_View.finishRead()
        }
        verify(ui_View.enabled)
        verify(!busy.isBusy)
        compare(busy.text, "")
        compare(shell.currentDPI, data.stage)
        compare(warning.visible, !data.ok)
        if (!data.ok)
            compare(warning.textValue, warning.warningAssigmentLang[warning.readFailed])
        compare(hid.calls, [])
    }

    function test_applyTurnsItsLabelBackAfterSaving() {
        const shell = start()
        const page = createTemporaryObject(pageComponent, testCase)
        shell.savers = [{ page: page, save: () => ++page.saved > 0 }]
        const label = findChild(shell, "applyBtnLabel")
        compare(label.color, shell.fontColor)
        page.isSave = true
        compare(label.color, shell.colorAccent)
        mouseClick(findChild(shell, "applyBtn"))
        compare(page.saved, 1)
        verify(!page.isSave)
        compare(called("setEnabled"), ["setEnabled(false)", "setEnabled(true)"])
        // Under the mouse the label is the primary colour; its own colour is white again.
        compare(findChild(shell, "applyBtn").textColor, shell.fontColor)
        // Nothing unsaved: nothing saved, the window is not locked.
        ui_View.clear()
        mouseClick(findChild(shell, "applyBtn"))
        compare(page.saved, 1)
        compare(called("setEnabled"), ["setEnabled(true)"])
    }

    // Reset from game mode: office mode again, isGun kept, the gun tables reset, stage 2.
    function test_resetFromGameMode() {
        ui_View.profile["mouse/mouseMode"] = "1"
        ui_View.global["mouse/isGun"] = "false"
        const shell = start()
        compare(shell.mouseMode, 1)
        verify(shell.isGun)
        const page = createTemporaryObject(pageComponent, testCase, { isSave: true })
        shell.savers = [{ page: page, save: () => page.saved++ }]
        mouseClick(findChild(shell, "resetBtn"))
        const confirm = findChild(shell, "resetConfirm")
        verify(confirm.visible)
        verify(findChild(shell, "mainMask").visible)
        mouseClick(findChild(shell, "resetConfirmOK"))
        verify(!confirm.visible)
        verify(!findChild(shell, "mainMask").visible)
        // The reset profile is sent as stored, in office mode, the gun tables reset as well.
        compare(sequence(),
                ["setEnabled(false)", "resetProfile(0)", "sendStoredProfile(0,true)",
                 "mouseSetCurrentDPI(2)", "setEnabled(true)"])
        compare(shell.mouseMode, 0)
        verify(shell.isGun)
        compare(shell.currentDPI, 1)
        verify(findChild(shell, "officeBtn").isSelect)
        verify(!page.isSave)
        compare(page.saved, 0)
        // A profile file that could not be reset leaves the mouse alone, and the failure told.
        ui_View.clear()
        ui_View.failing = ["resetProfile"]
        shell.resetAllDate()
        compare(called("sendStoredProfile"), [])
        verify(findChild(shell, "warningAssigmentMain").visible)
    }

    // A write that does not reach the mouse is told, and its page stays unsaved, so that the next
    // Apply sends it again.
    function test_failedApplyIsToldAndStaysUnsaved() {
        const shell = start()
        const keys = findChild(shell, "keyMatrixMain")
        const dpi = findChild(shell, "dpiSettingMain")
        const warning = findChild(shell, "warningAssigmentMain")
        keys.isSave = true
        dpi.isSave = true
        ui_View.failing = ["mouseSetKeyMatrix"]
        mouseClick(findChild(shell, "applyBtn"))
        verify(warning.visible)
        compare(warning.textValue, warning.warningAssigmentLang[8])
        verify(keys.isSave)
        verify(!dpi.isSave)
        verify(shell.isUnsaved)
        compare(called("setEnabled"), ["setEnabled(false)", "setEnabled(true)"])
        mouseClick(findChild(shell, "warningAssigmentMainOK"))
        verify(!warning.visible)

        ui_View.failing = []
        ui_View.clear()
        mouseClick(findChild(shell, "applyBtn"))
        verify(!warning.visible)
        verify(!keys.isSave)
        compare(ui_View.argsOf("mouseSetKeyMatrix").length, 1)
        compare(ui_View.argsOf("mouseSetDpi").length, 0)
    }

    // The writes run on the device link's queue: the window stays locked, showing how far the
    // queue has got, until the last write has run, and only then is the result told.
    function test_lockedUntilTheQueueHasRun() {
        const shell = start()
        const keys = findChild(shell, "keyMatrixMain")
        const busy = findChild(shell, "protectUIItem")
        const warning = findChild(shell, "warningAssigmentMain")
        keys.isSave = true
        ui_View.holdQueue = true
        ui_View.queueOk = true
        mouseClick(findChild(shell, "applyBtn"))
        verify(!ui_View.enabled)
        verify(busy.isBusy)
        ui_View.deviceProgress(1, 3)
        compare(busy.text, "1 of 3")
        verify(!warning.visible)
        ui_View.finishQueue()
        verify(ui_View.enabled)
        verify(!busy.isBusy)
        compare(busy.text, "")
        verify(!warning.visible)
        verify(!keys.isSave)
    }

    // A write the queue could not get through is told, even though every call had been taken;
    // which page it belonged to is not known, so every page sent stays unsaved.
    function test_failedQueueIsToldAndEveryPageStaysUnsaved() {
        const shell = start()
        const keys = findChild(shell, "keyMatrixMain")
        const dpi = findChild(shell, "dpiSettingMain")
        const warning = findChild(shell, "warningAssigmentMain")
        keys.isSave = true
        dpi.isSave = true
        ui_View.holdQueue = true
        ui_View.queueOk = false
        mouseClick(findChild(shell, "applyBtn"))
        verify(!keys.isSave && !dpi.isSave)
        verify(!warning.visible)
        ui_View.finishQueue()
        verify(warning.visible)
        compare(warning.textValue, warning.warningAssigmentLang[8])
        verify(keys.isSave)
        verify(dpi.isSave)
        verify(ui_View.enabled)

        mouseClick(findChild(shell, "warningAssigmentMainOK"))
        ui_View.holdQueue = false
        shell.resetAllDate()
        verify(warning.visible)
        verify(keys.isSave)
        verify(dpi.isSave)
    }

    // Settings files the work could not write (a full disk) are told with the file and why, and
    // the pages stay unsaved even though the mouse took everything; a failed write to the mouse
    // in the same work is told in the same box.
    function test_settingsNotSavedAreTold_data() {
        return [{ tag: "apply", step: "apply", mouse: true },
                { tag: "apply, mouse failing too", step: "apply", mouse: false },
                { tag: "profile change", step: "profile", mouse: true },
                { tag: "language", step: "language", mouse: true }]
    }
    function test_settingsNotSavedAreTold(data) {
        const shell = start()
        const keys = findChild(shell, "keyMatrixMain")
        const warning = findChild(shell, "warningAssigmentMain")
        const told = warning.warningAssigmentLang[warning.notSaved] + "\n/data/p1.bin: full"
        ui_View.failing = ["saveSettings"]
        ui_View.saveFailureText = "/data/p1.bin: full"
        ui_View.queueOk = data.mouse
        keys.isSave = true
        if (data.step === "apply")
            mouseClick(findChild(shell, "applyBtn"))
        else if (data.step === "profile")
            shell.changeProfile(1)
        else
            shell.chooseLanguage("German")
        verify(warning.visible)
        compare(warning.textValue, data.mouse ? told
                                              : warning.warningAssigmentLang[8] + "\n\n" + told)
        if (data.step !== "language")
            verify(keys.isSave)
        verify(ui_View.enabled)
    }

    function test_failedResetOrProfileChangeIsTold_data() {
        // `failing` names a call, or a part of the stored profile's send.
        return [{ tag: "reset, DPI table", step: "reset", failing: "dpiStages", unsaved: "dpi" },
                { tag: "reset, button table", step: "reset", failing: "buttons",
                  unsaved: "keys" },
                { tag: "reset, gun slots", step: "reset", failing: "mouseSendGundata", unsaved: "" },
                { tag: "reset, current stage", step: "reset", failing: "mouseSetCurrentDPI",
                  unsaved: "" },
                { tag: "profile, report rate", step: "profile", failing: "reportRate",
                  unsaved: "" },
                { tag: "profile, stage colours", step: "profile", failing: "dpiColours",
                  unsaved: "dpi" },
                { tag: "profile, gun tables", step: "profile", failing: "gunTables",
                  unsaved: "", game: true },
                { tag: "reset, light", step: "reset", failing: "lighting", unsaved: "light" },
                { tag: "profile, lift-off distance", step: "profile", failing: "liftOff",
                  unsaved: "system" }]
    }
    function test_failedResetOrProfileChangeIsTold(data) {
        if (data.game)
            ui_View.profile["mouse/mouseMode"] = "1"
        const shell = start()
        // The pages built on first use are built when something of theirs is left unsent.
        const pages = { keys: "keyMatrixMain", dpi: "dpiSettingMain", light: "lightControlMain",
                        system: "systemSettingMain" }
        const warning = findChild(shell, "warningAssigmentMain")
        ui_View.failing = [data.failing]
        if (data.step === "reset")
            shell.resetAllDate()
        else
            shell.changeProfile(1)
        verify(ui_View.calls.some(c => c.startsWith(data.failing + "(")
                                      || c.startsWith("sendStoredProfile(")))
        verify(warning.visible)
        compare(warning.textValue, warning.warningAssigmentLang[8])
        for (const name in pages)
            compare(findChild(shell, pages[name])?.isSave === true, name === data.unsaved, name)
        verify(ui_View.enabled)
    }

    function test_resetCancelled() {
        const shell = start()
        mouseClick(findChild(shell, "resetBtn"))
        mouseClick(findChild(shell, "resetConfirmCancel"))
        verify(!findChild(shell, "resetConfirm").visible)
        compare(called("resetProfile"), [])
    }

    function test_changeProfile() {
        ui_View.profile["mouse/reportRate"] = "1"
        const shell = start()
        shell.changeProfile(0)
        compare(ui_View.calls, [])
        shell.changeProfile(3)
        compare(sequence(),
                ["setEnabled(false)", "setGlobalData(mouse/profileNo,3)", "setCurrentProfile(3)",
                 "sendStoredProfile(0,false)", "setEnabled(true)"])
        verify(ui_View.argsOf("mouseGetKeydefine").every(a => a[2] === false))
        verify(!findChild(shell, "warningAssigmentMain").visible)
        compare(shell.profileNo, 3)
    }

    // Beyond the stored choice: the menu bar's list switches every text, the font and the
    // address, and the choice is kept for the next start.
    function test_languageFromTheMenuBar() {
        const shell = start()
        const englishUrl = shell.url
        const refreshed = signalSpy(shell, "initDropDownList")
        mouseClick(findChild(shell, "languageListHeader"))
        const german = findChild(shell, "languageListItem3")
        tryVerify(() => german.visible && german.height > 0
                        && findChild(shell, "languageList").openness === 1)
        mouseClick(german)
        tryCompare(shell, "language", "German")
        compare(ui_View.global["common/language"], "German")
        compare(findChild(shell, "tabSettingsLabel").text, "Einstellungen")
        compare(findChild(shell, "applyBtnLabel").text, "Übernehmen")
        compare(shell.fontFamily, "WenQuanYi Micro Hei")
        verify(shell.url !== englishUrl)
        compare(findChild(shell, "languageList").textValue, "Deutsch")
        verify(called("getLangStrings(other,German)").length === 1)
        compare(refreshed.count, 1)
    }

    function test_windowButtons() {
        const shell = start()
        mouseClick(findChild(shell, "closeBtn"))
        mouseClick(findChild(shell, "minBtn"))
        compare(ui_Ctl.calls, ["onHide", "onMinimize"])
        verify(!findChild(shell, "maxBtn").visible)
        ui_Ctl.calls = []
        mouseClick(findChild(shell, "okBtn"))
        compare(ui_Ctl.calls, ["onMinimize"])
    }

    // An empty area: the open lists close, then the window follows the pointer.
    function test_emptyAreaClosesListsAndDragsTheWindow() {
        const shell = start()
        const pressed = signalSpy(shell, "emptyAreaPressed")
        const focus = signalSpy(shell, "clickMainFocus")
        mouseClick(findChild(shell, "languageListHeader"))
        verify(findChild(shell, "languageList").isDrop)
        mousePress(shell, 600, 20)
        verify(!findChild(shell, "languageList").isDrop)
        compare(pressed.count, 1)
        compare(focus.count, 1)
        mouseMove(shell, 630, 20, -1, Qt.LeftButton)
        mouseMove(shell, 630, 10, -1, Qt.LeftButton)
        mouseRelease(shell, 630, 10)
        compare(ui_Ctl.calls, ["startSystemMove", "onXChanged(30)", "onXChanged(30)",
                               "onYChanged(-10)"])
    }

    // Where the compositor moves the window, it follows the pointer itself: the drag asks once and
    // moves nothing on its own.
    function test_compositorMovesTheWindow() {
        const shell = start()
        ui_Ctl.systemMoves = true
        mousePress(shell, 600, 20)
        mouseMove(shell, 630, 20, -1, Qt.LeftButton)
        mouseMove(shell, 630, 10, -1, Qt.LeftButton)
        mouseRelease(shell, 630, 10)
        ui_Ctl.systemMoves = false
        compare(ui_Ctl.calls, ["startSystemMove"])
    }

    // Every text of the pages, dialogs and menus, in each language's own file and font, fits its
    // box at its own size: none is cut short, shrunk, wider than its box or over another text.
    function test_textsFitInEveryLanguage_data() {
        return ["English", "ChineseSimplified", "ChineseTraditional", "German", "French",
                "Italian", "Spanish"].map(lang => ({ tag: lang, lang: lang }))
    }
    function test_textsFitInEveryLanguage(data) {
        for (const group of ["keyMatrix", "keyAssigment", "dpiSetting", "lightControl",
                             "macroEditor", "systemSetting", "gunControl", "profile", "keyCode"])
            ui_View.lists[group + "/" + data.lang] = harness.plainView().getLangStrings(group,
                                                                                        data.lang)
        ui_View.global["common/language"] = data.lang
        const shell = start()
        const menu = findChild(shell, "keyMenu1")
        // [what it shows, the item whose texts are measured; the window without one]
        const views = [[() => shell.currentTab = 0], [() => shell.currentTab = 1],
            [() => shell.shell.chooseTab(2)],
            ...["macroTreeMenu", "macroEventMenu", "macroKeyAssigmentMain", "profileMain",
                "gunControlMain", "resetConfirm", "quitQuestion", "inputAssigmentMain"].map(
                name => [() => (shell.buildPart(name) ?? findChild(shell, name)).visible = true,
                         name]),
            // The button menu with its sub-menus and its fire and combination panels.
            ...[5, 6, 7, 8, 10, 11].map(item => [() => { shell.currentTab = 0
                                                         menu.visible = true
                                                         menu.open()
                                                         menu.openItem = item }, "keyMenu1"])]
        const shownTexts = item => !item.visible ? [] : [item].filter(t => t.elide !== undefined
            && t.text !== "").concat(...Array.from(item.children).map(shownTexts))
        const laidOut = item => !isPolishScheduled(item) && Array.from(item.children).every(laidOut)
        const inkX = t => (t.width - t.contentWidth) * (t.horizontalAlignment === Text.AlignRight
                          ? 1 : t.horizontalAlignment === Text.AlignHCenter ? 0.5 : 0)
        const problems = []
        for (const [show, root] of views) {
            show()
            tryVerify(() => laidOut(shell))
            const texts = shownTexts(root ? findChild(shell, root) : shell)
            const boxes = texts.map(t => t.mapToItem(shell, inkX(t), 0, t.contentWidth, t.height))
            texts.forEach((t, i) => {
                if (t.truncated || (t.wrapMode === Text.NoWrap ? t.implicitWidth : t.contentWidth)
                        > t.width + 1)
                    problems.push("\"" + t.text + "\" in " + t.width + " px")
                const a = boxes[i]
                problems.push(...texts.filter((u, j) => j > i
                    && a.x + 1 < boxes[j].x + boxes[j].width && boxes[j].x + 1 < a.x + a.width
                    && a.y + 1 < boxes[j].y + boxes[j].height && boxes[j].y + 1 < a.y + a.height)
                    .map(u => t.text + " over " + u.text))
            })
            if (root)
                findChild(shell, root).visible = false
        }
        compare(problems, [])
    }

    function signalSpy(target, name) {
        const spy = createTemporaryQmlObject("import QtTest; SignalSpy {}", testCase, "spy")
        spy.target = target
        spy.signalName = name
        return spy
    }
}
