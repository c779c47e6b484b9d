import QtQuick

// The macro editor's left half: the library's tree with its menu, and the playback mode.
Item {
    required property Item editor
    readonly property alias treeList: treeList
    readonly property alias treeMenu: treeMenu

    PanelLabel { x: 16; y: 42; text: editor.macroEditorLang[1] }

    MacroTreeList {
        id: treeList

        objectName: "macroTree"
        accessibleName: editor.macroEditorLang[1]
        x: 16
        y: 64
        width: 250
        height: 300
        onItemClicked: path => {
            editor.macroEditorFocus()
            editor.selectPath(path)
        }
        onItemDoubleClicked: path => editor.toggleFolder(path)
        onMenuRequested: (path, px, py) => treeMenu.openAt(treeList.x + px, treeList.y + py)
    }

    // An empty library says how to begin: the tree's menu.
    Text {
        objectName: "macroTreeHint"
        x: treeList.x + 16
        y: treeList.y + 16
        width: treeList.width - 32
        visible: treeList.model.count === 0
        wrapMode: Text.Wrap
        horizontalAlignment: Text.AlignHCenter
        text: editor.macroEditorLang[31]
        color: mainIten.colorGray2
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize + 2
    }

    PanelLabel { x: 16; y: 376; text: editor.macroEditorLang[15] }

    Column {
        x: 16
        y: 400
        spacing: 8

        Repeater {
            model: 3

            RadioButton {
                objectName: "macroOption" + index
                width: treeList.width
                textValue: editor.macroEditorLang[16 + index]
                isSelect: editor.macroOption === index
                index: model.index
                gapValue: 8
                onBtnClick: i => editor.macroOption = i
            }
        }
    }

    ContextMenu {
        id: treeMenu

        objectName: "macroTreeMenu"
        onChosen: index => editor.treeCommand(index)
    }
}
