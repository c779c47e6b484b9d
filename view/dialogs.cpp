#include "view/dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

namespace
{
Dialogs realDialogs;
Dialogs *current = &realDialogs;
} // namespace

QString Dialogs::openFileName(QWidget *parent, const QString &caption, const QString &dir,
                              const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString Dialogs::saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                              const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString Dialogs::existingDirectory(QWidget *parent, const QString &caption, const QString &dir)
{
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

void Dialogs::warning(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::warning(parent, title, text, QMessageBox::Ok);
}

bool Dialogs::ask(QWidget *parent, const QString &title, const QString &text)
{
    return QMessageBox::warning(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::Yes) == QMessageBox::Yes;
}

QString Dialogs::desktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString Dialogs::documentsFolder()
{
    // A desktop without a documents folder names it all the same; the dialog would then open in
    // the program's folder.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

Dialogs &Dialogs::instance()
{
    return *current;
}

void Dialogs::setInstance(Dialogs *dialogs)
{
    current = dialogs ? dialogs : &realDialogs;
}
