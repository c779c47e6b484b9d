#include "view/myqquickview.h"

#include "base/profile_block.h"
#include "controller/dpi_settings.h"
#include "controller/language_strings.h"
#include "controller/profile_send.h"
#include "controller/stored_settings.h"
#include "view/qml_values.h"

#include <QDebug>
#include <QFileInfo>
#include <QPixmapCache>
#include <QQuickItem>
#include <QWheelEvent>

#include <memory>

myQQuickView::myQQuickView(QWidget *parent) : QQuickWidget(parent)
{
    isColorful = getGlobalData(QStringLiteral("mouse/isColorful")).toBool();
    isGun = getGlobalData(QStringLiteral("mouse/isGun")).toBool();
    icType = getGlobalData(QStringLiteral("mouse/icType")).toString();
    is55328 = getGlobalData(QStringLiteral("mouse/is55328")).toBool();
    qDebug() << "========================== ui_View ==================================";
}

myQQuickView::~myQQuickView() = default;

DeviceContext myQQuickView::context()
{
    return DeviceContext{MouseModel{isColorful, isGun, icType, is55328}, deviceLink, settings,
                         profileImage, &blockStates};
}

void myQQuickView::callRoot(const char *function, Qt::ConnectionType type, const QVariantList &args)
{
    QObject *root = rootObject();
    if (!root)
        return;
    const QVariant a0 = args.value(0), a1 = args.value(1), a2 = args.value(2), a3 = args.value(3);
    switch (args.size()) {
    case 0:
        QMetaObject::invokeMethod(root, function, type);
        break;
    case 1:
        QMetaObject::invokeMethod(root, function, type, Q_ARG(QVariant, a0));
        break;
    case 2:
        QMetaObject::invokeMethod(root, function, type, Q_ARG(QVariant, a0), Q_ARG(QVariant, a1));
        break;
    case 3:
        QMetaObject::invokeMethod(root, function, type, Q_ARG(QVariant, a0), Q_ARG(QVariant, a1),
                                  Q_ARG(QVariant, a2));
        break;
    default:
        QMetaObject::invokeMethod(root, function, type, Q_ARG(QVariant, a0), Q_ARG(QVariant, a1),
                                  Q_ARG(QVariant, a2), Q_ARG(QVariant, a3));
        break;
    }
}

void myQQuickView::clearHidBusy()
{
    if (deviceLink)
        deviceLink->clearBusy();
}

void myQQuickView::beginDeviceWork()
{
    if (workDepth++ == 0)
        workSaved = true;
    if (!deviceLink)
        return;
    if (linkedTo != deviceLink) {
        if (linkedTo)
            disconnect(linkedTo, nullptr, this, nullptr);
        // Queued: the result arrives from the event loop, after the caller's work has returned.
        connect(
            deviceLink, &Hid_Thread::batchFinished, this,
            [this](bool ok) { emit deviceWorkFinished(ok, finishedSaved); }, Qt::QueuedConnection);
        connect(deviceLink, &Hid_Thread::batchProgress, this, &myQQuickView::deviceProgress,
                Qt::QueuedConnection);
        linkedTo = deviceLink;
    }
    deviceLink->beginBatch();
}

void myQQuickView::endDeviceWork()
{
    // What the pages stored on the way is written with the work, before the result is told. An
    // earlier failure of the work (a profile that could not be reset) stays the one named.
    const SaveResult stored = settings.save();
    if (!stored || workSaved)
        noteSave(stored);
    if (workDepth > 0 && --workDepth == 0)
        finishedSaved = workSaved;
    if (deviceLink && linkedTo == deviceLink) {
        deviceLink->endBatch();
        return;
    }
    // Without a link nothing was queued; each write has already said it failed.
    QMetaObject::invokeMethod(
        this, [this, saved = finishedSaved] { emit deviceWorkFinished(true, saved); },
        Qt::QueuedConnection);
}

bool myQQuickView::noteSave(const SaveResult &result)
{
    lastSave = result;
    if (!result && workDepth > 0)
        workSaved = false;
    return result.ok();
}

bool myQQuickView::saveSettings()
{
    return noteSave(settings.save());
}

QString myQQuickView::saveFailure() const
{
    if (lastSave.ok())
        return {};
    return QFileInfo(lastSave.file).absoluteFilePath() + QStringLiteral(": ") + lastSave.reason;
}

