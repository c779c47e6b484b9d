import QtQuick
import "../J2"

// The report-rate list. Its area is not shown, but the profile's rate is still selected at
// start-up and sent on a reset or a profile change.
Item {
    id: reportRate

    property bool isSave: false
    readonly property alias list: rateList

    // Index 0 ... 3 of the list to the device's rate code; anything else is 1000 Hz.
    function rateFor(index: int): int {
        return ui_View.reportRateCode(index)
    }

    // Returns false when the rate was to be sent and did not reach the mouse.
    function init(isSendData: bool): bool {
        const index = ui_View.storedSettings(false).reportRate
        rateList.setSelect(index)
        if (!isSendData)
            return true
        return ui_View.mouseSetReportRate(rateFor(index)) === true
    }

    function closeMenu() {
        rateList.closeMenu()
    }

    visible: false

    DropDownList {
        id: rateList

        objectName: "reportRateList"
        mdItems: ListModel {
            ListElement { textValue: "125Hz" }
            ListElement { textValue: "250Hz" }
            ListElement { textValue: "500Hz" }
            ListElement { textValue: "1000Hz" }
        }
        onValueChange: reportRate.isSave = true
    }
}
