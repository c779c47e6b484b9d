// The macro library's slots of the main view: they convert QML's values, ask the dialogs and hand
// over to the feature classes.

#include "macro/macro_catalogue.h"
#include "macro/macro_files.h"
#include "macro/macro_transfer.h"
#include "view/dialogs.h"
#include "view/myqquickview.h"
#include "view/qml_values.h"

#include <QFileInfo>

#include <climits>

namespace
{

// QML's numbers arrive as unsigned; what does not fit an int (a -1 among them) is no level.
int unsignedArg(const QVariant &value)
{
    const uint n = plainValue(value).toUInt();
    return n > uint(INT_MAX) ? -1 : int(n);
}

uint uintArg(const QVariant &value)
{
    return plainValue(value).toUInt();
}

QString textArg(const QVariant &value)
{
    return plainValue(value).toString();
}

QString macroFilter()
{
    return myQQuickView::tr("Macro(*.mc)");
}

// Why a typed name was not taken, for the warning box.
QString refusalText(const QString &name, const QString &suffix)
{
    switch (nameProblem(name, suffix)) {
    case NameProblem::Empty:
        return myQQuickView::tr("Please enter a name.");
    case NameProblem::Nul:
    case NameProblem::Absolute:
    case NameProblem::Separator:
        return myQQuickView::tr("A name must not contain / or \\.");
    case NameProblem::DotName:
        return myQQuickView::tr("A name cannot be made of dots only.");
    case NameProblem::Unprintable:
        return myQQuickView::tr("A name must not contain control characters or direction marks.");
    case NameProblem::TooLong:
        return myQQuickView::tr("The name is too long.");
    case NameProblem::None:
        break;
    }
    return myQQuickView::tr("The selected folder cannot be used.");
}

} // namespace

void myQQuickView::setMacroSelectName(QVariant name1, QVariant name2, QVariant name3,
                                      QVariant name4, QVariant name5)
{
    macroLibrary.selection.setNames(
        {textArg(name1), textArg(name2), textArg(name3), textArg(name4), textArg(name5)});
}

void myQQuickView::setMacroLevel(QVariant level)
{
    macroLibrary.selection.setLevel(textArg(level));
}

QVariant myQQuickView::createMacroIni(QVariant name, QVariant macroIndex, QVariant macroLevel,
                                      QVariant macroType)
{
    const MacroFiles files(macroLibrary.selection);
    const QString itemName = textArg(name);
    const int level = unsignedArg(macroLevel);
    if (uintArg(macroType) == 0) {
        const CreateResult result = files.createMacro(level, itemName, uintArg(macroIndex));
        if (result == CreateResult::Refused)
            Dialogs::instance().warning(window(), tr("Create macro"),
                                        refusalText(itemName, savedFileSuffix(macroSuffix())));
        else if (result == CreateResult::Failed)
            Dialogs::instance().warning(window(), tr("Create macro"),
                                        tr("The macro %1 could not be created.").arg(itemName));
        return result == CreateResult::Created;
    }
    const CreateResult result = files.createFolder(level, itemName);
    if (result == CreateResult::Duplicate)
        Dialogs::instance().warning(window(), tr("Create folder"), tr("Duplicate name！"));
    else if (result == CreateResult::Refused)
        Dialogs::instance().warning(window(), tr("Create folder"), refusalText(itemName, {}));
    else if (result == CreateResult::Failed)
        Dialogs::instance().warning(window(), tr("Create folder"),
                                    tr("The folder %1 could not be created.").arg(itemName));
    return result == CreateResult::Created || result == CreateResult::Duplicate;
}

QVariant myQQuickView::saveMacroIni(QVariant macroLevel, QVariant name, QStringList macros,
                                    QVariant repeat)
{
    return noteSave(MacroFiles(macroLibrary.selection)
                        .save(unsignedArg(macroLevel), textArg(name), macros, plainValue(repeat)));
}

