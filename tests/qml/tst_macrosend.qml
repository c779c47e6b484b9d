import QtQuick
import QtTest
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/js/MacroEncoder.js" as MacroEncoder

TestCase {
    name: "MacroSend"

    KeyCodeString {
        id: keys
    }

    function test_sendArrivesAsMacroOne_data() {
        return [{ tag: "553", family: "553" }, { tag: "560", family: "560" }]
    }
    function test_sendArrivesAsMacroOne(data) {
        const view = harness.connectMouse(data.family)
        verify(view !== null)
        const texts = ["1,LCtrl", "0,30", "1,C", "0,120", "2,C", "0,20", "2,LCtrl"]
        verify(view.createMacroIni("Copy", 0, 0, 0))
        verify(view.saveMacroIni(0, "Copy", texts, 2))
        verify(MacroEncoder.sendMacro(view, keys.strTokeycode, 0, "Copy", 0))
        const expected = MacroEncoder.encode(texts.map(MacroEncoder.parseRecord), 2,
                                             keys.strTokeycode)
        const held = harness.mouseMacro(1)
        compare(held.length, 128)
        compare(held.slice(0, expected.length), expected)
        for (let i = expected.length; i < 128; ++i)
            compare(held[i], 0, "byte " + i)

        // Slot 12 does not exist on the mouse: nothing is sent, and the caller is told.
        harness.clearLog()
        compare(view.mouseSendMacroData(expected, 12), false)
        compare(harness.reportsSeen(), 0)
        // A macro that is not there sends nothing either.
        verify(!MacroEncoder.sendMacro(view, keys.strTokeycode, 1, "Missing", 0))
        compare(harness.reportsSeen(), 0)
    }
}
