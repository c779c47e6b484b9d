import QtQuick

// The stage-colour dialog. Created with the DPI panel and, as designed, never shown.
Item {
    objectName: "dpiAssigmentMain"
    visible: false
}
