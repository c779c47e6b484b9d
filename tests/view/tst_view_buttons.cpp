// The view's slots for profiles, buttons and DPI: the file dialogs they show, and that QML's
// values reach the mouse and the files through them.

#include "support/test_runtime.h"
#include "support/virtual_mouse.h"
#include "view/dialogs.h"
#include "view/myqquickview.h"

#include <QJsonArray>
#include <QtTest>

#include <memory>

namespace
{

class FakeDialogs : public Dialogs
{
public:
    QString answer;
    QStringList asked; // "open|caption|dir|filter"

    QString openFileName(QWidget *, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        asked << QStringList{"open", caption, dir, filter}.join('|');
        return answer;
    }
    QString saveFileName(QWidget *, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        asked << QStringList{"save", caption, dir, filter}.join('|');
        return answer;
    }
};

} // namespace

class TestViewButtons : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestRuntime> runtime;
    FakeDialogs dialogs;

    // A view over the runtime copy, connected to a virtual mouse of `family`.
    struct Connected {
        std::unique_ptr<VirtualMouse> mouse;
        std::unique_ptr<Hid_Thread> link;
        std::unique_ptr<myQQuickView> view;
        ~Connected()
        {
            if (view)
                view->deviceLink = nullptr;
            link.reset();
            mouse.reset();
        }
    };
    bool connect(Connected &c, const QString &family)
    {
        c.mouse = std::make_unique<VirtualMouse>(VirtualMouse::Options{family, false, QString()});
        if (!c.mouse->start())
            return false;
        c.view = std::make_unique<myQQuickView>();
        c.link = std::make_unique<Hid_Thread>();
        c.link->traits = c.view.get();
        const int index = c.link->scanDevices();
        if (index < 0)
            return false;
        c.link->selectDevice(index);
        c.view->deviceLink = c.link.get();
        return true;
    }

private slots:
    void init()
    {
        runtime = std::make_unique<TestRuntime>();
        QVERIFY(runtime->isValid());
        dialogs = FakeDialogs();
        Dialogs::setInstance(&dialogs);
    }
    void cleanup()
    {
        Dialogs::setInstance(nullptr);
        runtime.reset();
    }

    void profileDialogs()
    {
        myQQuickView view;
        const QString documents = Dialogs::documentsFolder();
        const QByteArray p3 = runtime->read("modules/setting/p3.bin");

        // Cancelled: nothing changes.
        QVERIFY(!view.loadProfile(2));
        QCOMPARE(dialogs.asked, QStringList("open|Open File|" + documents + "|Profile(*.pf)"));
        QCOMPARE(runtime->read("modules/setting/p3.bin"), p3);

        // Chosen: the current slot reads the imported file at once.
        QVERIFY(runtime->write("in.pf", "[mouse]\nlod=8\n[mouseKeyMatrix]\n0=4, 0, 0, 0\n"));
        dialogs.answer = runtime->path("in.pf");
        view.setCurrentProfile(2);
        QVERIFY(view.loadProfile(2));
        QCOMPARE(view.getData("mouse/lod", false).toInt(), 8);

        // No dialog for a slot that does not exist.
        dialogs.asked.clear();
        QVERIFY(!view.loadProfile(10));
        view.saveProfile(-1);
        QCOMPARE(dialogs.asked, QStringList());

        dialogs.answer = runtime->path("out.pf");
        // Export proposes the profile's name as the dialog shows it, made a file name.
        QVERIFY(runtime->write("modules/setting/name.bin",
                               "[profile]\nprofileName=Standard0, a/b:c1, ..2\n"));
        view.saveProfile(0);
        view.saveProfile(1);
        view.saveProfile(2);
        view.saveProfile(3);
        QCOMPARE(dialogs.asked,
                 QStringList({"save|Save File|" + documents + "/Standard.pf|Profile(*.pf)",
                              "save|Save File|" + documents + "/a_b_c.pf|Profile(*.pf)",
                              "save|Save File|" + documents + "/profile3.pf|Profile(*.pf)",
                              "save|Save File|" + documents + "/profile4.pf|Profile(*.pf)"}));
        QCOMPARE(runtime->read("out.pf"), runtime->read("modules/setting/p1.bin"));

        view.resetProfile(2);
        QCOMPARE(runtime->read("modules/setting/p3.bin"), runtime->read("modules/setting/pD.bin"));
        view.copyProfile(5, 0);
        QCOMPARE(runtime->read("modules/setting/p6.bin"), runtime->read("modules/setting/p1.bin"));
    }

    void currentProfileOfASilentMouseIsZero()
    {
        Connected c;
        QVERIFY(connect(c, "560"));
        c.link->hid560_02H_SetCurrentProfile(3);
        QCOMPARE(c.view->mouseReadCurrentProfile().toInt(), 3);
        QVERIFY(c.mouse->fault("silent-feature"));
        QCOMPARE(c.view->mouseReadCurrentProfile().toInt(), 0);
    }

    // The shipped settings describe a 553-family mouse.
    void buttonsAndDpiThroughTheView()
    {
        Connected c;
        QVERIFY(connect(c, "553"));
        QVariantList office, game;
        for (int n = 0; n < 16; ++n) {
            office << 4 << 0 << n << 0;
            game << 0 << 0 << 0xF0 << 0;
        }
        c.view->mouseSetKeyMatrix(0, office, game, true, {1, 2, 3});
        QByteArray expected;
        for (int n = 0; n < 16; ++n)
            expected += QByteArray::fromHex("0900") + char(n + 1) + char(0);
        QCOMPARE(c.mouse->state()["keyMatrices"][0].toString(),
                 QString::fromLatin1(expected.toHex(' ')));
        QCOMPARE(c.view->mouseGetKeydefine(0, 3, false), QVariantList({"4", "0", "3", "0"}));
        QCOMPARE(c.view->mouseGetKeydefine(1, 5, true), QVariantList({"8", "0", "1", "0"}));

        c.view->mouseSetDpi(8, "3320", {500, 1000, 1500, 2000, 2500, 3000, 3500, 4000},
                            {1, 1, 0, 1, 1, 1, 1, 1});
        QCOMPARE(c.mouse->state()["dpiTable"].toString(), QString("21 22 80 24 25 26 27 28"));
        c.view->mouseSetCurrentDPI(4);
        QCOMPARE(c.mouse->state()["dpiStage"].toInt(), 4);

        c.view->mouseSwitchKeyMatrix(2);
        QCOMPARE(c.mouse->state()["currentKeyMatrix"].toInt(), 1);
        QTest::ignoreMessage(QtDebugMsg, "test 52 1");
        c.view->mouseSetLodValue(108, 1);
        QCOMPARE(int(c.view->profileImage[1][101]), 52);
    }
};

QTEST_MAIN(TestViewButtons)
#include "tst_view_buttons.moc"
