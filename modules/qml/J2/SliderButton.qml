import QtQuick

// A horizontal track with a knob. The value is the knob's offset in pixels: pages store it and
// convert it, so the clamping, snapping and corrections below are part of the stored data.
Item {
    id: slider

    property int segment: 10
    property int segmentValue: 0
    property int sliderH: 6
    property int btnH: 12
    property bool isScale: false
    property color colorS: mainIten.colorPrimary
    property color trackColor: mainIten.colorSurface2
    property string knobSource: mainIten.sourceSliderBtn
    readonly property real minX: btnH / 4
    readonly property real maxX: width - btnH - btnH / 4
    readonly property real per: (width - btnH - btnH / 2) / segment
    readonly property int value: Math.floor(knob.x)
    readonly property bool isDragging: knobArea.drag.active
    // What a screen reader is told: the slider's name and the value it stands for (by default
    // the segment on a scale, otherwise the percent of the track).
    property string accessibleName: ""
    property real shownValue: isScale ? segmentValue
                                      : Math.round((value - minX) * 100 / Math.max(1, maxX - minX))
    property real shownMinimum: 0
    property real shownMaximum: isScale ? segment : 100
    // One arrow-key step (direction -1 or +1); by default one segment.
    property var stepBy: null

    signal valueChange(int tmpValue)
    signal valueChangeDelay(int tmpValue)
    signal btnClick()
    signal dragSignal(bool isDrag)

    // Per-segment offsets added to a snapped position, so that the stored offsets stay those that
    // earlier versions of the program wrote.
    function correction(i: int): int {
        const table = segment === 10 ? [-3, -6, -4, -3, -2, -1, 0, 1, 3, 4, 3]
                                     : [-3, -4, -2, 0, 3, 3]
        return table[i] ?? 0
    }

    function clamp(x: real): real {
        return Math.max(minX, Math.min(maxX, x))
    }

    // The first segment point that is not left of x (one pixel of tolerance).
    function segmentOf(x: real): int {
        for (let i = 0; i < segment; ++i) {
            if (x <= minX + per * i + 1)
                return i
        }
        return segment
    }

    function snap(x: real): int {
        const i = segmentOf(x)
        segmentValue = i
        return Math.floor(minX + per * i + correction(i) + 1e-9)
    }

    // A click on the track: the knob slides to the point, both signals follow the slide.
    function clickAt(mouseX: real) {
        let x = clamp(mouseX - btnH / 2)
        if (isScale)
            x = snap(x)
        else if (segment === 10)
            x = clamp(x + correction(segmentValue)) // never past the ends of the track
        slide.stop()
        slide.to = Math.floor(x)
        slide.start()
    }

    function keyStep(direction: int) {
        slide.stop()
        if (stepBy) {
            stepBy(direction)
        } else if (isScale) {
            setIndexValue(Math.max(0, Math.min(segment, segmentValue + direction)), true)
        } else {
            knob.x = Math.floor(clamp(knob.x + direction * per))
            valueChange(value)
        }
        valueChangeDelay(value)
    }

    function setRatioValue(r: real) {
        slide.stop()
        knob.x = Math.floor((width - 1.5 * btnH) * r) + btnH / 4 + 1
        valueChange(value)
    }

    function setIndexValue(i: int, send: bool) {
        slide.stop()
        knob.x = Math.floor(i * per + btnH / 4 + 1e-9)
        segmentValue = i
        if (send)
            valueChange(value)
    }

    // Places the knob at a stored offset.
    function setOffset(x: int, send: bool) {
        slide.stop()
        knob.x = x
        if (send)
            valueChange(value)
    }

    implicitWidth: 340
    implicitHeight: Math.max(btnH, sliderH) + 8

    // The slider as the keyboard and a screen reader see it: the value interface reads these
    // names, and the pages keep the knob's offset as `value`.
    Item {
        id: handle

        readonly property real value: slider.shownValue
        readonly property real minimumValue: slider.shownMinimum
        readonly property real maximumValue: slider.shownMaximum
        readonly property real stepSize: 1

        objectName: slider.objectName + "Handle"
        anchors.fill: parent
        activeFocusOnTab: true
        Keys.onLeftPressed: slider.keyStep(-1)
        Keys.onDownPressed: slider.keyStep(-1)
        Keys.onRightPressed: slider.keyStep(1)
        Keys.onUpPressed: slider.keyStep(1)
        Accessible.role: Accessible.Slider
        Accessible.name: slider.accessibleName
        Accessible.onIncreaseAction: slider.keyStep(1)
        Accessible.onDecreaseAction: slider.keyStep(-1)
    }

    NumberAnimation {
        id: slide

        target: knob
        property: "x"
        duration: 120
        easing.type: Easing.OutQuad
        onFinished: {
            slider.valueChange(slider.value)
            slider.valueChangeDelay(slider.value)
        }
    }

    Rectangle {
        id: track

        x: slider.minX
        width: slider.width - 2 * slider.minX
        height: slider.sliderH
        anchors.verticalCenter: parent.verticalCenter
        radius: height / 2
        color: slider.trackColor

        Rectangle {
            width: Math.max(height, knob.x + slider.btnH / 2 - track.x)
            height: parent.height
            radius: parent.radius
            color: slider.colorS
        }
    }

    MouseArea {
        objectName: "sliderTrack"
        anchors.fill: parent
        onPressed: slider.btnClick()
        onClicked: mouse => slider.clickAt(mouse.x)
    }

    SkinImage {
        id: knob

        objectName: "sliderKnob"
        x: slider.minX
        width: slider.btnH
        height: slider.btnH
        anchors.verticalCenter: parent.verticalCenter
        source: slider.knobSource

        MouseArea {
            id: knobArea

            anchors.fill: parent
            anchors.margins: -4
            drag.target: knob
            drag.axis: Drag.XAxis
            drag.minimumX: slider.minX
            drag.maximumX: slider.maxX
            drag.threshold: 0
            onPressed: {
                slide.stop()
                slider.btnClick()
                slider.dragSignal(true)
            }
            onPositionChanged: {
                if (drag.active && !slider.isScale)
                    slider.valueChange(slider.value)
            }
            onReleased: {
                slider.dragSignal(false)
                if (slider.isScale) {
                    knob.x = slider.snap(knob.x)
                    slider.valueChange(slider.value)
                }
                slider.valueChangeDelay(slider.value)
            }
        }
    }
}
