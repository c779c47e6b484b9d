import QtQuick

// The gun editor's right half: the selected preset's cursor adjustment (the dot on the target and
// the Y field) and its fire adjustment (period and shot count). The dialog stores what is edited.
Item {
    required property Item gunControl
    readonly property alias yField: yField
    readonly property alias rateSlider: rateSlider
    readonly property alias timesField: timesField
    readonly property alias endlessBox: endlessBox
    readonly property alias dot: dot

    // Cursor adjustment: the dot on the target sets Y, as does the field.
    Item {
        x: 312
        width: parent.width - 312
        height: 244

        PanelLabel {
            y: 4
            text: gunControl.gunControlLang[3]
        }

        SkinImage {
            y: 47
            width: 192
            height: 192
            source: mainIten.sourceGunTarget
        }

        Rectangle {
            id: dot

            objectName: "gunDot"
            x: 96 - width / 2
            y: gunControl.dotTop
            width: 14
            height: 14
            radius: 7
            color: mainIten.colorPrimary
            border.color: "#fff3e6"

            MouseArea {
                anchors.fill: parent
                anchors.margins: -4
                drag.target: dot
                drag.axis: Drag.YAxis
                drag.minimumY: gunControl.dotTop
                drag.maximumY: gunControl.dotTop + gunControl.dotTravel
                drag.threshold: 0
                onPressed: gunControl.gunControlFocus()
                onPositionChanged: {
                    if (drag.active)
                        yField.textValue = String(gunControl.yOfDot(dot.y))
                }
                onReleased: {
                    const y = String(gunControl.yOfDot(dot.y))
                    yField.textValue = y
                    gunControl.setRowValue("gunY", y)
                }
            }
        }

        Column {
            x: 212
            y: 84
            spacing: 6

            PanelLabel { text: gunControl.gunControlLang[4] }
            RectInput {
                objectName: "gunXField"
                accessibleName: gunControl.gunControlLang[4]
                enabled: false
                opacity: 0.5
                textValue: gunControl.gunNumberModel.get(gunControl.currentRow)?.gunX ?? "0"
            }
            Item { width: 1; height: 8 }
            PanelLabel { text: gunControl.gunControlLang[5] }
            RectInput {
                id: yField

                objectName: "gunYField"
                accessibleName: gunControl.gunControlLang[5]
                maxValue: gunControl.maxY
                onEndInputSignal: {
                    const y = Math.max(0, Math.min(gunControl.maxY, parseInt(textValue) || 0))
                    textValue = String(y)
                    dot.y = gunControl.dotY(y)
                    gunControl.setRowValue("gunY", textValue)
                }
            }
        }
    }

    // Fire adjustment: the period and the number of shots.
    Grid {
        x: 312
        y: 262
        columns: 2
        columnSpacing: 14
        rowSpacing: 14
        verticalItemAlignment: Grid.AlignVCenter

        PanelLabel {
            text: gunControl.gunControlLang[6]
            color: mainIten.fontColor
        }
        Item { width: 1; height: 1 }

        PanelLabel { text: gunControl.gunControlLang[7] }
        Row {
            spacing: 10

            SliderButton {
                id: rateSlider

                accessibleName: gunControl.gunControlLang[7]
                property string rateText: ""

                objectName: "gunRate"
                // Offsets 3 … 89: periods 4 … 90 ms.
                width: 104
                anchors.verticalCenter: parent.verticalCenter
                onValueChange: tmpValue => rateText = (tmpValue + 1) + "MS"
                onValueChangeDelay: tmpValue => gunControl.setRowValue("gunPeriod",
                                                                       String(tmpValue + 1))
            }
            PanelLabel {
                objectName: "gunRateText"
                text: rateSlider.rateText
                color: mainIten.fontColor
            }
        }

        PanelLabel { text: gunControl.gunControlLang[8] }
        Row {
            spacing: 12

            RectInput {
                id: timesField

                objectName: "gunTimesField"
                accessibleName: gunControl.gunControlLang[8]
                onEndInputSignal: {
                    endlessBox.isSelect = textValue === "0"
                    gunControl.setRowValue("gunTimes", textValue)
                }
            }
            CheckBox {
                id: endlessBox

                objectName: "gunEndless"
                anchors.verticalCenter: parent.verticalCenter
                textValue: gunControl.gunControlLang[9]
                onBtnClick: {
                    if (!isSelect)
                        return
                    timesField.textValue = "0"
                    gunControl.setRowValue("gunTimes", "0")
                }
            }
        }
    }
}
