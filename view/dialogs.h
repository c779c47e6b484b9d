#pragma once

// The modal dialogs that the core shows itself (file choosers and warning boxes). Everything goes
// through one replaceable instance, so tests answer the dialogs instead of a user.

#include <QString>

class QWidget;

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter);
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter);
    virtual QString existingDirectory(QWidget *parent, const QString &caption, const QString &dir);
    virtual void warning(QWidget *parent, const QString &title, const QString &text);
    // A warning with Yes and No; true for Yes.
    virtual bool ask(QWidget *parent, const QString &title, const QString &text);

    // The user's desktop folder, where the file dialogs open.
    static QString desktopFolder();
    // Where the user keeps documents: the profile file dialogs start there.
    static QString documentsFolder();

    static Dialogs &instance();
    // Takes effect until replaced again; nullptr restores the real dialogs. Not owned.
    static void setInstance(Dialogs *dialogs);
};
