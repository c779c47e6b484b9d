import QtQuick
import QtTest
import "qrc:/modules/qml/js/Language.js" as Language

TestCase {
    name: "Language"

    function test_desktopLocale_data() {
        return [{ tag: "de_DE", name: "de_DE", ui: [], code: "German" },
                { tag: "de_AT", name: "de_AT", ui: ["de-AT"], code: "German" },
                { tag: "fr_CA", name: "fr_CA", ui: [], code: "French" },
                { tag: "it_CH", name: "it_CH", ui: [], code: "Italian" },
                { tag: "es_MX", name: "es_MX", ui: [], code: "Spanish" },
                { tag: "en_GB", name: "en_GB", ui: [], code: "English" },
                { tag: "zh_CN", name: "zh_CN", ui: ["zh-CN"], code: "ChineseSimplified" },
                { tag: "zh_SG", name: "zh_SG", ui: [], code: "ChineseSimplified" },
                { tag: "zh_TW", name: "zh_TW", ui: [], code: "ChineseTraditional" },
                { tag: "zh_HK", name: "zh_HK", ui: [], code: "ChineseTraditional" },
                { tag: "zh_MO", name: "zh_MO", ui: [], code: "ChineseTraditional" },
                { tag: "Hant script", name: "zh", ui: ["zh-Hant-SG"], code: "ChineseTraditional" },
                { tag: "Hans script in HK", name: "zh_HK", ui: ["zh-Hans-HK"],
                  code: "ChineseSimplified" },
                { tag: "POSIX", name: "C", ui: [], code: "English" },
                { tag: "unsupported", name: "pt_BR", ui: ["pt-BR"], code: "English" },
                { tag: "empty", name: "", ui: undefined, code: "English" },
                { tag: "with codeset", name: "de_DE.UTF-8", ui: [], code: "German" }]
    }
    function test_desktopLocale(data) {
        compare(Language.fromLocale(data.name, data.ui), data.code)
    }

    // Only a missing choice follows the desktop; a stored one is kept, even one that is not
    // among the seven (the shell then keeps index 0 and the built-in texts).
    function test_startLanguage() {
        compare(Language.startLanguage("German", "fr_FR", []), "German")
        compare(Language.startLanguage(undefined, "fr_FR", []), "French")
        compare(Language.startLanguage("", "zh_TW", []), "ChineseTraditional")
        compare(Language.startLanguage(null, "C", []), "English")
        compare(Language.startLanguage("Klingon", "de_DE", []), "Klingon")
        compare(Language.indexOf("Klingon"), -1)
        compare(Language.indexOf("Spanish"), 6)
    }

    function test_addressByLanguage() {
        verify(Language.url("English") !== Language.url("German"))
        compare(Language.url("German"), Language.url("ChineseSimplified"))
    }

    function test_mergeKeepsBuiltInTextsWhereTheFileHasNone() {
        const builtIn = ["Reset", "Cancel", "OK"]
        compare(Language.merge(builtIn, ["Zurücksetzen", "Abbrechen", "OK"]),
                ["Zurücksetzen", "Abbrechen", "OK"])
        compare(Language.merge(builtIn, []), builtIn)
        compare(Language.merge(builtIn, undefined), builtIn)
        compare(Language.merge(builtIn, ["重置"]), ["重置", "Cancel", "OK"])
        compare(Language.merge(builtIn, ["", "Annuler", "OK", "extra"]), ["Reset", "Annuler", "OK"])
        compare(builtIn, ["Reset", "Cancel", "OK"])
    }
}
