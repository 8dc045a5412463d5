// Helpers shared by the core's tests: a message sink that records what the
// core shows and answers its questions, a temporary folder, and file helpers.
#pragma once

// A field of a packed record goes into EXPECT_EQ and its kin as +Field: the
// macros take references, and a reference to a misaligned field is undefined.

#include "untMessages.h"
#include "untDateTime.h"

#include <optional>
#include <string>
#include <vector>

struct TRecordedMessage {
    TMessageKind Kind;
    std::string Text;
};

// Installed for its lifetime; answers questions from a script (Yes/Ok when
// the script runs out).
class TMessageRecorder : public IMessageSink {
public:
    TMessageRecorder();
    ~TMessageRecorder() override;

    TMessageAnswer Show(TMessageKind kind, const std::string& text, TMessageButtons buttons) override;
    void Beep(int frequency, int milliseconds) override;
    void MessageBeep() override;

    void Answer(TMessageAnswer answer) { Answers.push_back(answer); }
    std::vector<std::string> Texts() const;

    std::vector<TRecordedMessage> Messages;
    std::vector<std::pair<int, int>> Beeps; // frequency, milliseconds
    int MessageBeeps = 0;

private:
    std::vector<TMessageAnswer> Answers;
    IMessageSink* Previous;
};

// A fresh folder under the system's temporary folder, removed with its contents.
class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    const std::string& Path() const { return Folder; } // ends with "/"
    std::string File(const std::string& name) const { return Folder + name; }

private:
    std::string Folder;
};

// Sets the process-wide format settings for its lifetime.
class TFormatScope {
public:
    explicit TFormatScope(const TFormatSettings& settings);
    ~TFormatScope();

private:
    TFormatSettings Saved;
};
// The machine's time zone, set for the scope's life.
class TZoneScope {
public:
    explicit TZoneScope(const char* zone);
    ~TZoneScope();

private:
    std::optional<std::string> Saved;
};
// Central European time with its summer time, written out so that no zone
// database is needed.
const char* const CentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";

// Unix seconds of a UTC date and time.
double UtcSeconds(int year, int month, int day, int hour, int minute, int second = 0);

TFormatSettings DotFormat();   // '.', "dd/mm/yyyy", "hh:nn:ss"
TFormatSettings CommaFormat(); // ',', "dd/mm/yyyy" with "." between, "hh:nn:ss"

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
