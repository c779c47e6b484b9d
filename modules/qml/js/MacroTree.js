.pragma library

// The macro library's tree as the catalogue stores it: one node per item, with the catalogue's
// attributes, read folder by folder and written back folder by folder. Shared by the macro editor
// and the macro chooser.

var SENTINEL = "nullslotmark"
var MAX_FOLDER_LEVEL = 4
var MAX_LEVEL = 5

function dropSentinel(list) {
    var out = Array.from(list || []).map(String)
    if (out.length === 2 && out[1] === SENTINEL)
        out.pop()
    return out
}

function node(name, type, level, ancestors) {
    var no = []
    for (var d = 0; d < 5; ++d)
        no.push(d < level ? ancestors[d] : -1)
    return { textValue: String(name), macroType: type ? 1 : 0, showImg: !!type, level: level,
             txtMargin: 5 + 20 * level + 20 * (type ? 1 : 0), indent: 5 + 20 * level, no: no,
             subNode: [], open: false }
}

// The five folder names for an item whose folder path is `path`.
function selectNames(path) {
    var names = []
    for (var i = 0; i < 5; ++i)
        names.push(i < path.length ? path[i] : "")
    return names
}

function select(view, path) {
    var n = selectNames(path)
    view.setMacroSelectName(n[0], n[1], n[2], n[3], n[4])
    view.setMacroLevel(path.length)
}

// The items of the folder at `path` (the root when empty): [{ name, type }].
function readFolder(view, path) {
    var names, types
    if (path.length === 0) {
        names = dropSentinel(view.getNameList(0))
        types = dropSentinel(view.getMacroList_Att(0))
    } else {
        select(view, path)
        var own = path[path.length - 1]
        names = dropSentinel(view.getMacroSubList_Att(4, own))
        types = dropSentinel(view.getMacroSubList_Att(0, own))
    }
    var items = []
    for (var i = 0; i < names.length; ++i)
        items.push({ name: names[i], type: parseInt(types[i]) === 1 ? 1 : 0 })
    return items
}

function readChildren(view, path, ancestors) {
    var level = path.length
    var items = readFolder(view, path)
    var out = []
    for (var i = 0; i < items.length; ++i) {
        var folder = items[i].type === 1 && level <= MAX_FOLDER_LEVEL
        if (items[i].type === 1 && !folder)
            continue // a folder deeper than the library holds
        var item = node(items[i].name, folder ? 1 : 0, level, ancestors)
        if (folder)
            item.subNode = readChildren(view, path.concat([item.textValue]),
                                        ancestors.concat([i]))
        out.push(item)
    }
    return out
}

// The whole tree from the catalogue.
function read(view) {
    return readChildren(view, [], [])
}

// The node at the index path `indices` (one index per depth).
function at(tree, indices) {
    var list = tree, found = null
    for (var i = 0; i < indices.length; ++i) {
        found = list[indices[i]]
        if (!found)
            return null
        list = found.subNode
    }
    return found
}

// The names of the folders that hold the node at `indices`.
function folderPath(tree, indices) {
    var names = []
    for (var i = 1; i < indices.length; ++i)
        names.push(at(tree, indices.slice(0, i)).textValue)
    return names
}

// Renumbers the ancestor indices and indents of `list`, the children of a folder at `path`.
function renumber(list, level, ancestors) {
    for (var i = 0; i < list.length; ++i) {
        var fresh = node(list[i].textValue, list[i].macroType, level, ancestors)
        list[i].no = fresh.no
        list[i].level = level
        list[i].txtMargin = fresh.txtMargin
        list[i].indent = fresh.indent
        renumber(list[i].subNode, level + 1, ancestors.concat([i]))
    }
}

// Rewrites the catalogue lists of the folder at `path` from its children `list`; false when the
// catalogue could not be written.
function writeFolder(view, path, list, att) {
    select(view, path)
    var cols = { name: [], type: [], img: [], margin: [], level: [], no: [[], [], [], [], []] }
    for (var i = 0; i < list.length; ++i) {
        var it = list[i]
        cols.name.push(it.textValue)
        cols.type.push(String(it.macroType))
        cols.img.push(it.macroType === 1 ? "true" : "false")
        cols.margin.push(String(it.txtMargin))
        cols.level.push(String(it.level))
        for (var d = 0; d < 5; ++d)
            cols.no[d].push(String(it.no[d]))
    }
    return view.updataMacroList(att, path.length, path.length ? path[path.length - 1] : "", cols.name,
                         cols.type, cols.img, cols.margin, cols.level, cols.no[0], cols.no[1],
                         cols.no[2], cols.no[3], cols.no[4])
}

// Every folder below and including `item` (a folder at `path`, its own name last): [path].
function foldersOf(item, path) {
    if (item.macroType !== 1)
        return []
    var out = [path]
    for (var i = 0; i < item.subNode.length; ++i)
        out = out.concat(foldersOf(item.subNode[i], path.concat([item.subNode[i].textValue])))
    return out
}

// The rows shown: every item whose folders are all open, in tree order, with the index path
// that finds it.
function visibleRows(tree) {
    var rows = []
    function walk(list, indices) {
        for (var i = 0; i < list.length; ++i) {
            var it = list[i]
            var here = indices.concat([i])
            rows.push({ textValue: it.textValue, macroType: it.macroType, showImg: it.showImg,
                        txtMargin: it.txtMargin, indent: it.indent, level: it.level,
                        isOpen: it.open, path: here.join("/") })
            if (it.macroType === 1 && it.open)
                walk(it.subNode, here)
        }
    }
    walk(tree, [])
    return rows
}

// The first macro called `name`, depth first: { path: folder names, level } or null. Profiles
// name a macro by its name only, so a button plays the first macro of that name in the library.
function findMacro(tree, name) {
    function walk(list, path) {
        for (var i = 0; i < list.length; ++i) {
            if (list[i].macroType === 0 && list[i].textValue === name)
                return { path: path, level: path.length }
        }
        for (var j = 0; j < list.length; ++j) {
            if (list[j].macroType === 1) {
                var found = walk(list[j].subNode, path.concat([list[j].textValue]))
                if (found)
                    return found
            }
        }
        return null
    }
    return walk(tree, [])
}

// A name the library takes as one entry of its folder (the library refuses the others).
function isUsableName(name) {
    var text = String(name)
    return text !== "" && text !== "." && text !== ".." && !/[\/\\\0]/.test(text)
}

function hasName(list, name) {
    for (var i = 0; i < list.length; ++i) {
        if (list[i].textValue === name)
            return true
    }
    return false
}
