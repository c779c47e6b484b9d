// The macro editor's tree menu: new items, rename, delete, import, export and the batch
// transfers, each through the library's own operations, with the catalogue rewritten after.
// Runs in the editor's context (`editor`).
.import "MacroTree.js" as MacroTree

// The tree menu.
function treeCommand(index) {
    switch (index) {
    case 0: // rename
        if (editor.currentName === "")
            editor.tell(editor.macroEditorLang[30])
        else
            askName(editor.nameRename, editor.currentName)
        break
    case 1:
        if (editor.currentName === "") {
            editor.tell(editor.macroEditorLang[30])
        } else {
            tooltipMain.btnIndex = editor.confirmDelete
            tooltipMain.titleText = editor.macroEditorLang[3]
            tooltipMain.textValue = warningAssigmentMain.warningAssigmentLang[7]
            tooltipMain.show()
        }
        break
    case 2:
        importMacro()
        break
    case 3:
        if (editor.hasMacro)
            ui_View.saveMacroFile(editor.currentLevel, editor.currentName)
        else
            warningAssigmentMain.showWarning(5)
        break
    case 4:
        if (targetLevel() > MacroTree.MAX_FOLDER_LEVEL)
            warningAssigmentMain.showWarning(3)
        else
            askName(editor.nameNewFolder, "")
        break
    case 5:
        askName(editor.nameNewMacro, "")
        break
    case 6:
        batchImport()
        break
    case 7:
        batchExport()
        break
    }
}

function askName(purpose, text) {
    inputAssigmentMain.titleText = editor.macroEditorLang[27]
    inputAssigmentMain.showFor(purpose, text)
}

// Where a new item goes: inside the selected folder, else in the root.
function targetIndices() {
    return editor.currentType === 1 ? editor.indicesOf(editor.currentPath) : []
}

function targetLevel() {
    return targetIndices().length
}

function childrenAt(indices) {
    const tree = editor.macroNumberModel
    return indices.length === 0 ? tree : MacroTree.at(tree, indices).subNode
}

function folderNamesAt(indices) {
    const names = MacroTree.folderPath(editor.macroNumberModel, indices)
    if (indices.length > 0)
        names.push(MacroTree.at(editor.macroNumberModel, indices).textValue)
    return names
}

// The catalogue (the tree's order and names) could not be written: told with the file and why.
function catalogueNotSaved() {
    warningAssigmentMain.showWarning(warningAssigmentMain.notSaved, ui_View.saveFailure())
}

// Rewrites the catalogue lists of the folder at `indices` and of every folder below it.
function writeFolders(indices, att) {
    const path = folderNamesAt(indices)
    const list = childrenAt(indices)
    MacroTree.renumber(list, indices.length, indices)
    if (MacroTree.writeFolder(ui_View, path, list, att) === false)
        catalogueNotSaved()
    for (let i = 0; i < list.length; ++i) {
        if (list[i].macroType === 1)
            writeFolders(indices.concat([i]), 1)
    }
}

// False, with the warning, when the name cannot join the folder at `indices`.
function nameFree(indices, name) {
    if (MacroTree.hasName(childrenAt(indices), name)) {
        warningAssigmentMain.showWarning(4)
        return false
    }
    return true
}

function createItem(type, name) {
    if (name === "")
        return false
    const indices = targetIndices()
    const level = indices.length
    if (type === 1 && level > MacroTree.MAX_FOLDER_LEVEL) {
        warningAssigmentMain.showWarning(3)
        return false
    }
    if (!nameFree(indices, name))
        return false
    MacroTree.select(ui_View, folderNamesAt(indices))
    const list = childrenAt(indices)
    if (ui_View.createMacroIni(name, list.length, level, type) !== true)
        return false
    list.push(MacroTree.node(name, type, level, indices))
    if (indices.length > 0)
        MacroTree.at(editor.macroNumberModel, indices).open = true
    writeFolders(indices, 0)
    editor.refreshTree()
    editor.selectPath(indices.concat([list.length - 1]).join("/"))
    return true
}

function renameSelected(name) {
    if (name === "" || name === editor.currentName || editor.currentName === "")
        return false
    const indices = editor.indicesOf(editor.currentPath)
    const parent = indices.slice(0, -1)
    // Files of one folder cannot share a name: the rename would fail on disk.
    if (!nameFree(parent, name))
        return false
    editor.applySelection()
    const item = MacroTree.at(editor.macroNumberModel, indices)
    const oldName = item.textValue
    // The file or folder is renamed first: what the library refuses or cannot rename (it tells
    // the user) leaves the tree, the catalogue and the buttons as they were.
    if (ui_View.modifyMacroNameUpdateProfile(editor.currentLevel, editor.currentType, oldName,
                                             name) !== true)
        return false
    // The folder groups of the catalogue are named by their paths, which change.
    const oldFolders = MacroTree.foldersOf(item, folderNamesAt(indices))
    for (const path of oldFolders) {
        if (ui_View.updataMacroList_delOld(path.join("")) === false)
            catalogueNotSaved()
    }
    editor.modifyMacroName(editor.currentLevel, editor.currentType, oldName, name)
    item.textValue = name
    writeFolders(parent, 1)
    editor.refreshTree()
    editor.selectPath(editor.currentPath)
    return true
}

