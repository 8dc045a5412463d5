#include "untPowerSaving.h"

#include "jsUtils.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QTimer>

namespace {

const char* const Service = "org.freedesktop.ScreenSaver";
const char* const Path = "/org/freedesktop/ScreenSaver";
const char* const Interface = "org.freedesktop.ScreenSaver";
const char* const ConnectionName = "marlo-screen-saver";
const int CallTimeout = 2000;

// A connection of our own to the session bus the environment names now, made
// when first needed. One that is no longer connected is dropped, so that a
// bus started or restarted meanwhile is reached.
QDBusConnection SessionBus()
{
    QDBusConnection bus(ConnectionName);
    if (bus.isConnected()) return bus;
    QDBusConnection::disconnectFromBus(ConnectionName);
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    bus = address.isEmpty() ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, ConnectionName)
                            : QDBusConnection::connectToBus(address, ConnectionName);
    if (!bus.isConnected()) QDBusConnection::disconnectFromBus(ConnectionName);
    return bus;
}

} // namespace

TPowerSavingBlock::TPowerSavingBlock(QObject* parent) : QObject(parent)
{
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            Hold();
        else
            Release();
    });
    // Already active: no change will come, so hold once the owner has
    // connected to Held.
    if (QGuiApplication::applicationState() == Qt::ApplicationActive)
        QTimer::singleShot(0, this, [this] {
            if (QGuiApplication::applicationState() == Qt::ApplicationActive) Hold();
        });
}

// The release is waited for, so that it leaves before the program ends.
TPowerSavingBlock::~TPowerSavingBlock() { SendRelease(QDBus::Block); }

void TPowerSavingBlock::Hold()
{
    if (IsHeld()) return;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, "Inhibit");
    call << QString::fromStdString(FileDescription()) << QStringLiteral("Viewing a training");
    // A second try when the first found the bus gone since the last hold.
    for (int attempt = 0; attempt < 2; ++attempt) {
        QDBusConnection bus = SessionBus();
        if (!bus.isConnected()) return;
        const QDBusMessage reply = bus.call(call, QDBus::Block, CallTimeout);
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
            Cookie = reply.arguments().constFirst().toUInt();
            break;
        }
        if (bus.isConnected()) return; // the service refused or does not exist
    }
    if (IsHeld()) emit Held();
}

void TPowerSavingBlock::Release() { SendRelease(QDBus::NoBlock); }

void TPowerSavingBlock::SendRelease(QDBus::CallMode mode)
{
    if (!IsHeld()) return;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, "UnInhibit");
    call << Cookie;
    // The hold belongs to the connection that took it.
    QDBusConnection(ConnectionName).call(call, mode, CallTimeout);
    Cookie = 0;
}
