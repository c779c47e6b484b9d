import QtQuick
import TK700.Artwork 1.0
import "../J2"
import "../js/Language.js" as Language

// The top menu bar: title, profile list, language list, minimise and close to the tray.
Item {
    id: menuUp

    readonly property alias profileList: profileList
    readonly property alias languageList: languageList

    signal languageChosen(string code)

    function closeMenus() {
        profileList.closeMenu()
        languageList.closeMenu()
    }

    width: mainIten.normalW
    height: mainIten.normalH * 0.05

    SvgPicture {
        anchors.fill: parent
        source: mainIten.sourceTitleBar
    }

    SkinImage {
        x: 18
        anchors.verticalCenter: parent.verticalCenter
        width: 132
        height: 22
        source: mainIten.sourceTitleLogo
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 12
        anchors.verticalCenter: parent.verticalCenter
        spacing: 10

        // The profiles of the profile dialog. A choice switches to the row's profile number,
        // which names its file: after a middle row is deleted, row and number differ.
        DropDownList {
            id: profileList

            objectName: "profileList"
            accessibleName: mainIten.keyMatrixLang[6]
            width: 144
            visible: count > 0
            mdItems: profileMain.profileDataModel0
            onValueChange: index => {
                if (index >= 0 && index < count)
                    profileMain.changeProfile(profileMain.profileDataModel0.get(index).profileNo)
            }
        }

        SkinImage {
            anchors.verticalCenter: parent.verticalCenter
            width: 18
            height: 18
            source: mainIten.sourceLanguageBtn
        }

        DropDownList {
            id: languageList

            objectName: "languageList"
            accessibleName: mainIten.keyMatrixLang[15]
            width: 144
            mdItems: ListModel {
                id: languageModel
            }
            onValueChange: index => menuUp.languageChosen(Language.codes[index])
            Component.onCompleted: {
                for (const name of Language.nativeNames)
                    languageModel.append({ textValue: name })
            }
        }

        ImageButton {
            objectName: "minBtn"
            accessibleName: mainIten.keyMatrixLang[13]
            source: mainIten.sourceMinBtn
            onClicked: ui_Ctl.onMinimize()
        }

        ImageButton {
            objectName: "maxBtn"
            visible: false
            enabled: false
            source: mainIten.sourceMaxBtn
            onClicked: ui_Ctl.onMaxRestore()
        }

        ImageButton {
            objectName: "closeBtn"
            accessibleName: mainIten.keyMatrixLang[11]
            hoverColor: mainIten.colorAccent
            source: mainIten.sourceCloseBtn
            onClicked: ui_Ctl.onHide()
        }
    }
}
