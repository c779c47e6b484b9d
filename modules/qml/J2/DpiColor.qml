import QtQuick

// The stage-colour editor. The shell creates it, but this program never shows it: the stage
// colours come from the stored profile and its defaults only (the DPI panel sends them).
Item {
    objectName: "dpiColorMain"
    visible: false
}
