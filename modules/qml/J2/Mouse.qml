import QtQuick
import TK700.Artwork 1.0

// The mouse seen from above, with a numbered marker on each button of the list and the
// highlight of the row being edited. Markers sit where the drawing's own button shapes are
// (button0 ... button6 of the picture), whatever size the picture is shown at.
Item {
    id: mouseView

    // The row being edited, -1 for none.
    property int selectKey: -1
    property int keyCount: 7
    readonly property var highlights: [mainIten.sourceImgMouse1, mainIten.sourceImgMouse2,
        mainIten.sourceImgMouse3, mainIten.sourceImgMouse4, mainIten.sourceImgMouse5,
        mainIten.sourceImgMouse6]
    readonly property rect viewBox: shapes.valid ? shapes.viewBox : Qt.rect(0, 0, 280, 420)
    readonly property real pictureScale: Math.min(width / viewBox.width, height / viewBox.height)
    // Markers shrink with a small picture, so that the two DPI buttons' markers stay apart.
    readonly property int markerSize: Math.max(12, Math.min(20, Math.floor(30 * pictureScale)))

    // The centre of a button's shape, in this item's coordinates.
    function buttonCentre(i: int): point {
        const b = shapes.valid ? shapes.bounds("button" + i) : Qt.rect(0, 0, 0, 0)
        return Qt.point(picture.x + (b.x + b.width / 2 - viewBox.x) * pictureScale,
                        picture.y + (b.y + b.height / 2 - viewBox.y) * pictureScale)
    }

    objectName: "mouseMain"

    SvgElements {
        id: shapes

        source: mainIten.sourceMouseFront
    }

    Item {
        id: picture

        objectName: "mousePicture"
        anchors.centerIn: parent
        width: mouseView.viewBox.width * mouseView.pictureScale
        height: mouseView.viewBox.height * mouseView.pictureScale

        SvgPicture {
            anchors.fill: parent
            source: mainIten.sourceMouseFront
        }

        Repeater {
            model: mouseView.highlights

            SvgPicture {
                required property int index
                required property string modelData

                objectName: "mouseHighlight" + index
                anchors.fill: parent
                visible: mouseView.selectKey === index
                source: modelData
            }
        }
    }

    Repeater {
        model: 7

        Item {
            id: marker

            required property int index
            readonly property point centre: mouseView.buttonCentre(index)
            readonly property bool isSelected: mouseView.selectKey === index

            objectName: "mouseMarker" + index
            x: centre.x - width / 2
            y: centre.y - height / 2
            width: mouseView.markerSize
            height: mouseView.markerSize
            visible: index < mouseView.keyCount

            SkinImage {
                anchors.fill: parent
                source: marker.isSelected ? mainIten.sourceMouseMarkerSelect
                                          : mainIten.sourceMouseMarker
            }

            Text {
                anchors.centerIn: parent
                text: marker.index + 1
                color: marker.isSelected ? mainIten.colorBlack : mainIten.fontColor
                font.family: mainIten.fontFamily
                font.pixelSize: Math.round(mouseView.markerSize * 0.65)
            }

            // Selects the row and releases it at once: the shell's focus clears the selection.
            MouseArea {
                anchors.fill: parent
                onClicked: {
                    mouseView.selectKey = marker.index
                    mainIten.mainFocus()
                }
            }
        }
    }
}
