import QtQuick

// A stand-in for the core's `ui_View`: the settings live in memory (the current profile, the
// stored defaults and the global file), every call is recorded as "name(arguments)", and a
// write to the mouse succeeds unless `failing` names it. main.qml finds it by its id, as it
// finds the real one.
QtObject {
    property var global: ({})
    property var profile: ({})
    property var defaults: ({})
    property var lists: ({})
    property var gunData: []
    property var calls: []
    // The arguments of every call, in the order of `calls`: { name, args }.
    property var made: []
    property var failing: []
    property int dpiStage: 3
    property int deviceProfile: 1
    property bool enabled: true
    // The name lists of the catalogue, by type (2: profiles).
    property var nameLists: ({})
    // A real view for the macro library's files and catalogue, when a test needs them.
    property var macroView: null
    property bool loadProfileResult: true
    // The device link's queue: its answer for the writes of a device work, and whether it is
    // held back until finishQueue() (a queue still running).
    property bool queueOk: true
    property bool holdQueue: false
    // The start-up's reads of the mouse: their answer, and whether it is held back until
    // finishRead() (a mouse still being read).
    property bool readOk: true
    property bool holdRead: false
    // What the desktop tells of its applications, and the bindings by profile number.
    property var following: ({})
    property var bindings: ({})

    // What saveFailure() answers after a failed save; a save fails when `failing` names
    // "saveSettings" (the settings files of a device work too).
    property string saveFailureText: ""

    signal deviceWorkFinished(bool ok, bool saved)
    signal deviceProgress(int done, int total)
    signal mouseStateRead(bool ok, int currentDPI)

    // A complete profile with the factory's values.
    function factoryProfile() {
        const p = { "mouse/mouseMode": "0", "mouse/reportRate": "3", "mouse/dpiCount": "6",
                    "mouse/currentDpiCount": "6",
                    "mouse/dpiValueArray": [500, 1000, 1500, 2000, 3000, 4000, 5000, 6000],
                    "mouse/dpiEnableArray": [1, 1, 1, 1, 1, 1, 1, 1],
                    "mouse/dpiColorArray": ["#ff0000", "#00ff00", "#0000ff", "#ffff00",
                                            "#00ffff", "#ff00ff"] }
        const office = [[0, 0, 240, 0], [0, 0, 241, 0], [0, 0, 242, 0], [0, 0, 244, 0],
                        [0, 0, 243, 0], [5, 0, 1, 0], [5, 0, 2, 0], [5, 0, 4, 0],
                        [1, 29, 10, 0], [2, 1, 29, 0], [3, 0, 131, 1], [3, 0, 183, 0],
                        [6, 0, 148, 1], [7, 0, 224, 22], [255, 0, 1, 0], [255, 0, 2, 0]]
        for (let n = 0; n < 16; ++n) {
            p["mouseKeyMatrix/" + n] = office[n].slice()
            p["mouseKeyMatrix2/" + n] = n === 5 ? [8, 0, 1, 0] : n === 6 ? [8, 0, 2, 0]
                                                               : office[n].slice()
        }
        return p
    }

    function factoryGlobal() {
        return { "mouse/isColorful": "true", "mouse/icType": "553", "mouse/is55328": "false",
                 "mouse/isGun": "true", "mouse/keyCount": "7", "mouse/minDPI": "500",
                 "mouse/maxDPI": "7000", "mouse/sensorType": "3320", "mouse/dpiBase": "500",
                 "mouse/selectGun": [0, 1, 2], "common/language": "English",
                 "mouse/profileNo": "0" }
    }

    function factoryGuns() {
        return ["M416", "AKM", "M16A4", "SCAR-L", "UNP9", "Thomson"]
               .map(name => [name, "L-Click", "10", "0", "10", "0"])
    }

    function reset() {
        global = factoryGlobal()
        profile = factoryProfile()
        defaults = factoryProfile()
        lists = {}
        gunData = factoryGuns()
        calls = []
        made = []
        failing = []
        saveFailureText = ""
        dpiStage = 3
        deviceProfile = 1
        enabled = true
        nameLists = {}
        macroView = null
        loadProfileResult = true
        queueOk = true
        holdQueue = false
        readOk = true
        holdRead = false
        following = { available: true, applications: [] }
        bindings = {}
    }

    function note(name, args) {
        calls.push(name + "(" + Array.from(args).join(",") + ")")
        made.push({ name: name, args: Array.from(args) })
    }

    // A write to the mouse: recorded, and true unless the test makes it fail.
    function write(name, args) {
        note(name, args)
        return !failing.includes(name)
    }

    // The recorded arguments of every call of `name`.
    function argsOf(name) {
        return made.filter(c => c.name === name).map(c => c.args)
    }

    function beginDeviceWork() { note("beginDeviceWork", []) }
    function endDeviceWork() {
        note("endDeviceWork", [])
        if (!holdQueue)
            finishQueue()
    }
    function finishQueue() { deviceWorkFinished(queueOk, !failing.includes("saveSettings")) }
    function saveSettings() { return write("saveSettings", []) }
    function saveFailure() { return saveFailureText }
    function readMouseState(first) {
        note("readMouseState", [first])
        if (!holdRead)
            finishRead()
    }
    function finishRead() { mouseStateRead(readOk, readOk ? dpiStage : 0) }

    function clear() {
        calls = []
        made = []
    }

    function store(recovery) {
        return recovery ? defaults : profile
    }

    function getGlobalData(key) { note("getGlobalData", [key]); return global[key] }
    function setGlobalData(key, value) { note("setGlobalData", [key, value]); global[key] = value }
    function getData(key, isRecovery) {
        note("getData", [key])
        return store(isRecovery)[key]
    }
    function getDataList(key, isRecovery) {
        note("getDataList", [key])
        return store(isRecovery)[key] ?? []
    }
    // The core's own rules over the stored values held here.
    function storedSettings(isRecovery) {
        note("storedSettings", [isRecovery])
        return harness.storedSettings(store(isRecovery), global)
    }
    function storedPreset(preset, isRecovery) {
        note("storedPreset", [preset, isRecovery])
        return harness.storedPreset(store(isRecovery), global, preset)
    }
    function reportRateCode(position) { return harness.rulesView().reportRateCode(position) }
    function colourLevels(text) { return harness.rulesView().colourLevels(text) }
    function buttonDefaults(mode) { return harness.rulesView().buttonDefaults(mode) }
    function lodOffsets() { return harness.rulesView().lodOffsets() }
    function lodSnap(offset) { return harness.rulesView().lodSnap(offset) }
    function lodRate(offset) { return harness.rulesView().lodRate(offset) }
    // The stored profile sent as one call: each part sent unless `failing` names it.
    function sendStoredProfile(mode, resetGunTables) {
        note("sendStoredProfile", [mode, resetGunTables])
        const parts = {}
        for (const part of ["buttons", "reportRate", "dpiStages", "dpiColours", "liftOff",
                            "lighting"].concat(resetGunTables ? ["gunTables"] : []))
            parts[part] = !failing.includes(part)
        return parts
    }
    function setData(key, value) { note("setData", [key, value]); profile[key] = value }
    function setDataList(key, value) { note("setDataList", [key, value]); profile[key] = value }
    function getLangStrings(group, language) {
        note("getLangStrings", [group, language])
        return lists[group + "/" + language] ?? []
    }
    function mouseGetKeydefine(mode, index, isRecovery) {
        note("mouseGetKeydefine", [mode, index, isRecovery])
        return store(isRecovery)[(mode === 0 ? "mouseKeyMatrix/" : "mouseKeyMatrix2/") + index]
               ?? []
    }
    function getGunData(index) { note("getGunData", [index]); return gunData[index] ?? [] }
    function storedGunPeriods() {
        note("storedGunPeriods", [])
        return Array.from(harness.storedSettings(store(false), global).gunSlots).map(
            row => (gunData[row] ?? []).length >= 6 ? parseInt(gunData[row][2]) || 0 : 10)
    }
    function mouseSaveGundata(index, values) { return write("mouseSaveGundata", [index, values]) }
    function mouseSaveGundataRows(records) { return write("mouseSaveGundataRows", [records]) }
    function mouseGetCurrentDPI() { note("mouseGetCurrentDPI", []); return dpiStage }
    function mouseReadCurrentProfile() { note("mouseReadCurrentProfile", []); return deviceProfile }
    function setCurrentProfile(n) { note("setCurrentProfile", [n]) }
    function setEnabled(on) { note("setEnabled", [on]); enabled = on }
    function releaseUnusedImages() {}
    // As the real one: the profile becomes a copy of the factory profile.
    function resetProfile(n) {
        if (!write("resetProfile", [n]))
            return false
        profile = JSON.parse(JSON.stringify(defaults))
        return true
    }

    function mouseSetReportRate(rate) { return write("mouseSetReportRate", [rate]) }
    function mouseSwitchKeyMatrix(n) { return write("mouseSwitchKeyMatrix", [n]) }
    function mouseResetKeyMatrix() { return write("mouseResetKeyMatrix", []) }
    function mouseSetCurrentDPI(n) { return write("mouseSetCurrentDPI", [n]) }
    function mouseSetKeyMatrix(mode, office, game, isSendData, periods) {
        return write("mouseSetKeyMatrix", [mode, office, game, isSendData, periods])
    }
    function mouseSetDpi(count, sensor, values, enables) {
        return write("mouseSetDpi", [count, sensor, values, enables])
    }
    function mouseSetRGBColor(type, bytes) { return write("mouseSetRGBColor", [type, bytes]) }
    function mouseSendGundata(slot, values) { return write("mouseSendGundata", [slot, values]) }

    function mouseSetLodValue(rate, enable) { return write("mouseSetLodValue", [rate, enable]) }
    function mouseSetLedType(effect, brightness, speed, direction, colours) {
        return write("mouseSetLedType", [effect, brightness, speed, direction, colours])
    }
    // The desktop's settings: refused when `failing` names them.
    function mouseSetCursorSpeed(step) { return write("mouseSetCursorSpeed", [step]) }
    function mouseSetDoubleClickSpeed(step) { return write("mouseSetDoubleClickSpeed", [step]) }
    function mouseSetVerticalScrollLines(n) { return write("mouseSetVerticalScrollLines", [n]) }
    function isStartWithDesktop() { return false }
    function setStartWithDesktop(enabled) { note("setStartWithDesktop", [enabled]); return true }

    function applicationFollowing() { return following }
    function boundApplications(n) { return bindings[n] ?? [] }
    function bindApplication(n, app) {
        note("bindApplication", [n, app]); bindings[n] = (bindings[n] ?? []).concat([app]); return true
    }
    function unbindApplications(n) { note("unbindApplications", [n]); bindings[n] = [] }

    function getNameList(type) {
        note("getNameList", [type])
        if (type === 0 && macroView)
            return macroView.getNameList(0)
        return nameLists[type] ?? []
    }
    function updataNameList(type, names) {
        note("updataNameList", [type, names])
        nameLists[type] = Array.from(names)
        return !failing.includes("updataNameList")
    }
    function saveProfile(n) { note("saveProfile", [n]) }
    function loadProfile(n) { note("loadProfile", [n]); return loadProfileResult }

    // The macro library goes to the real view when there is one.
    function forward(name, args) {
        note(name, args)
        return macroView ? macroView[name](...args) : undefined
    }
    function setMacroSelectName(a, b, c, d, e) { forward("setMacroSelectName", [a, b, c, d, e]) }
    function setMacroLevel(level) { forward("setMacroLevel", [level]) }
    function getMacroList_Att(att) { return forward("getMacroList_Att", [att]) ?? [] }
    function getMacroSubList_Att(att, name) {
        return forward("getMacroSubList_Att", [att, name]) ?? []
    }
    function updataMacroList(...args) { return forward("updataMacroList", args) }
    function updataMacroList_delOld(group) {
        return forward("updataMacroList_delOld", [group]) ?? true
    }
    function createMacroIni(...args) { return forward("createMacroIni", args) }
    function saveMacroIni(...args) { return forward("saveMacroIni", args) }
    function loadMacroIni(...args) { return forward("loadMacroIni", args) ?? [] }
    function deleteMacroIni(...args) { return forward("deleteMacroIni", args) }
    function modifyMacroNameUpdateProfile(...args) {
        return forward("modifyMacroNameUpdateProfile", args)
    }
    function deleteMacroUpdateProfile(name) {
        return forward("deleteMacroUpdateProfile", [name]) ?? true
    }
    function loadMacroFile(...args) { return forward("loadMacroFile", args) ?? "" }
    function saveMacroFile(...args) { forward("saveMacroFile", args) }
    function loadMacroFile_batch() { return forward("loadMacroFile_batch", []) ?? "" }
    function loadMacroFile_sub_batch() { forward("loadMacroFile_sub_batch", []) }
    function getMacroFileName_batch(level, type) {
        return forward("getMacroFileName_batch", [level, type]) ?? []
    }
    function getbatchPath() { forward("getbatchPath", []) }
    function saveMacroFile_batch(...args) { forward("saveMacroFile_batch", args) }
    function mouseSendMacroData(bytes, index, name) {
        return write("mouseSendMacroData", [bytes, index, name])
    }
}
