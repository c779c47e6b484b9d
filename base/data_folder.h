#pragma once

// Where the program keeps its runtime folders (./modules/...). Run from a build folder or from a
// tree installed into a prefix of the user's own, it works beside its executable. Installed where
// the user cannot write (a package), it works in the user's data folder instead, filled from the
// installed factory files and brought up to date by each newer installed version.

#include <QString>
#include <QStringList>

// Whether the current user may write into `folder`. The folder's mode bits count as well as the
// system's answer: a folder made read-only stays read-only for a user (root) whom the system
// would let write anyway.
bool isWritableFolder(const QString &folder);

// A folder of the system's packages (below /usr, but not /usr/local): never written at run time,
// even by a user (root) who could.
bool isSystemFolder(const QString &folder);

// What fillDataFolder did, for the debug output and the tests.
struct DataFolderReport {
    QStringList copied;  // missing in the user's folder: copied from the factory files
    QStringList merged;  // settings files that gained keys of a newer installed version
    QStringList renewed; // factory-owned files (language files, the tray icon) replaced
    QStringList failed;  // missing in the user's folder and could not be copied
    QStringList kept;    // could not be brought up to date; the user's file is left as it was
    bool ok() const { return failed.isEmpty(); }
};

// Brings `userFolder`/modules up to date with `factoryFolder`/modules:
// - a file the user lacks is copied;
// - a settings file of the user's (setting/, gun/) keeps every value of the user's and gains the
//   keys it lacks; the device table (the numbered groups and "common/deviceCount" of
//   apConfig.bin) follows the installed file, so that a model added to it is found;
// - language files and images belong to the installed version and replace older copies;
// - the user's own files (macros, profiles the factory does not ship) are never touched.
// Every write goes through a temporary file: a failed one leaves the old file in place.
DataFolderReport fillDataFolder(const QString &factoryFolder, const QString &userFolder);

// The folder to work in for a program in `programFolder`: `programFolder` itself when the user
// can write its runtime folders and it is no system folder, otherwise `userFolder`, filled by
// fillDataFolder. Empty when the user's folder cannot be created or lacks a file it could not copy;
// `report` names what failed.
QString prepareDataFolder(const QString &programFolder, const QString &userFolder,
                          DataFolderReport *report = nullptr);

// The folder prepareDataFolder chooses, found without creating or filling anything, for a process
// that only reads there (a second start): `programFolder` also where the user's folder has not
// been filled yet.
QString existingDataFolder(const QString &programFolder, const QString &userFolder);
