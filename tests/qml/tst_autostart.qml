import QtQuick
import QtTest
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/J2"

// "Start with the desktop" against a real main view and a private configuration folder: the box
// shows the entry, a click writes or removes it, and a refused write does not leave the box lying.
TestCase {
    name: "AutostartCheck"
    width: 400
    height: 100
    when: windowShown
    visible: true

    Look { id: mainIten }

    Component { id: checkComponent; AutostartCheck { x: 10; y: 10 } }

    function test_clickWritesAndRemovesTheEntry() {
        const home = harness.privateConfigHome()
        const view = harness.plainView()
        const check = createTemporaryObject(checkComponent, this, { api: view })
        compare(check.isSelect, false)
        mouseClick(check)
        compare(check.isSelect, true)
        verify(view.isStartWithDesktop())
        compare(harness.fileExists(home + "/autostart/tk700.desktop"), true)

        // A new box (the panel shown again) reads the entry.
        const again = createTemporaryObject(checkComponent, this, { api: view })
        compare(again.isSelect, true)
        mouseClick(again)
        compare(again.isSelect, false)
        compare(harness.fileExists(home + "/autostart/tk700.desktop"), false)
    }

    function test_refusedWriteLeavesTheBoxOff() {
        const home = harness.privateConfigHome()
        verify(harness.writeAbsoluteFile(home + "/autostart", "a file where the folder goes"))
        const view = harness.plainView()
        const check = createTemporaryObject(checkComponent, this, { api: view })
        harness.takeWarnings()
        mouseClick(check)
        compare(check.isSelect, false)
        verify(!view.isStartWithDesktop())
        // Said, not only undone.
        compare(harness.takeWarnings(), ["Start with the desktop|The autostart entry " + home
                                         + "/autostart/tk700.desktop could not be written."])
    }
}
