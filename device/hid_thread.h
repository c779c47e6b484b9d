#pragma once

// The device link: device table, current device, report transport with its transfer token, and
// one public slot per firmware command of both families.
//
// Three threads take part in every exchange:
// - the GUI thread (or whoever calls a command) asks for commands. A command is a job of the
//   link's queue; the caller waits for its result only for a query, or for a write outside a
//   batch. Inside a batch, and for steps posted with post(), it returns at once.
// - the link's thread (this QThread's run()) runs the jobs, one at a time in the order they were
//   asked for. It is the one serialiser of the link: a command takes the transfer token, builds
//   the request in outReport, runs its exchange and gives the token back, and no other command
//   runs meanwhile. The token is the designed flag that the failure lines and clearHidBusy()
//   speak of; waiting for it is bounded and handles no events, as nothing else can hold it.
// - the I/O thread (HidIo) makes the hidapi calls of the command interface, each bounded by its
//   exchange's deadline, so that a mouse that stops answering ends the exchange with a failure
//   instead of holding the link's thread.
// The connection watch reads the event interface on a pool thread of its own and never takes
// the token.

#include "device/device_table.h"
#include "device/hid_io.h"
#include "device/report.h"

#include <QFuture>
#include <QString>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace command
{
struct Definition;
}

struct hid_device_;
using hid_device = struct hid_device_;

// What the link needs to know of the mouse model; the main view fills it in.
class DeviceTraits
{
public:
    virtual ~DeviceTraits() = default;
    virtual bool gunCapable() const = 0;
    virtual bool family560() const = 0;
};

// The scrambling code of the current device: bytes 1 ... 6 are used.
extern uchar secrecyCode[8];

namespace transport
{
// Waits of the exchange. A command gives up on a token not given back after the designed 255
// polls of 8 ms, about 2 s.
constexpr int kTokenPollMs = 8;
constexpr int kTokenPolls = 255;
constexpr int kChunkPauseMs = 120;
constexpr int kSettleHalfMs = 64; // the settle wait is two of these
// Our bound on a whole exchange, designed waits included, so that a silent mouse cannot hang the
// link's queue, or a caller waiting for an answer. The longest exchange at the usual report length,
// a 128-byte block with settle waits, spends 736 ms in designed waits.
constexpr int kExchangeBoundMs = 2000;
// Largest block a command moves, and room for a last chunk that runs past it.
constexpr int kMaxBlock = 128;
constexpr int kBulkCapacity = 256;
} // namespace transport

// Inside a batch a write returns at once (true when it was queued) and the truth of all its
// writes arrives with batchFinished() once the queue has drained. Queries always wait, behind the
// writes queued before them.
class Hid_Thread : public QThread
{
    Q_OBJECT

public:
    explicit Hid_Thread(QObject *parent = nullptr);
    ~Hid_Thread() override;

    const DeviceTraits *traits = nullptr;
    DeviceList devices;
    int currentDevice = 1;
    hid_device *cmdHandle = nullptr;
    hid_device *eventHandle = nullptr;
    // The transfer token: false from the moment a command takes it until its exchange has ended.
    // Given back through giveTokenBack(), so that a caller waiting for it wakes.
    std::atomic<bool> hidFree{true};
    std::atomic<bool> listening{false};
    QFuture<void> listener;

    uchar outReport[report::kFeatureSize] = {};
    uchar inReport[report::kFeatureSize] = {};
    uchar bulkBuffer[transport::kBulkCapacity] = {};

