// What the window benchmarks share: every dialog answered at once, so that
// nothing waits for a human, and the core's messages kept instead of shown.
#pragma once

#include "untModal.h"

#include <QDialog>

#include <string>
#include <vector>

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
