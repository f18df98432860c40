// The framework's text type: an immutable sequence of UTF-16 code units, passed by value.
// Copies share one buffer; nothing ever writes to a buffer once it is made.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

class String {
public:
    String() = default;
    String(const char* utf8);
    String(std::string_view utf8);
    String(std::u16string units);
    String(const char16_t* units, int length);
    explicit String(int value);
    explicit String(float value);

    // One code unit per character: the character's code below 0x10000.
    static String FromChar(int code);
    // Every byte taken as one code unit (Latin-1).
    static String FromBytes(const unsigned char* bytes, int length);
    // Reads the rest of the stream and decodes it (byte-order marks, UTF-8, Latin-1 fallback).
    static String Load(FILE* stream);
    // Decodes bytes read whole as Load does.
    static String Decode(const unsigned char* bytes, size_t length);

    int Length() const { return m_rep ? static_cast<int>(m_rep->size()) : 0; }
    bool Empty() const { return Length() == 0; }
    // The code unit at i; 0 outside the string.
    int operator[](int i) const;
    const char16_t* Data() const { return m_rep ? m_rep->data() : u""; }
    std::u16string_view View() const { return m_rep ? std::u16string_view(*m_rep) : std::u16string_view(); }

    String operator+(const String& other) const;
    String& operator+=(const String& other);
    bool operator==(const String& other) const { return View() == other.View(); }
    bool operator<(const String& other) const { return View() < other.View(); }
    int Compare(const String& other) const;

    // Index of the first occurrence at or after start, or -1.
    int Find(const String& what, int start = 0) const;
    bool Contains(const String& what) const { return Find(what) >= 0; }
    bool StartsWith(const String& prefix) const;
    bool EndsWith(const String& suffix) const;
    // Units from..to (to exclusive); both clamped to the string.
    String Slice(int from, int to) const;
    String Slice(int from) const { return Slice(from, Length()); }
    String Replace(const String& what, const String& with) const;
    String ToLower() const;
    int ToInt() const;
    float ToFloat() const;

    // Each code unit on its own: one, two or three bytes (a surrogate becomes three).
    std::string ToUtf8() const;
    // The low byte of each code unit.
    std::string ToNarrow() const;

private:
    std::shared_ptr<const std::u16string> m_rep;
};

String operator+(const char* utf8, const String& s);

// Encodes code units as the state file and the console expect; appends to out.
void vo_utf16_to_utf8(std::u16string_view units, std::string& out);
// Decodes UTF-8 of one to three bytes a character, each character one code unit. Anything
// else (a stray continuation byte, a four-byte lead, a cut sequence) gives false.
bool vo_utf8_to_utf16(const unsigned char* bytes, size_t length, std::u16string& out);

// The last text-decoding problem ("Invalid UTF-8"), or null.
extern const char* _str_load_err;
