#pragma once

// The bus service's requests carried out by the window: each goes through the same shell
// function a user's action does (a profile change, the profile sent again, a DPI stage, a macro
// sent), so that the window shows its effect; what the window shows is what the service reports.

#include "app/bus_service.h"

class Widget;
class myQQuickView;

class WindowOwner : public MouseOwner
{
    Q_OBJECT

public:
    explicit WindowOwner(Widget *widget);

    bool connected() const override { return isConnected; }
    QString family() const override;
    int profile() const override;
    int dpiStage() const override;
    QVariantMap device() const override;
    QStringList profileFiles() const override;
    QString language() const override;
    QString saveFailure() const override;
    bool busy() const override;
    Started switchProfile(int profile) override;
    Started applyProfile() override;
    Started setDpiStage(int stage) override;
    Started sendMacro(const QVariantList &bytes, int button, const QString &name) override;
    // A switch made because an application came to the front: the window shows it as any other,
    // but the profile chosen by hand stays the one the next start begins with.
    Started followProfile(int profile);
    // The profile dialog's name of the profile, else its number.
    QString profileName(int profile) const;

private slots:
    void shownProfileChanged();
    void shownStageChanged();
    void busyChanged();

private:
    QObject *root() const;
    void watchRoot();
    // Calls the shell's `function` and answers whether it started a device work.
    Started call(const char *function, const QVariantList &args = {});

    Widget *widget;
    myQQuickView *view;
    bool isConnected = false;
    bool watching = false;
    QVariantMap sentParts; // what the profile sends of the work under way reported
};
