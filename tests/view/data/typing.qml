import QtQuick

// One text field with the focus, as the pages' name and value fields have it.
Item {
    property alias text: input.text

    width: 400
    height: 200

    TextInput {
        id: input

        anchors.fill: parent
        focus: true
    }
}
