import QtQuick
import QtTest
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/J2"

TestCase {
    name: "DropDownList"
    width: 400
    height: 300
    when: windowShown
    visible: true

    Look { id: mainIten }

    Component {
        id: listComponent

        DropDownList {
            objectName: "list"
            x: 20
            y: 20
            mdItems: ListModel {
                ListElement { textValue: "125Hz" }
                ListElement { textValue: "250Hz" }
                ListElement { textValue: "500Hz" }
            }
        }
    }

    SignalSpy { id: chosen; signalName: "valueChange" }

    function makeList() {
        const list = createTemporaryObject(listComponent, this)
        chosen.clear()
        chosen.target = list
        return list
    }

    // A choice made while the list still opens is reported once, when it has closed.
    function test_choiceWhileSlidingIsReportedOnceAfterTheSlide() {
        const list = makeList()
        mouseClick(list)
        verify(list.isSliding)
        const row = findChild(list, "listItem0")
        tryVerify(() => list.openness > 0.5 && list.isSliding, 1000)
        mouseClick(row)
        compare(list.currentSelect, 0)
        compare(list.textValue, "125Hz")
        compare(chosen.count, 0)
        tryCompare(chosen, "count", 1)
        compare(chosen.signalArguments[0][0], 0)
        compare(list.openness, 0)
        wait(300)
        compare(chosen.count, 1)
    }

    function test_choiceFromAnOpenList() {
        const list = makeList()
        mouseClick(list)
        tryCompare(list, "openness", 1)
        mouseClick(findChild(list, "listItem2"))
        compare(chosen.count, 0)
        tryCompare(chosen, "count", 1)
        compare(chosen.signalArguments[0][0], 2)
        compare(list.textValue, "500Hz")
        verify(!list.isDrop)
    }

    function test_closeMenu() {
        const list = makeList()
        list.closeMenu()
        verify(!list.isSliding)
        mouseClick(list)
        tryCompare(list, "openness", 1)
        list.closeMenu()
        tryCompare(list, "openness", 0)
        // Closing without a choice reports nothing.
        wait(50)
        compare(chosen.count, 0)
    }

    function test_setSelectShowsWithoutReporting() {
        const list = makeList()
        list.setSelect(1)
        compare(list.textValue, "250Hz")
        list.setSelect(7)
        compare(list.textValue, "")
        wait(250)
        compare(chosen.count, 0)
    }
}
