import QtQuick
import TK700.Artwork

// The shared look of every page: fonts, colours, palette, sizes and image paths. The document's
// root is one of these, so pages use the names through the root's id.
Item {
    readonly property int normalW: 1280
    readonly property int normalH: 720
    property int frameW: normalW
    property int frameH: normalH
    property real zoomInRate_min: 1.0
    property real zoomInRate_max: 1.0
    // Device pixels per design pixel, for images rasterised at the size they are shown.
    readonly property real imageDensity: zoomInRate_min * Screen.devicePixelRatio
    property int langIndex: 0

    // Rajdhani has Latin only; every other language gets a CJK-capable sans font. Registering it
    // sets up the font database, which a document can leave until its first text is built.
    property bool loadLatinFont: true
    readonly property string cjkFontFamily: "WenQuanYi Micro Hei"
    readonly property string fontFamily: langIndex === 0 && rajdhani.name !== "" ? rajdhani.name
                                                                                : cjkFontFamily
    readonly property int fontNormalSize: 16
    readonly property int fontMaxSize: 18
    readonly property int fontMiddleSize: 16
    readonly property int fontMinSize: 12

    readonly property color fontColor: "#ffffff"
    readonly property color colorBlack: "#000000"
    readonly property color colorGray0: "#1a1a1a"
    readonly property color colorGray1: "#3c3c3c"
    readonly property color colorGray2: "#969696"
    readonly property color colorGray3: "#d1d1d1"
    readonly property color colorGray6: "#666666"
    readonly property color colorOrange: "#cf3e00"
    readonly property color colorRed: "#ff0000"
    readonly property color colorTransparent: "transparent"
    readonly property color colorPrimary: "#ff9933"
    readonly property color colorAccent: "#ff3030"
    readonly property color colorBlue: "#09347f"
    readonly property color color1: "#ff0000"
    readonly property color color2: "#0000ff"
    readonly property color color3: "#00ff00"
    readonly property color color4: "#FFFF00"
    readonly property color color5: "#00FFFF"
    readonly property color color6: "#FF00FF"
    readonly property color color7: "#FF8000"
    readonly property color color8: "#ffffff"
    // Surfaces of the flat dark look, darkest first.
    readonly property color colorSurface0: "#121418"
    readonly property color colorSurface1: "#1b1e24"
    readonly property color colorSurface2: "#252930"
    readonly property color colorLine: "#33373f"

    readonly property int globalSetting_size: 11
    readonly property color globalSetting_color: "#FF00FFFF"
    readonly property string globalSetting_fontFamily: "Arial"
    readonly property int animation_speed: 300
    readonly property int marginLeftFrame: 36

    readonly property int skin_No: 1

    // The one rule for skinned images.
    function skinImage(group: string, file: string): string {
        return "qrc:/" + group + "/modules/img/skin" + skin_No + "/" + group + "/" + file
    }

    readonly property string sourceGlow: "qrc:/modules/img/glow.svg"
    readonly property string sourceWeave: "qrc:/modules/img/weave.svg"
    readonly property string sourceTitleBar: "qrc:/modules/img/titleBar.svg"
    readonly property string sourceTitleLogo: "qrc:/modules/img/titleLogo.svg"
    readonly property string sourceBgLogo: "qrc:/modules/img/bgLogo.svg"

    readonly property string sourcePowerOn: skinImage("index", "powerOn.svg")
    readonly property string sourceApplyBtn: skinImage("index", "applyBtn.svg")
    readonly property string sourceOkBtn: skinImage("index", "okBtn.svg")
    readonly property string sourceResetBtn: skinImage("index", "resetBtn.svg")
    readonly property string sourceProfileBtn: skinImage("index", "profileBtn.svg")
    readonly property string sourceMinBtn: skinImage("index", "minBtn.svg")
    readonly property string sourceMaxBtn: skinImage("index", "maxBtn.svg")
    readonly property string sourceCloseBtn: skinImage("index", "closeBtn.svg")
    readonly property string sourceLanguageBtn: skinImage("index", "language.svg")
    readonly property string sourceTabBtn: skinImage("index", "tabBtn.svg")
    readonly property string sourceTabBtnSelect: skinImage("index", "tabBtnSelect.svg")
    readonly property string sourceOfficeBtn0: skinImage("index", "officeMode0.svg")
    readonly property string sourceOfficeBtn1: skinImage("index", "officeMode1.svg")
    readonly property string sourceGameBtn0: skinImage("index", "gameMode0.svg")
    readonly property string sourceGameBtn1: skinImage("index", "gameMode1.svg")
    readonly property string sourceGunBtn: skinImage("index", "gunBtn.svg")
    readonly property string sourceBack: skinImage("index", "back.svg")
    readonly property string sourceArrowDown: skinImage("index", "arrowDown.svg")
    readonly property string sourceCheckBox0: skinImage("index", "checkBox0.svg")
    readonly property string sourceCheckBox1: skinImage("index", "checkBox1.svg")
    readonly property string sourceRadio0: skinImage("index", "radio0.svg")
    readonly property string sourceRadio1: skinImage("index", "radio1.svg")
    readonly property string sourceSliderBtn: skinImage("index", "sliderBtn.svg")
    readonly property string sourceDialogBtn: skinImage("index", "dialogBtn.svg")
    readonly property string sourceWarning: skinImage("index", "warning.svg")
    readonly property string sourceQuestion: skinImage("index", "question.svg")

    readonly property string sourceMouseFront: skinImage("mouse", "mouseFront.svg")
    readonly property string sourceImgMouse1: skinImage("mouse", "imgMouse1.svg")
    readonly property string sourceImgMouse2: skinImage("mouse", "imgMouse2.svg")
    readonly property string sourceImgMouse3: skinImage("mouse", "imgMouse3.svg")
    readonly property string sourceImgMouse4: skinImage("mouse", "imgMouse4.svg")
    readonly property string sourceImgMouse5: skinImage("mouse", "imgMouse5.svg")
    readonly property string sourceImgMouse6: skinImage("mouse", "imgMouse6.svg")
    readonly property string sourceMouseMarker: skinImage("mouse", "marker.svg")
    readonly property string sourceMouseMarkerSelect: skinImage("mouse", "markerSelect.svg")

    readonly property string sourcedpiSettingSix: skinImage("dpiSetting", "dpiSettingSix.svg")
    readonly property string sourcedpiSettingLbtnUp: skinImage("dpiSetting", "dpiSettingLbtnUp.svg")
    readonly property string sourcedpiSettingLbtnDown: skinImage("dpiSetting", "dpiSettingLbtnDown.svg")
    readonly property string sourcedpiSettingRbtnUp: skinImage("dpiSetting", "dpiSettingRbtnUp.svg")
    readonly property string sourcedpiSettingRbtnDown: skinImage("dpiSetting", "dpiSettingRbtnDown.svg")
    readonly property string sourceDpiBtn: skinImage("dpiSetting", "dpiBtn.svg")

    // The gun pictures are always skin 1's; a preset names its picture as "gun/<file>".
    function gunPicture(file: string): string {
        return "qrc:/gun/modules/img/skin1/" + file
    }
    readonly property string sourceGunM416: gunPicture("gun/M416.svg")
    readonly property string sourceGunAKM: gunPicture("gun/AKM.svg")
    readonly property string sourceGunM16A4: gunPicture("gun/M16A4.svg")
    readonly property string sourceGunSCARL: gunPicture("gun/SCAR-L.svg")
    readonly property string sourceGunThomson: gunPicture("gun/Thomson.svg")
    readonly property string sourceGunUNP9: gunPicture("gun/UNP9.svg")
    readonly property string sourceGunTarget: gunPicture("gun/target.svg")

    readonly property string sourceMouseSpeedBtn: skinImage("mouseRate", "mouseSpeedBtn.svg")
    readonly property string sourceMouseSpeedScale: skinImage("mouseRate", "mouseSpeedScale.svg")
    readonly property string sourceScrollLines: skinImage("scrollRate", "scrollLines.svg")
    readonly property string sourceScrollScreen: skinImage("scrollRate", "scrollScreen.svg")

    readonly property string sourceProfileNew: skinImage("profile", "new.svg")
    readonly property string sourceProfileDelete: skinImage("profile", "delete.svg")
    readonly property string sourceProfileImport: skinImage("profile", "import.svg")
    readonly property string sourceProfileExport: skinImage("profile", "export.svg")
    readonly property string sourceProfileClose: skinImage("profile", "close.svg")
    readonly property string sourceProfileItem: skinImage("profile", "item.svg")

    readonly property string sourceMacroFolder: skinImage("macros", "folder.svg")
    readonly property string sourceMacroFolderOpen: skinImage("macros", "folderOpen.svg")
    readonly property string sourceMacroFile: skinImage("macros", "macro.svg")
    readonly property string sourceMacroDelay: skinImage("macros", "delay.svg")
    readonly property string sourceMacroKeyDown: skinImage("macros", "keyDown.svg")
    readonly property string sourceMacroKeyUp: skinImage("macros", "keyUp.svg")
    readonly property string sourceMacroMouseDown: skinImage("macros", "mouseDown.svg")
    readonly property string sourceMacroMouseUp: skinImage("macros", "mouseUp.svg")
    readonly property string sourceMacroRecord: skinImage("macros", "record.svg")
    readonly property string sourceMacroStop: skinImage("macros", "stop.svg")

    ResourceFont {
        id: rajdhani

        source: loadLatinFont ? ":/modules/fonts/Rajdhani-Bold.ttf" : ""
    }
}
