import QtQuick
import QtTest

// The profile dialog inside the whole document: the stored list, New, Import, rename, Delete and
// the menu bar's switch, and a row bound to an application.
TestCase {
    id: testCase

    name: "ProfileDialog"
    width: 1280
    height: 720
    when: windowShown
    visible: true

    property var shell: null

    RecordingView { id: ui_View }
    QtObject { id: hid; function hid560_02H_SetCurrentProfile(profile) {} }
    QtObject {
        id: ui_Ctl
        function onMinimize() {}
        function onHide() {}
        function onXChanged(dx) {}
        function onYChanged(dy) {}
    }

    function init() {
        ui_View.reset()
    }

    function start() {
        shell = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), testCase)
        verify(shell)
        shell.initUI()
        shell.setProtectUI(1)
        tryVerify(() => shell.isStarted, 3000)
        // The bottom bar appears with the start; its row places the Profile button when it is
        // polished for its first frame, before which a user cannot click it either.
        tryVerify(() => !isPolishScheduled(child("profileBtn").parent))
        ui_View.clear()
        return shell
    }

    function child(name) {
        const found = shell.buildPart(name) ?? findChild(shell, name)
        verify(found, name)
        return found
    }

    function warningText() {
        const warning = child("warningAssigmentMain")
        return warning.visible ? warning.textValue : ""
    }

    function profile() {
        return child("profileMain")
    }

    // New rows are laid out with the next frame, as they are before a user can click on them.
    function row(i) {
        waitForRendering(shell)
        return child("profileRow" + i)
    }

    function names() {
        const rows = profile().profileDataModel0
        const out = []
        for (let i = 0; i < rows.count; ++i)
            out.push(rows.get(i).textValue + rows.get(i).profileNo)
        return out
    }

    function test_initNamesRowZeroStandard_data() {
        return [{ tag: "two", stored: ["Mine0", "Work1"], rows: ["Standard0", "Work1"] },
                { tag: "one and the sentinel", stored: ["Mine0", "nullslotmark"],
                  rows: ["Standard0"] },
                { tag: "nothing stored", stored: [], rows: ["Standard0"] },
                { tag: "an entry without number", stored: ["Std0", "Broken", "Six5"],
                  rows: ["Standard0", "Six5"] }]
    }
    function test_initNamesRowZeroStandard(data) {
        ui_View.nameLists[2] = data.stored
        start()
        compare(names(), data.rows)
        compare(ui_View.nameLists[2], data.rows)
        compare(child("profileList").count, data.rows.length)
        compare(child("profileList").textValue, "Standard")
    }

    function test_newAndImport() {
        ui_View.nameLists[2] = ["Std0", "A1", "C3"]
        start()
        mouseClick(child("profileBtn"))
        verify(profile().visible)
        mouseClick(child("profileNew"))
        compare(names(), ["Standard0", "A1", "C3", "profile_02"])
        verify(ui_View.calls.includes("resetProfile(2)"))
        compare(profile().currentRow, 3)

        // Import: a row as New makes, and the file read into its profile.
        ui_View.clear()
        profile().importProfile()
        compare(names(), ["Standard0", "A1", "C3", "profile_02", "profile_14"])
        compare(ui_View.argsOf("loadProfile"), [[4]])
        compare(ui_View.argsOf("resetProfile"), [])
        // A cancelled import leaves no row behind.
        ui_View.loadProfileResult = false
        verify(!profile().importProfile())
        compare(names().length, 5)
        ui_View.loadProfileResult = true

        profile().newProfile()
        compare(names().length, 6)
        // Six rows: New and Import add nothing; Import reads into the current row's profile.
        ui_View.clear()
        verify(!profile().newProfile())
        compare(ui_View.argsOf("resetProfile"), [])
        mouseClick(row(2))
        profile().importProfile()
        compare(names().length, 6)
        compare(ui_View.argsOf("loadProfile"), [[3]])
        compare(ui_View.argsOf("sendStoredProfile").length, 0)
        // Read into the profile in use, the pages show and send what was read.
        mouseClick(row(0))
        ui_View.profile["mouse/mouseRate"] = "296"
        profile().importProfile()
        compare(ui_View.argsOf("loadProfile").pop(), [0])
        compare(child("systemSettingMain").mouseRate.value, 296)
        compare(ui_View.argsOf("sendStoredProfile").length, 1)
        mouseClick(child("profileClose"))
        verify(!profile().visible)
    }

    function test_deleteNeverRowZeroNorTheProfileInUse() {
        ui_View.nameLists[2] = ["Std0", "A1", "B2"]
        ui_View.bindings = { 2: ["Steam"] }
        ui_View.global["mouse/profileNo"] = "1"
        start()
        mouseClick(child("profileBtn"))
        for (const row of [0, 1]) {
            mouseClick(child("profileRow" + row))
            mouseClick(child("profileDelete"))
            verify(!child("tooltipMain").visible)
            compare(names().length, 3)
        }
        mouseClick(row(2))
        mouseClick(child("profileDelete"))
        verify(child("tooltipMain").visible)
        compare(child("tooltipMain").textValue, "Confirm delete ?")
        mouseClick(child("tooltipMainOK"))
        compare(names(), ["Standard0", "A1"])
        compare(ui_View.nameLists[2], ["Standard0", "A1"])
        // A new profile in the deleted one's file follows no application.
        compare(ui_View.argsOf("unbindApplications"), [[2]])
    }

    function test_renameByDoubleClick_data() {
        return [{ tag: "new name", typed: "Games", row: "Games1" },
                { tag: "existing name", typed: "B", row: "A1" },
                { tag: "empty", typed: "", row: "A1" },
                { tag: "too long", typed: "x".repeat(40), row: "x".repeat(32) + "1", full: true }]
    }
    function test_renameByDoubleClick(data) {
        ui_View.nameLists[2] = ["Std0", "A1", "B2"]
        start()
        mouseClick(child("profileBtn"))
        mouseDoubleClickSequence(row(1))
        const field = child("profileRename1")
        verify(field.visible)
        keyClick(Qt.Key_Backspace)
        for (const ch of data.typed)
            keyClick(ch)
        // At the limit the field says so before it stops taking keys.
        const count = child("profileRenameCount1")
        compare(count.text, data.typed.slice(0, 32).length + "/32")
        compare(Qt.colorEqual(count.color, shell.colorAccent), data.full === true)
        keyClick(Qt.Key_Return)
        verify(!field.visible)
        verify(!count.visible)
        compare(names()[1], data.row)
        compare(ui_View.nameLists[2][1], data.row)
    }

    // After a middle row is gone, the menu bar switches by the row's profile number.
    function test_menuBarSwitchesByProfileNumber() {
        ui_View.nameLists[2] = ["Std0", "A1", "C3"]
        start()
        const list = child("profileList")
        list.openMenu()
        list.choose(2)
        tryVerify(() => ui_View.calls.includes("setCurrentProfile(3)"), 2000)
        compare(shell.profileNo, 3)
        compare(profile().profileNo, 3)
        compare(ui_View.global["mouse/profileNo"], 3)
        compare(list.textValue, "C")
        // The context menu: Export takes the profile in use, whichever row was clicked; Import
        // adds a row and reads into it.
        mouseClick(child("profileBtn"))
        mouseClick(row(1), 20, 10, Qt.RightButton)
        verify(child("profileMenu").visible)
        compare(profile().currentRow, 1)
        mouseClick(child("profileMenuItem0"))
        compare(ui_View.argsOf("saveProfile"), [[3]])
        mouseClick(row(0), 20, 10, Qt.RightButton)
        mouseClick(child("profileMenuItem1"))
        compare(ui_View.argsOf("loadProfile"), [[2]])
        compare(names(), ["Standard0", "A1", "C3", "profile_02"])
    }

    // The row menu binds the row's profile to a running application or a typed one, the row
    // shows it and the settings are written; a desktop that does not tell which application is
    // in front is named as such and nothing is bound.
    function test_bindRowToApplication_data() {
        return [{ tag: "running", available: true, pick: 1, bound: ["Steam"] },
                { tag: "typed", available: true, typed: "gimp", bound: ["gimp"] },
                { tag: "no way on this desktop", available: false, bound: [] }]
    }
    function test_bindRowToApplication(data) {
        ui_View.nameLists[2] = ["Std0", "A1", "B2"]
        ui_View.following = { available: data.available, applications: ["firefox", "Steam"] }
        start()
        mouseClick(child("profileBtn"))
        mouseClick(row(2), 20, 10, Qt.RightButton)
        mouseClick(child("profileMenuItem2"))
        verify(child("profileBinding").visible)
        compare(child("profileBindingHint").text, profile().profileLang[data.available ? 8 : 9])
        compare(child("profileBindingOk").visible, data.available)
        if (data.pick !== undefined) {
            waitForRendering(shell)
            mouseClick(child("profileBindingApp" + data.pick))
        }
        for (const ch of data.typed ?? "")
            keyClick(ch)
        mouseClick(child(data.available ? "profileBindingOk" : "profileBindingCancel"))
        verify(!child("profileBinding").visible)
        compare(ui_View.argsOf("bindApplication"), data.bound.map(app => [2, app]))
        compare(ui_View.calls.includes("saveSettings()"), data.available)
        compare(child("profileApps2").visible, data.available)
        if (data.available)
            compare(child("profileApps2").text, "\u2192 " + data.bound[0])
    }
}