QStringList myQQuickView::loadMacroIni(QVariant macroLevel, QVariant name)
{
    return MacroFiles(macroLibrary.selection).load(unsignedArg(macroLevel), textArg(name));
}

QVariant myQQuickView::deleteMacroIni(QVariant macroLevel, QVariant macroType, QVariant name)
{
    const MacroFiles files(macroLibrary.selection);
    if (uintArg(macroType) == 0)
        return files.removeMacro(unsignedArg(macroLevel), textArg(name));
    return files.removeFolder(unsignedArg(macroLevel), textArg(name));
}

QVariant myQQuickView::modifyMacroNameUpdateProfile(QVariant macroLevel, QVariant macroType,
                                                    QVariant oldname, QVariant newname)
{
    const bool folder = uintArg(macroType) != 0;
    const QString newName = textArg(newname);
    const QString suffix = folder ? QString() : savedFileSuffix(macroSuffix());
    if (!isUsableName(newName, suffix)) {
        Dialogs::instance().warning(window(), tr("Rename"), refusalText(newName, suffix));
        return false;
    }
    if (!MacroFiles(macroLibrary.selection)
             .rename(unsignedArg(macroLevel), folder, textArg(oldname), newName)) {
        Dialogs::instance().warning(window(), tr("Rename"),
                                    tr("\"%1\" could not be renamed to \"%2\".")
                                        .arg(textArg(oldname), newName));
        return false;
    }
    return true;
}

QVariantList myQQuickView::getNameList(QVariant type)
{
    return MacroCatalogue().nameList(unsignedArg(type));
}

QVariant myQQuickView::updataNameList(QVariant type, QStringList nameList)
{
    return noteSave(MacroCatalogue().setNameList(unsignedArg(type), nameList));
}

QVariant myQQuickView::getMacroList_Att(int att)
{
    return MacroCatalogue().rootAttribute(att);
}

QVariant myQQuickView::getMacroSubList_Att(int att, QVariant name)
{
    return MacroCatalogue().folderAttribute(att, macroLibrary.selection, textArg(name));
}

QVariant myQQuickView::updataMacroList(QVariant att, QVariant macroLevel, QVariant currentName,
                                       QStringList nameList, QStringList typeList,
                                       QStringList showImg, QStringList txtMargin,
                                       QStringList level, QStringList no0, QStringList no1,
                                       QStringList no2, QStringList no3, QStringList no4)
{
    return noteSave(MacroCatalogue().writeFolder(
        unsignedArg(att), unsignedArg(macroLevel), textArg(currentName), macroLibrary.selection,
        {nameList, typeList, showImg, txtMargin, level, no0, no1, no2, no3, no4}));
}

bool myQQuickView::updataMacroList_delOld(QVariant macroLevel)
{
    // The argument is a group name, whatever its name says.
    return noteSave(MacroCatalogue().removeGroup(textArg(macroLevel)));
}

bool myQQuickView::deleteMacroUpdateProfile(QVariant macroName)
{
    forgetDeletedMacro(settings, textArg(macroName));
    return saveSettings();
}

QString myQQuickView::loadMacroFile(QVariant macroLevel, QVariant selectType)
{
    const QString chosen = Dialogs::instance().openFileName(
        window(), tr("Open File"), Dialogs::desktopFolder(), macroFilter());
    const TransferResult result =
        MacroTransfer(macroLibrary.selection, macroLibrary.batch)
            .importMacro(plainValue(macroLevel).toInt(), uintArg(selectType) != 0, chosen);
    switch (result.status) {
    case TransferStatus::BadName:
        Dialogs::instance().warning(
            window(), tr("Import"),
            refusalText(QFileInfo(chosen).baseName(), savedFileSuffix(macroSuffix())));
        break;
    case TransferStatus::NotMacroFile:
        Dialogs::instance().warning(window(), tr("Import"), tr("This file is not a macro file."));
        break;
    case TransferStatus::Failed:
        Dialogs::instance().warning(window(), tr("Import"),
                                    tr("The macro could not be imported.") + QLatin1Char('\n') +
                                        result.reason);
        break;
    default:
        break;
    }
    return result.name;
}

