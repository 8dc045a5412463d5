// What the window benchmarks share: a program that lives in a folder of its
// own, every dialog answered at once, so that nothing waits for a human, and
// the core's messages kept instead of shown; and a count of a widget's paints.
#pragma once

#include "jsUtils.h"
#include "untModal.h"

#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <cstdlib>
#include <string>
#include <vector>

// A new folder in the temporary folder, named from stem, that becomes the
// program's home, runtime and settings folders; the program runs offscreen
// unless another platform is named. "" when the folder cannot be made.
inline std::string NewOffscreenHome(const std::string& stem)
{
    std::string folder = QDir::tempPath().toStdString() + "/" + stem + "-XXXXXX";
    if (!mkdtemp(folder.data())) return "";
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("HOME", folder.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder + "/.config").c_str(), 1);
    return folder;
}

// Counts the paint events of the widget it watches.
class TPaintCounter : public QObject {
public:
    explicit TPaintCounter(QWidget* watched) : Watched(watched)
    {
        if (Watched) Watched->installEventFilter(this);
    }
    ~TPaintCounter() override
    {
        if (Watched) Watched->removeEventFilter(this);
    }
    int Count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) ++Count;
        return false;
    }

private:
    QPointer<QWidget> Watched;
};

// Answers every dialog with Accepted and every Open dialog with no file.
class TAcceptAll : public IModalAnswerer {
public:
    int Answer(QDialog&) override { return QDialog::Accepted; }
    QStringList OpenFiles(const TOpenFilesRequest&) override { return {}; }
};

// Keeps the core's messages for the end of the run and gives the safe answer
// (Ok to Ok and Ok/Cancel boxes, No to Yes/No ones).
class TQuietSink : public IMessageSink {
public:
    TMessageAnswer Show(TMessageKind, const std::string& text, TMessageButtons buttons) override
    {
        Texts.push_back(text);
        return buttons == TMessageButtons::YesNo ? TMessageAnswer::No : TMessageAnswer::Ok;
    }
    void Beep(int, int) override {}
    void MessageBeep() override {}

    std::vector<std::string> Texts;
};

// For its lifetime the program's documents and own file lie in folder, every
// dialog is accepted and every message kept in Messages.
class TOffscreenProgram {
public:
    explicit TOffscreenProgram(const std::string& folder)
    {
        SetDocumentsFolderOverride(folder + "/Documents");
        QDir().mkpath(QString::fromStdString(folder + "/app"));
        SetProgramFileName(folder + "/app/marlo");
        SetModalAnswerer(&Answerer);
        SetMessageSink(&Messages);
    }
    ~TOffscreenProgram()
    {
        SetMessageSink(nullptr);
        SetModalAnswerer(nullptr);
    }
    TOffscreenProgram(const TOffscreenProgram&) = delete;
    TOffscreenProgram& operator=(const TOffscreenProgram&) = delete;

    TQuietSink Messages;

private:
    TAcceptAll Answerer;
};
