// The tables behind the numbered actions and the iCade's letters, which p_PlayKey and the iCade
// reading use; the tools that give the game its input read them here instead of keeping copies.
#pragma once

#include <initializer_list>
#include <span>

// A short list of input codes, written as a braced list.
struct c_InputCodes {
    int m_count = 0;
    int m_code[4] = {};
    constexpr c_InputCodes() = default;
    constexpr c_InputCodes(std::initializer_list<int> list) {
        for (int c : list) m_code[m_count++] = c;
    }
};

// A direction of the left stick: -1, 0 or 1 on each axis, y up; both 0 for none.
struct c_StickDirection {
    int m_x = 0, m_y = 0;
};

// One action's inputs: keyboard keys (framework key codes), pad buttons, the left-stick
// direction (read when asked for) and iCade entries of m_pad. A row for pads only gives nothing
// for pad -1, keyboard and iCade included.
struct c_ActionInputs {
    int m_action;
    c_InputCodes m_keys;
    c_InputCodes m_buttons;
    c_StickDirection m_stick;
    c_InputCodes m_icade;
    bool m_padsOnly;
};

// An iCade button: the letter (upper case) that presses it, the one that lets it go, and the
// entry of m_pad it sets.
struct c_ICadeLetters {
    char m_press, m_release;
    int m_entry;
};

// The actions' inputs with the iCade off, one row an action.
std::span<const c_ActionInputs> vo_game_ActionTable();
// The iCade's buttons.
std::span<const c_ICadeLetters> vo_game_ICadeTable();