void myQQuickView::initUI()
{
    callRoot("initUI", Qt::QueuedConnection);
}

void myQQuickView::runUI()
{
    callRoot("run", Qt::QueuedConnection);
}

void myQQuickView::readMouseState(bool firstStart)
{
    auto tell = [this](bool ok, int stage) {
        QMetaObject::invokeMethod(
            this, [this, ok, stage] { emit mouseStateRead(ok, stage); }, Qt::QueuedConnection);
    };
    if (!deviceLink) {
        tell(false, 0);
        return;
    }
    const bool selectProfileOne = firstStart && is560();
    const DeviceContext ctx = context();
    auto stage = std::make_shared<int>(0);
    deviceLink->postReport(
        [ctx, selectProfileOne, stage](Hid_Thread &link) {
            bool ok = true;
            if (selectProfileOne) {
                // A mouse that could not be asked answers 0: it is told to use profile 1 too.
                uchar profile = 0;
                ok = link.hid560_82H_GetCurrentProfile(profile);
                if (profile != 1)
                    ok = link.hid560_02H_SetCurrentProfile(1) && ok;
            }
            DeviceContext onLink = ctx;
            *stage = DpiSettings(onLink).currentStage();
            return ok && *stage != 0;
        },
        [tell, stage](bool ok) { tell(ok, *stage); });
}

void myQQuickView::resetApconfig()
{
    // icType and the other traits read at construction stay as they are.
    if (!noteSave(settings.resetGlobal()))
        qDebug() << "resetApconfig: apConfigD.bin could not be copied; apConfig.bin kept";
}

QStringList myQQuickView::getLangStrings(QString typeStr, QString langCode)
{
    const QStringList texts = languageStrings(typeStr, langCode);
    emit languageGroupRead(typeStr, texts);
    return texts;
}

void myQQuickView::openUpdateExe() {}

// The pages reach the files only under the keys the program knows: a misspelt or new key is
// refused and named in the debug output, not quietly written beside the others.
static bool knownKey(const QString &key, stored::File file, const char *slot)
{
    if (stored::isKnown(key, file))
        return true;
    qWarning() << slot << "no such settings key" << key;
    return false;
}

QVariant myQQuickView::getData(QVariant key, bool isRecovery)
{
    const QString k = plainValue(key).toString();
    return knownKey(k, stored::File::Profile, "getData:") ? settings.data(k, isRecovery)
                                                           : QVariant();
}

QVariant myQQuickView::getGlobalData(QVariant key)
{
    const QString k = plainValue(key).toString();
    return knownKey(k, stored::File::Global, "getGlobalData:") ? settings.globalData(k)
                                                                : QVariant();
}

QVariantList myQQuickView::getDataList(QVariant key, bool isRecovery)
{
    const QString k = plainValue(key).toString();
    return knownKey(k, stored::File::Profile, "getDataList:") ? settings.dataList(k, isRecovery)
                                                               : QVariantList();
}

void myQQuickView::setData(QVariant key, QVariant data)
{
    const QString k = plainValue(key).toString();
    if (knownKey(k, stored::File::Profile, "setData:"))
        settings.setData(k, plainValue(data));
}

void myQQuickView::setGlobalData(QVariant key, QVariant tmpdata)
{
    const QString k = plainValue(key).toString();
    if (knownKey(k, stored::File::Global, "setGlobalData:"))
        settings.setGlobalData(k, plainValue(tmpdata));
}

void myQQuickView::setDataList(QVariant key, QVariantList datalist)
{
    const QString k = plainValue(key).toString();
    if (knownKey(k, stored::File::Profile, "setDataList:"))
        settings.setData(k, plainList(datalist));
}

QVariantMap myQQuickView::storedSettings(bool isRecovery)
{
    return StoredSettings(settings, isRecovery).toMap();
}

QVariantMap myQQuickView::storedPreset(int preset, bool isRecovery)
{
    return StoredSettings(settings, isRecovery).presetMap(preset);
}

QVariantList myQQuickView::storedGunPeriods()
{
    DeviceContext ctx = context();
    return ::storedGunPeriods(ctx, StoredSettings(settings, false));
}

QVariantMap myQQuickView::sendStoredProfile(int mouseMode, bool resetGunTables)
{
    DeviceContext ctx = context();
    const QVariantMap parts = ::sendStoredProfile(ctx, mouseMode, resetGunTables).toMap();
    emit profileSent(parts);
    return parts;
}

