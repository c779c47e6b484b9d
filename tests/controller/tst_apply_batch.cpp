// A whole Apply of the 560 family as one batch on the device link: the mouse must end in the state
// it ends in when every step waits for its writes, while each profile block goes out only once.

#include "base/profile_block.h"
#include "controller/dpi_settings.h"
#include "controller/key_matrix.h"
#include "controller/lighting.h"
#include "support/mouse_rig.h"

#include <QSemaphore>
#include <QSignalSpy>
#include <QtTest>

namespace
{

// The steps of an Apply and a Reset that write profile blocks, several of them the same blocks.
bool applySteps(DeviceContext &ctx)
{
    bool ok = DpiSettings(ctx).setStages(6, "3320", {800, 1600, 2400, 3200, 4800, 6400, 500, 500},
                                         numbers(8, 1));
    ok = DpiSettings(ctx).setLod(2, 1) && ok;
    ok = Lighting(ctx).setEffect(3, 50, 2) && ok;
    QVariantList colours;
    for (int i = 0; i < 24; ++i)
        colours << (i * 11) % 256;
    ok = Lighting(ctx).setColours(0, colours) && ok;
    ok = DpiSettings(ctx).setCurrentStage(3) && ok;
    ok = KeyMatrix(ctx).switchTo(1) && ok;
    // A second pass over the same blocks, as a reset after a profile change does.
    ok = DpiSettings(ctx).setStages(4, "3320", {400, 800, 1200, 1600, 2000, 2400, 2800, 3200},
                                    numbers(8, 1)) &&
         ok;
    ok = Lighting(ctx).setEffect(1, 20, 1) && ok;
    return ok;
}

int blockWrites(const QStringList &commands)
{
    int n = 0;
    for (const QString &c : commands)
        n += c.startsWith(QLatin1String("0c"));
    return n;
}

} // namespace

class TestApplyBatch : public QObject
{
    Q_OBJECT

private slots:
    void sameStateWithEachBlockOnce_data()
    {
        QTest::addColumn<bool>("gun");
        QTest::addColumn<bool>("colourful");
        QTest::addColumn<int>("blocks"); // distinct blocks the steps write
        QTest::newRow("gun, single colour") << true << false << 4;
        QTest::newRow("gun, colourful") << true << true << 5;
        QTest::newRow("no gun, single colour") << false << false << 1;
    }
    void sameStateWithEachBlockOnce()
    {
        QFETCH(bool, gun);
        QFETCH(bool, colourful);
        QFETCH(int, blocks);

        QJsonObject waited;
        int waitedWrites = 0;
        {
            MouseRig rig("560", gun);
            rig.model.isColorful = colourful;
            QVERIFY(rig.start());
            DeviceContext ctx = rig.context();
            QVERIFY(applySteps(ctx));
            waited = rig.mouse->state();
            waitedWrites = blockWrites(rig.commands());
        }

        MouseRig rig("560", gun);
        rig.model.isColorful = colourful;
        QVERIFY(rig.start());
        DeviceContext ctx = rig.context();
        QSignalSpy finished(rig.link.get(), &Hid_Thread::batchFinished);
        rig.link->beginBatch();
        QVERIFY(applySteps(ctx));
        rig.link->endBatch();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 60000);
        QVERIFY(finished.first().first().toBool());

        QCOMPARE(blockWrites(rig.commands()), blocks);
        QVERIFY2(waitedWrites > blocks, qPrintable(QString::number(waitedWrites)));
        QCOMPARE(rig.mouse->state(), waited);
    }

    // A block whose read failed at the connect is read again as a step of the batch, behind the
    // writes queued before it: the caller queues all of it while the link's thread is held, and
    // the batch's result tells whether the block could be read, changed and sent.
    void unreadBlockReadAgainInTheBatch_data()
    {
        QTest::addColumn<bool>("readable");
        QTest::newRow("read again") << true;
        QTest::newRow("still unreadable") << false;
    }
    void unreadBlockReadAgainInTheBatch()
    {
        QFETCH(bool, readable);
        QJsonObject waited;
        {
            MouseRig rig("560");
            QVERIFY(rig.start());
            DeviceContext ctx = rig.tracked();
            QVERIFY(profile_block::read(ctx, 1));
            QVERIFY(applySteps(ctx));
            waited = rig.mouse->state();
        }

        MouseRig rig("560");
        QVERIFY(rig.start());
        const QJsonObject before = rig.mouse->state();
        DeviceContext ctx = rig.tracked();
        QVERIFY(rig.mouse->fault("wrong-echo")); // no reply checks out
        QVERIFY(!profile_block::read(ctx, 1));
        if (readable)
            QVERIFY(rig.mouse->fault("none"));
        rig.mouse->clearLog();

        QSemaphore gate;
        bool heldUntilQueued = false;
        QSignalSpy finished(rig.link.get(), &Hid_Thread::batchFinished);
        rig.link->beginBatch();
        rig.link->queueSteps([&](Hid_Thread &) {
            heldUntilQueued = gate.tryAcquire(1, 30000);
            return true;
        });
        QVERIFY(applySteps(ctx));
        gate.release();
        rig.link->endBatch();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 60000);
        QVERIFY(heldUntilQueued);
        QCOMPARE(finished.first().first().toBool(), readable);

        const QStringList commands = rig.commands();
        QCOMPARE(commands.count("8c 01"), 1);
        if (readable) {
            QCOMPARE(rig.mouse->state(), waited);
            QCOMPARE(rig.imageBlock(1), rig.deviceBlock(1));
        } else {
            QCOMPARE(blockWrites(commands), 0);
            QCOMPARE(rig.deviceBlock(1), VirtualMouse::bytesOf(before["profiles"].toArray().at(1)));
            // The writes that need no block went out.
            QVERIFY(commands.contains("04 01"));
        }
    }
};

QTEST_GUILESS_MAIN(TestApplyBatch)
#include "tst_apply_batch.moc"
