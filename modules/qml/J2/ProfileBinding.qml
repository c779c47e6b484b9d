import QtQuick

// The profile dialog's choice of an application for a profile to follow: one of the desktop's
// running applications, or a name typed (a window's class, a Wayland app id). Where the desktop
// does not say which application is in front, it says so and offers nothing to choose.
Rectangle {
    id: chooser

    property int profileNo: -1
    property bool available: false
    property list<string> applications: []
    // Title, hint, the desktop's refusal, OK, Cancel.
    property list<string> texts: []

    // Where the keyboard focus was when it opened: it goes back there.
    property Item focusBefore: null

    signal chosen(int profileNo, string application)

    function open(number: int) {
        const following = ui_View.applicationFollowing()
        available = following?.available === true
        applications = Array.from(following?.applications ?? []).map(String)
        profileNo = number
        field.text = ""
        focusBefore = Window.activeFocusItem
        visible = true
        if (available)
            field.forceActiveFocus()
        else
            chooser.forceActiveFocus()
    }

    function close() {
        visible = false
        if (focusBefore?.visible)
            focusBefore.forceActiveFocus()
        focusBefore = null
    }

    // Up and Down in the name field take the running applications in turn.
    function pick(step: int) {
        if (applications.length === 0)
            return
        const at = applications.indexOf(field.text)
        const next = at < 0 ? (step > 0 ? 0 : applications.length - 1)
                            : (at + step + applications.length) % applications.length
        field.text = applications[next]
    }

    function accept() {
        const name = field.text.trim()
        if (!available || name === "")
            return
        close()
        chosen(profileNo, name)
    }

    objectName: "profileBinding"
    visible: false
    z: 60
    radius: 6
    color: mainIten.colorSurface1
    border.color: mainIten.colorPrimary
    Keys.onEscapePressed: close()
    Accessible.role: Accessible.Dialog
    Accessible.name: texts[0] ?? ""

    // Presses stay here, not on the rows below.
    MouseArea {
        anchors.fill: parent
    }

    Column {
        x: 14
        y: 12
        width: parent.width - 28
        spacing: 8

        Text {
            width: parent.width
            text: chooser.texts[0] ?? ""
            color: mainIten.colorPrimary
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontMinSize + 2
        }

        Text {
            objectName: "profileBindingHint"
            width: parent.width
            wrapMode: Text.WordWrap
            text: (chooser.available ? chooser.texts[1] : chooser.texts[2]) ?? ""
            color: mainIten.fontColor
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontMinSize
        }

        ListView {
            objectName: "profileBindingList"
            width: parent.width
            height: 120
            visible: chooser.available
            clip: true
            model: chooser.applications

            delegate: Rectangle {
                required property int index
                required property string modelData

                objectName: "profileBindingApp" + index
                width: ListView.view.width
                height: 22
                color: field.text === modelData ? mainIten.colorSurface2 : "transparent"

                Text {
                    anchors.fill: parent
                    anchors.leftMargin: 6
                    verticalAlignment: Text.AlignVCenter
                    text: parent.modelData
                    elide: Text.ElideRight
                    color: mainIten.fontColor
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontMinSize + 1
                }

                MouseArea {
                    anchors.fill: parent
                    onClicked: field.text = parent.modelData
                    onDoubleClicked: chooser.accept()
                }
            }
        }

        Rectangle {
            width: parent.width
            height: 24
            radius: 3
            visible: chooser.available
            color: mainIten.colorSurface0
            border.color: field.activeFocus ? mainIten.colorPrimary : mainIten.colorLine

            TextInput {
                id: field

                objectName: "profileBindingName"
                anchors.fill: parent
                anchors.leftMargin: 6
                anchors.rightMargin: 6
                verticalAlignment: TextInput.AlignVCenter
                maximumLength: 255
                selectByMouse: true
                clip: true
                color: mainIten.fontColor
                selectionColor: mainIten.colorPrimary
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontMinSize + 2
                activeFocusOnTab: true
                Accessible.role: Accessible.EditableText
                Accessible.name: chooser.texts[0] ?? ""
                Keys.onReturnPressed: chooser.accept()
                Keys.onEnterPressed: chooser.accept()
                Keys.onEscapePressed: chooser.close()
                Keys.onUpPressed: chooser.pick(-1)
                Keys.onDownPressed: chooser.pick(1)
            }
        }
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 14
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 12
        spacing: 10

        TextButton {
            objectName: "profileBindingOk"
            visible: chooser.available
            enabled: field.text.trim() !== ""
            opacity: enabled ? 1 : 0.4
            textValue: chooser.texts[3] ?? ""
            onClicked: chooser.accept()
        }

        TextButton {
            objectName: "profileBindingCancel"
            textValue: chooser.texts[4] ?? ""
            onClicked: chooser.close()
        }
    }
}
