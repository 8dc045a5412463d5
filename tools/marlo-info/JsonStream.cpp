#include "JsonStream.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>

namespace {

// The buffer goes to the stream in pieces of this size.
const size_t BufferSize = 64 * 1024;

std::string Dumped(const nlohmann::json& value)
{
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// Printable ASCII other than the quote and the backslash: a text of only
// these is written as it is, which is what nlohmann would write.
bool NeedsNoEscape(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c >= 0x20 && c <= 0x7E && c != '"' && c != '\\'; });
}

} // namespace

TJsonStream::TJsonStream(std::ostream& out) : Out(out), Buffer(BufferSize) {}

TJsonStream::~TJsonStream() { Flush(); }

void TJsonStream::Flush()
{
    Out.write(Buffer.data(), static_cast<std::streamsize>(Used));
    Used = 0;
}

void TJsonStream::AppendPastTheBuffer(const char* text, size_t size)
{
    Flush();
    if (size > Buffer.size()) Out.write(text, static_cast<std::streamsize>(size));
    else Append(text, size);
}

void TJsonStream::NextLine()
{
    if (Filled.back()) Append(Indents.data(), Filled.size() + 2);
    else LineBreak();
    Filled.back() = true;
}

void TJsonStream::LineBreak() { Append(Indents.data() + 1, Filled.size() + 1); }

void TJsonStream::StartValue()
{
    if (AfterKey) AfterKey = false;
    else if (!Filled.empty()) NextLine();
}

void TJsonStream::Key(std::string_view name)
{
    NextLine();
    Quoted(name);
    Append(": ", 2);
    AfterKey = true;
}

void TJsonStream::Open(char bracket)
{
    StartValue();
    Append(bracket);
    Filled.push_back(false);
    if (Indents.size() < Filled.size() + 2) Indents.resize(2 * Filled.size() + 2, ' ');
}

void TJsonStream::Close(char bracket)
{
    const bool filled = Filled.back();
    Filled.pop_back();
    if (filled) LineBreak();
    Append(bracket);
}

void TJsonStream::BeginObject() { Open('{'); }
void TJsonStream::EndObject() { Close('}'); }
void TJsonStream::BeginArray() { Open('['); }
void TJsonStream::EndArray() { Close(']'); }

void TJsonStream::Scalar(std::string_view text)
{
    StartValue();
    Append(text);
}

void TJsonStream::Value(std::nullptr_t) { Scalar("null"); }

void TJsonStream::Value(bool value) { Scalar(value ? "true" : "false"); }

// The digits are made by the function nlohmann's dump calls for a double,
// without building a document and a serializer for every number.
void TJsonStream::Value(double value)
{
    if (!std::isfinite(value)) return Scalar("null");
    char digits[64];
    const char* end = nlohmann::detail::to_chars(digits, digits + sizeof digits, value);
    Scalar(std::string_view(digits, static_cast<size_t>(end - digits)));
}

void TJsonStream::Single(float value)
{
    if (!std::isfinite(value)) return Scalar("null");
    char digits[32];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr; // the shortest that reads back
    double widened = 0;
    std::from_chars(digits, end, widened);
    Value(widened);
}

void TJsonStream::Value(std::string_view text)
{
    StartValue();
    Quoted(text);
}

void TJsonStream::Quoted(std::string_view text)
{
    if (NeedsNoEscape(text)) {
        Append('"');
        Append(text);
        Append('"');
    } else {
        Append(Dumped(std::string(text)));
    }
}