    // Loads the table, finds the interfaces of every entry and replaces `devices`; returns the
    // index of the first entry whose command interface is present, or -1. A watch still running
    // is stopped first: its loop reads its entry until it ends.
    int scanDevices();
    // The batch: writes asked for between beginBatch() and the matching endBatch() do not wait.
    // Within one batch a 560 profile block is sent once, with the bytes of its last write, when
    // the batch ends (or before a block is read back). Batches nest; the outermost one counts.
    void beginBatch();
    void endBatch();
    // Blocks until every command asked for so far has run.
    void waitIdle();
    // Runs `steps`, commands that depend on each other's answers, on the link's thread as one
    // write: in a batch it returns at once, and its result goes to the batch. The profile blocks
    // the batch holds back go out before it, since steps may read or send blocks.
    bool queueSteps(std::function<bool(Hid_Thread &)> steps);
    // Runs `steps` on the link's thread after everything asked for before and returns at once,
    // in a batch or not: work nobody waits for, such as the reads of a connect. A step that fails
    // is kept in mind until a report (postReport) hands it on. Posted steps still waiting when
    // the link stops are dropped.
    void post(std::function<bool(Hid_Thread &)> steps);
    // Posts `steps`; then, on the link's thread, `done` gets whether they and every step posted
    // since the last report went through.
    void postReport(std::function<bool(Hid_Thread &)> steps, std::function<void(bool)> done);

    // Makes `index` the current device and loads its scrambling code.
    void selectDevice(int index);
    // Opens and closes both interfaces of entry `index` once; the path that cannot be opened, or
    // an empty string. A listed mouse whose nodes we may not open fails here, before a connect.
    QString unopenableInterface(int index);

    // The connection watch: sets the mouse's keyboard-option bit, then reads the event interface
    // on a pool thread until `listening` is cleared or the mouse is gone.
    void startDeviceWatch(int index);
    void stopDeviceWatch();
    void listenDeviceEvents(unsigned index);
    hid_device *openEventDevice(int index);

    // Takes the token; waits for it at most the designed 255 polls of 8 ms, without handling
    // events. False when it was not given back meanwhile.
    bool waitHidFree();
    void giveTokenBack();
    // True while the token is taken, a job runs, jobs wait in the queue or a batch is open.
    bool isBusy() const;
    // Forces the token back, unless a job of the queue still uses it.
    void clearBusy();
    hid_device *openCmdDevice(int index);
    void closeCmdDevice();
    bool hidGetTransfer(int n);
    bool hidSetTransfer(int n, bool settle);
    void settleWait();

signals:
    // Emitted from the event loop's thread; receivers on the GUI thread get them queued.
    void dpiStageReported(int stage);
    void deviceRemoved();
    // The watch's loop has ended, whatever the reason.
    void watchEnded();
    // From the link's thread: `done` of the batch's `total` writes have run.
    void batchProgress(int done, int total);
    // The batch has ended and its last write has run; `ok` when every write went through.
    void batchFinished(bool ok);

public slots:
    uchar hidCS(uchar *cmd);
    void USBDataEncryption(uchar FIFOBuf[], uchar SecrecyCode[]);
    void USBDataDecipher(uchar FIFOBuf[], uchar SecrecyCode[]);

    // Every command returns whether it went through: the token, the request and each chunk of its
    // block; a query also needs a reply that checks out, and writes its results only then.

    // The 553 family.
    bool hid553_01H_SetReportRate(uchar rate);
    bool hid553_02H_SetCurrentKeyMatrix(uchar currentKeyMatrix);
    bool hid553_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    bool hid553_04H_SetGunData(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    bool hid553_07H_Lod(uchar stage, uchar en);
    bool hid553_0BH_SetCurrentDPI(uchar stage);
    bool hid553_0CH_SetFixLEDColor(uchar *src3);
    bool hid553_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2);
    bool hid553_10H_SetLED8StageColor(uchar type, uchar *src24);
    bool hid553_11H_SetDPISet(uchar dpiStage, uchar *src8);
    bool hid553_12H_SetKeyMatrix(uchar *src64, uchar indexAddOne);
    bool hid553_13H_SetMacroKey(uchar macroId, uchar *src128);
    bool hid553_16H_SetSlaveAttritube(uchar *src64);
    bool hid553_83H_GetKeyboardoption(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4);
    bool hid553_8BH_GetCurrentDPI(uchar &byte1);

