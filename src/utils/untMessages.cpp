#include "untMessages.h"

namespace {

class TSilentSink : public IMessageSink {
public:
    TMessageAnswer Show(TMessageKind, const std::string&, TMessageButtons buttons) override
    {
        return buttons == TMessageButtons::YesNo ? TMessageAnswer::No : TMessageAnswer::Ok;
    }
    void Beep(int, int) override {}
    void MessageBeep() override {}
};

TSilentSink SilentSink;
IMessageSink* CurrentSink = &SilentSink;

} // namespace

IMessageSink* SetMessageSink(IMessageSink* sink)
{
    IMessageSink* previous = CurrentSink == &SilentSink ? nullptr : CurrentSink;
    CurrentSink = sink ? sink : &SilentSink;
    return previous;
}

IMessageSink& MessageSink() { return *CurrentSink; }

void ShowErrorMessage(const std::string& text)
{
    CurrentSink->Show(TMessageKind::Error, text, TMessageButtons::Ok);
}

void ShowWarningMessage(const std::string& text)
{
    CurrentSink->Show(TMessageKind::Warning, text, TMessageButtons::Ok);
}

void ShowInformationMessage(const std::string& text)
{
    CurrentSink->Show(TMessageKind::Information, text, TMessageButtons::Ok);
}

bool AskYesNo(const std::string& text)
{
    return CurrentSink->Show(TMessageKind::Confirmation, text, TMessageButtons::YesNo)
        == TMessageAnswer::Yes;
}

bool AskOkCancel(const std::string& text)
{
    return CurrentSink->Show(TMessageKind::Confirmation, text, TMessageButtons::OkCancel)
        == TMessageAnswer::Ok;
}

void Beep(int frequency, int milliseconds) { CurrentSink->Beep(frequency, milliseconds); }
void MessageBeep() { CurrentSink->MessageBeep(); }
