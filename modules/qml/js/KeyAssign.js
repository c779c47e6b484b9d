.pragma library

// The button page's data and rules, as plain functions: the default assignments, the row menu,
// the text of an entry and the capture of a key combination. An entry is four numbers
// [type, keyCode1, keyCode2, keyCode3]; the texts come from the page's language list.

const kMouse = 0
const kFire = 1
const kCombination = 2
const kMedia = 3
const kMacro = 4
const kDpi = 5
const kWindows = 6
const kShortcut = 7
const kGun = 8

const kEntries = 16
// Rows shown at most (①…⑦), whatever the mouse reports.
const kMaxRows = 7
const rowNumbers = ["①", "②", "③", "④", "⑤", "⑥", "⑦"]

// The row menu. `label` indexes the language list; an item either sets `code` (eight hex
// digits: the four bytes), opens a sub-menu, or opens a panel.
const menu = [
    { label: 2, code: "0000F000" },
    { label: 4, code: "0000F100" },
    { label: 3, code: "0000F200" },
    { label: 5, code: "0000F400" },
    { label: 6, code: "0000F300" },
    { label: 21, sub: [{ label: 22, code: "05000100" }, { label: 23, code: "05000200" },
                       { label: 24, code: "05000300" }, { label: 56, code: "05000400" }] },
    { label: 8, panel: "fire" },
    { label: 14, panel: "combination" },
    { label: 15, sub: [{ label: 27, code: "03008301" }, { label: 28, code: "0300b500" },
                       { label: 29, code: "0300b600" }, { label: 30, code: "0300b700" },
                       { label: 31, code: "0300e200" }, { label: 32, code: "0300cd00" },
                       { label: 33, code: "0300e900" }, { label: 34, code: "0300ea00" }] },
    { label: 16, panel: "macro" },
    { label: 25, sub: [{ label: 35, code: "06009401" }, { label: 36, code: "06002302" },
                       { label: 37, code: "06002102" }, { label: 38, code: "06042c1b" },
                       { label: 39, code: "06042c11" }, { label: 40, code: "0600e307" },
                       { label: 41, code: "0600e315" }] },
    { label: 26, sub: [{ label: 42, code: "0700e011" }, { label: 43, code: "0700e01b" },
                       { label: 44, code: "0700e006" }, { label: 45, code: "0700e019" },
                       { label: 46, code: "0700e016" }, { label: 47, code: "0700e013" },
                       { label: 48, code: "0700e009" }, { label: 49, code: "0700e01c" },
                       { label: 50, code: "0700e01d" }, { label: 51, code: "0700e004" }] },
    { label: 52, sub: [{ label: 53, code: "08000100" }, { label: 54, code: "08000200" },
                       { label: 55, code: "08000300" }] }]
const kLeftKeyItem = 0
const kGunItem = 12

// Sub-menus by entry type, for the labels of stored entries.
const subMenuOfType = { 3: menu[8].sub, 6: menu[10].sub, 7: menu[11].sub, 5: menu[5].sub,
                        8: menu[12].sub }
// Mouse buttons (type 0) by keyCode2; anything else is the stored double-fire entry (7).
const mouseLabel = { 0xF0: 2, 0xF2: 3, 0xF1: 4, 0xF4: 5, 0xF3: 6 }
const kDoubleFireLabel = 7
// Rows of these types show their menu item's label and "-" before their own text.
const prefixOfType = { 1: 8, 2: 14, 4: 16 }

const kFirstModifier = 0xE0
const kLastModifier = 0xE7

function itemCount(isOffice) {
    return isOffice ? 12 : 13
}

// The item a row's menu marks: its own row in office mode; in game mode rows 0 … 3 likewise and
// the gun item for the others.
function markedItem(row, isOffice) {
    return isOffice || row <= 3 ? row : kGunItem
}

// The left button must stay a left click: row 0 takes only the Left Key item.
function refusedOnRow(row, item) {
    return row === 0 && item !== kLeftKeyItem
}

