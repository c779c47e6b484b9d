import QtQuick
import QtTest
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/js/MacroEncoder.js" as MacroEncoder

// The script's view of the core's encoder (whose bytes the C++ tests pin): records and key codes
// cross over as the pages hand them, with the caller's name lookup and the block's bound.
TestCase {
    name: "MacroEncoder"

    KeyCodeString {
        id: keys
    }

    function records(texts) {
        return texts.map(MacroEncoder.parseRecord)
    }
    function hex(bytes) {
        return Array.from(bytes).map(b => ("0" + b.toString(16)).slice(-2)).join(" ")
    }

    function test_recordsAndNames() {
        compare(MacroEncoder.parseRecord("1,A").type, 1)
        compare(MacroEncoder.parseRecord("1,A").info, "A")
        // A record without a type digit keeps no type, as the editor shows and saves it.
        verify(isNaN(MacroEncoder.parseRecord("x,50").type))
        // Names are looked up by the caller: here in the names of another language.
        const german = name => name === "A (de)" ? 0x04 : keys.strTokeycode(name)
        // A delay record with an action's name takes nothing from the action's code.
        compare(hex(MacroEncoder.encode(records(["1,A (de)", "0,A (de)", "0,50", "4,MS-R"]), 300,
                                        german)),
                "01 2c 05 04 81 f1 00 00")
        compare(MacroEncoder.blockRepeat(""), 1)
        compare(MacroEncoder.blockRepeat(70000), 65535)
    }

    function test_lengthAndBound() {
        // 61 actions: 2 + 122 + 2 = 126 bytes.
        let texts = []
        for (let i = 0; i < 61; ++i)
            texts.push(i % 2 ? "2,B" : "1,B")
        compare(MacroEncoder.encodedLength(records(texts)), 126)
        // One more action after a long delay would make 132: refused, and a block made from
        // such records anyway stops short but keeps its terminator, unless it is unbounded.
        verify(!MacroEncoder.fits(records(texts), records(["0,5000", "1,C"])))
        verify(MacroEncoder.fits(records(texts.slice(0, 60)), records(["2,B"])))
        const longer = records(texts.concat(["0,5000", "1,C"]))
        const block = MacroEncoder.encode(longer, 1, keys.strTokeycode)
        compare(block.length, 126)
        compare(hex(block.slice(-2)), "00 00")
        compare(MacroEncoder.encode(longer, 1, keys.strTokeycode, Number.MAX_SAFE_INTEGER).length,
                132)
    }
}