int myQQuickView::reportRateCode(int position)
{
    return stored::reportRateCode(position);
}

QVariantList myQQuickView::colourLevels(const QString &text)
{
    const auto levels = stored::colourLevels(text);
    return {levels[0], levels[1], levels[2]};
}

QVariantList myQQuickView::lodOffsets()
{
    return {stored::kLodOffsets[0], stored::kLodOffsets[1], stored::kLodOffsets[2]};
}

int myQQuickView::lodSnap(int offset)
{
    return stored::lodSnap(offset);
}

int myQQuickView::lodRate(int offset)
{
    return stored::lodRate(offset);
}

void myQQuickView::setCurrentProfile(int profile)
{
    if (!settings.setCurrentProfile(profile))
        qDebug() << "setCurrentProfile: no profile" << profile;
}

void myQQuickView::setBusy(int busyTime)
{
    callRoot("setProtectUI", Qt::DirectConnection, {busyTime});
}

// Images that no item shows any more (rasterised at a size the layout only passed through, or
// replaced) stay in Qt's image caches for minutes, and their expiry wakes the GUI thread every
// 30 s until the last is gone. Called once the screen is up and when the window goes to the
// tray, this drops them at once: the scene's, and the pixmaps the tray icon and the widgets drew.
void myQQuickView::releaseUnusedImages()
{
    quickWindow()->releaseResources();
    QPixmapCache::clear();
}

void myQQuickView::setCurrentDPI(int dpiValue)
{
    callRoot("setCurrentDPI", Qt::DirectConnection, {dpiValue});
}

void myQQuickView::detectKeyboard(bool isDown, uchar usage)
{
    callRoot("detectKeyboard", Qt::QueuedConnection, {isDown, int(usage)});
}

void myQQuickView::detectMouse(bool isDown, uchar button, uint x, uint y)
{
    callRoot("detectMouse", Qt::QueuedConnection, {isDown, uint(button), x, y});
}

void myQQuickView::wheelEvent(QWheelEvent *event)
{
    const QPoint delta = event->angleDelta();
    if (delta.y() != 0) {
        const int degrees = delta.y() / 8;
        const int steps = degrees / 15;
        callRoot("scroll", Qt::QueuedConnection, {steps});
    }
    event->accept();
}

void myQQuickView::focusInEvent(QFocusEvent *event)
{
    repaint();
    // The base class hands the focus on to the scene; without it, text fields stay deaf after
    // the window or the view (disabled during every save) had lost the focus.
    QQuickWidget::focusInEvent(event);
}

bool myQQuickView::focusNextPrevChild(bool next)
{
    // Disabling a widget that has the focus asks it to pass the focus on, which the base class
    // does by sending Tab into the scene: the keyboard user's focus would move with every save.
    if (!isEnabled())
        return false;
    return QQuickWidget::focusNextPrevChild(next);
}

void myQQuickView::changeEvent(QEvent *event)
{
    QQuickWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && isEnabled() && window()->isActiveWindow()
        && !window()->focusWidget())
        setFocus(Qt::OtherFocusReason);
}

void myQQuickView::showEvent(QShowEvent *event)
{
    QQuickWidget::showEvent(event);
    if (QObject *root = rootObject())
        root->setProperty("viewShown", true);
}

void myQQuickView::hideEvent(QHideEvent *event)
{
    if (QObject *root = rootObject())
        root->setProperty("viewShown", false);
    QQuickWidget::hideEvent(event);
}

QVariant myQQuickView::mouseReadCurrentProfile()
{
    // 0 when the mouse could not be asked.
    uchar profile = 0;
    if (deviceLink)
        deviceLink->hid560_82H_GetCurrentProfile(profile);
    return int(profile);
}

bool myQQuickView::mouseSetProfile(uint profileNo)
{
    if (profileNo >= uint(kProfileBlocks)) {
        qDebug() << "mouseSetProfile: no profile block" << profileNo;
        return false;
    }
    DeviceContext ctx = context();
    const int b = int(profileNo);
    return profile_block::change(ctx, b, b, b, {});
}

bool myQQuickView::mouseReadProfile(uint profileNo)
{
    if (profileNo >= uint(kProfileBlocks)) {
        qDebug() << "mouseReadProfile: no profile block" << profileNo;
        return false;
    }
    DeviceContext ctx = context();
    return profile_block::read(ctx, int(profileNo));
}
