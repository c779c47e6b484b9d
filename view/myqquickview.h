#pragma once

// The main view and, at the same time, the whole API of the QML document (`ui_View`). Its slots
// convert QML's values and delegate to the feature classes; they hold no feature logic. The slots
// are grouped by the file that implements them.

#include "base/device_context.h"
#include "base/settings_store.h"
#include "device/hid_thread.h"
#include "macro/macro_library.h"

#include <QQuickWidget>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

class ActiveWindowWatcher;

class myQQuickView : public QQuickWidget, public DeviceTraits
{
    Q_OBJECT

public:
    explicit myQQuickView(QWidget *parent = nullptr);
    ~myQQuickView() override;

    Hid_Thread *deviceLink = nullptr;
    bool isColorful = false;
    bool isGun = false;
    QString icType;
    bool is55328 = false;
    SettingsStore settings; // apConfig, profileDefaults, profiles, currentProfile
    ProfileImage profileImage = {};
    BlockStates blockStates;
    MacroLibrary macroLibrary; // selected folder path and batch transfer state
    // Which application is in front; none where the desktop does not tell (start-up sets it).
    ActiveWindowWatcher *activeWindows = nullptr;

    bool gunCapable() const override { return isGun; }
    bool family560() const override { return is560(); }
    bool is560() const { return icType == QLatin1String("560"); }
    // What the feature classes work with, as of now.
    DeviceContext context();

    // Entry points of the input capture; they queue calls into the QML root.
    void detectKeyboard(bool isDown, uchar usage);
    void detectMouse(bool isDown, uchar button, uint x, uint y);

signals:
    // A group of language texts was read for the pages (getLangStrings).
    void languageGroupRead(const QString &group, const QStringList &texts);
    // The device work of the pages (beginDeviceWork ... endDeviceWork) has reached the mouse:
    // `ok` when every write that was queued went through, `saved` when every settings file the
    // work changed was written (saveFailure() says what was not). Always delivered from the
    // event loop.
    void deviceWorkFinished(bool ok, bool saved);
    // `done` of the `total` writes queued by the device work have run.
    void deviceProgress(int done, int total);
    // The reads of readMouseState() have run, after every read of the connect: `ok` when all of
    // them went through; `currentDPI` is the mouse's stage, 1-based, 0 when it did not answer.
    // Always delivered from the event loop.
    void mouseStateRead(bool ok, int currentDPI);
    // sendStoredProfile() has sent (or queued) the current profile: each part with its result.
    void profileSent(const QVariantMap &parts);

public slots:
    // The view itself, the settings files and the language texts (myqquickview.cpp).
    void clearHidBusy();
    // The writes between these two calls are queued on the device link and do not wait for the
    // mouse; deviceWorkFinished() tells when they have run.
    void beginDeviceWork();
    void endDeviceWork();
    void initUI();
    void runUI();
    // The start-up's questions to the mouse, on the link's thread behind the connect's reads, so
    // that the window never waits for a mouse that does not answer: on the first start of a 560
    // mouse its current profile, made profile 1 when it is another; every time the current DPI
    // stage. mouseStateRead() tells the outcome.
    void readMouseState(bool firstStart);
    void resetApconfig();
    void setBusy(int busyTime);
    void releaseUnusedImages();
    void setCurrentDPI(int dpiValue);
    void openUpdateExe();
    QVariant getData(QVariant key, bool isRecovery);
    QVariant getGlobalData(QVariant key);
    QVariantList getDataList(QVariant key, bool isRecovery);
    void setData(QVariant key, QVariant data);
    void setGlobalData(QVariant key, QVariant tmpdata);
    void setDataList(QVariant key, QVariantList datalist);
    void setCurrentProfile(int profile);
    // The current profile's settings (isRecovery: the factory profile's) as the pages show them:
    // every value read, validated and defaulted by the core's rules.
    QVariantMap storedSettings(bool isRecovery);
    // Lighting preset `preset` (0 ... 3) alone, as storedSettings gives the one in use.
    QVariantMap storedPreset(int preset, bool isRecovery);
    // The gun periods of the three slots as stored (a button-table save carries them).
    QVariantList storedGunPeriods();
    // Sends the current profile as stored (buttons of `mouseMode`, report rate, DPI stages and
    // colours, lift-off, lighting; the gun tables back to the firmware's when asked). Each part
    // with whether it reached the mouse.
    QVariantMap sendStoredProfile(int mouseMode, bool resetGunTables);
    // The rules the pages share with the core: the report-rate list position as the mouse's
    // code, a "#rrggbb" text as three levels, the lift-off knob's marks, its snapping and rate.
    int reportRateCode(int position);
    QVariantList colourLevels(const QString &text);
    QVariantList lodOffsets();
    int lodSnap(int offset);
    int lodRate(int offset);
    QStringList getLangStrings(QString typeStr, QString langCode);
    // Writes the changes made through setData, setGlobalData and setDataList; false when a file
    // could not be written (its changes stay pending for the next save).
    bool saveSettings();
    // "<file>: <reason>" of the last save that failed, or an empty string when the last save
    // went through.
    QString saveFailure() const;

