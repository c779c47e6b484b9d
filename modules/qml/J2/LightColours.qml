import QtQuick

// The lighting page's colours: the 15 colour blocks, the picker for the selected one, and the
// presets.
Item {
    required property Item light
    readonly property alias picker: picker
    readonly property alias presetList: presetList

    PanelLabel { x: 24; y: 272; text: light.lightControlLang[6] }
    PanelLabel { x: 24; y: 440; text: light.lightControlLang[9] }

    Grid {
        x: 150
        y: 268
        columns: 8
        spacing: 8

        Repeater {
            model: light.blockCount

            Rectangle {
                objectName: "lightBlock" + index
                width: 30
                height: 30
                radius: 4
                color: light.colors[index] ?? "#000000"
                border.width: index === light.colorIndex ? 3 : 1
                border.color: index === light.colorIndex ? mainIten.colorPrimary
                                                         : mainIten.colorLine
                activeFocusOnTab: true
                Keys.onSpacePressed: area.choose()
                Keys.onReturnPressed: area.choose()
                Keys.onEnterPressed: area.choose()
                Accessible.role: Accessible.RadioButton
                Accessible.name: light.lightControlLang[6] + " " + (index + 1)
                Accessible.description: color
                Accessible.checkable: true
                Accessible.checked: index === light.colorIndex
                Accessible.onPressAction: area.choose()

                MouseArea {
                    id: area

                    function choose() {
                        mainIten.mainFocus()
                        light.colorIndex = index
                        picker.showColor(light.colors[index])
                        light.changed()
                    }

                    anchors.fill: parent
                    onClicked: choose()
                }
            }
        }
    }

    ColourPicker {
        id: picker

        x: 150
        y: 350
        onColourChosen: text => light.setBlockColor(text)
    }

    Rectangle {
        x: 520
        y: 352
        width: 44
        height: 60
        radius: 4
        color: light.colors[light.colorIndex] ?? "#000000"
        border.color: mainIten.colorLine
    }

    Row {
        x: 150
        y: 436
        spacing: 10

        DropDownList {
            id: presetList

            objectName: "lightPresets"
            width: 160
            mdItems: ListModel { id: presetModel }
            onValueChange: index => light.choosePreset(index)

            function refresh() {
                presetModel.clear()
                for (const name of light.lightNames)
                    presetModel.append({ textValue: name })
                setSelect(light.lightNo)
            }
        }

        TextButton {
            objectName: "lightPresetNew"
            width: Math.max(80, implicitWidth)
            textValue: light.lightControlLang[10]
            enabled: light.lightCount < light.maxPresets
            opacity: enabled ? 1 : 0.4
            onClicked: light.newPreset()
        }

        TextButton {
            objectName: "lightPresetRename"
            width: Math.max(80, implicitWidth)
            textValue: light.lightControlLang[12]
            onClicked: {
                inputAssigmentMain.titleText = light.lightControlLang[12]
                inputAssigmentMain.showFor(light.renamePreset, light.lightNames[light.lightNo])
            }
        }

        TextButton {
            objectName: "lightPresetDelete"
            width: Math.max(80, implicitWidth)
            textValue: light.lightControlLang[11]
            // The first preset stays.
            enabled: light.lightNo !== 0 && light.lightCount > 1
            opacity: enabled ? 1 : 0.4
            onClicked: light.deletePreset()
        }
    }
}
