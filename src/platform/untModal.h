// The one place where modal dialogs run. The desktop program shows them;
// tests install an answerer that sees every dialog and gives its result, so
// nothing waits for a human.
#pragma once

#include "untMessages.h"

#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

struct TOpenFilesRequest {
    QString Caption;
    QString Folder;
    QStringList Filters;
    QString SelectedFilter;
};

// A Save dialog: it asks before an existing file is overwritten and adds
// DefaultSuffix to a name typed without one.
struct TSaveFileRequest {
    QString Caption;
    QString Folder;
    QString FileName; // without its folder
    QStringList Filters;
    QString DefaultSuffix;
};

class IModalAnswerer {
public:
    virtual ~IModalAnswerer() = default;
    // The result exec() would have given.
    virtual int Answer(QDialog& dialog) = 0;
    // The files chosen in an Open dialog; none for Cancel.
    virtual QStringList OpenFiles(const TOpenFilesRequest& request) = 0;
    // The file chosen in a Save dialog; empty for Cancel.
    virtual QString SaveFile(const TSaveFileRequest&) { return QString(); }
    virtual void Beeped() {}
};

// Installs answerer (nullptr: show dialogs again) and returns the previous one.
IModalAnswerer* SetModalAnswerer(IModalAnswerer* answerer);

int ExecModal(QDialog& dialog);
QStringList ChooseOpenFiles(QWidget* parent, const TOpenFilesRequest& request);
// The chosen file's path; empty when the user cancelled.
QString ChooseSaveFile(QWidget* parent, const TSaveFileRequest& request);
void SystemBeep();

// The core's messages as message boxes (run through ExecModal) and beeps.
class TGuiMessageSink : public IMessageSink {
public:
    TMessageAnswer Show(TMessageKind kind, const std::string& text, TMessageButtons buttons) override;
    void Beep(int frequency, int milliseconds) override;
    void MessageBeep() override;
};