    // The 560 family.
    bool hid560_01H_SetKeyboardoption(uchar byte1, uchar byte2);
    bool hid560_02H_SetCurrentProfile(uchar profile);
    bool hid560_03H_SetReportRate(uchar rate);
    bool hid560_04H_SetCurrentDPI(uchar stage);
    bool hid560_09H_Lod(uchar stage, uchar en);
    bool hid560_0CH_setProfile(uchar *src128, uchar profileData);
    bool hid560_0DH_SetKeyMatrix(uchar *src64, uchar indexAddOne);
    bool hid560_0FH_SetMacroKey(uchar macroId, uchar *src128);
    bool hid560_81H_GetKeyboardoption(uchar &byte1, uchar &byte2);
    bool hid560_82H_GetCurrentProfile(uchar &byte1);
    bool hid560_84H_GetCurrentDPI(uchar &byte1, uchar &byte2);
    bool hid560_8CH_readProfile(uchar *src128, uchar profileNo);

    // Both families.
    bool hid_87H_GetLEDInstructFunction(uchar type, uchar &option1, uchar &option2, uchar &option3);

protected:
    void run() override;

private:
    class ExchangeScope;

    DeviceEntry *entry(int index) const;
    // The steps of an exchange on `cmdHandle`, each bounded by the exchange's deadline. A step
    // that runs out of time gives the handle up.
    bool ioStep(const std::function<int(hid_device *)> &call, int *result);
    bool sendFeature();
    bool getFeature();
    bool writeChunk(const uchar *chunk, int size);
    // The first step of both transfers: opens the command interface and sends the request in
    // outReport, scrambled when the device asks for it. The device, or null when `n` is no block
    // length, the interface cannot be opened or the request did not go out.
    const DeviceEntry *sendRequest(int n);
    int readChunk(uchar *chunk, int size);
    // A reply counts only with the command's echo and a checksum that fits.
    bool replyChecksOut(uchar code) const;

    // The common skeleton of a command: take the token (or write the failure line), build the
    // request, run the exchange, copy reply bytes back, pause when the table says so.
    bool takeToken(const command::Definition &def);
    void buildRequest(uchar code, std::initializer_list<uchar> params);
    bool runSet(const command::Definition &def, std::initializer_list<uchar> params,
                const uchar *block = nullptr, int blockLength = 0);
    bool runQuery(const command::Definition &def, std::initializer_list<uchar> params,
                  std::initializer_list<uchar *> results,
                  int firstReplyByte = report::kFirstParamByte);
    bool setPerMode(const command::Definition &def, uchar value);
    void pauseAfter(const command::Definition &def);
    void closeEventDevice();

    // The queue (hid_queue.cpp).
    struct Job;
    // Runs `work` on the link's thread; waits for its result unless `write` and a batch is open.
    bool submit(std::function<bool()> work, bool write);
    void postJob(std::function<bool(Hid_Thread &)> steps, std::function<void(bool)> done);
    bool queueSet(std::function<bool()> work) { return submit(std::move(work), true); }
    bool queueQuery(std::function<bool()> work) { return submit(std::move(work), false); }
    // The *Locked members are called with queueMutex held.
    // Queues `job` (counted in the batch when it is a batch's write) and wakes the link's thread.
    void enqueueLocked(const std::shared_ptr<Job> &job);
    // Queues the profile blocks held back by the batch.
    void flushBlocksLocked();
    // On a scrambled mouse, a query after the batch's writes: see hid_queue.cpp.
    void queueReplyCheckLocked();
    // When the batch has ended and its last write has run: its result in `allOk`, the count
    // reset for the next batch, and true.
    bool takeFinishedBatchLocked(bool &allOk);
    bool sendProfileBlock(const uchar *src128, uchar profileData);
    void stopQueue();

    mutable std::mutex queueMutex;
    std::condition_variable queueWake;
    std::condition_variable queueDone;
    std::deque<std::shared_ptr<Job>> jobs;
    bool jobRunning = false;
    bool stopping = false;
    int batchDepth = 0;
    int batchTotal = 0;
    int batchDone = 0;
    bool batchOk = true;
    bool postedOk = true; // the posted steps since the last report; the link's thread only
    std::map<uchar, std::vector<uchar>> heldBlocks; // profile block -> bytes of its last write

    std::mutex tokenMutex;
    std::condition_variable tokenFreed;

    HidIo io;
    // The deadline of the exchange under way; none between exchanges.
    std::optional<HidIo::Clock::time_point> exchangeDeadline;
};
