// What a profile stores, turned into what the mouse takes. The pages and tk700ctl both run these,
// so that a profile with missing or odd values goes to the mouse the same way from either.
.pragma library

// Knob offsets of the lift-off slider's three marks.
var LOD_OFFSETS = [3, 168, 330]

// The report-rate list's position 0 ... 3 (125, 250, 500, 1000 Hz) as the mouse's interval code;
// anything else is 1000 Hz.
function reportRateCode(position) {
    return [8, 4, 2][parseInt(position)] ?? 1
}

// A slider's stored knob offset. Older versions stored 174 as the default of both sliders; it
// stands for `old174`. What is no number, or negative, is 0.
function storedOffset(value, old174) {
    const offset = parseInt(value)
    if (offset === 174)
        return old174
    return offset >= 0 ? offset : 0
}

function lodSnap(x) {
    return x < 100 ? LOD_OFFSETS[0] : x < 200 ? LOD_OFFSETS[1] : LOD_OFFSETS[2]
}

// The knob offset as the rate the mouse's lift-off rule takes (125, 108 or 90 at the marks).
function lodRate(x) {
    return 125 - Math.floor((x - 3) * 35 / 325)
}

// The stored lift-off value as the page sends it: snapped to a mark, then as a rate.
function storedLodRate(value) {
    return lodRate(lodSnap(storedOffset(value, LOD_OFFSETS[1])))
}

// A stored "#rrggbb" colour as its three levels; what cannot be read is 0.
function colourLevels(text) {
    return [1, 3, 5].map(i => parseInt(String(text).substr(i, 2), 16) || 0)
}
