#pragma once
// Key codes and shift bits that the controls, the screen and the drivers (GUI, scenario
// runner) exchange: virtual-key codes for key down/up, character codes for typed keys.
namespace qmx44::controls::keys {

// Virtual-key codes (key down / key up).
inline constexpr int Backspace = 8;
inline constexpr int Tab = 9;
inline constexpr int Enter = 13;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int PageUp = 33;
inline constexpr int PageDown = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int Digit0 = 48; // '0'..'9' are 48..57, 'A'..'Z' 65..90
inline constexpr int F2 = 113;
inline constexpr int F4 = 115;

// Shift state bits.
inline constexpr int ShiftMask = 1;
inline constexpr int CtrlMask = 2;
inline constexpr int AltMask = 4;

// The virtual-key code of the key that types `ch` (letters and digits; 0 for others).
inline int virtualKeyFor(char16_t ch)
{
    if (ch >= u'0' && ch <= u'9')
        return ch;
    if (ch >= u'a' && ch <= u'z')
        return ch - u'a' + 'A';
    if (ch >= u'A' && ch <= u'Z')
        return ch;
    if (ch == u' ')
        return Space;
    return 0;
}

} // namespace qmx44::controls::keys
