import QtQuick

// The gun editor: six recoil presets, which of them the mouse's three gun slots use, and each
// preset's vertical compensation, fire period and shot count. Row edits are stored at once;
// closing sends the slots and the button tables when anything changed.
DialogBox {
    id: gunControl

    // Esc closes it as its close button does (which sends what changed).
    escapeHides: false
    onEscapePressed: close()

    property bool isSave: false
    property int selectGun1: 0
    property int selectGun2: 1
    property int selectGun3: 2
    // The slot shown (0 … 2) and the preset shown.
    property int currentSlot: 0
    property int currentRow: 0
    // A mouse without gun slots takes no gun data; nothing is sent to it.
    property bool isGunMouse: true
    property list<string> gunControlLang: ["Gun editor", "Gun", "Select gun", "Cursor Adjust",
        "X Axis", "Y axis", "Fire adjust", "Rate", "Times", "Endness"]
    readonly property alias gunNumberModel: guns
    readonly property alias gunNumber_lv: gunList
    readonly property alias slotList: slotList
    readonly property alias yField: editor.yField
    readonly property alias rateSlider: editor.rateSlider
    readonly property alias timesField: editor.timesField
    readonly property alias endlessBox: editor.endlessBox
    readonly property alias dot: editor.dot
    // The dot's travel on the target and the Y range it stands for.
    readonly property int dotTop: 89
    readonly property int dotTravel: 94
    readonly property int maxY: 64

    function isTrue(value) {
        return value === true || String(value) === "true"
    }

    function slotRow(k: int): int {
        return [selectGun1, selectGun2, selectGun3][k] ?? 0
    }

    function setSlotRow(k: int, row: int) {
        if (k === 0)
            selectGun1 = row
        else if (k === 1)
            selectGun2 = row
        else
            selectGun3 = row
    }

    function storeSlots() {
        ui_View.setGlobalData("mouse/selectGun", [selectGun1, selectGun2, selectGun3])
        mainIten.saveSettings()
    }

    // The periods of the three slots' presets, which every button-table save carries.
    function slotPeriods(): var {
        return [0, 1, 2].map(k => parseInt(guns.get(slotRow(k)).gunPeriod) || 0)
    }

    function updateLang() {
        for (let k = 0; k < 3; ++k)
            slotList.mdItems.setProperty(k, "textValue", gunControlLang[1] + (k + 1))
        slotList.setSelect(slotList.currentSelect)
    }

    function dotY(y: int): int {
        return dotTop + Math.round(y * dotTravel / maxY)
    }

    function yOfDot(position: real): int {
        return Math.floor((position - dotTop) / dotTravel * maxY)
    }

    function init() {
        updateLang()
        isGunMouse = isTrue(ui_View.getGlobalData("mouse/isGun"))
        for (let i = 0; i < guns.count; ++i) {
            const v = ui_View.getGunData(i) ?? []
            if (v.length < 6)
                continue
            guns.set(i, { gunName: String(v[0]), gunKey: String(v[1]), gunPeriod: String(v[2]),
                          gunX: String(v[3]), gunY: String(v[4]), gunTimes: String(v[5]) })
        }
        // The rows the core sends the slots' periods from.
        const rows = Array.from(ui_View.storedSettings(false).gunSlots)
        for (let k = 0; k < 3; ++k)
            setSlotRow(k, rows[k])
        showSlot(0)
    }

    function showSlot(k: int) {
        currentSlot = k
        slotList.setSelect(k)
        currentRow = slotRow(k)
        loadGunData(currentRow)
    }

    function loadGunData(row: int) {
        const g = guns.get(row)
        yField.textValue = g.gunY
        dot.y = dotY(parseInt(g.gunY) || 0)
        rateSlider.setRatioValue(((parseInt(g.gunPeriod) || 0) - 5) / 86)
        timesField.textValue = g.gunTimes
        endlessBox.isSelect = g.gunTimes === "0"
    }

    function record(r: int): var {
        const g = guns.get(r)
        return [g.gunName, g.gunKey, g.gunPeriod, g.gunX, g.gunY, g.gunTimes]
    }

    function saveData(index: int, isAllSave: bool) {
        const rows = isAllSave ? [0, 1, 2, 3, 4, 5] : [index]
        let stored = true
        for (const r of rows)
            stored = ui_View.mouseSaveGundata(r, record(r)) === true && stored
        gunFileWritten(stored)
        isSave = true
    }

    // A gun file that could not be written is told once, not at every step of a drag, and again
    // only after a write has succeeded in between.
    property bool gunFileFailed: false

    function gunFileWritten(ok: bool) {
        if (!ok && !gunFileFailed)
            warningAssigmentMain.showWarning(warningAssigmentMain.gunFileFailed,
                                             ui_View.saveFailure())
        gunFileFailed = !ok
    }

    function setRowValue(role: string, value: string) {
        guns.setProperty(currentRow, role, value)
        saveData(currentRow, false)
    }

    function sendData(k: int): bool {
        if (!isGunMouse)
            return true
        const g = guns.get(slotRow(k))
        return ui_View.mouseSendGundata(k + 1, [parseInt(g.gunTimes) || 0, parseInt(g.gunX) || 0,
                                                parseInt(g.gunY) || 0]) === true
    }

    function sendSlots(): bool {
        let ok = true
        for (let k = 0; k < 3; ++k)
            ok = sendData(k) && ok
        return ok
    }

    // Slots 1 … 3 get the first three presets with their reset values, stored and sent.
    function resetData(): bool {
        for (let k = 0; k < 3; ++k)
            setSlotRow(k, k)
        storeSlots()
        for (const [row, y] of [[0, 5], [1, 7], [2, 8]]) {
            guns.setProperty(row, "gunY", String(y))
            guns.setProperty(row, "gunPeriod", "9")
        }
        // One write of the gun file for the three rows: each write costs the window a frame.
        gunFileWritten(ui_View.mouseSaveGundataRows([0, 1, 2].map(r => [r].concat(record(r))))
                       === true)
        const ok = sendSlots()
        isSave = false // everything is on the mouse now
        showSlot(0)
        return ok
    }

    function chooseRow(row: int) {
        gunControlFocus()
        setSlotRow(currentSlot, row)
        storeSlots()
        isSave = true
        currentRow = row
        loadGunData(row)
    }

    function gunControlFocus() {
        slotList.closeMenu()
        forceActiveFocus()
    }

    function open() {
        mainIten.mainFocus()
        showSlot(currentSlot)
        show()
    }

    // Closing sends the three slots and the button tables (with the slots' periods) when
    // anything changed; what could not be sent stays unsaved for the next close.
    function close() {
        gunControlFocus()
        hide()
        if (!isSave)
            return
        isSave = false
        mainIten.deviceWork(() => {
            const slots = sendSlots()
            const keys = keyMatrixMain.saveData()
            return slots && keys
        }, ok => {
            if (!ok)
                isSave = true
        })
    }

    objectName: "gunControlMain"
    width: 640
    height: 448
    titleText: gunControlLang[0]

    ListModel {
        id: guns

        ListElement { gunName: "M416"; gunImage: "gun/M416.svg"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "AKM"; gunImage: "gun/AKM.svg"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "M16A4"; gunImage: "gun/M16A4.svg"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "SCAR-L"; gunImage: "gun/SCAR-L.svg"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "UNP9"; gunImage: "gun/UNP9.svg"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "Thomson"; gunImage: "gun/Thomson.svg"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
    }

    ImageButton {
        objectName: "gunCloseBtn"
        accessibleName: mainIten.keyMatrixLang[11]
        x: parent.width - width + 6
        y: -34
        source: mainIten.sourceCloseBtn
        onClicked: gunControl.close()
    }

    PanelLabel {
        y: 4
        text: gunControl.gunControlLang[2]
    }

    ListView {
        id: gunList

        objectName: "gunList"
        y: 34
        width: 292
        height: count * 58
        interactive: false
        model: guns
        currentIndex: gunControl.currentRow

        delegate: GunRow {
            required property int index
            required property string gunName
            required property string gunImage

            objectName: "gunRow" + index
            width: gunList.width
            name: gunName
            picture: mainIten.gunPicture(gunImage)
            isCurrent: index === gunControl.currentRow
            slots: [0, 1, 2].filter(k => gunControl.slotRow(k) === index).map(k => k + 1)
            onClicked: gunControl.chooseRow(index)
        }
    }

    DropDownList {
        id: slotList

        objectName: "gunSlotList"
        accessibleName: gunControl.gunControlLang[2]
        x: 182
        width: 110
        mdItems: ListModel {
            ListElement { textValue: "Gun1" }
            ListElement { textValue: "Gun2" }
            ListElement { textValue: "Gun3" }
        }
        onValueChange: index => gunControl.showSlot(index)
    }

    GunEditor {
        id: editor

        anchors.fill: parent
        gunControl: gunControl
    }
}
