// Holds off the screen saver and monitor power-off while the program is the
// active application, through the desktop's screen-saver inhibit call on the
// session bus. Without a session bus or screen-saver service it does nothing.
#pragma once

#include <QDBusConnection>
#include <QObject>

class TPowerSavingBlock : public QObject {
    Q_OBJECT

public:
    // Follows the application's active state from now on.
    explicit TPowerSavingBlock(QObject* parent = nullptr);
    ~TPowerSavingBlock() override;

    void Hold();
    void Release();
    bool IsHeld() const { return Cookie != 0; }

signals:
    // The hold took effect.
    void Held();

private:
    void SendRelease(QDBus::CallMode mode);

    uint Cookie = 0;
};
