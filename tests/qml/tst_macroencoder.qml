import QtQuick
import QtTest
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/js/MacroEncoder.js" as MacroEncoder

TestCase {
    name: "MacroEncoder"

    KeyCodeString {
        id: keys
    }

    function records(texts) {
        return texts.map(MacroEncoder.parseRecord)
    }
    function encode(texts, repeat) {
        return MacroEncoder.encode(records(texts), repeat, keys.strTokeycode)
    }
    function hex(bytes) {
        return bytes.map(b => ("0" + b.toString(16)).slice(-2)).join(" ")
    }

    function test_examples_data() {
        return [
            { tag: "down, 50 ms, up", texts: ["1,A", "0,50", "2,A"], repeat: 1,
              bytes: "00 01 05 04 81 04 00 00" },
            { tag: "single press", texts: ["1,A"], repeat: 3, bytes: "00 03 01 04 00 00" },
            { tag: "leading delays dropped", texts: ["0,300", "1,A", "2,A"], repeat: 1,
              bytes: "00 01 01 04 81 04 00 00" },
            { tag: "delays only", texts: ["0,50", "0,60"], repeat: 1, bytes: "00 01" },
            { tag: "1270 ms long form", texts: ["1,A", "0,1270", "2,A"], repeat: 1,
              bytes: "00 01 00 04 00 01 00 3f 81 04 00 00" },
            { tag: "5 ms is one unit", texts: ["1,A", "0,5", "2,A"], repeat: 1,
              bytes: "00 01 01 04 81 04 00 00" },
            { tag: "600 + 700 ms add up", texts: ["1,A", "0,600", "0,700", "2,A"], repeat: 1,
              bytes: "00 01 00 04 00 01 00 41 81 04 00 00" },
            { tag: "repeat 300", texts: ["1,A"], repeat: 300, bytes: "01 2c 01 04 00 00" },
            { tag: "mouse buttons", texts: ["3,MS-L", "0,100", "4,MS-L"], repeat: 1,
              bytes: "00 01 0a f0 81 f0 00 00" },
            { tag: "unknown name is code 0", texts: ["1,Nope", "2,A"], repeat: 1,
              bytes: "00 01 01 00 81 04 00 00" },
            { tag: "50 ms units", texts: ["1,A", "0,2000000", "2,A"], repeat: 1,
              bytes: "00 01 00 04 00 02 9c 40 81 04 00 00" },
            { tag: "100 ms units", texts: ["1,A", "0,4000000", "2,A"], repeat: 1,
              bytes: "00 01 00 04 00 03 9c 40 81 04 00 00" },
            { tag: "negative delay is none", texts: ["1,A", "0,-20", "2,A"], repeat: 1,
              bytes: "00 01 01 04 81 04 00 00" },
            { tag: "negative delay takes nothing away", texts: ["1,A", "0,100", "0,-50", "2,A"],
              repeat: 1, bytes: "00 01 0a 04 81 04 00 00" }
        ]
    }
    function test_examples(data) {
        compare(hex(encode(data.texts, data.repeat)), data.bytes)
    }

    function test_overlongDelayIsClamped() {
        // 6 000 000 ms is 600 000 units, past the designed ranges: still written in 100 ms units,
        // exactly while the count fits, at the largest count beyond.
        compare(hex(encode(["1,A", "0,6000000", "2,A"], 1)), "00 01 00 04 00 03 ea 60 81 04 00 00")
        compare(hex(encode(["1,A", "0,60000000", "2,A"], 1)), "00 01 00 04 00 03 ff ff 81 04 00 00")
    }

    function test_lengthAndBound() {
        compare(MacroEncoder.encodedLength(records(["0,10"])), 2)
        compare(MacroEncoder.encodedLength(records(["1,A", "0,50", "2,A"])), 8)
        compare(MacroEncoder.encodedLength(records(["1,A", "0,2000", "2,A"])), 12)
        // 61 actions: 2 + 122 + 2 = 126 bytes.
        let texts = []
        for (let i = 0; i < 61; ++i)
            texts.push(i % 2 ? "2,B" : "1,B")
        compare(MacroEncoder.encodedLength(records(texts)), 126)
        // One more action after a long delay would make 132: refused, and a block made from
        // such records anyway stops short but keeps its terminator.
        const longer = texts.concat(["0,5000", "1,C"])
        verify(!MacroEncoder.fits(records(texts), records(["0,5000", "1,C"])))
        verify(MacroEncoder.fits(records(texts.slice(0, 60)), records(["2,B"])))
        const block = encode(longer, 1)
        verify(block.length <= 128)
        compare(hex(block.slice(-2)), "00 00")
        compare(block.length, 126)
    }
}