function macroNames(item) {
    if (item.macroType === 0)
        return [item.textValue]
    let names = []
    for (const child of item.subNode)
        names = names.concat(macroNames(child))
    return names
}

function removeSelected() {
    const indices = editor.indicesOf(editor.currentPath)
    const item = MacroTree.at(editor.macroNumberModel, indices)
    if (!item)
        return
    const parent = indices.slice(0, -1)
    const folders = MacroTree.foldersOf(item, folderNamesAt(indices))
    const gone = macroNames(item)
    const level = editor.currentLevel, type = editor.currentType, name = editor.currentName
    editor.stopRecord(false)
    editor.showRows([], "1")
    editor.applySelection()
    if (ui_View.deleteMacroIni(level, type, name) !== true) {
        editor.selectPath(editor.currentPath)
        return
    }
    for (const path of folders) {
        if (ui_View.updataMacroList_delOld(path.join("")) === false)
            catalogueNotSaved()
    }
    childrenAt(parent).splice(indices[indices.length - 1], 1)
    writeFolders(parent, 0)
    editor.clearSelection()
    editor.refreshTree()
    // A button keeps playing a macro of the same name that is still in the library.
    for (const macro of gone) {
        if (!MacroTree.findMacro(editor.macroNumberModel, macro))
            editor.deleteMacro(macro)
    }
}

function importMacro() {
    const indices = targetIndices()
    const name = ui_View.loadMacroFile(editor.currentType === 1 ? editor.currentLevel : -1,
                                       editor.currentType === 1 ? 1 : 0)
    if (!name)
        return
    const list = childrenAt(indices)
    if (MacroTree.hasName(list, name)) {
        warningAssigmentMain.showWarning(2)
        return
    }
    const path = folderNamesAt(indices)
    MacroTree.select(ui_View, path)
    if (ui_View.loadMacroIni(path.length, name).length === 0)
        return // the copy did not happen
    list.push(MacroTree.node(name, 0, path.length, indices))
    writeFolders(indices, 0)
    editor.refreshTree()
}

// A batch import copies a folder tree into the root. The core lists what it copied by depth;
// each name is put under the folder that holds it on disk.
function batchImport() {
    if (editor.currentType === 1 && editor.currentLevel >= MacroTree.MAX_FOLDER_LEVEL) {
        warningAssigmentMain.showWarning(3)
        return
    }
    const top = ui_View.loadMacroFile_batch()
    if (!top)
        return
    // Into a folder of that name the files are merged (existing ones are kept); a macro of that
    // name leaves no place for the folder in the tree.
    const existing = editor.macroNumberModel.find(n => n.textValue === top)
    if (existing && existing.macroType !== 1) {
        warningAssigmentMain.showWarning(2)
        return
    }
    ui_View.loadMacroFile_sub_batch()
    const root = existing ?? MacroTree.node(top, 1, 0, [])
    let parents = [{ item: root, path: [top] }]
    for (let depth = 1; depth <= MacroTree.MAX_LEVEL; ++depth) {
        const files = Array.from(ui_View.getMacroFileName_batch(depth, 0))
        for (const parent of parents) {
            MacroTree.select(ui_View, parent.path)
            for (const file of files) {
                if (!MacroTree.hasName(parent.item.subNode, file)
                        && ui_View.loadMacroIni(depth, file).length > 0)
                    parent.item.subNode.push(MacroTree.node(file, 0, depth, []))
            }
        }
        if (depth > MacroTree.MAX_FOLDER_LEVEL)
            break
        const next = []
        for (const folder of Array.from(ui_View.getMacroFileName_batch(depth, 1))) {
            // A folder name of several parents goes to the one that holds one of its files.
            const owner = parents.length === 1 ? parents[0] : parents.find(p => {
                MacroTree.select(ui_View, p.path.concat([folder]))
                return Array.from(ui_View.getMacroFileName_batch(depth + 1, 0))
                           .some(f => ui_View.loadMacroIni(depth + 1, f).length > 0)
            }) ?? parents[0]
            let item = owner.item.subNode.find(n => n.textValue === folder)
            if (item && item.macroType !== 1)
                continue
            if (!item) {
                item = MacroTree.node(folder, 1, depth, [])
                owner.item.subNode.push(item)
            }
            next.push({ item: item, path: owner.path.concat([folder]) })
        }
        parents = next
    }
    if (!existing)
        editor.macroNumberModel.push(root)
    writeFolders([], 0)
    editor.refreshTree()
}

function batchExport() {
    ui_View.getbatchPath()
    function exportFolder(list, path) {
        MacroTree.select(ui_View, path)
        ui_View.saveMacroFile_batch(path.length, list.map(n => n.textValue),
                                    list.map(n => n.macroType))
        for (const item of list) {
            if (item.macroType === 1)
                exportFolder(item.subNode, path.concat([item.textValue]))
        }
    }
    exportFolder(editor.macroNumberModel, [])
}
