import QtQuick
import TK700.Artwork 1.0
import "../J2"

// The window's background, stretched to the window, with its watermark. Its empty area drags
// the window. The surface is flat gradients and lines, drawn here at any size; the smooth warm
// glow is a picture rasterised at an eighth of the window and stretched, and the weave and the
// watermark are painted as drawn, so the surface holds no window-sized bitmap.
Item {
    id: environment

    signal emptyPressed()

    // Laid out on a 1280 x 720 canvas and stretched to the window.
    Item {
        id: canvas

        readonly property real scaleX: environment.width / mainIten.normalW
        readonly property real scaleY: environment.height / mainIten.normalH

        width: mainIten.normalW
        height: mainIten.normalH
        transform: Scale { xScale: canvas.scaleX; yScale: canvas.scaleY }

        Rectangle {
            anchors.fill: parent
            radius: 8
            gradient: Gradient {
                GradientStop { position: 0; color: "#171a20" }
                GradientStop { position: 0.55; color: "#13151a" }
                GradientStop { position: 1; color: "#0e1013" }
            }
        }

        Image {
            anchors.fill: parent
            source: mainIten.sourceGlow
            sourceSize: Qt.size(mainIten.normalW / 8, mainIten.normalH / 8)
            smooth: true
        }

        // The weave in the upper right, as crisp as drawn: its 1-pixel strokes are painted.
        SvgPicture {
            x: 880
            y: 37
            width: 400
            height: 400
            source: mainIten.sourceWeave
        }

        // The primary orange under the title bar.
        Rectangle {
            y: 36
            width: parent.width
            height: 1
            gradient: Gradient {
                orientation: Gradient.Horizontal
                GradientStop { position: 0; color: Qt.rgba(1, 0.6, 0.2, 0) }
                GradientStop { position: 0.2; color: Qt.rgba(1, 0.6, 0.2, 0.85) }
                GradientStop { position: 0.5; color: Qt.rgba(1, 0.6, 0.2, 0.35) }
                GradientStop { position: 1; color: Qt.rgba(1, 0.6, 0.2, 0) }
            }
        }

        // The bottom bar's darker band and its edge.
        Rectangle {
            y: 652
            width: parent.width
            height: 68
            color: Qt.rgba(0x0b / 255, 0x0c / 255, 0x0f / 255, 0.55)
        }
        Rectangle {
            y: 652
            width: parent.width
            height: 1
            color: "#2a2e35"
        }

        Rectangle {
            anchors.fill: parent
            radius: 8
            color: "transparent"
            border.color: "#2c3038"
        }
    }

    SvgPicture {
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.rightMargin: 40 * mainIten.zoomInRate_min
        anchors.bottomMargin: 70 * mainIten.zoomInRate_min
        width: 420 * mainIten.zoomInRate_min
        height: 420 * mainIten.zoomInRate_min
        source: mainIten.sourceBgLogo
    }

    WindowDrag {
        objectName: "emptyArea"
        anchors.fill: parent
        onPressedEmpty: environment.emptyPressed()
    }
}
