import QtQuick

// The lighting page's effect settings: effect, speed, brightness and direction.
Item {
    required property Item light
    readonly property alias speedSlider: speedSlider
    readonly property alias brightnessSlider: brightnessSlider
    readonly property alias effectList: effectList
    readonly property alias effectModel: effectModel
    readonly property alias directionList: directionList
    readonly property alias directionModel: directionModel

    PanelLabel { x: 24; y: 62; text: light.lightControlLang[8] }
    PanelLabel { x: 24; y: 112; text: light.lightControlLang[5] }
    PanelLabel { x: 24; y: 162; text: light.lightControlLang[7] }
    PanelLabel { x: 24; y: 212; text: light.lightControlLang[19] }

    SliderButton {
        id: speedSlider

        objectName: "lightSpeed"
        accessibleName: light.lightControlLang[5]
        x: 150
        y: 110
        width: 340
        segment: 5
        isScale: true
        onValueChangeDelay: light.changed()
    }

    SliderButton {
        id: brightnessSlider

        objectName: "lightBrightness"
        accessibleName: light.lightControlLang[7]
        x: 150
        y: 160
        width: 340
        segment: 10
        isScale: true
        onValueChangeDelay: light.changed()
    }

    Text {
        x: 500
        y: 110
        height: 22
        verticalAlignment: Text.AlignVCenter
        text: String(speedSlider.segmentValue)
        color: mainIten.colorPrimary
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
    }

    Text {
        x: 500
        y: 160
        height: 22
        verticalAlignment: Text.AlignVCenter
        text: String(brightnessSlider.segmentValue * 10) + "%"
        color: mainIten.colorPrimary
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
    }

    // Lists last, so that they open over the rows below them.
    DropDownList {
        id: directionList

        objectName: "lightDirection"
        accessibleName: light.lightControlLang[19]
        x: 150
        y: 210
        width: 200
        mdItems: ListModel { id: directionModel }
        onValueChange: index => {
            light.direction = index
            light.changed()
        }
    }

    DropDownList {
        id: effectList

        objectName: "lightEffect"
        accessibleName: light.lightControlLang[8]
        x: 150
        y: 60
        width: 200
        mdItems: ListModel { id: effectModel }
        onValueChange: index => {
            light.effectPosition = index
            light.changed()
        }
    }
}
