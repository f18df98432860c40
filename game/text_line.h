// A short text put together in place from pieces and whole numbers, for the texts that change
// every update (counters, the timer, the figures of the credits panel): making one allocates
// nothing. What does not fit in its room is left off.
#pragma once

#include <charconv>
#include <string_view>

#include "framework/app/string.h"

class c_TextLine {
public:
    c_TextLine() = default;
    explicit c_TextLine(int value) { Add(value); }

    c_TextLine& Add(std::u16string_view piece) {
        for (char16_t unit : piece) {
            if (m_length == kRoom) break;
            m_units[m_length++] = unit;
        }
        return *this;
    }
    c_TextLine& Add(const String& piece) { return Add(piece.View()); }
    // As the game writes an Int: "%i".
    c_TextLine& Add(int value) {
        char digits[12];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        for (const char* c = digits; c != end && m_length < kRoom; ++c) m_units[m_length++] = static_cast<char16_t>(*c);
        return *this;
    }

    std::u16string_view View() const { return std::u16string_view(m_units, static_cast<size_t>(m_length)); }

private:
    static constexpr int kRoom = 64;
    char16_t m_units[kRoom];
    int m_length = 0;
};