    // The 560 family's profile blocks (myqquickview.cpp). A block whose read failed is read again
    // before it is sent or changed, and never sent while it cannot be read.
    bool mouseSetProfile(uint profileNo);
    bool mouseReadProfile(uint profileNo);
    QVariant mouseReadCurrentProfile();

    // Profile files (view_profiles.cpp). Reset and copy answer whether the file was written.
    bool loadProfile(int profile);
    void saveProfile(int profile);
    bool resetProfile(int profile);
    bool copyProfile(int destprofile, int srcprofile);

    // Button assignment (view_buttons.cpp).
    bool mouseSetKeyMatrix(QVariant mouseMode, QVariantList src64, QVariantList src64_2,
                           bool isSendData, QVariantList otherParam);
    QVariantList mouseGetKeydefine(QVariant mouseMode, QVariant index, bool);
    // The office (0) or game (1) table's built-in entries, each four numbers.
    QVariantList buttonDefaults(int mouseMode);
    bool mouseResetKeyMatrix();
    bool mouseSwitchKeyMatrix(int indexNo);

    // DPI stages and lift-off distance (view_dpi.cpp).
    bool mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray,
                     QVariantList dpiEnableArray);
    bool mouseSetCurrentDPI(uchar currentDPI);
    QVariant mouseGetCurrentDPI();
    bool mouseSetLodValue(uchar rate, uchar en);

    // Lighting (view_lighting.cpp).
    bool mouseSetRGBEffect(uchar effect, uchar option1, uchar option2);
    bool mouseSetRGBColor(uchar type, QVariantList src24);
    bool mouseSetLedType(uchar effect, uchar brightness, uchar speed, uchar direction,
                         QVariantList rgbArray);
    bool ui_10H_SetLED8StageColor(uchar type, QVariantList src24);
    QVariantList ui_90H_GetLED8StageColor(uchar type);
    bool chkIsLogoLedWork();

    // Gun data, XY sensitivity, selected gun, report rate and keyboard option
    // (view_settings.cpp).
    // Whether the gun file took the record(s).
    bool mouseSaveGundata(QVariant index, QVariantList src6);
    // Several records, each [index, the six values], in one write of the gun file.
    bool mouseSaveGundataRows(QVariantList records);
    bool mouseSendGundata(int, QVariantList);
    bool modifyGundata(QVariant modifyType, QVariantList src6);
    QVariantList getGunData(QVariant name);
    QStringList getGunDataKey();
    QVariant getXYSensitive(QVariant index);
    QVariant getselectGun(QVariant index);
    void setXYSensitive(QVariant index, QVariant xyData);
    void setSelectGun(QVariant index, QVariant xyData);
    bool mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    bool mouseSetReportRate(uchar rate);
    QVariantList GetKeyboardoption();

    // The desktop's pointer settings (view_pointer.cpp). Each returns whether the desktop took
    // the setting, so that the page can tell the user what it did not take.
    bool mouseSetCursorSpeed(uint cursorSpeed);
    bool mouseSetVerticalScrollLines(uint lines);
    bool mouseSetDoubleClickSpeed(uint speed);

    // Starting with the desktop session, hidden in the tray (view_autostart.cpp). The setter
    // answers whether the entry is as asked afterwards.
    bool isStartWithDesktop();
    bool setStartWithDesktop(bool enabled);

    // Profiles bound to applications (view_app_profiles.cpp). `available`: whether this desktop
    // tells which application is in front; `applications`: those it offers to bind.
    QVariantMap applicationFollowing();
    QStringList boundApplications(int profile);
    // Whether the binding was taken (stored, not yet written: saveSettings writes it).
    bool bindApplication(int profile, const QString &application);
    void unbindApplications(int profile);

    // The macro library (view_macro.cpp).
    void setMacroSelectName(QVariant name1, QVariant name2, QVariant name3, QVariant name4,
                            QVariant name5);
    void setMacroLevel(QVariant level);
    QString loadMacroFile(QVariant macroLevel, QVariant selectType);
    QString loadMacroFile_batch();
    void loadMacroFile_sub_batch();
    QStringList getMacroFileName_batch(QVariant macroLevel, QVariant macroType);
    void searchMacroFile_sub_batch(QVariant currentName, QVariant currentLevel,
                                   QVariant deleteLevel);
    void saveMacroFile(QVariant macroLevel, QVariant macroName);
    void saveMacroFile_batch(QVariant macroLevel, QVariantList macroFileName,
                             QVariantList macroFileType);
    void getbatchPath();
    QVariant getMacroList_Att(int att);
    QVariant getMacroSubList_Att(int att, QVariant name);
    QVariant updataNameList(QVariant type, QStringList nameList);
    QVariant updataMacroList(QVariant att, QVariant macroLevel, QVariant currentName,
                             QStringList nameList, QStringList typeList, QStringList showImg,
                             QStringList txtMargin, QStringList level, QStringList no0,
                             QStringList no1, QStringList no2, QStringList no3, QStringList no4);
    bool updataMacroList_delOld(QVariant macroLevel);
    QVariant createMacroIni(QVariant name, QVariant macroIndex, QVariant macroLevel,
                            QVariant macroType);
    QVariant deleteMacroIni(QVariant macroLevel, QVariant macroType, QVariant name);
    QVariant modifyMacroNameUpdateProfile(QVariant macroLevel, QVariant macroType, QVariant oldname,
                                          QVariant newname);
    bool deleteMacroUpdateProfile(QVariant macroName);
    QVariantList getNameList(QVariant type);
    QVariant saveMacroIni(QVariant macroLevel, QVariant name, QStringList macros, QVariant repeat);
    QStringList loadMacroIni(QVariant macroLevel, QVariant name);

    // Macro download (view_macro_send.cpp). Refuses, with a warning naming `macroName`, bytes that
    // do not fit the mouse's block.
    QVariant mouseSendMacroData(QVariantList macroData, QVariant macroIndex,
                                QVariant macroName = QVariant());

protected:
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    // The view is disabled for every device work: the keyboard focus stays on its control.
    bool focusNextPrevChild(bool next) override;
    void changeEvent(QEvent *event) override;
    // The document's `viewShown`: animations stop while the window is hidden (in the tray).
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    Hid_Thread *linkedTo = nullptr; // the link whose batch signals reach ours
    SaveResult lastSave;            // the last save of a settings file, see saveFailure()
    int workDepth = 0;              // device works begun and not ended
    bool workSaved = true;          // every save since the outermost device work began went through
    bool finishedSaved = true;      // workSaved of the last device work that ended
    // Keeps `result` for saveFailure() (and for the device work under way) and answers whether
    // the file was written.
    bool noteSave(const SaveResult &result);
    // Calls a function of the QML root by name; a root without it makes the call do nothing.
    void callRoot(const char *function, Qt::ConnectionType type, const QVariantList &args = {});
};
