#pragma once

// The device link: device table, current device, report transport with its transfer token, and
// one public slot per firmware command of both families.

#include "device/device_table.h"

#include <QFuture>
#include <QString>
#include <QThread>

#include <atomic>
#include <initializer_list>

namespace command
{
struct Definition;
}

struct hid_device_;
typedef struct hid_device_ hid_device;

class Widget;

// What the link needs to know of the mouse model; the main view fills it in.
class DeviceTraits
{
public:
    virtual ~DeviceTraits() = default;
    virtual bool gunCapable() const = 0;
    virtual bool family560() const = 0;
};

// Process-wide state shared by the scan, the transport and the event loop.
extern bool deviceConnected;
extern uchar secrecyCode[8];
extern QString notificationTexts[8];

namespace transport
{
// Waits of the exchange.
constexpr int kTokenPollMs = 8;
constexpr int kTokenPolls = 255;
constexpr int kChunkPauseMs = 120;
constexpr int kSettleHalfMs = 64; // the settle wait is two of these
// Our bound on one chunk read or write, so that a silent mouse cannot hang the GUI thread.
constexpr int kChunkTimeoutMs = 1000;
// Largest block a command moves, and room for a last chunk that runs past it.
constexpr int kMaxBlock = 128;
constexpr int kBulkCapacity = 256;
} // namespace transport

class Hid_Thread : public QThread
{
    Q_OBJECT

public:
    explicit Hid_Thread(QObject *parent = nullptr);
    ~Hid_Thread() override;

    Widget *ownerWidget = nullptr;
    const DeviceTraits *traits = nullptr;
    DeviceList devices;
    int currentDevice = 1;
    hid_device *cmdHandle = nullptr;
    hid_device *eventHandle = nullptr;
    bool hidFree = true;
    std::atomic<bool> listening{false};
    QFuture<void> listener;

    uchar outReport[9] = {};
    uchar inReport[9] = {};
    uchar bulkBuffer[transport::kBulkCapacity] = {};

    // Loads the table, finds the interfaces of every entry and replaces `devices`; returns the
    // index of the first entry whose command interface is present, or -1.
    int scanDevices();
    // Makes `index` the current device and loads its scrambling code.
    void selectDevice(int index);

    // The connection watch: sets the mouse's keyboard-option bit, then reads the event interface
    // on a pool thread until `listening` is cleared or the mouse is gone.
    void startDeviceWatch(int index);
    void listenDeviceEvents(unsigned index);
    hid_device *openEventDevice(int index);

    bool waitHidFree();
    hid_device *openCmdDevice(int index);
    void closeCmdDevice();
    bool hidGetTransfer(int n);
    bool hidSetTransfer(int n, bool settle);
    void settleWait();

signals:
    // Emitted from the event loop's thread; receivers on the GUI thread get them queued.
    void dpiStageReported(int stage);
    void deviceRemoved();

public slots:
    uchar hidCS(uchar *cmd);
    void USBDataEncryption(uchar FIFOBuf[], uchar SecrecyCode[]);
    void USBDataDecipher(uchar FIFOBuf[], uchar SecrecyCode[]);

    // The 553 family.
    void hid553_01H_SetReportRate(uchar rate);
    void hid553_02H_SetCurrentKeyMatrix(uchar currentKeyMatrix);
    void hid553_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void hid553_04H_SetGunData(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void hid553_07H_Lod(uchar stage, uchar en);
    void hid553_0BH_SetCurrentDPI(uchar stage);
    void hid553_0CH_SetFixLEDColor(uchar *src3);
    void hid553_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2);
    void hid553_10H_SetLED8StageColor(uchar type, uchar *src24);
    void hid553_11H_SetDPISet(uchar dpiStage, uchar *src8);
    void hid553_12H_SetKeyMatrix(uchar *src64, uchar indexAddOne);
    void hid553_13H_SetMacroKey(uchar macroId, uchar *src128);
    void hid553_16H_SetSlaveAttritube(uchar *src64);
    void hid553_83H_GetKeyboardoption(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4);
    void hid553_8BH_GetCurrentDPI(uchar &byte1);

    // The 560 family.
    void hid560_01H_SetKeyboardoption(uchar byte1, uchar byte2);
    void hid560_02H_SetCurrentProfile(uchar profile);
    void hid560_03H_SetReportRate(uchar rate);
    void hid560_04H_SetCurrentDPI(uchar stage);
    void hid560_09H_Lod(uchar stage, uchar en);
    void hid560_0CH_setProfile(uchar *src128, uchar profileData);
    void hid560_0DH_SetKeyMatrix(uchar *src64, uchar indexAddOne);
    void hid560_0FH_SetMacroKey(uchar macroId, uchar *src128);
    void hid560_81H_GetKeyboardoption(uchar &byte1, uchar &byte2);
    void hid560_82H_GetCurrentProfile(uchar &byte1);
    void hid560_84H_GetCurrentDPI(uchar &byte1, uchar &byte2);
    void hid560_8CH_readProfile(uchar *src128, uchar profileNo);

    // Both families.
    bool hid_87H_GetLEDInstructFunction(uchar type, uchar &option1, uchar &option2, uchar &option3);

private:
    DeviceEntry *entry(int index) const;
    bool writeChunk(const uchar *chunk, int size);

    // The common skeleton of a command: take the token (or write the failure line), build the
    // request, run the exchange, copy reply bytes back, pause when the table says so.
    bool beginCommand(const command::Definition &def, std::initializer_list<uchar> params);
    void buildRequest(uchar code, std::initializer_list<uchar> params);
    bool runSet(const command::Definition &def, std::initializer_list<uchar> params,
                const uchar *block = nullptr, int blockLength = 0);
    bool runQuery(const command::Definition &def, std::initializer_list<uchar> params,
                  std::initializer_list<uchar *> results, int firstReplyByte = 2);
    void setPerMode(const command::Definition &def, uchar value);
    void pauseAfter(const command::Definition &def);
    void closeEventDevice();
};
