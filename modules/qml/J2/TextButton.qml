import QtQuick

// A skinned button plate with a label that turns the primary colour under the mouse.
Item {
    id: textButton

    property string textValue: ""
    property string source: mainIten.sourceDialogBtn
    property color textColor: mainIten.fontColor
    property int fontSize: mainIten.fontNormalSize
    property int textMarginL: 0
    readonly property bool hovered: area.containsMouse
    // For a screen reader: a tab of the tab bar is a page tab, checked when shown.
    property int role: Accessible.Button
    property bool checked: false

    signal clicked()

    // What its label needs in the language shown; a layout gives a button at least this, so that
    // no label is cut short or shrunk.
    implicitWidth: textMarginL + label.implicitWidth + 16
    width: Math.max(90, implicitWidth)
    height: 28
    activeFocusOnTab: true
    Keys.onSpacePressed: clicked()
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()
    Accessible.role: role
    Accessible.name: textValue
    Accessible.checkable: role === Accessible.PageTab
    Accessible.checked: checked
    Accessible.onPressAction: clicked()

    SkinImage {
        anchors.fill: parent
        source: textButton.source
    }

    Text {
        id: label

        objectName: textButton.objectName + "Label"
        anchors.fill: parent
        anchors.leftMargin: textButton.textMarginL + 8
        anchors.rightMargin: 8
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        text: textButton.textValue
        elide: Text.ElideRight
        color: area.containsMouse ? mainIten.colorPrimary : textButton.textColor
        font.family: mainIten.fontFamily
        font.pixelSize: textButton.fontSize
    }

    MouseArea {
        id: area

        anchors.fill: parent
        hoverEnabled: true
        onClicked: textButton.clicked()
    }
}
