import QtQuick
import QtTest
import "qrc:/modules/qml/basic"

TestCase {
    name: "KeyCodeString"

    Component {
        id: table
        KeyCodeString {}
    }

    function test_namesAndCodes() {
        const t = createTemporaryObject(table, this)
        compare(t.keyCode.length, 133)
        compare(t.keyCodeStr.length, 133)
        compare(t.keycodeTostr(0xF0), "MS-L")
        compare(t.strTokeycode("MS-B5"), 0xF4)
        compare(t.keycodeTostr(0x04), "A")
        compare(t.keycodeTostr(0x27), "0")
        compare(t.keycodeTostr(0x52), "▲")
        compare(t.strTokeycode("KPEnter"), 0x58)
        compare(t.strTokeycode("RWin"), 0xE7)
    }

    function test_unknownAndStrict_data() {
        return [
            { tag: "code 0", code: 0x00 },
            { tag: "code 0x74", code: 0x74 },
            { tag: "code 0x86", code: 0x86 },
            { tag: "code 0xF5", code: 0xF5 },
            { tag: "code as a string", code: "4" }
        ]
    }
    function test_unknownAndStrict(data) {
        const t = createTemporaryObject(table, this)
        compare(t.keycodeTostr(data.code), "")
    }

    function test_firstMatchWins() {
        const t = createTemporaryObject(table, this)
        compare(t.strTokeycode("\\"), 0x31)
        compare(t.strTokeycode("NoSuchKey"), 0)
        compare(t.strTokeycode(""), 0)
        // The name chosen for the third international key is unique.
        const name = t.keycodeTostr(0x89)
        verify(name !== "")
        compare(t.strTokeycode(name), 0x89)
    }

    function test_namesFromLanguageList() {
        const t = createTemporaryObject(table, this)
        // The shipped English list holds the same names in the same order.
        compare(englishKeyNames.length, 133)
        for (let i = 0; i < 133; ++i)
            compare(englishKeyNames[i], t.keyCodeStr[i], "entry " + i)
        const german = t.keyCodeStr.slice()
        german[0] = "A (de)"
        german[t.keyCode.indexOf(0xE0)] = "Strg links"
        t.keyCodeStr = german
        compare(t.keycodeTostr(0x04), "A (de)")
        compare(t.strTokeycode("Strg links"), 0xE0)
        // Macro files store the built-in names, which are known in every language; a name that
        // no list has is 0.
        compare(t.strTokeycode("LCtrl"), 0xE0)
        compare(t.strTokeycode("Ctrl (xx)"), 0)
        compare(t.keycodeTostr(0xF4), "MS-B5")
    }
}
