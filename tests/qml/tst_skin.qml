import QtQuick
import QtTest
import "qrc:/modules/qml/basic"

// Every image the look names, built by the skin rule or fixed, is a resource that loads.
TestCase {
    name: "Skin"
    when: windowShown

    Look { id: mainIten }

    Component {
        id: imageComponent

        Image {
            asynchronous: false
            sourceSize: Qt.size(32, 32)
        }
    }

    function imageNames() {
        const names = []
        for (const name in mainIten) {
            if (/^source[A-Za-z0-9]+$/.test(name) && typeof mainIten[name] === "string")
                names.push(name)
        }
        return names.sort()
    }

    function test_ruleBuildsTheGroupPath() {
        compare(mainIten.skinImage("index", "powerOn.svg"),
                "qrc:/index/modules/img/skin1/index/powerOn.svg")
        compare(mainIten.sourcePowerOn, mainIten.skinImage("index", "powerOn.svg"))
    }

    function test_everyImageLoads() {
        const names = imageNames()
        verify(names.length > 60, "images named: " + names.length)
        const broken = []
        for (const name of names) {
            const image = createTemporaryObject(imageComponent, this,
                                                { source: mainIten[name] })
            tryVerify(() => image.status !== Image.Loading, 2000)
            if (image.status !== Image.Ready || image.implicitWidth <= 0)
                broken.push(name + " = " + mainIten[name])
        }
        compare(broken, [])
    }

    // The rule does not mask a missing file.
    function test_aMissingImageIsNoticed() {
        ignoreWarning(new RegExp("Cannot open"))
        const image = createTemporaryObject(imageComponent, this,
                                            { source: mainIten.skinImage("index", "none.svg") })
        tryVerify(() => image.status !== Image.Loading, 2000)
        compare(image.status, Image.Error)
    }
}
