.pragma library
.import TK700.Core 1.0 as Core

// The macro picker's and the macro editor's view of the core's macro block encoder (MacroCodec):
// records to bytes, the block's length and repeat count, and sending a stored macro to a button's
// macro slot. Key names are looked up by the caller's function, which knows the language shown.

var BLOCK_SIZE = Core.MacroCodec.blockSize

// "1,A" -> { type: 1, info: "A" }; a record without a type digit has the type NaN.
function parseRecord(text) {
    return Core.MacroCodec.parseRecord(String(text))
}

// records: [{ type, info }]; repeat: 1 ... 65535; codeOf(name) -> key code (0 when unknown).
// Returns the block's bytes up to and including the terminator. Actions that would not fit the
// block (or `limit` bytes) with its terminator are left out, so the block is always well formed.
function encode(records, repeat, codeOf, limit) {
    const codes = records.map(r => Core.MacroCodec.isAction(r.type) ? codeOf(r.info) : 0)
    return Core.MacroCodec.encode(records, codes, repeat,
                                  limit === undefined ? BLOCK_SIZE : limit)
}

// The encoded length in bytes, terminator included, without the block's bound.
function encodedLength(records) {
    return Core.MacroCodec.encodedLength(records)
}

// Whether `added` records can join `records` without the block overflowing.
function fits(records, added) {
    return encodedLength(records.concat(added)) <= BLOCK_SIZE
}

// The block's repeat count (1 ... 65535) of a stored count.
function blockRepeat(text) {
    return Core.MacroCodec.blockRepeat(String(text))
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
