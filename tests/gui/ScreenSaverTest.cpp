// The screen-saver hold seen from the other side of a private session bus: a
// stand-in screen-saver service (this test program started with
// "--screen-saver-service") reports each call it gets on its standard output.
#include "GuiKit.h"

#include "untPowerSaving.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <cstdio>
#include <optional>

namespace {

const char* const ScreenSaverPath = "/org/freedesktop/ScreenSaver";

// Answers Inhibit with cookies 1, 2, ... and UnInhibit with nothing; prints
// "Inhibit APPLICATION COOKIE" and "UnInhibit COOKIE".
class TScreenSaverService : public QDBusVirtualObject {
public:
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QList<QVariant> arguments = message.arguments();
        if (message.member() == "Inhibit" && arguments.size() == 2) {
            const uint cookie = ++LastCookie;
            Report(QStringLiteral("Inhibit %1 %2").arg(arguments[0].toString()).arg(cookie));
            return connection.send(message.createReply(QVariant::fromValue(cookie)));
        }
        if (message.member() == "UnInhibit" && arguments.size() == 1) {
            Report(QStringLiteral("UnInhibit %1").arg(arguments[0].toUInt()));
            return connection.send(message.createReply());
        }
        return false;
    }
    QString introspect(const QString&) const override { return QString(); }

private:
    static void Report(const QString& line)
    {
        std::printf("%s\n", line.toUtf8().constData());
        std::fflush(stdout);
    }
    uint LastCookie = 0;
};

} // namespace

int RunScreenSaverService(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QDBusConnection bus = QDBusConnection::connectToBus(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"), "service");
    TScreenSaverService service;
    if (!bus.registerVirtualObject(ScreenSaverPath, &service, QDBusConnection::SingleNode)
        || !bus.registerService("org.freedesktop.ScreenSaver"))
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

class ScreenSaverTest : public TShellTest {
protected:
    void SetUp() override
    {
        TShellTest::SetUp();
        const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
        if (daemon.isEmpty()) GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus)";
        Bus.start(daemon, {"--session", "--print-address", "--nofork"});
        ASSERT_TRUE(Bus.waitForStarted(5000));
        const QString address = QString::fromUtf8(ReadLine(Bus)).trimmed();
        ASSERT_FALSE(address.isEmpty());
        PreviousAddress = qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")
                              ? std::optional<QByteArray>(qgetenv("DBUS_SESSION_BUS_ADDRESS"))
                              : std::nullopt;
        AddressChanged = true;
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());

        Service.start(QCoreApplication::applicationFilePath(), {"--screen-saver-service"});
        ASSERT_TRUE(Service.waitForStarted(5000));
        ASSERT_EQ(ReadLine(Service), "ready\n");
    }

    void TearDown() override
    {
        for (QProcess* process : {&Service, &Bus}) {
            process->kill();
            process->waitForFinished(5000);
        }
        if (AddressChanged && PreviousAddress) qputenv("DBUS_SESSION_BUS_ADDRESS", *PreviousAddress);
        if (AddressChanged && !PreviousAddress) qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        TShellTest::TearDown();
    }

    static QByteArray ReadLine(QProcess& process)
    {
        QElapsedTimer clock;
        clock.start();
        while (!process.canReadLine() && clock.elapsed() < 10000) process.waitForReadyRead(100);
        return process.readLine();
    }

    // Waits while the event loop runs until the service reports a call that
    // starts with prefix; the calls before it are skipped.
    QString WaitForCall(const QString& prefix)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 10000) {
            while (Service.canReadLine()) {
                const QString call = QString::fromUtf8(Service.readLine()).trimmed();
                if (call.startsWith(prefix)) return call;
            }
            QTest::qWait(10);
        }
        return QString();
    }

    QProcess Bus, Service;
    std::optional<QByteArray> PreviousAddress;
    bool AddressChanged = false;
};

TEST_F(ScreenSaverTest, HeldWhileTheProgramIsActiveAndReleasedWhenDeactivatedOrEnded)
{
    auto main = NewMain();
    main->show();
    main->activateWindow();
    EXPECT_EQ(WaitForCall("Inhibit"), "Inhibit Marlo rowing training viewer 1");
    EXPECT_TRUE(main->MessageText().startsWith("Screen saver blocked at ")) << main->MessageText().toStdString();
    EXPECT_GT(main->MessageText().size(), QString("Screen saver blocked at ").size());

    // The offscreen platform has no other application to switch to, so the
    // test announces the change of state the platform would.
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(WaitForCall("UnInhibit"), "UnInhibit 1");
    emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_EQ(WaitForCall("Inhibit"), "Inhibit Marlo rowing training viewer 2");
    main.reset();
    EXPECT_EQ(WaitForCall("UnInhibit"), "UnInhibit 2");
}

TEST_F(ScreenSaverTest, ABlockMadeWhileTheProgramIsActiveHoldsAtOnce)
{
    QWidget window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([] { return QGuiApplication::applicationState() == Qt::ApplicationActive; }));
    TPowerSavingBlock block;
    QSignalSpy held(&block, &TPowerSavingBlock::Held);
    EXPECT_TRUE(held.wait(5000));
    EXPECT_TRUE(block.IsHeld());
    EXPECT_TRUE(WaitForCall("Inhibit").startsWith("Inhibit "));
}