void myQQuickView::saveMacroFile(QVariant macroLevel, QVariant macroName)
{
    const QString target = Dialogs::instance().saveFileName(
        window(), tr("Save File"), Dialogs::desktopFolder(), macroFilter());
    if (target.isEmpty())
        return;
    const SaveResult exported = MacroTransfer(macroLibrary.selection, macroLibrary.batch)
                                    .exportMacro(unsignedArg(macroLevel), textArg(macroName),
                                                 target);
    if (!exported)
        Dialogs::instance().warning(window(), tr("Export"),
                                    tr("The macro could not be exported.") + QLatin1Char('\n') +
                                        exported.message());
}

QString myQQuickView::loadMacroFile_batch()
{
    const QString desktop = Dialogs::desktopFolder();
    const QString chosen =
        Dialogs::instance().existingDirectory(window(), tr("Open Directory"), desktop);
    const TransferResult result = MacroTransfer(macroLibrary.selection, macroLibrary.batch)
                                      .chooseBatchSource(chosen, desktop);
    if (result.status == TransferStatus::BadName)
        Dialogs::instance().warning(window(), tr("Import"),
                                    refusalText(QFileInfo(chosen).baseName(), {}));
    else if (result.status == TransferStatus::Failed)
        Dialogs::instance().warning(window(), tr("Import"),
                                    tr("The folder could not be created in the macro library."));
    return result.name;
}

void myQQuickView::loadMacroFile_sub_batch()
{
    const int refused = MacroTransfer(macroLibrary.selection, macroLibrary.batch).importBatch();
    if (refused > 0)
        Dialogs::instance().warning(
            window(), tr("Import"),
            tr("%n file(s) or folder(s) were left out: not macro files, names that cannot be "
               "used, or entries that could not be created.",
               nullptr, refused));
}

QStringList myQQuickView::getMacroFileName_batch(QVariant macroLevel, QVariant macroType)
{
    return macroLibrary.batch.names(unsignedArg(macroLevel), uintArg(macroType) == 0 ? 0 : 1);
}

void myQQuickView::searchMacroFile_sub_batch(QVariant currentName, QVariant currentLevel,
                                             QVariant deleteLevel)
{
    MacroTransfer(macroLibrary.selection, macroLibrary.batch)
        .rescan(textArg(currentName), unsignedArg(currentLevel), unsignedArg(deleteLevel),
                MacroCatalogue());
}

void myQQuickView::getbatchPath()
{
    const QString chosen =
        Dialogs::instance().existingDirectory(window(), tr("Save File"), Dialogs::desktopFolder());
    if (chosen.isEmpty())
        return;
    if (!MacroTransfer(macroLibrary.selection, macroLibrary.batch).chooseExportFolder(chosen))
        Dialogs::instance().warning(window(), tr("Export"),
                                    tr("The folder Macro could not be created there."));
}

void myQQuickView::saveMacroFile_batch(QVariant macroLevel, QVariantList macroFileName,
                                       QVariantList macroFileType)
{
    QStringList names;
    for (const QVariant &name : macroFileName)
        names.append(textArg(name));
    QList<int> kinds;
    for (const QVariant &kind : plainList(macroFileType))
        kinds.append(kind.toUInt() == 0 ? 0 : 1);
    const SaveResult exported = MacroTransfer(macroLibrary.selection, macroLibrary.batch)
                                    .exportLevel(unsignedArg(macroLevel), names, kinds);
    if (!exported)
        Dialogs::instance().warning(window(), tr("Export"),
                                    tr("Some macros could not be exported.") +
                                        QLatin1Char('\n') + exported.message());
}
