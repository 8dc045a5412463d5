// One running copy per user. The first copy listens on a local socket named
// after the product and the user; a later copy hands its command line to it
// and ends when it answers. A lock file makes the check and the start of the
// listener one step, so two copies started together cannot both become first.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// The command line as a later copy hands it over: each parameter followed by
// CR LF, taken while the text so far plus the parameter stay within 250
// characters (the first always); CR LF alone for no parameters.
QString HandOverText(const QStringList& parameters);
// Lines of a handed-over text (each ends with CR LF).
QStringList HandOverLines(const QString& text);

class TInstance : public QObject {
    Q_OBJECT

public:
    // product names the socket and the lock (tests pass a name of their own).
    TInstance(const QString& product, bool multipleCopies, QObject* parent = nullptr);
    ~TInstance() override;

    // Runs the check for this start; true when this copy should end now
    // because a running copy took its command line (or the check could not
    // be made in time).
    bool HandOver(const QStringList& parameters);

    bool IsFirst() const { return Server != nullptr; }
    // The text the last later copy handed over.
    QString HandedOverText() const { return Received; }
    QString ServerName() const;

signals:
    // A later copy handed over text; the receiver has already answered it.
    void Activated(const QString& text);

private:
    void Listen();
    void ReadHandOver(QLocalSocket* socket);
    bool SendHandOver(QLocalSocket& socket, const QStringList& parameters);
    QString LockFileName() const;

    QString Product;
    bool MultipleCopies;
    QLocalServer* Server = nullptr;
    QString Received;
};
