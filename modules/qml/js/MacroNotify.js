.pragma library

// What the key assignments do when the macro editor deletes, renames or changes a macro. The
// button page's office list holds the entries (a ListModel or an array of objects with keyCode0
// ... keyCode3 and keyText); a macro entry (keyCode0 4) names its macro through the profile key
// "mouseMacroKey/" + keyCode2.

const kMacro = 0x04

function count(list) {
    return list.count ?? list.length
}

function entry(list, i) {
    return list.get ? list.get(i) : list[i]
}

function playsMacro(view, item, macroName) {
    return Number(item.keyCode0) === kMacro
           && String(view.getData("mouseMacroKey/" + item.keyCode2, false)) === String(macroName)
}

// Every button that played the deleted macro gets its default back and is saved; then the
// profiles drop the name once.
function deleteMacro(keys, defaults, view, saveKeys, macroName) {
    for (let i = 0; i < count(keys); ++i) {
        const item = entry(keys, i)
        if (!playsMacro(view, item, macroName))
            continue
        const old = entry(defaults, i)
        item.keyCode0 = old.keyCode0
        item.keyCode1 = old.keyCode1
        item.keyCode2 = old.keyCode2
        item.keyCode3 = old.keyCode3
        item.keyText = old.keyText
        saveKeys()
    }
    // False when a profile file could not be written.
    return view.deleteMacroUpdateProfile(macroName)
}

// The buttons that play a renamed macro follow it (the editor has renamed its file already).
function renameMacro(keys, view, oldName, newName) {
    for (let i = 0; i < count(keys); ++i) {
        const item = entry(keys, i)
        if (!playsMacro(view, item, oldName))
            continue
        view.setData("mouseMacroKey/" + item.keyCode2, newName)
        item.keyText = newName
    }
}

// A changed macro goes to every button that plays it again.
function macroChanged(keys, view, sendMacro, macroName) {
    for (let i = 0; i < count(keys); ++i) {
        if (playsMacro(view, entry(keys, i), macroName))
            sendMacro(i, macroName)
    }
}
