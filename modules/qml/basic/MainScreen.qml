import QtQuick
import "../J2"

// The screen behind the start-up logo: the window chrome, the main page and the dialogs. The root
// builds it a slice per frame after the window is up, and reaches its parts by the names in
// `parts`. The pages and dialogs not shown at start-up are built the first time they are shown or
// the shell needs them (`build`), and stay; their loaders name them by file, so that even their
// types are loaded only then.
Item {
    // The parts the shell reaches by name, for the root to publish.
    readonly property var parts: ({
        _KeyCodeString: _KeyCodeString, keyAssigmentMain: keyAssigmentMain,
        reportRate: reportRate, menuUp: menuUp, mousePage: mousePage,
        keyMatrixMain: keyMatrixMain, mouseMain: mouseMain,
        dpiSettingMain: dpiSettingMain, settingsPage: settingsPage,
        profileMain: profileMain, tooltip: tooltip, warningAssigmentMain: warningAssigmentMain,
        quitQuestion: quitQuestion,
        lightControlMain: lightLoader.item, systemSettingMain: systemLoader.item,
        macroEditorMain: macroEditorLoader.item, gunControlMain: gunLoader.item,
        macroKeyAssigmentMain: macroChooserLoader.item
    })
    // The box on top of the dialog layer (the last of the highest), null when none is open: only
    // it takes input, and nothing under it while it is open.
    readonly property Item topDialog: {
        let top = null
        const boxes = dialogLayer.children
        for (let i = 0; i < boxes.length; ++i) {
            if (boxes[i].visible && (!top || boxes[i].z >= top.z))
                top = boxes[i]
        }
        return top
    }
    readonly property bool pagesTakeInput: topDialog === null
    readonly property var onDemand: ({
        lightControlMain: lightLoader, systemSettingMain: systemLoader,
        macroEditorMain: macroEditorLoader, gunControlMain: gunLoader,
        macroKeyAssigmentMain: macroChooserLoader
    })

    // A part by name, built now if it is one built on first use and not built yet.
    function build(name: string): Item {
        const loader = onDemand[name]
        if (!loader)
            return parts[name] ?? null
        // The chooser shows the editor's macros in its texts.
        if (name === "macroKeyAssigmentMain")
            build("macroEditorMain")
        loader.active = true
        return loader.item
    }

    Connections {
        target: mainIten

        function onCurrentTabChanged() {
            if (mainIten.currentTab === 1) {
                build("lightControlMain")
            } else if (mainIten.currentTab === 2) {
                build("systemSettingMain")
                build("macroEditorMain")
            }
        }
    }

    KeyCodeString { id: _KeyCodeString }
    KeyAssigment { id: keyAssigmentMain }
    DpiColor { id: dpiColorMain }
    DpiAssigment { id: dpiAssigmentMain }
    ReportRate { id: reportRate }

    Environment {
        anchors.fill: parent
        visible: mainIten.isStarted
        onEmptyPressed: mainIten.shell.emptyAreaPressed()
    }

    Menu_Up {
        id: menuUp

        objectName: "menuUp"
        z: 1 // its lists open over the pages
        anchors.horizontalCenter: parent.horizontalCenter
        transformOrigin: Item.Top
        scale: mainIten.zoomInRate_min
        visible: mainIten.isStarted
        enabled: pagesTakeInput
        onLanguageChosen: code => mainIten.chooseLanguage(code)
    }

    // The content frame: laid out in design pixels, scaled to the window.
    Item {
        id: contentFrame

        anchors.centerIn: parent
        width: mainIten.normalW
        height: mainIten.normalH
        scale: mainIten.zoomInRate_min
        visible: mainIten.isStarted

        TabBar {
            x: mainIten.marginLeftFrame
            y: 48
            enabled: pagesTakeInput
            currentTab: mainIten.currentTab
            onTabChosen: index => mainIten.shell.chooseTab(index)
        }

        WindowDrag {
            id: mainMask

            objectName: "mainMask"
            x: mainIten.marginLeftFrame
            y: 96
            width: mainIten.normalW - 2 * mainIten.marginLeftFrame
            height: 548
            visible: mainIten.currentTab === 2 || mainIten.shell.anyVisible(dialogLayer.children)
            onPressedEmpty: mainIten.shell.maskPressed()
        }

        MousePage {
            id: mousePage

            visible: mainIten.currentTab === 0
            enabled: pagesTakeInput
            onModeChosen: index => mainIten.set_switchBtnMode(index)
            onGunEditorClicked: build("gunControlMain").open()

            KeyMatrix {
                id: keyMatrixMain

                // Over the right half too: the row menus open beside the list.
                z: 1
                y: 76
                width: mousePage.leftPanel.width
                height: mousePage.height - y
                menuTop: -y
                menuBottom: height
            }

            Mouse {
                id: mouseMain

                x: mousePage.rightPanel.x + 16
                y: 12
                width: mousePage.rightPanel.width - 32
                height: dpiSettingMain.y - y - 8
            }

            DpiSetting {
                id: dpiSettingMain

                x: mousePage.rightPanel.x + 16
                y: mousePage.height - height - 16
            }
        }

        LightPage {
            id: lightPage

            visible: mainIten.currentTab === 1
            enabled: pagesTakeInput

            Loader {
                id: lightLoader

                anchors.fill: parent
                active: false
                source: "../J2/LightControl.qml"
                onLoaded: mainIten.shell.partBuilt("lightControlMain", item)
            }
        }

        SettingsPage {
            id: settingsPage

            visible: mainIten.currentTab === 2
            enabled: pagesTakeInput

            Loader {
                id: systemLoader

                width: settingsPage.leftPanel.width
                height: settingsPage.height
                active: false
                source: "../J2/SystemSetting.qml"
                onLoaded: mainIten.shell.partBuilt("systemSettingMain", item)
            }

            Loader {
                id: macroEditorLoader

                x: settingsPage.rightPanel.x
                width: settingsPage.rightPanel.width
                height: settingsPage.height
                active: false
                source: "../J2/MacroEditorTreeView.qml"
                onLoaded: mainIten.shell.partBuilt("macroEditorMain", item)
            }

            Connections {
                target: macroEditorLoader.item

                function onDeleteMacro(macroName) { mainIten.shell.macroDeleted(macroName) }
                function onModifyMacroName(level, type, oldName, newName) {
                    mainIten.shell.macroRenamed(level, type, oldName, newName)
                }
                function onModifyMacroData(macroName) { mainIten.shell.macroChanged(macroName) }
            }
        }

        BottomBar {
            x: mainIten.marginLeftFrame
            y: 660
            enabled: pagesTakeInput
            width: mainIten.normalW - 2 * mainIten.marginLeftFrame
            isUnsaved: mainIten.isUnsaved
            onOkClicked: mainIten.shell.okClicked()
            onApplyClicked: mainIten.saveAllData()
            onProfileClicked: {
                mainIten.mainFocus()
                profileMain.show()
            }
            onResetClicked: tooltip.show()
        }
    }

    // The dialogs open centred and can be dragged anywhere inside the window.
    Item {
        id: dialogLayer

        z: 2
        anchors.centerIn: parent
        width: mainIten.normalW
        height: mainIten.normalH
        scale: mainIten.zoomInRate_min

        Profile {
            id: profileMain

            onChangeProfile: tmpProfileNo => mainIten.changeProfile(tmpProfileNo)
        }

        Tooltip {
            id: tooltip

            objectName: "resetConfirm"
            z: 1
            titleText: mainIten.keyMatrixLang[7]
            textValue: mainIten.keyMatrixLang[8]
            onTooltipClickOK: mainIten.resetAllDate()
        }
        Tooltip { id: tooltipMain; objectName: "tooltipMain"; z: 1 }
        QuitQuestion {
            id: quitQuestion

            objectName: "quitQuestion"
            z: 1
            onApplyChosen: mainIten.shell.applyAndQuit()
            onDiscardChosen: ui_Ctl.onQuit()
        }
        WarningAssigment { id: warningAssigmentMain; objectName: "warningAssigmentMain"; z: 1 }
        InputAssigment { id: inputAssigmentMain; objectName: "inputAssigmentMain"; z: 1 }
    }

    // The gun editor and the macro chooser, moved into the dialog layer when built, under the
    // message boxes (which they can open).
    Loader {
        id: gunLoader

        visible: false
        active: false
        source: "../J2/GunControl.qml"
        onLoaded: {
            item.parent = dialogLayer
            mainIten.shell.partBuilt("gunControlMain", item)
        }
    }
    Loader {
        id: macroChooserLoader

        visible: false
        active: false
        source: "../J2/MacroKeyAssigment.qml"
        onLoaded: item.parent = dialogLayer
    }

    FocusMark {}

    // Over everything while the window is locked.
    BusyIndicator {
        objectName: "protectUIItem"
        z: 3
        anchors.fill: parent
        isBusy: mainIten.busy
        text: mainIten.busyText
        animate: mainIten.viewShown
        visible: isBusy && mainIten.isStarted
    }
}
