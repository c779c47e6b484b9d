import QtQuick
import "basic"
import "J2"
import "js/Shell.js" as Shell

// The document's root: the look every page uses by name, the window chrome, the pages and
// dialogs (all created once), and the functions the core calls by name. The first screen is built
// with the document; the hidden pages and the larger dialogs are built right after, a slice per
// frame, and the start-up waits for them: every page exists before the user can touch anything.
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
    // The pages built after the first frame, under the names the shell and the pages use.
    readonly property Item lightControlMain: lightLoader.item
    readonly property Item systemSettingMain: systemLoader.item
    readonly property Item macroEditorMain: macroEditorLoader.item
    readonly property Item gunControlMain: gunLoader.item
    readonly property Item macroKeyAssigmentMain: macroChooserLoader.item
    readonly property bool pagesBuilt: [lightLoader, systemLoader, macroEditorLoader, gunLoader,
                                        macroChooserLoader].every(l => l.status === Loader.Ready)
    property list<string> keyMatrixLang: ["Key Setting", "Office Mode", "Game Mode", "Mode",
        "Gun Editor", "Report Rate", "Profile", "Reset",
        "Reset all settings of the current profile to their defaults?", "Cancel", "OK", "Close",
        "Apply", "Minimize", "Restore Defaults", "Language", "Enable", "Mouse & Macros",
        "Backlight", "Settings"]

    signal initDropDownList()
    signal clickMainFocus()
    signal emptyAreaPressed()
    signal clickOfficeMode()
    signal clickGameMode()
    signal msg_KB(bool isDown, int usbCode)
    signal msg_MS(bool isDown, int vornCode, int x, int y)
    signal msg_wheel(int _value)

    function initUI() { Shell.initUI() }
    onPagesBuiltChanged: if (pagesBuilt) Shell.pagesBuilt()
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
    function resetAllDate() { Shell.resetAllDate() }
    function set_switchBtnMode(index: int) { Shell.setMode(index) }
    function changeProfile(tmpProfileNo: int) { Shell.changeProfile(tmpProfileNo) }
    function reloadProfile() { Shell.reloadProfile() }
    function chooseLanguage(code: string) { Shell.chooseLanguage(code) }
    function deviceWork(work: var, done: var) { Shell.deviceWork(work, done) }

    objectName: "mainIten"
    width: frameW
    height: frameH

    KeyCodeString { id: _KeyCodeString }
    KeyAssigment { id: keyAssigmentMain; macroChooser: macroKeyAssigmentMain }
    DpiColor { id: dpiColorMain }
    DpiAssigment { id: dpiAssigmentMain }
    ReportRate { id: reportRate }

    Connections {
        target: ui_View
        function onDeviceWorkFinished(ok) { Shell.deviceWorkFinished(ok) }
        function onDeviceProgress(done, total) { Shell.deviceProgress(done, total) }
    }

    Timer {
        id: tmrProtectUI

        interval: 1000
        onTriggered: Shell.protectionOver()
    }

    Environment {
        anchors.fill: parent
        visible: mainIten.isStarted
        onEmptyPressed: Shell.emptyAreaPressed()
    }

    Menu_Up {
        id: menuUp

        objectName: "menuUp"
        z: 1 // its lists open over the pages
        anchors.horizontalCenter: parent.horizontalCenter
        transformOrigin: Item.Top
        scale: mainIten.zoomInRate_min
        visible: mainIten.isStarted
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
            currentTab: mainIten.currentTab
            onTabChosen: index => Shell.chooseTab(index)
        }

        WindowDrag {
            id: mainMask

            objectName: "mainMask"
            x: mainIten.marginLeftFrame
            y: 96
            width: mainIten.normalW - 2 * mainIten.marginLeftFrame
            height: 548
            visible: mainIten.currentTab === 2 || Shell.anyVisible(dialogLayer.children)
            onPressedEmpty: Shell.maskPressed()
        }

        MousePage {
            id: mousePage

            visible: mainIten.currentTab === 0
            onModeChosen: index => mainIten.set_switchBtnMode(index)
            onGunEditorClicked: gunControlMain.open()

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

            Loader {
                id: lightLoader

                anchors.fill: parent
                asynchronous: true
                sourceComponent: LightControl {}
            }
        }

        SettingsPage {
            id: settingsPage

            visible: mainIten.currentTab === 2

            Loader {
                id: systemLoader

                width: settingsPage.leftPanel.width
                height: settingsPage.height
                asynchronous: true
                sourceComponent: SystemSetting {}
            }

            Loader {
                id: macroEditorLoader

                x: settingsPage.rightPanel.x
                width: settingsPage.rightPanel.width
                height: settingsPage.height
                asynchronous: true
                sourceComponent: MacroEditorTreeView {
                    onDeleteMacro: macroName => Shell.macroDeleted(macroName)
                    onModifyMacroName: (level, type, oldName, newName) =>
                                       Shell.macroRenamed(level, type, oldName, newName)
                    onModifyMacroData: macroName => Shell.macroChanged(macroName)
                }
            }
        }

        BottomBar {
            x: mainIten.marginLeftFrame
            y: 660
            width: mainIten.normalW - 2 * mainIten.marginLeftFrame
            isUnsaved: mainIten.isUnsaved
            onOkClicked: Shell.okClicked()
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
        WarningAssigment { id: warningAssigmentMain; objectName: "warningAssigmentMain"; z: 1 }
        InputAssigment { id: inputAssigmentMain; objectName: "inputAssigmentMain"; z: 1 }
    }

    // The gun editor and the macro chooser, built after the first frame and moved into the dialog
    // layer, under the message boxes (which they can open).
    Loader {
        id: gunLoader

        visible: false
        asynchronous: true
        sourceComponent: GunControl {}
        onLoaded: item.parent = dialogLayer
    }
    Loader {
        id: macroChooserLoader

        visible: false
        asynchronous: true
        sourceComponent: MacroKeyAssigment {}
        onLoaded: item.parent = dialogLayer
    }

    SkinImage {
        anchors.centerIn: parent
        width: 480
        height: 220
        scale: mainIten.zoomInRate_min
        source: mainIten.sourcePowerOn
        visible: !mainIten.isStarted
    }

    BusyIndicator {
        id: protectUIItem
        objectName: "protectUIItem"
        animate: mainIten.viewShown

        anchors.fill: parent
        visible: isBusy && mainIten.isStarted
    }
}
