.pragma library

// Turns a macro's event records into the mouse's 128-byte macro block, and sends a stored macro
// to a button's macro slot. Shared by the macro picker and the macro editor.

var BLOCK_SIZE = 128
var RELEASE_BIT = 0x80
var MAX_SHORT_DELAY = 126          // units of 10 ms that fit in an action cell
// Long delays: the unit code and how many 10 ms units one count stands for, by upper bound.
var LONG_UNITS = [
    { below: 100000, code: 1, per: 2 },    // 20 ms
    { below: 300000, code: 2, per: 5 },    // 50 ms
    { below: 600000, code: 3, per: 10 }    // 100 ms
]
var MAX_COUNT = 0xFFFF

// "1,A" -> { type: 1, info: "A" }: the type is the first character, the information starts at
// the third.
function parseRecord(text) {
    return { type: parseInt(String(text).charAt(0)), info: String(text).substring(2) }
}

function isAction(record) {
    return record.type >= 1 && record.type <= 4
}

function isRelease(type) {
    return type === 2 || type === 4
}

// The cells that close an action followed by `units` of 10 ms.
function delayCells(units, previousType) {
    var flag = isRelease(previousType) ? RELEASE_BIT : 0
    var whole = Math.floor(units)
    if (whole <= MAX_SHORT_DELAY)
        return [(whole === 0 ? 1 : whole) | flag]
    var unit = LONG_UNITS[LONG_UNITS.length - 1]
    for (var u = 0; u < LONG_UNITS.length; ++u) {
        if (whole < LONG_UNITS[u].below) {
            unit = LONG_UNITS[u]
            break
        }
    }
    // Beyond the largest unit the delay is held at the longest that can be written.
    var count = Math.min(Math.floor(whole / unit.per), MAX_COUNT)
    return [flag, 0x00, unit.code, count >> 8, count & 0xFF]
}

// records: [{ type, info }]; repeat: 1 ... 65535; codeOf(name) -> key code (0 when unknown).
// Returns the block's bytes up to and including the terminator. Actions that would not fit the
// block with its terminator are left out, so the block is always well formed.
function encode(records, repeat, codeOf, limit) {
    var max = limit === undefined ? BLOCK_SIZE : limit
    var out = [(repeat >> 8) & 0xFF, repeat & 0xFF]
    var i = 0
    while (i < records.length && !isAction(records[i]))
        ++i
    if (i === records.length)
        return out
    var previousType = records[i].type
    var code = codeOf(records[i].info)
    var units = 0
    for (++i; i < records.length; ++i) {
        var record = records[i]
        if (!isAction(record)) {
            // A negative delay (a hand-edited file) is no delay: it would write a byte outside
            // 0 ... 255, which the block takes as another delay with another release flag.
            units += Math.max(0, parseInt(record.info) / 10 || 0)
            continue
        }
        var cells = delayCells(units, previousType)
        // This cell, the new action's cell and the terminator must fit.
        if (out.length + cells.length + 1 + 2 + 2 > max)
            break
        out.push(cells[0], code)
        for (var c = 1; c < cells.length; ++c)
            out.push(cells[c])
        previousType = record.type
        code = codeOf(record.info)
        units = 0
    }
    out.push(1 | (isRelease(previousType) ? RELEASE_BIT : 0), code, 0x00, 0x00)
    return out
}

// The encoded length in bytes, terminator included, without the block's bound.
function encodedLength(records) {
    return encode(records, 1, function () { return 0 }, Number.MAX_SAFE_INTEGER).length
}

// Whether `added` records can join `records` without the block overflowing.
function fits(records, added) {
    return encodedLength(records.concat(added)) <= BLOCK_SIZE
}

// The block holds a repeat count of 1 ... 65535. A missing count loads as "0"; like a new macro,
// such a macro plays once. A larger count is held at the largest the block takes.
function blockRepeat(text) {
    var count = parseInt(text)
    if (!(count >= 1))
        return 1
    return Math.min(count, MAX_COUNT)
}

// Loads a stored macro, encodes it and sends it to macro slot `index`. False when the macro could
// not be read, was refused or did not reach the mouse: a macro longer than the block is sent whole
// to the core, which refuses it with a message naming it, rather than cut (a cut block can leave
// keys pressed).
function sendMacro(view, codeOf, index, macroName, macroLevel) {
    var stored = view.loadMacroIni(macroLevel, macroName)
    if (!stored || stored.length === 0)
        return false
    var records = []
    for (var r = 0; r < stored.length - 1; ++r)
        records.push(parseRecord(stored[r]))
    var bytes = encode(records, blockRepeat(stored[stored.length - 1]), codeOf,
                       Number.MAX_SAFE_INTEGER)
    return view.mouseSendMacroData(bytes, index, macroName) === true
}
