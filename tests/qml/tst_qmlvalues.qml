import QtQuick
import QtTest

// What QML hands to the view's settings slots must reach the files as plain values that a fresh
// reader (another process, the next start) reads back.
TestCase {
    name: "QmlValues"

    property var stageEnabled: [1, 0, 1, 1, 1, 1, 1, 1]
    property list<int> colours: [16711680, 65280, 255]

    function strings(list) {
        return list.map(v => String(v))
    }

    function test_listsReachTheFilesAsPlainValues() {
        const view = harness.plainView()
        view.setCurrentProfile(1)
        view.setData("mouse/dpiEnableArray", stageEnabled)
        view.setDataList("mouse/dpiValueArray", [800, 1600])
        view.setData("mouse/dpiColorArray", colours)
        view.setGlobalData("mouse/selectGun", [0, 1, 2])
        view.setXYSensitive("0", [5, 6])
        view.setSelectGun("1", ["AK", 2])

        // Read as the next start of the program reads them.
        compare(harness.storedValue("modules/setting/p2.bin", "mouse/dpiEnableArray"),
                strings(stageEnabled))
        compare(harness.storedValue("modules/setting/p2.bin", "mouse/dpiValueArray"),
                ["800", "1600"])
        compare(harness.storedValue("modules/setting/p2.bin", "mouse/dpiColorArray"),
                strings(colours))
        compare(harness.storedValue("modules/setting/apConfig.bin", "mouse/selectGun"),
                ["0", "1", "2"])
        compare(harness.storedValue("modules/setting/p2.bin", "XYSensitive/0"), ["5", "6"])
        compare(harness.storedValue("modules/setting/p2.bin", "selectGun/1"), ["AK", "2"])
        const text = harness.fileText("modules/setting/p2.bin")
        verify(text.includes("dpiEnableArray=1, 0, 1, 1, 1, 1, 1, 1"), text)
        verify(!text.includes("@Variant"), text)
        verify(!harness.fileText("modules/setting/apConfig.bin").includes("@Variant"))

        // In this process too the list reads back flat.
        compare(view.getDataList("mouse/dpiEnableArray", false).map(Number), stageEnabled)
        compare(view.getData("mouse/dpiColorArray", false).map(Number), colours)
    }

    function test_nestedValuesAndNull() {
        const view = harness.plainView()
        view.setCurrentProfile(2)
        view.setData("mouseLight/colorValue", [[1, 2], [3]])
        view.setData("mouse/lod", null)
        compare(harness.storedValue("modules/setting/p3.bin", "mouseLight/colorValue"),
                [[1, 2], [3]])
        compare(harness.storedValue("modules/setting/p3.bin", "mouse/lod"), undefined)
        // A key the program does not know is refused, not written beside the others.
        view.setData("mouse/nested", 1)
        compare(harness.storedValue("modules/setting/p3.bin", "mouse/nested"), undefined)
        verify(!harness.fileText("modules/setting/p3.bin").includes("QJSValue"))
    }
}
