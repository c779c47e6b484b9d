import QtQuick

// The macro editor's right half: the selected macro's events with their menu, the record bar and
// the insert-key box.
Item {
    required property Item editor
    readonly property alias eventRows: eventRows
    readonly property alias macroData_lv: macroData_lv
    readonly property alias recordBar: recordBar
    readonly property alias eventMenu: eventMenu
    readonly property alias insertBox: insertBox
    property alias repeatText: recordBar.repeatText

    PanelLabel { x: 282; y: 42; text: editor.macroEditorLang[10] }

    Rectangle {
        id: eventFrame

        objectName: "macroEventFrame"
        x: 282
        y: 64
        width: 294
        height: 300
        color: mainIten.colorSurface0
        border.color: mainIten.colorLine
        radius: 3
        clip: true
        // The keyboard: Up and Down move through the events, Enter edits a delay, the menu key
        // or Shift+F10 opens the event menu.
        activeFocusOnTab: true
        Keys.onPressed: e => {
            const row = editor.currentRow
            if (e.key === Qt.Key_Up || e.key === Qt.Key_Down) {
                const next = Math.max(0, Math.min(eventRows.count - 1,
                                                  row + (e.key === Qt.Key_Down ? 1 : -1)))
                if (next >= 0) {
                    editor.currentRow = next
                    macroData_lv.positionViewAtIndex(next, ListView.Contain)
                }
            } else if ((e.key === Qt.Key_Return || e.key === Qt.Key_Enter) && row >= 0) {
                macroData_lv.itemAtIndex(row)?.startEdit()
            } else if (e.key === Qt.Key_Menu
                       || e.key === Qt.Key_F10 && (e.modifiers & Qt.ShiftModifier)) {
                if (editor.hasMacro) {
                    const item = macroData_lv.itemAtIndex(row)
                    const p = (item ?? eventFrame).mapToItem(editor, 40, 12)
                    eventMenu.openAt(p.x, p.y)
                }
            } else {
                return
            }
            e.accepted = true
        }
        Accessible.role: Accessible.List
        Accessible.name: editor.macroEditorLang[10]

        ListModel { id: eventRows }

        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.RightButton
            onClicked: mouse => {
                if (editor.hasMacro)
                    eventMenu.openAt(eventFrame.x + mouse.x, eventFrame.y + mouse.y)
            }
        }

        ListView {
            id: macroData_lv

            objectName: "macroEvents"
            anchors.fill: parent
            anchors.margins: 2
            model: eventRows
            boundsBehavior: Flickable.StopAtBounds
            interactive: contentHeight > height

            delegate: MacroEventRow {
                width: macroData_lv.width - (eventScroll.visible ? eventScroll.width + 2 : 0)
                isCurrent: index === editor.currentRow
                onClicked: (isRight, px, py) => {
                    editor.currentRow = index
                    if (isRight) {
                        const p = mapToItem(editor, px, py)
                        eventMenu.openAt(p.x, p.y)
                    }
                }
                onDelayEdited: typed => editor.editDelay(index, typed)
            }
        }

        // A list longer than the frame shows where the view is; a press or a drag on the strip
        // moves the view there (the wheel scrolls it too).
        Item {
            id: eventScroll

            objectName: "macroEventsScroll"
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            anchors.margins: 2
            width: 8
            visible: macroData_lv.contentHeight > macroData_lv.height

            Rectangle {
                objectName: "macroEventsScrollHandle"
                width: parent.width
                radius: width / 2
                y: macroData_lv.visibleArea.yPosition * parent.height
                height: Math.max(16, macroData_lv.visibleArea.heightRatio * parent.height)
                color: mainIten.colorGray2
            }

            MouseArea {
                anchors.fill: parent
                function scrollTo(y: real) {
                    const share = Math.max(0, Math.min(1, y / Math.max(1, height - 1)))
                    macroData_lv.contentY = macroData_lv.originY + share
                        * Math.max(0, macroData_lv.contentHeight - macroData_lv.height)
                }
                onPressed: mouse => scrollTo(mouse.y)
                onPositionChanged: mouse => scrollTo(mouse.y)
            }
        }
    }

    MacroRecordBar {
        id: recordBar

        x: 282
        y: 374
        width: 294
        lang: editor.macroEditorLang
        isInputting: editor.isInputting
        showFull: editor.hasMacro && editor.isFull
        onRecordClicked: editor.startRecord()
        onStopClicked: editor.stopRecord(true)
        onRepeatEdited: editor.autoSave()
    }

    ContextMenu {
        id: eventMenu

        objectName: "macroEventMenu"
        onChosen: index => editor.eventCommand(index)
    }

    // The insert-key box: the next key pressed anywhere is the key to insert.
    MacroInsertBox {
        id: insertBox

        x: 300
        y: 150
        z: 60
        titleText: editor.macroEditorLang[25]
        keyText: editor.insertCode ? _KeyCodeString.keycodeTostr(editor.insertCode) : ""
        onAccepted: editor.insertKeyAccepted()
        onCancelled: {
            editor.isInsertting = false
            visible = false
        }
    }
}
