#pragma once

// The main view and, at the same time, the whole API of the QML document (`ui_View`). Its slots
// convert QML's values and delegate to the feature classes; they hold no feature logic.

#include "controller/settings_store.h"
#include "device/hid_thread.h"

#include <QQuickWidget>
#include <QVariant>

class myQQuickView : public QQuickWidget, public DeviceTraits
{
    Q_OBJECT

public:
    explicit myQQuickView(QWidget *parent = nullptr);
    ~myQQuickView() override;

    static constexpr int kProfileBlocks = 5;
    static constexpr int kProfileBlockSize = 128;

    Hid_Thread *deviceLink = nullptr;
    bool isColorful = false;
    bool isGun = false;
    QString icType;
    bool is55328 = false;
    SettingsStore settings; // apConfig, profileDefaults, profiles, currentProfile
    uchar profileImage[kProfileBlocks][kProfileBlockSize] = {};

    bool gunCapable() const override { return isGun; }
    bool family560() const override { return is560(); }
    bool is560() const { return icType == QLatin1String("560"); }

    // Entry points of the input capture; they queue calls into the QML root.
    void detectKeyboard(bool isDown, uchar usage);
    void detectMouse(bool isDown, uchar button, uint x, uint y);

public slots:
    void clearHidBusy();
    void initUI();
    void runUI();
    void resetApconfig();
    QStringList getLangStrings(QString typeStr, QString langCode);
    void openUpdateExe();
    QVariant getData(QVariant key, bool isRecovery);
    QVariant getGlobalData(QVariant key);
    QVariantList getDataList(QVariant key, bool isRecovery);
    void setData(QVariant key, QVariant data);
    void setGlobalData(QVariant key, QVariant tmpdata);
    void setDataList(QVariant key, QVariantList datalist);
    void setCurrentProfile(int profile);
    void setBusy(int busyTime);
    void setCurrentDPI(int dpiValue);
    QVariant mouseReadCurrentProfile();
    void mouseReadProfile(uint profileNo);
    QVariant mouseGetCurrentDPI();

protected:
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    // Calls a function of the QML root by name; a root without it makes the call do nothing.
    void callRoot(const char *function, Qt::ConnectionType type, const QVariantList &args = {});

    friend class Ui_Controler;
};
