#pragma once

// Start-up check of the settings files: which of them the program cannot use, why, and which can
// be restored from a factory copy. Runs before anything else opens them.

#include <QList>
#include <QString>

struct SettingsProblem {
    QString file;        // as the program opens it, "./modules/setting/apConfig.bin"
    QString reason;      // for the user
    QString factoryCopy; // the file it can be restored from; empty when there is none
    // Reading it would hang or exhaust memory (the device link reads apConfig.bin directly): the
    // program must not start on it.
    bool blocksStart = false;
};

QList<SettingsProblem> findSettingsProblems();
// Replaces the file by its factory copy (through a temporary file; a FIFO, device or link to one
// in its place is removed first). False when there is no usable copy or it cannot be written.
bool restoreFactoryCopy(const SettingsProblem &problem);
