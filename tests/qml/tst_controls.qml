import QtQuick
import QtTest
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/J2"

TestCase {
    name: "Controls"
    width: 500
    height: 300
    when: windowShown
    visible: true

    Look { id: mainIten }

    Component { id: inputComponent; RectInput { x: 10; y: 10 } }
    Component { id: checkComponent; CheckBox { x: 10; y: 60; index: 4; textValue: "Enable" } }
    Component { id: radioComponent; RadioButton { x: 10; y: 90; index: 2; textValue: "Lines" } }
    Component { id: otherFocus; TextInput { x: 200; y: 10; width: 50; height: 20 } }

    function leave(input, typed) {
        const other = createTemporaryObject(otherFocus, this)
        mouseClick(input)
        verify(input.input.activeFocus)
        input.textValue = ""
        for (const ch of typed)
            keyClick(ch)
        other.forceActiveFocus()
    }

    function test_rectInputLeavesZeroForEmptyAndZero_data() {
        return [{ tag: "zero", typed: "0", result: "0" },
                { tag: "zeros", typed: "00", result: "0" },
                { tag: "empty", typed: "", result: "0" },
                { tag: "number", typed: "25", result: "25" },
                { tag: "letters refused", typed: "a7", result: "7" }]
    }
    function test_rectInputLeavesZeroForEmptyAndZero(data) {
        const input = createTemporaryObject(inputComponent, this)
        const started = signalSpy(input, "inputSignal")
        const ended = signalSpy(input, "endInputSignal")
        leave(input, data.typed)
        compare(input.textValue, data.result)
        compare(started.count, 1)
        compare(ended.count, 1)
    }

    function test_rectInputEnterEndsTheEdit() {
        const input = createTemporaryObject(inputComponent, this)
        const ended = signalSpy(input, "endInputSignal")
        mouseClick(input)
        input.textValue = ""
        keyClick("9")
        keyClick(Qt.Key_Return)
        verify(!input.input.activeFocus)
        compare(ended.count, 1)
        compare(input.textValue, "9")
    }

    // Inside the handler the box already shows its new state.
    function test_checkBoxReportsItsNewState() {
        const box = createTemporaryObject(checkComponent, this)
        const seen = []
        box.btnClick.connect(index => seen.push([index, box.isSelect]))
        mouseClick(box)
        mouseClick(box)
        compare(seen, [[4, true], [4, false]])
    }

    function test_radioButtonOnlySelects() {
        const radio = createTemporaryObject(radioComponent, this)
        const clicked = signalSpy(radio, "btnClick")
        mouseClick(radio)
        mouseClick(radio)
        verify(radio.isSelect)
        compare(clicked.count, 2)
        compare(clicked.signalArguments[0][0], 2)
    }

    function signalSpy(target, name) {
        const spy = createTemporaryQmlObject("import QtTest; SignalSpy {}", this, "spy")
        spy.target = target
        spy.signalName = name
        return spy
    }
}
