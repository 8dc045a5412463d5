// The core's way of talking to the user: message boxes, questions and beeps.
// The core never shows anything itself; it calls the sink installed here. The
// desktop program installs one that shows dialogs, marlo-info one that writes
// to standard error, and tests one that records and answers.
#pragma once

#include <string>

enum class TMessageKind { Error, Warning, Information, Confirmation };
enum class TMessageButtons { Ok, OkCancel, YesNo };
enum class TMessageAnswer { Ok, Cancel, Yes, No };

class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    // Shows text ("\r" marks a line break) and returns the button chosen.
    virtual TMessageAnswer Show(TMessageKind kind, const std::string& text,
                                TMessageButtons buttons) = 0;
    // A tone of the given frequency (Hz) and length (ms).
    virtual void Beep(int frequency, int milliseconds) = 0;
    // The system's default message beep.
    virtual void MessageBeep() = 0;
};

// Installs sink and returns the previous one. nullptr restores the silent
// default, which answers Ok to Ok and Ok/Cancel boxes and No to Yes/No ones.
IMessageSink* SetMessageSink(IMessageSink* sink);
IMessageSink& MessageSink();

void ShowErrorMessage(const std::string& text);
void ShowWarningMessage(const std::string& text);
void ShowInformationMessage(const std::string& text);
bool AskYesNo(const std::string& text);
bool AskOkCancel(const std::string& text);
void Beep(int frequency, int milliseconds);
void MessageBeep();
