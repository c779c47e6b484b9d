import QtQuick

// "Start with the desktop" for the system panel: the box shows whether the desktop starts the
// program at log-in (hidden in the tray), and a click writes or removes that entry. A change the
// desktop's folder refuses leaves the box as the entry is.
CheckBox {
    id: autostartCheck

    // The QML API; the main view in the program.
    property QtObject api: ui_View

    function refresh(): void {
        isSelect = api.isStartWithDesktop()
    }

    objectName: "autostartCheck"
    textValue: "Start with the desktop"

    Component.onCompleted: refresh()
    onBtnClick: {
        if (!api.setStartWithDesktop(isSelect))
            refresh()
    }
}
