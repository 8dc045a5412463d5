#include "untPowerSaving.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>

namespace {

const char* const Service = "org.freedesktop.ScreenSaver";
const char* const Path = "/org/freedesktop/ScreenSaver";
const char* const Interface = "org.freedesktop.ScreenSaver";
const int CallTimeout = 2000;

} // namespace

TPowerSavingBlock::TPowerSavingBlock(QObject* parent) : QObject(parent)
{
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            Hold();
        else
            Release();
    });
}

TPowerSavingBlock::~TPowerSavingBlock() { Release(); }

void TPowerSavingBlock::Hold()
{
    if (IsHeld()) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, "Inhibit");
    call << QGuiApplication::applicationDisplayName() << QStringLiteral("Viewing a training");
    const QDBusMessage reply = bus.call(call, QDBus::Block, CallTimeout);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return;
    Cookie = reply.arguments().constFirst().toUInt();
    if (IsHeld()) emit Held();
}

void TPowerSavingBlock::Release()
{
    if (!IsHeld()) return;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, "UnInhibit");
    call << Cookie;
    QDBusConnection::sessionBus().call(call, QDBus::NoBlock);
    Cookie = 0;
}
