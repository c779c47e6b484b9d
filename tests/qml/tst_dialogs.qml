import QtQuick
import QtTest
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/J2"

// The shared boxes, inside a layer the size of the window.
TestCase {
    name: "Dialogs"
    width: 1280
    height: 720
    when: windowShown
    visible: true

    Look {
        id: mainIten

        property list<string> keyMatrixLang: ["", "", "", "", "", "", "", "Reset", "", "Cancel",
                                              "OK"]
        anchors.fill: parent
    }

    Component { id: tooltipComponent; Tooltip { objectName: "box"; btnIndex: 3; textValue: "Confirm delete ?" } }
    Component { id: inputComponent; InputAssigment { objectName: "box"; type: 2 } }
    Component { id: warningComponent; WarningAssigment { objectName: "box" } }

    // Window coordinates: the box moves under the pointer.
    function drag(box, dx, dy) {
        const x = box.x + 60
        const y = box.y + 8
        mousePress(mainIten, x, y)
        // The first move only starts the drag.
        mouseMove(mainIten, x, y + 1, -1, Qt.LeftButton)
        for (let i = 1; i <= 10; ++i)
            mouseMove(mainIten, x + dx * i / 10, y + dy * i / 10, -1, Qt.LeftButton)
        mouseRelease(mainIten, x + dx, y + dy)
    }

    function test_draggedBoxStaysInsideTheWindow_data() {
        return [{ tag: "tooltip", component: tooltipComponent },
                { tag: "input", component: inputComponent },
                { tag: "warning", component: warningComponent }]
    }
    function test_draggedBoxStaysInsideTheWindow(data) {
        const box = createTemporaryObject(data.component, mainIten)
        // A box builds its controls the first time it opens.
        compare(findChild(box, "boxOK"), null)
        box.show()
        verify(findChild(box, "boxOK"))
        compare(box.x, Math.round((1280 - box.width) / 2))
        drag(box, 3000, 2000)
        compare(box.x, 1280 - box.width)
        compare(box.y, 720 - box.height)
        drag(box, -3000, -2000)
        compare(box.x, 0)
        compare(box.y, 0)
        // It follows the pointer from where the drag started, one pixel below the press.
        drag(box, 100, 50)
        compare(box.x, 100)
        compare(box.y, 50 - 1)
    }

    function test_tooltipOkReportsItsIndexAndCancelOnlyCloses() {
        const box = createTemporaryObject(tooltipComponent, mainIten)
        const confirmed = []
        box.tooltipClickOK.connect(index => confirmed.push(index))
        box.show()
        mouseClick(findChild(box, "boxCancel"))
        verify(!box.visible)
        compare(confirmed, [])
        box.show()
        mouseClick(findChild(box, "boxOK"))
        verify(!box.visible)
        compare(confirmed, [3])
    }

    function test_inputBoxGivesZeroForAnEmptyNameAndReportsItsType() {
        const box = createTemporaryObject(inputComponent, mainIten)
        const types = []
        box.clickOK.connect(type => types.push(type))
        box.showFor(5, "Macro 1")
        keyClick(Qt.Key_Backspace)
        compare(box.textValue, "")
        mouseClick(findChild(box, "boxOK"))
        compare(box.textValue, "0")
        compare(types, [5])
        verify(!box.visible)
    }

    function test_warningShowsItsText() {
        const box = createTemporaryObject(warningComponent, mainIten)
        box.showWarning(6)
        compare(box.textValue, "Please keep a key at least for the left button function.")
        mouseClick(findChild(box, "boxOK"))
        verify(!box.visible)
    }
}
