import QtQuick

// The lighting page's colour picker: red, green and blue sliders. A channel's slider changes that
// channel only, so the others keep their exact values.
Column {
    id: picker

    property bool loading: false
    property var rgb: [0, 0, 0]

    signal colourChosen(string text)

    function hex2(v: int): string {
        return ("0" + (v & 0xff).toString(16)).slice(-2)
    }

    // "#rrggbb" and [r, g, b]: the page keeps its colours as such texts.
    function rgbOf(text: string): var {
        return Array.from(ui_View.colourLevels(text))
    }

    function colorText(levels: var): string {
        return "#" + levels.map(hex2).join("")
    }

    function showColor(text: string) {
        loading = true
        rgb = rgbOf(text)
        for (let c = 0; c < 3; ++c)
            channels.itemAt(c)?.slider.setRatioValue(rgb[c] / 255)
        loading = false
    }

    function channelMoved(c: int, level: int) {
        if (loading)
            return
        const next = rgb.slice()
        next[c] = level
        rgb = next
        colourChosen(colorText(next))
    }

    spacing: 4

    Repeater {
        id: channels

        model: ["R", "G", "B"]

        Row {
            id: channelRow

            required property int index
            required property string modelData
            property alias slider: channel
            readonly property int level: Math.round(Math.max(0, Math.min(1,
                (channel.value - channel.minX) / (channel.maxX - channel.minX))) * 255)

            spacing: 10

            Text {
                width: 14
                text: channelRow.modelData
                color: mainIten.colorGray3
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontMinSize + 2
            }

            SliderButton {
                id: channel

                objectName: "lightChannel" + channelRow.index
                accessibleName: channelRow.modelData
                shownValue: channelRow.level
                shownMaximum: 255
                width: 300
                segment: 1 // a plain track: a click puts the knob where it was made
                colorS: ["#ff3030", "#30d050", "#3080ff"][channelRow.index]
                onValueChange: picker.channelMoved(channelRow.index, channelRow.level)
            }

            Text {
                objectName: "lightLevel" + channelRow.index
                width: 30
                text: picker.rgb[channelRow.index]
                color: mainIten.colorGray3
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontMinSize + 2
            }
        }
    }
}
