import QtQuick
import QtTest
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/J2"

// The slider's offsets are stored by the pages, so these are the numbers they depend on.
TestCase {
    name: "SliderButton"
    width: 600
    height: 100
    when: windowShown
    visible: true

    Look { id: mainIten }

    Component {
        id: sliderComponent

        SliderButton {
            y: 20
            width: 340
        }
    }

    SignalSpy { id: changed; signalName: "valueChange" }
    SignalSpy { id: delayed; signalName: "valueChangeDelay" }

    function makeSlider(properties) {
        const slider = createTemporaryObject(sliderComponent, this, properties ?? {})
        changed.clear()
        delayed.clear()
        changed.target = slider
        delayed.target = slider
        return slider
    }

    function reported(spy) {
        const values = []
        for (let i = 0; i < spy.count; ++i)
            values.push(spy.signalArguments[i][0])
        return values
    }

    function test_dragReportsThreeToWidthLessFifteen() {
        const slider = makeSlider()
        slider.setIndexValue(5, false)
        const y = slider.height / 2
        mousePress(slider, slider.value + 6, y)
        for (let x = slider.value + 6; x > -60; x -= 20)
            mouseMove(slider, x, y, -1, Qt.LeftButton)
        for (let x = -60; x < 420; x += 20)
            mouseMove(slider, x, y, -1, Qt.LeftButton)
        mouseRelease(slider, 420, y)
        const values = reported(changed)
        verify(values.length > 10)
        compare(Math.min(...values), 3)
        compare(Math.max(...values), 325)
        compare(reported(delayed), [325])
    }

    // A click at each segment point of a scaled 10-segment slider lands on the stored offsets.
    function test_scaledClickSnapsToTheStoredOffsets() {
        const expected = [0, 29, 63, 96, 129, 163, 196, 229, 263, 296, 328]
        const slider = makeSlider({ isScale: true })
        for (let i = 0; i <= 10; ++i) {
            changed.clear()
            delayed.clear()
            mouseClick(slider, slider.minX + slider.per * i + slider.btnH / 2, slider.height / 2)
            tryCompare(delayed, "count", 1)
            compare(slider.segmentValue, i)
            compare(slider.value, expected[i], "segment " + i)
            compare(reported(changed), [expected[i]])
            compare(reported(delayed), [expected[i]])
        }
        // Between two points the next one to the right is taken.
        mouseClick(slider, slider.minX + slider.per * 4.5 + slider.btnH / 2, slider.height / 2)
        tryCompare(slider, "value", 163)
    }

    function test_scaledReleaseSnaps() {
        const slider = makeSlider({ isScale: true })
        const y = slider.height / 2
        mousePress(slider, slider.value + 6, y)
        for (let x = slider.value + 6; x <= 120; x += 10)
            mouseMove(slider, x, y, -1, Qt.LeftButton)
        compare(changed.count, 0) // a scaled slider reports on release only
        mouseRelease(slider, 120, y)
        compare(slider.segmentValue, 4)
        compare(reported(delayed), [129])
    }

    function test_fiveSegmentsUseTheirOwnCorrections() {
        const slider = makeSlider({ isScale: true, segment: 5 })
        const expected = [0, 63, 129, 196, 263, 328]
        for (let i = 0; i <= 5; ++i) {
            delayed.clear()
            mouseClick(slider, slider.minX + slider.per * i + slider.btnH / 2, slider.height / 2)
            tryCompare(delayed, "count", 1)
            compare(slider.value, expected[i], "segment " + i)
        }
    }

    function test_plainClickStaysOnTheTrack() {
        const slider = makeSlider()
        mouseClick(slider, 1, slider.height / 2)
        tryCompare(delayed, "count", 1)
        compare(slider.value, 3)
        delayed.clear()
        mouseClick(slider, 200, slider.height / 2)
        tryCompare(delayed, "count", 1)
        compare(slider.value, 200 - 6 - 3)
    }

    function test_setRatioValue() {
        const slider = makeSlider({ width: 453 })
        slider.setRatioValue(0.5)
        compare(slider.value, 221)
        compare(reported(changed), [221])
        slider.setRatioValue(0)
        compare(slider.value, 4)
        slider.setRatioValue(1)
        compare(slider.value, 453 - 18 + 4)
    }

    function test_setIndexValue() {
        const slider = makeSlider()
        slider.setIndexValue(5, false)
        compare(slider.value, 164)
        compare(slider.segmentValue, 5)
        compare(changed.count, 0)
        slider.setIndexValue(10, true)
        compare(reported(changed), [325])
    }
}
