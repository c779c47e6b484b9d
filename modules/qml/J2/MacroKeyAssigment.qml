import QtQuick
import "../js/MacroTree.js" as MacroTree
import "../js/MacroEncoder.js" as MacroEncoder

// The macro chooser of a button's row menu: the library's tree; OK with a macro gives the button
// that macro (sent to the button's macro slot at once). It also sends a stored macro to a slot
// for the shell.
DialogBox {
    id: chooser

    property var macroNumberModel: []
    property string currentPath: ""
    property int keyIndex: -1
    property var rowMenu: null
    readonly property alias list: treeList

    // Opens the chooser for button `index`; `menu` is the row menu that shows the result.
    function show(index: int, menu: var) {
        keyIndex = index
        rowMenu = menu
        macroNumberModel = MacroTree.read(ui_View)
        currentPath = ""
        treeList.currentPath = ""
        treeList.show(MacroTree.visibleRows(macroNumberModel))
        x = Math.round((parent.width - width) / 2)
        y = Math.round((parent.height - height) / 2)
        visible = true
    }

    function pick(path: string) {
        currentPath = path
        treeList.currentPath = path
    }

    function toggle(path: string) {
        const item = MacroTree.at(macroNumberModel, path === "" ? [] : path.split("/").map(Number))
        if (item && item.macroType === 1) {
            item.open = !item.open
            treeList.show(MacroTree.visibleRows(macroNumberModel))
        }
    }

    function selected(): var {
        if (currentPath === "")
            return null
        return MacroTree.at(macroNumberModel, currentPath.split("/").map(Number))
    }

    function accept() {
        const item = selected()
        if (!item || item.macroType !== 0) {
            warningAssigmentMain.showWarning(5)
            return
        }
        if (keyIndex === 0) {
            hide()
            warningAssigmentMain.showWarning(warningAssigmentMain.leftButtonRule)
            return
        }
        hide()
        const entry = [4, macroEditorMain.macroOption, keyIndex, 0]
        mouseMain.selectKey = keyIndex
        if (rowMenu)
            rowMenu.apply(entry, item.textValue,
                          keyAssigmentMain.keyAssigmentLang[16] + "-" + item.textValue)
    }

    // Sends the first macro of the library called `macroName` to macro slot `index`, without the
    // window lock: for callers already inside mainIten.deviceWork. False when the macro is not in
    // the library or did not reach the mouse.
    function sendNow(index: int, macroName: string): bool {
        const found = MacroTree.findMacro(MacroTree.read(ui_View), macroName)
        if (!found)
            return false
        MacroTree.select(ui_View, found.path)
        return MacroEncoder.sendMacro(ui_View, name => _KeyCodeString.strTokeycode(name), index,
                                      macroName, found.level)
    }

    // Queued on the device link; the shell tells the user when it did not reach the mouse.
    function sendMacro(index: int, macroName: string) {
        mainIten.deviceWork(() => sendNow(index, macroName))
    }

    objectName: "macroKeyAssigmentMain"
    width: 320
    height: 420
    titleText: macroEditorMain.macroEditorLang[28]

    MacroTreeList {
        id: treeList

        objectName: "macroChooserTree"
        accessibleName: macroEditorMain.macroEditorLang[1]
        width: parent.width
        height: parent.height - 44
        onItemClicked: path => chooser.pick(path)
        onItemDoubleClicked: path => chooser.toggle(path)
    }

    Row {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        spacing: 16

        TextButton {
            objectName: "macroChooserCancel"
            textValue: mainIten.keyMatrixLang[9]
            onClicked: chooser.hide()
        }

        TextButton {
            objectName: "macroChooserOK"
            textValue: mainIten.keyMatrixLang[10]
            onClicked: chooser.accept()
        }
    }
}
