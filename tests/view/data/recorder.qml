import QtQuick

// A QML root that records the calls the core makes into it, in order.
Item {
    property var calls: []

    function record(name, args) {
        calls.push(name + "(" + Array.prototype.slice.call(args).join(",") + ")")
    }

    function initUI() { record("initUI", arguments) }
    function run() { record("run", arguments) }
    function setScreenRect(w, h, isMax) { record("setScreenRect", arguments) }
    function setProtectUI(interval) { record("setProtectUI", arguments) }
    function setCurrentDPI(stage) { record("setCurrentDPI", arguments) }
    function detectKeyboard(isDown, code) { record("detectKeyboard", arguments) }
    function detectMouse(isDown, code, x, y) { record("detectMouse", arguments) }
    function scroll(steps) { record("scroll", arguments) }
    function callHid(rate) { hid.hid553_01H_SetReportRate(rate) }

    width: 1280
    height: 720
}