function parseKeyCode(hex) {
    const text = String(hex)
    const bytes = []
    for (let i = 0; i < 4; ++i) {
        const b = parseInt(text.substr(2 * i, 2), 16)
        bytes.push(isNaN(b) ? 0 : b)
    }
    return bytes
}

function hexOf(entry) {
    return entry.map(b => (Number(b) & 0xFF).toString(16).padStart(2, "0")).join("").toUpperCase()
}

function sameEntry(a, b) {
    for (let i = 0; i < 4; ++i) {
        if (Number(a[i]) !== Number(b[i]))
            return false
    }
    return true
}

function modifierBit(usage) {
    return usage >= kFirstModifier && usage <= kLastModifier ? 1 << (usage - kFirstModifier) : 0
}

// The key names of a combination: the modifiers in bit order, then the keys.
function combinationNames(bits, key1, key2, keyName) {
    const names = []
    for (let i = 0; i < 8; ++i) {
        if (bits & (1 << i))
            names.push(keyName(kFirstModifier + i))
    }
    if (key1)
        names.push(keyName(key1))
    if (key2)
        names.push(keyName(key2))
    return names
}

// The keys that start a capture field's capture from the keyboard.
function startsCapture(event) {
    return [Qt.Key_Return, Qt.Key_Enter, Qt.Key_Space].includes(event.key)
}

// The key that started a capture reaches it through the input hook too, a moment after the
// window saw it: within this time of a keyboard start (`startedAt`, ms; 0 for a click) it is not
// taken.
const kStartEchoMs = 500
function isStartEcho(usage, startedAt) {
    return startedAt > 0 && Date.now() - startedAt < kStartEchoMs
           && [0x28, 0x58, 0x2C].includes(usage)
}

// A key pressed while a combination is captured: the new entry, or null when the key is not
// taken (a third key, or a key already in the combination).
function addToCombination(entry, usage) {
    const bit = modifierBit(usage)
    if (bit)
        return entry[1] & bit ? null : [kCombination, entry[1] | bit, entry[2], entry[3]]
    if (usage === 0 || usage === entry[2] || usage === entry[3])
        return null
    if (entry[2] === 0)
        return [kCombination, entry[1], usage, entry[3]]
    if (entry[3] === 0)
        return [kCombination, entry[1], entry[2], usage]
    return null
}

function subLabel(type, code2, code3, lang) {
    const found = (subMenuOfType[type] ?? []).find(item => {
        const bytes = parseKeyCode(item.code)
        return bytes[2] === code2 && (type === kDpi || type === kGun || bytes[3] === code3)
    })
    return found ? lang[found.label] ?? "" : ""
}

// The text of an entry. keyName(code) names a key; macroName(slot) names the macro in a slot.
function label(entry, lang, keyName, macroName) {
    const type = Number(entry[0])
    const c1 = Number(entry[1]), c2 = Number(entry[2]), c3 = Number(entry[3])
    switch (type) {
    case kMouse:
        return lang[mouseLabel[c2] ?? kDoubleFireLabel] ?? ""
    case kFire:
        return keyName(c1)
    case kCombination:
        return combinationNames(c1, c2, c3, keyName).join("+")
    case kMedia:
    case kWindows:
    case kShortcut:
    case kDpi:
    case kGun:
        return subLabel(type, c2, c3, lang)
    case kMacro:
        return macroName(c2)
    default:
        return ""
    }
}

// What a row's closed menu shows: the label, after its item's name for fire, combination and
// macro rows.
function rowText(entry, lang, keyName, macroName) {
    const text = label(entry, lang, keyName, macroName)
    const prefix = prefixOfType[Number(entry[0])]
    return prefix === undefined ? text : (lang[prefix] ?? "") + "-" + text
}

// Fire panel: the rate is the slider's knob offset plus one.
function fireRate(offset) {
    return offset + 1
}
