.pragma library
.import "MacroEncoder.js" as MacroEncoder

// The macro editor's event list: what recording, the event menu and delay editing do to the
// rows ({ type, info }), and the limit of the mouse's macro block.

// Nothing is added once the block, terminator included, is this long: the next action could
// overflow the 128 bytes.
var LIMIT = 126
var MAX_DELAY = 65535
var FIRST_MOUSE_CODE = 0xF0
var INSERTED_DELAY = "50"

function encodedLength(rows) {
    return MacroEncoder.encodedLength(rows)
}

function canAdd(rows) {
    return encodedLength(rows) < LIMIT
}

// The rows one recorded key event adds after `rows`: a delay of the ticks (10 ms each) since the
// last event, when delays are recorded and it is not the first event, then the event itself.
// None once the block is full.
function recorded(rows, isDown, code, ticks, withDelays, nameOf) {
    if (!canAdd(rows))
        return []
    var out = []
    if (rows.length > 0 && withDelays)
        out.push({ type: 0, info: String(ticks * 10) })
    var mouse = code >= FIRST_MOUSE_CODE
    out.push({ type: mouse ? (isDown ? 3 : 4) : (isDown ? 1 : 2), info: nameOf(code) })
    return out
}

function isLast(rows, current) {
    return current < 0 || current >= rows.length - 1
}

// Each returns { rows, current } (new arrays; `rows` is left as it was), or null when nothing
// changes.
function insertDelay(rows, current) {
    if (!canAdd(rows))
        return null
    var out = rows.slice()
    var at = current >= 0 && current < rows.length ? current : rows.length
    out.splice(at, 0, { type: 0, info: INSERTED_DELAY })
    return { rows: out, current: at }
}

// A press and a release of `name`: at the end when the last row is current, otherwise before the
// current row.
function insertKey(rows, current, name) {
    if (!canAdd(rows) || name === "")
        return null
    var pair = [{ type: 1, info: name }, { type: 2, info: name }]
    var out = rows.slice()
    if (isLast(rows, current)) {
        out = out.concat(pair)
        return { rows: out, current: out.length - 1 }
    }
    out.splice(current, 0, pair[0], pair[1])
    return { rows: out, current: current + 2 }
}

// A press and a release of a mouse button ("MS-L", "MS-M", "MS-R"): at the end when the last row
// is current, otherwise after it.
function addButton(rows, current, name) {
    if (!canAdd(rows))
        return null
    var pair = [{ type: 3, info: name }, { type: 4, info: name }]
    var out = rows.slice()
    var at = isLast(rows, current) ? rows.length : current + 1
    out.splice(at, 0, pair[0], pair[1])
    return { rows: out, current: at + 1 }
}

function remove(rows, current) {
    if (current < 0 || current >= rows.length)
        return null
    var out = rows.slice()
    out.splice(current, 1)
    return { rows: out, current: Math.min(current, out.length - 1) }
}

// A typed delay: a whole number 0 ... 65535 replaces the old text; anything else keeps it.
function editedDelay(oldText, typed) {
    var text = String(typed).trim()
    if (!/^[0-9]+$/.test(text))
        return oldText
    var value = parseInt(text, 10)
    return value <= MAX_DELAY ? String(value) : oldText
}

// The repeat count field: 1 ... 65535, "1" for anything else.
function repeatText(typed) {
    var value = parseInt(String(typed), 10)
    if (!(value >= 1))
        return "1"
    return String(Math.min(value, 65535))
}

function recordText(row) {
    return row.type + "," + row.info
}

// Stored records ("1,A", ..., then the repeat count) into rows and the count.
function loaded(stored) {
    var list = Array.from(stored || [])
    if (list.length === 0)
        return { rows: [], repeat: "1" }
    var rows = []
    for (var i = 0; i < list.length - 1; ++i)
        rows.push(MacroEncoder.parseRecord(list[i]))
    return { rows: rows, repeat: repeatText(list[list.length - 1]) }
}
