// A JSON document written to a stream as it is made, value by value, so that
// a document of any length needs no more memory than one of its values.
//
// The layout is that of nlohmann::json's dump(1): one member or element per
// line, indented one space per level, "[]" and "{}" for empty containers.
// Floating-point numbers are formatted and texts escaped by nlohmann itself,
// so the output equals a dump of the same document byte for byte.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

class TJsonStream {
public:
    explicit TJsonStream(std::ostream& out);
    ~TJsonStream(); // writes what is still buffered
    TJsonStream(const TJsonStream&) = delete;
    TJsonStream& operator=(const TJsonStream&) = delete;

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();

    // Starts the next member of the open object; its value comes next. A
    // dump of nlohmann::json lists the members sorted by name, and so must
    // the callers that want the same text.
    void Key(std::string_view name);
    template <typename T>
    void Member(std::string_view name, T value)
    {
        Key(name);
        Value(value);
    }

    void Value(std::nullptr_t);
    void Value(bool value);
    // nlohmann's shortest decimal that reads back to the same double; null
    // for infinities and NaN, which JSON cannot hold.
    void Value(double value);
    // A single would be widened to a double with digits it never had; the
    // caller decides how it is shown.
    void Value(float value) = delete;
    // The single as the double its shortest decimal reads back as, so that
    // the text shows those digits and no more (nlohmann's digits of that
    // double may still end in a stray ...0002); null for infinities and NaN.
    void Single(float value);
    // The text escaped by nlohmann, which puts U+FFFD in place of what is
    // not valid UTF-8, so that any text, a file name among them, can be
    // written.
    void Value(std::string_view text);
    void Value(const std::string& text) { Value(std::string_view(text)); }
    void Value(const char* text) { Value(std::string_view(text)); }
    // Integers in plain decimal, as nlohmann writes them.
    template <typename T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
    void Value(T value)
    {
        char digits[24];
        const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        Scalar(std::string_view(digits, static_cast<size_t>(end - digits)));
    }

    // Hands the buffered text to the stream.
    void Flush();

private:
    // A value already in its JSON form.
    void Scalar(std::string_view text);
    // The text as a JSON string, quoted and escaped.
    void Quoted(std::string_view text);
    // What goes before a value: nothing after a key, else the separator and
    // line break of the next element of the open array.
    void StartValue();
    void NextLine();
    // A line break and the indent of the open containers.
    void LineBreak();
    void Open(char bracket);
    void Close(char bracket);

    // Adds the bytes to the buffer, handing it to the stream first when they
    // do not fit; a text longer than the buffer goes straight to the stream.
    void Append(const char* text, size_t size)
    {
        if (Used + size > Buffer.size()) return AppendPastTheBuffer(text, size);
        std::memcpy(Buffer.data() + Used, text, size);
        Used += size;
    }
    void AppendPastTheBuffer(const char* text, size_t size);
    void Append(std::string_view text) { Append(text.data(), text.size()); }
    void Append(char c)
    {
        if (Used == Buffer.size()) Flush();
        Buffer[Used++] = c;
    }

    std::ostream& Out;
    std::vector<char> Buffer;
    size_t Used = 0;
    std::vector<char> Filled; // for each open container, whether it holds anything yet
    // A comma, a line break and at least one space per open container: the
    // start of a further line, or without the comma of a first or last one.
    std::string Indents = ",\n";
    bool AfterKey = false;
};
