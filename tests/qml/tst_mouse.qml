import QtQuick
import QtTest
import TK700.Artwork 1.0
import "qrc:/modules/qml/basic"

// The mouse picture: the highlight drawings repeat the button shapes of the picture, and the
// markers land on the buttons they name, each one apart from the others, at the page's size.
TestCase {
    id: testCase

    name: "MousePicture"
    width: 1280
    height: 720
    when: windowShown
    visible: true

    property var shell: null

    Look { id: look }
    RecordingView { id: ui_View }
    QtObject { id: hid; function hid560_02H_SetCurrentProfile(profile) {} }
    QtObject {
        id: ui_Ctl
        function onMinimize() {}
        function onHide() {}
        function onXChanged(dx) {}
        function onYChanged(dy) {}
    }

    Component {
        id: shapesComponent

        SvgElements {}
    }

    function shapesOf(source) {
        const shapes = createTemporaryObject(shapesComponent, testCase, { source: source })
        verify(shapes.valid, source)
        return shapes
    }

    function test_highlightsRepeatTheButtonShapes() {
        const front = shapesOf(look.sourceMouseFront)
        const highlights = [look.sourceImgMouse1, look.sourceImgMouse2, look.sourceImgMouse3,
                            look.sourceImgMouse4, look.sourceImgMouse5, look.sourceImgMouse6]
        for (let i = 0; i < 7; ++i)
            verify(front.contains("button" + i), "button" + i)
        for (let i = 0; i < highlights.length; ++i) {
            const highlight = shapesOf(highlights[i])
            compare(highlight.viewBox, front.viewBox)
            const a = front.bounds("button" + i)
            const b = highlight.bounds("highlight")
            verify(a.width > 0 && a.height > 0)
            // The bounds take in the outline, which is wider on the highlight.
            fuzzyCompare(b.x + b.width / 2, a.x + a.width / 2, 0.01, "button" + i + " x")
            fuzzyCompare(b.y + b.height / 2, a.y + a.height / 2, 0.01, "button" + i + " y")
            fuzzyCompare(b.width, a.width, 1.01, "button" + i + " width")
            fuzzyCompare(b.height, a.height, 1.01, "button" + i + " height")
        }
    }

    function test_unknownElementsAndFiles() {
        const front = shapesOf(look.sourceMouseFront)
        verify(!front.contains("button7"))
        compare(front.bounds("button7").width, 0)
        ignoreWarning(new RegExp("cannot read"))
        const none = createTemporaryObject(shapesComponent, testCase,
                                           { source: look.skinImage("mouse", "none.svg") })
        verify(!none.valid)
        compare(none.bounds("button0").width, 0)
    }

    function test_markersSitOnTheirButtons_data() {
        return [{ tag: "six stages", stages: "6" }, { tag: "eight stages", stages: "8" }]
    }
    function test_markersSitOnTheirButtons(data) {
        ui_View.reset()
        ui_View.profile["mouse/dpiCount"] = data.stages
        shell = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), testCase)
        shell.initUI()
        shell.setProtectUI(1) // the page, not the start-up lock, is under test
        tryVerify(() => shell.isStarted, 3000)
        const mouse = findChild(shell, "mouseMain")
        const picture = findChild(shell, "mousePicture")
        const front = shapesOf(look.sourceMouseFront)
        const scale = picture.width / front.viewBox.width
        verify(mouse.markerSize >= 14)
        const centres = []
        for (let i = 0; i < 7; ++i) {
            const marker = findChild(shell, "mouseMarker" + i)
            verify(marker.visible)
            const centre = marker.mapToItem(picture, marker.width / 2, marker.height / 2)
            const b = front.bounds("button" + i)
            // Inside the button's shape on screen.
            verify(centre.x > b.x * scale && centre.x < (b.x + b.width) * scale, "marker " + i)
            verify(centre.y > b.y * scale && centre.y < (b.y + b.height) * scale, "marker " + i)
            centres.push(centre)
        }
        // No marker covers another's number.
        for (let i = 0; i < 7; ++i) {
            for (let j = i + 1; j < 7; ++j) {
                const d = Math.hypot(centres[i].x - centres[j].x, centres[i].y - centres[j].y)
                verify(d >= mouse.markerSize,
                       "markers " + (i + 1) + " and " + (j + 1) + " are " + d + " apart")
            }
        }
        mouse.keyCount = 6
        verify(!findChild(shell, "mouseMarker6").visible)
        verify(findChild(shell, "mouseMarker5").visible)
    }
}
