import QtQuick
import "../J2"

// The mouse and macros page. Left: the mode switch, the button list and the gun editor button;
// right: the mouse picture and the DPI panel. The pages are declared in main.qml inside it.
Item {
    id: mousePage

    readonly property alias officeBtn: officeBtn
    readonly property alias gameBtn: gameBtn
    readonly property alias leftPanel: leftPanel
    readonly property alias rightPanel: rightPanel

    signal modeChosen(int index)
    signal gunEditorClicked()

    objectName: "mousePage"
    x: mainIten.marginLeftFrame
    y: 96
    width: mainIten.normalW - 2 * mainIten.marginLeftFrame
    height: 548

    Panel { id: leftPanel; width: 592; height: parent.height }
    Panel { id: rightPanel; x: 616; width: 592; height: parent.height }

    SwitchButton {
        id: officeBtn

        objectName: "officeBtn"
        x: 18
        y: 16
        btnWidth: 150
        source0: mainIten.sourceOfficeBtn0
        source1: mainIten.sourceOfficeBtn1
        txtMarginL: 44
        textValue: mainIten.keyMatrixLang[1]
        onBtnClick: mousePage.modeChosen(0)
    }

    // Game mode is entered only from the stored profile; its button is not shown.
    SwitchButton {
        id: gameBtn

        visible: false
        source0: mainIten.sourceGameBtn0
        source1: mainIten.sourceGameBtn1
        textValue: mainIten.keyMatrixLang[2]
        onBtnClick: mousePage.modeChosen(1)
    }

    // The gun editor, in game mode.
    SwitchButton {
        objectName: "gunEditorBtn"
        x: 18
        y: parent.height - height - 18
        btnWidth: 150
        source0: mainIten.sourceGunBtn
        source1: mainIten.sourceGunBtn
        txtMarginL: 44
        textValue: mainIten.keyMatrixLang[4]
        visible: mainIten.isGun
        onBtnClick: {
            isSelect = false
            mousePage.gunEditorClicked()
        }
    }
}
