.pragma library

// The language files, in the order of the language index, and how each names itself in the
// menu bar's list (an owner looks for their own language, whatever is shown now).
const codes = ["English", "ChineseSimplified", "ChineseTraditional", "German", "French",
               "Italian", "Spanish"]
const nativeNames = ["English", "简体中文", "繁體中文", "Deutsch", "Français", "Italiano",
                     "Español"]

const byLanguage = { "en": "English", "de": "German", "fr": "French", "it": "Italian",
                     "es": "Spanish" }

// The key names of every language file, read once by `load` (the files do not change while the
// program runs).
let keyNames = null

function keyNameTables(load) {
    if (keyNames === null)
        keyNames = load()
    return keyNames
}

function allCodes() {
    return codes.slice()
}

// -1 for anything that is not one of the seven codes.
function indexOf(code) {
    return codes.indexOf(String(code))
}

// The language file for a desktop locale ("de_AT", "zh_TW", "C" ...). Chinese goes by script
// where the locale names one, else by region; unknown languages get English.
function fromLocale(name, uiLanguages) {
    const parts = String(name ?? "").split(/[_\-.@]/)
    const language = parts[0].toLowerCase()
    if (language === "zh") {
        const tags = [String(name)].concat(uiLanguages ?? []).join(" ")
        if (/Hant/.test(tags))
            return "ChineseTraditional"
        if (/Hans/.test(tags))
            return "ChineseSimplified"
        return ["TW", "HK", "MO"].indexOf(parts[1] ?? "") >= 0 ? "ChineseTraditional"
                                                               : "ChineseSimplified"
    }
    return byLanguage[language] ?? "English"
}

// The stored choice wins; when none is stored the desktop's locale decides.
function startLanguage(stored, localeName, uiLanguages) {
    if (stored === undefined || stored === null || String(stored) === "")
        return fromLocale(localeName, uiLanguages)
    return String(stored)
}

// The maker's address shown in the bottom bar: one for English, one for every other language.
function url(code) {
    return code === "English" ? "www.talvemark.com" : "www.talvemark.com.cn"
}

// A list read from a language file over the built-in texts: a missing file, a short group or an
// empty entry keeps the built-in text at that position, so no label goes blank.
function merge(defaults, loaded) {
    const result = defaults.slice()
    const texts = loaded ?? []
    for (let i = 0; i < result.length && i < texts.length; ++i) {
        if (String(texts[i]) !== "")
            result[i] = String(texts[i])
    }
    return result
}
