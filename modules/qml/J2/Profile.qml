import QtQuick

// The profile dialog: the user's profiles by name (at most six), each with the number of its
// profile file. The same list is the menu bar's profile list, where the user switches.
DialogBox {
    id: profile

    escapeHides: false
    onEscapePressed: close()

    readonly property int maxRows: 6
    readonly property string sentinel: "nullslotmark"
    readonly property int confirmDelete: 301
    property alias profileDataModel0: rows
    property int profileNo: -1
    property int currentRow: -1
    property int editRow: -1
    property list<string> profileLang: ["config", "New", "Import", "Delete", "Export", "Standard",
        "Bind to application", "Remove binding", "Pick a running application or type its class:",
        "This desktop does not say which application is in front, so profiles cannot follow "
        + "applications here."]
    // The applications each profile follows, by profile number.
    property var bindings: ({})
    // The row menu's entries.
    property var menuItems: []

    // The menu bar's choice: the chosen row's profile number, which names its file.
    signal changeProfile(int tmpProfileNo)

    function store() {
        const names = []
        for (let i = 0; i < rows.count; ++i)
            names.push(rows.get(i).textValue + rows.get(i).profileNo)
        if (ui_View.updataNameList(2, names) === false)
            warningAssigmentMain.showWarning(warningAssigmentMain.notSaved, ui_View.saveFailure())
        menuUp.profileList.setSelect(rowOfNumber(profileNo))
    }

    function readBindings() {
        const all = {}
        for (let i = 0; i < rows.count; ++i) {
            const number = rows.get(i).profileNo
            all[number] = Array.from(ui_View.boundApplications(number) ?? []).map(String)
        }
        bindings = all
    }

    function bind(number: int, application: string): bool {
        const taken = ui_View.bindApplication(number, application) === true
        if (taken)
            mainIten.saveSettings()
        readBindings()
        return taken
    }

    function unbind(number: int) {
        ui_View.unbindApplications(number)
        mainIten.saveSettings()
        readBindings()
    }

    function nameOf(number: int): string {
        const row = rowOfNumber(number)
        return row >= 0 ? rows.get(row).textValue : ""
    }

    function init() {
        let names = Array.from(ui_View.getNameList(2) ?? []).map(String)
        if (names.length === 2 && names[1] === sentinel)
            names.pop()
        rows.clear()
        for (const entry of names) {
            const number = parseInt(entry.slice(-1))
            // An entry without its number, or one used twice, names no profile file.
            if (!(number >= 0 && number < maxRows) || rowOfNumber(number) >= 0
                    || rows.count >= maxRows)
                continue
            rows.append({ textValue: entry.slice(0, -1), profileNo: number })
        }
        if (rowOfNumber(0) < 0)
            rows.insert(0, { textValue: "", profileNo: 0 })
        currentRow = Math.max(0, rowOfNumber(profileNo))
        rows.setProperty(0, "textValue", profileLang[5])
        store()
        readBindings()
    }

    function rowOfNumber(number: int): int {
        for (let i = 0; i < rows.count; ++i) {
            if (rows.get(i).profileNo === number)
                return i
        }
        return -1
    }

    function hasName(name: string): bool {
        for (let i = 0; i < rows.count; ++i) {
            if (rows.get(i).textValue === name)
                return true
        }
        return false
    }

    // Adds a row with the first free name and number; -1 when the list is full.
    function addRow(): int {
        if (rows.count >= maxRows)
            return -1
        let name = ""
        for (let n = 0; n < 12 && name === ""; ++n) {
            if (!hasName("profile_" + n))
                name = "profile_" + n
        }
        let number = 0
        while (rowOfNumber(number) >= 0)
            ++number
        rows.append({ textValue: name, profileNo: number })
        currentRow = rows.count - 1
        store()
        return number
    }

    function newProfile(): bool {
        const number = addRow()
        if (number < 0)
            return false
        if (ui_View.resetProfile(number) !== false)
            return true
        // The new row's file still holds what it held: no row names it.
        warningAssigmentMain.showWarning(warningAssigmentMain.notSaved, ui_View.saveFailure())
        removeLastRow()
        return false
    }

    // The file is read into a new profile; with six rows, into the current row's profile.
    function importProfile(): bool {
        const added = addRow()
        const number = added >= 0 ? added : rows.get(currentRow).profileNo
        if (ui_View.loadProfile(number) === true) {
            if (number === profileNo)
                mainIten.reloadProfile()
            return true
        }
        if (added >= 0)
            removeLastRow()
        return false
    }

    function removeLastRow() {
        rows.remove(rows.count - 1)
        currentRow = Math.min(currentRow, rows.count - 1)
        store()
    }

    function exportProfile() {
        ui_View.saveProfile(profileNo)
    }

    function canDelete(row: int): bool {
        return row > 0 && row < rows.count && rows.get(row).profileNo !== profileNo
    }

    function askDelete() {
        if (!canDelete(currentRow))
            return
        tooltipMain.btnIndex = confirmDelete
        tooltipMain.titleText = profileLang[3]
        tooltipMain.textValue = warningAssigmentMain.warningAssigmentLang[7]
        tooltipMain.show()
    }

    function deleteCurrent(): bool {
        if (!canDelete(currentRow))
            return false
        const number = rows.get(currentRow).profileNo
        rows.remove(currentRow)
        currentRow = Math.max(0, rowOfNumber(profileNo))
        store()
        // A new profile in its place follows nothing.
        if ((bindings[number] ?? []).length > 0)
            unbind(number)
        return true
    }

    function rename(row: int, name: string): bool {
        if (row < 0 || row >= rows.count || name === "" || hasName(name))
            return false
        rows.setProperty(row, "textValue", name)
        store()
        return true
    }

    function startRename(row: int) {
        currentRow = row
        editRow = row
    }

    function endRename(row: Item) {
        editRow = -1
        row.forceActiveFocus()
    }

    function profileFocus() {
        editRow = -1
        controlsItem?.menu.close()
        controlsItem?.binding.close()
    }

    function updateLang(bound) {
        menuItems = [profileLang[4], profileLang[2], profileLang[6]]
                    .concat(bound === true ? [profileLang[7]] : [])
    }

    function close() {
        profileFocus()
        hide()
        menuUp.profileList.closeMenu()
    }

    objectName: "profileMain"
    width: 415
    height: 288
    titleText: profileLang[0]
    Component.onCompleted: updateLang()
    onProfileLangChanged: updateLang()

    ListModel { id: rows }

    Connections {
        target: tooltipMain

        function onTooltipClickOK(btnIndex) {
            if (btnIndex === profile.confirmDelete)
                profile.deleteCurrent()
        }
    }

    // The rows and buttons; the list itself is above, for the menu bar.
    controls: Component {
        Item {
            readonly property alias menu: contextMenu
            readonly property alias binding: binding

            ImageButton {
                objectName: "profileClose"
                accessibleName: mainIten.keyMatrixLang[11]
                parent: profile
                x: profile.width - 30
                y: 8
                width: 22
                height: 22
                source: mainIten.sourceProfileClose
                onClicked: profile.close()
            }

            Column {
                width: 250
                spacing: 2

                Repeater {
                    model: rows

                    Rectangle {
                        id: rowItem

                        required property int index
                        required property string textValue
                        required property int profileNo

                        objectName: "profileRow" + index
                        width: 250
                        height: 30
                        radius: 3
                        color: index === profile.currentRow ? mainIten.colorSurface2
                                                            : mainIten.colorSurface0
                        border.color: profileNo === profile.profileNo ? mainIten.colorPrimary
                                                                     : mainIten.colorLine
                        // The keyboard: Enter or Space selects the row, F2 renames it, the menu key or
                        // Shift+F10 opens its menu.
                        activeFocusOnTab: true
                        Keys.onPressed: e => {
                            const menuKey = e.key === Qt.Key_Menu
                                            || e.key === Qt.Key_F10 && (e.modifiers & Qt.ShiftModifier)
                            if ([Qt.Key_Return, Qt.Key_Enter, Qt.Key_Space].includes(e.key) || menuKey) {
                                profile.editRow = -1
                                profile.currentRow = index
                                if (menuKey)
                                    contextMenu.openBeside(rowItem)
                            } else if (e.key === Qt.Key_F2) {
                                profile.startRename(index)
                            } else {
                                return
                            }
                            e.accepted = true
                        }
                        Accessible.role: Accessible.ListItem
                        Accessible.name: textValue
                        Accessible.selected: index === profile.currentRow

                        // The current row's plate (the artwork is a row, not an icon).
                        SkinImage {
                            anchors.fill: parent
                            visible: rowItem.index === profile.currentRow
                            source: mainIten.sourceProfileItem
                        }

                        readonly property string boundText: (profile.bindings[profileNo] ?? []).join(", ")

                        Text {
                            x: 12
                            width: parent.width - 40 - (appsText.visible ? appsText.width + 4 : 0)
                            height: parent.height
                            verticalAlignment: Text.AlignVCenter
                            visible: profile.editRow !== rowItem.index
                            text: rowItem.textValue
                            elide: Text.ElideRight
                            color: rowItem.index === profile.currentRow ? mainIten.colorPrimary
                                                                        : mainIten.fontColor
                            font.family: mainIten.fontFamily
                            font.pixelSize: mainIten.fontMinSize + 2
                        }

                        // The applications the profile follows.
                        Text {
                            id: appsText

                            objectName: "profileApps" + rowItem.index
                            anchors.right: parent.right
                            anchors.rightMargin: 8
                            width: Math.min(implicitWidth, 110)
                            height: parent.height
                            visible: rowItem.boundText !== "" && profile.editRow !== rowItem.index
                            verticalAlignment: Text.AlignVCenter
                            horizontalAlignment: Text.AlignRight
                            text: "→ " + rowItem.boundText
                            elide: Text.ElideRight
                            color: mainIten.colorPrimary
                            font.family: mainIten.fontFamily
                            font.pixelSize: mainIten.fontMinSize
                        }

                        MouseArea {
                            anchors.fill: parent
                            acceptedButtons: Qt.LeftButton | Qt.RightButton
                            onClicked: mouse => {
                                profile.editRow = -1
                                profile.currentRow = rowItem.index
                                contextMenu.close()
                                if (mouse.button === Qt.RightButton) {
                                    // "Remove binding" only for a row that follows an application.
                                    profile.updateLang(rowItem.boundText !== "")
                                    const p = mapToItem(profile, mouse.x, mouse.y)
                                    contextMenu.openAt(p.x, p.y)
                                }
                            }
                            onDoubleClicked: mouse => {
                                if (mouse.button === Qt.LeftButton)
                                    profile.startRename(rowItem.index)
                            }
                        }

                        TextInput {
                            id: nameField

                            objectName: "profileRename" + rowItem.index
                            x: 12
                            width: parent.width - 40
                            height: parent.height
                            visible: profile.editRow === rowItem.index
                            verticalAlignment: TextInput.AlignVCenter
                            maximumLength: 32
                            selectByMouse: true
                            color: mainIten.colorPrimary
                            selectionColor: mainIten.colorPrimary
                            font.family: mainIten.fontFamily
                            font.pixelSize: mainIten.fontMinSize + 2
                            onVisibleChanged: {
                                if (visible) {
                                    text = rowItem.textValue
                                    forceActiveFocus()
                                    selectAll()
                                } else if (text !== rowItem.textValue) {
                                    profile.rename(rowItem.index, text)
                                }
                            }
                            Keys.onReturnPressed: profile.endRename(rowItem)
                            Keys.onEnterPressed: profile.endRename(rowItem)
                            // Esc leaves the name as it was.
                            Keys.onEscapePressed: {
                                text = rowItem.textValue
                                profile.endRename(rowItem)
                            }
                        }

                        // How much of the name's room is used: at the limit, typing stops and this says
                        // why.
                        Text {
                            objectName: "profileRenameCount" + rowItem.index
                            anchors.right: parent.right
                            anchors.rightMargin: 6
                            height: parent.height
                            visible: nameField.visible
                            verticalAlignment: Text.AlignVCenter
                            text: nameField.length + "/" + nameField.maximumLength
                            color: nameField.length >= nameField.maximumLength ? mainIten.colorAccent
                                                                               : mainIten.fontColor
                            font.family: mainIten.fontFamily
                            font.pixelSize: mainIten.fontMinSize
                        }
                    }
                }
            }

            Column {
                id: profileButtons

                // The buttons are as wide as the widest label of the language shown needs.
                readonly property real widest: {
                    let w = 110
                    for (let i = 0; i < children.length; ++i)
                        w = Math.max(w, children[i].implicitWidth)
                    return w
                }

                anchors.right: parent.right
                anchors.rightMargin: 10
                spacing: 10

                Repeater {
                    model: [{ label: 1, name: "profileNew", icon: mainIten.sourceProfileNew },
                            { label: 3, name: "profileDelete", icon: mainIten.sourceProfileDelete },
                            { label: 2, name: "profileImport", icon: mainIten.sourceProfileImport },
                            { label: 4, name: "profileExport", icon: mainIten.sourceProfileExport }]

                    TextButton {
                        objectName: modelData.name
                        width: profileButtons.widest
                        textMarginL: 20
                        textValue: profile.profileLang[modelData.label]
                        // A button that cannot act on the current row is dimmed and takes no click.
                        enabled: modelData.label === 1 ? rows.count < profile.maxRows
                                                       : modelData.label !== 3
                                                         || profile.canDelete(profile.currentRow)
                        opacity: enabled ? 1 : 0.4

                        SkinImage {
                            x: 8
                            anchors.verticalCenter: parent.verticalCenter
                            width: 16
                            height: 16
                            source: modelData.icon
                        }

                        onClicked: {
                            profile.profileFocus()
                            if (modelData.label === 1)
                                profile.newProfile()
                            else if (modelData.label === 3)
                                profile.askDelete()
                            else if (modelData.label === 2)
                                profile.importProfile()
                            else
                                profile.exportProfile()
                        }
                    }
                }
            }

            ContextMenu {
                id: contextMenu

                objectName: "profileMenu"
                parent: profile
                width: 150
                itemHeight: 22
                items: profile.menuItems
                onChosen: index => {
                    const number = rows.get(profile.currentRow)?.profileNo ?? -1
                    if (index === 0)
                        profile.exportProfile()
                    else if (index === 1)
                        profile.importProfile()
                    else if (index === 2)
                        binding.open(number)
                    else
                        profile.unbind(number)
                }
            }

            ProfileBinding {
                id: binding

                parent: profile
                anchors.fill: parent
                anchors.margins: 10
                texts: [profile.profileLang[6], profile.profileLang[8], profile.profileLang[9],
                        mainIten.keyMatrixLang[10], mainIten.keyMatrixLang[9]]
                onChosen: (number, application) => profile.bind(number, application)
            }
        }
    }
}
