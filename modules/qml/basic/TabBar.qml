import QtQuick
import "../J2"

// The page tabs: mouse and macros (0), backlight (1) and settings (2).
Row {
    id: tabBar

    property int currentTab: 0

    signal tabChosen(int index)

    spacing: 6

    Repeater {
        model: [{ tab: 0, name: "tabMouse" }, { tab: 1, name: "tabLight" },
                { tab: 2, name: "tabSettings" }]

        TextButton {
            required property var modelData

            objectName: modelData.name
            width: Math.max(200, implicitWidth)
            height: 36
            source: tabBar.currentTab === modelData.tab ? mainIten.sourceTabBtnSelect
                                                        : mainIten.sourceTabBtn
            textValue: mainIten.keyMatrixLang[17 + modelData.tab]
            textColor: tabBar.currentTab === modelData.tab ? mainIten.fontColor
                                                           : mainIten.colorGray2
            fontSize: mainIten.fontMaxSize
            role: Accessible.PageTab
            checked: tabBar.currentTab === modelData.tab
            onClicked: tabBar.tabChosen(modelData.tab)
        }
    }
}
