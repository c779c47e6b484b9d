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

    // A block cut at 128 bytes loses its terminator and may end between a press and its release:
    // the macro is refused whole, with a warning that names it.
    function test_tooLongMacroIsRefusedNotCut() {
        const view = harness.connectMouse("553")
        verify(view !== null)
        let texts = []
        for (let i = 0; i < 62; ++i)
            texts.push(i % 2 ? "2,B" : "1,B")
        verify(view.createMacroIni("Full", 0, 0, 0))
        verify(view.saveMacroIni(0, "Full", texts, 1))
        verify(view.createMacroIni("Long", 0, 0, 0))
        verify(view.saveMacroIni(0, "Long", texts.concat(["1,C", "2,C"]), 1))
        harness.takeWarnings()

        // 2 + 62 * 2 + 2 bytes fill the block exactly.
        verify(MacroEncoder.sendMacro(view, keys.strTokeycode, 1, "Full", 0))
        compare(harness.mouseMacro(2).slice(126, 128), [0, 0])
        compare(harness.takeWarnings(), [])

        harness.clearLog()
        verify(!MacroEncoder.sendMacro(view, keys.strTokeycode, 2, "Long", 0))
        compare(harness.reportsSeen(), 0)
        const warnings = harness.takeWarnings()
        compare(warnings.length, 1)
        verify(warnings[0].includes("Long"), warnings[0])
        // Bytes past the block are refused by the core as well, whoever encoded them.
        compare(view.mouseSendMacroData(new Array(129).fill(1), 2), false)
        compare(harness.reportsSeen(), 0)
        compare(harness.takeWarnings().length, 1)
    }

    // The loader gives a missing repeat count as "0"; the block holds 1 ... 65535.
    function test_repeatCountOfTheBlock_data() {
        return [
            { tag: "missing", line: "", bytes: [0, 1] },
            { tag: "0", line: "repeat=0\n", bytes: [0, 1] },
            { tag: "300", line: "repeat=300\n", bytes: [1, 0x2c] },
            { tag: "70000", line: "repeat=70000\n", bytes: [0xff, 0xff] }
        ]
    }
    function test_repeatCountOfTheBlock(data) {
        const view = harness.connectMouse("553")
        verify(view !== null)
        verify(harness.writeFile("modules/macro/Rep.bin",
                                 "[config]\ntotal=1\n" + data.line + "[macro]\n0=\"1,A\"\n"))
        verify(MacroEncoder.sendMacro(view, keys.strTokeycode, 0, "Rep", 0))
        compare(harness.mouseMacro(1).slice(0, 4), data.bytes.concat([1, 4]))
    }
}
