#include "untInstance.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

#include <unistd.h>

namespace {

const int MaxHandOverLength = 250;
const int WaitMilliseconds = 5000;
// A hand-over larger than this is not one of ours.
const quint32 MaxHandOverBytes = 64 * 1024;

QString UserName()
{
    const QString name = qEnvironmentVariable("USER");
    return name.isEmpty() ? QString::number(getuid()) : name;
}

} // namespace

QString HandOverText(const QStringList& parameters)
{
    QString text;
    for (int i = 0; i < parameters.size(); ++i) {
        if (i > 0 && text.size() + parameters[i].size() > MaxHandOverLength) break;
        text += parameters[i] + QLatin1String("\r\n");
    }
    return parameters.isEmpty() ? QStringLiteral("\r\n") : text;
}

QStringList HandOverLines(const QString& text)
{
    QStringList lines = text.split(QLatin1String("\r\n"));
    lines.removeLast(); // what follows the last CR LF is not a line
    return lines;
}

TInstance::TInstance(const QString& product, bool multipleCopies, QObject* parent)
    : QObject(parent), Product(product), MultipleCopies(multipleCopies)
{
}

TInstance::~TInstance() = default;

QString TInstance::ServerName() const { return Product + QLatin1Char('-') + UserName(); }

QString TInstance::LockFileName() const
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return folder + QLatin1Char('/') + ServerName() + QLatin1String(".lock");
}

bool TInstance::HandOver(const QStringList& parameters)
{
    QLockFile lock(LockFileName());
    const bool locked = lock.tryLock(WaitMilliseconds);

    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(WaitMilliseconds / 5)) {
        if (locked) Listen();
        return false;
    }
    if (MultipleCopies) return false;
    if (!locked) return true;
    return SendHandOver(socket, parameters);
}

void TInstance::Listen()
{
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (!server->listen(ServerName())) {
        delete server;
        return;
    }
    Server = server;
    connect(Server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = Server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadHandOver(socket); });
        }
    });
}

// A hand-over is a 32-bit byte count and that many bytes of UTF-8 text; the
// answer is one byte, 1 when the later copy should end.
bool TInstance::SendHandOver(QLocalSocket& socket, const QStringList& parameters)
{
    const QByteArray text = HandOverText(parameters).toUtf8();
    QByteArray message;
    QDataStream(&message, QIODevice::WriteOnly) << static_cast<quint32>(text.size());
    message += text;
    socket.write(message);
    if (!socket.waitForBytesWritten(WaitMilliseconds)) return false;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(WaitMilliseconds)) return false;
    char answer = 0;
    socket.getChar(&answer);
    return answer > 0;
}

void TInstance::ReadHandOver(QLocalSocket* socket)
{
    if (socket->bytesAvailable() < 4) return;
    quint32 size = 0;
    QDataStream(socket->peek(4)) >> size;
    if (size > MaxHandOverBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < 4 + static_cast<qint64>(size)) return;
    socket->skip(4);
    Received = QString::fromUtf8(socket->read(size));
    socket->putChar(MultipleCopies ? 0 : 1);
    socket->flush();
    emit Activated(Received);
}
