// text.h - CountedString, the fixed-capacity text every page is built from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// A length byte followed by at most Capacity one-byte characters, the form
// in which the BBS stores its text fields. Storing a longer text keeps its
// first Capacity characters and drops the rest without a sign.
template <std::size_t Capacity>
struct CountedString {
    static_assert(Capacity >= 1 && Capacity <= 255, "a capacity is 1 to 255");

    std::uint8_t length = 0;
    // Only the first length characters are ever read, so storage past them
    // is neither cleared nor copied: a text costs what it holds.
    char chars[Capacity];

    CountedString() = default;
    CountedString(const CountedString& other) { Assign(other.chars, other.length); }
    CountedString& operator=(const CountedString& other)
    {
        if (this != &other)
            Assign(other.chars, other.length);
        return *this;
    }

    // Fixed text of the program; a literal longer than the capacity is cut.
    CountedString(const char* literal) { Assign(literal, std::strlen(literal)); }

    template <std::size_t Other>
    CountedString(const CountedString<Other>& other) { Assign(other.chars, other.length); }

    template <std::size_t Other>
    CountedString& operator=(const CountedString<Other>& other)
    {
        Assign(other.chars, other.length);
        return *this;
    }

    void Assign(const char* bytes, std::size_t count)
    {
        length = static_cast<std::uint8_t>(count < Capacity ? count : Capacity);
        std::memmove(chars, bytes, length);
    }

    // Appends what fits; the rest is dropped.
    void Append(const char* bytes, std::size_t count)
    {
        std::size_t room = Capacity - length;
        std::size_t taken = count < room ? count : room;
        std::memcpy(chars + length, bytes, taken);
        length = static_cast<std::uint8_t>(length + taken);
    }

    void Append(char byte) { Append(&byte, 1); }
};

// Every text that an expression builds has the largest capacity.
using Text = CountedString<255>;

template <std::size_t A, std::size_t B>
bool operator==(const CountedString<A>& a, const CountedString<B>& b)
{
    return a.length == b.length && std::memcmp(a.chars, b.chars, a.length) == 0;
}

// a, then as much of b as fits into 255 characters.
Text ConcatText(const Text& a, const Text& b);

// The characters from position index (counted from 1) on, at most count.
Text CopyText(const Text& text, std::int32_t index, std::int32_t count);

// Removes count characters from position index on; out-of-range arguments
// leave the text unchanged or stop at its end.
void DeleteText(Text& text, std::int32_t index, std::int32_t count);

// Decimal text, with a minus sign when negative and no padding.
Text NumberText(std::int32_t value);

struct ParsedNumber {
    std::int32_t value;
    // 0 when the whole text is a number; otherwise the position of the
    // offending character, or the length plus 1 when a digit was missing.
    std::int32_t errorPosition;
};

// Decimal, or hexadecimal after "$", with leading spaces and a sign.
ParsedNumber ParseNumber(const Text& text);
