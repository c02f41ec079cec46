#include "platform/x11/KeyCodes.h"

#include <array>
#include <utility>

namespace velmor {

namespace {

// {virtual key code, evdev code}. Letters, digits and punctuation follow the US layout's
// positions; the Help key of Apple keyboards sits where PC keyboards have Insert, and their
// keypad Clear where PC keyboards have Num Lock.
constexpr std::array<std::pair<int, int>, 104> positions{{
    // Letters
    {0x00, 30}, // A
    {0x01, 31}, // S
    {0x02, 32}, // D
    {0x03, 33}, // F
    {0x04, 35}, // H
    {0x05, 34}, // G
    {0x06, 44}, // Z
    {0x07, 45}, // X
    {0x08, 46}, // C
    {0x09, 47}, // V
    {0x0B, 48}, // B
    {0x0C, 16}, // Q
    {0x0D, 17}, // W
    {0x0E, 18}, // E
    {0x0F, 19}, // R
    {0x10, 21}, // Y
    {0x11, 20}, // T
    {0x1F, 24}, // O
    {0x20, 22}, // U
    {0x22, 23}, // I
    {0x23, 25}, // P
    {0x25, 38}, // L
    {0x26, 36}, // J
    {0x28, 37}, // K
    {0x2D, 49}, // N
    {0x2E, 50}, // M
    // Digits
    {0x12, 2},  // 1
    {0x13, 3},  // 2
    {0x14, 4},  // 3
    {0x15, 5},  // 4
    {0x17, 6},  // 5
    {0x16, 7},  // 6
    {0x1A, 8},  // 7
    {0x1C, 9},  // 8
    {0x19, 10}, // 9
    {0x1D, 11}, // 0
    // Punctuation
    {0x18, 13}, // =
    {0x1B, 12}, // -
    {0x1E, 27}, // ]
    {0x21, 26}, // [
    {0x27, 40}, // '
    {0x29, 39}, // ;
    {0x2A, 43}, // backslash
    {0x2B, 51}, // ,
    {0x2C, 53}, // /
    {0x2F, 52}, // .
    {0x32, 41}, // `
    // Editing and navigation
    {0x24, 28},  // Return
    {0x30, 15},  // Tab
    {0x31, 57},  // Space
    {0x33, 14},  // Delete (backspace)
    {0x35, 1},   // Escape
    {0x72, 110}, // Help: Insert
    {0x73, 102}, // Home
    {0x74, 104}, // Page Up
    {0x75, 111}, // Forward Delete
    {0x77, 107}, // End
    {0x79, 109}, // Page Down
    {0x7B, 105}, // Left
    {0x7C, 106}, // Right
    {0x7D, 108}, // Down
    {0x7E, 103}, // Up
    {0x6E, 127}, // Context menu
    // Function keys
    {0x7A, 59},  // F1
    {0x78, 60},  // F2
    {0x63, 61},  // F3
    {0x76, 62},  // F4
    {0x60, 63},  // F5
    {0x61, 64},  // F6
    {0x62, 65},  // F7
    {0x64, 66},  // F8
    {0x65, 67},  // F9
    {0x6D, 68},  // F10
    {0x67, 87},  // F11
    {0x6F, 88},  // F12
    {0x69, 183}, // F13
    {0x6B, 184}, // F14
    {0x71, 185}, // F15
    {0x6A, 186}, // F16
    {0x40, 187}, // F17
    {0x4F, 188}, // F18
    {0x50, 189}, // F19
    {0x5A, 190}, // F20
    // Keypad
    {0x52, 82},  // 0
    {0x53, 79},  // 1
    {0x54, 80},  // 2
    {0x55, 81},  // 3
    {0x56, 75},  // 4
    {0x57, 76},  // 5
    {0x58, 77},  // 6
    {0x59, 71},  // 7
    {0x5B, 72},  // 8
    {0x5C, 73},  // 9
    {0x41, 83},  // .
    {0x43, 55},  // *
    {0x45, 78},  // +
    {0x47, 69},  // Clear: Num Lock
    {0x4B, 98},  // /
    {0x4C, 96},  // Enter
    {0x4E, 74},  // -
    {0x51, 117}, // =
    // Media
    {0x48, 115}, // Volume up
    {0x49, 114}, // Volume down
    {0x4A, 113}, // Mute
}};

constexpr int evdevToX = 8;

} // namespace

std::uint8_t xKeyCodeForVirtualKey(int virtualKeyCode) {
    for (const auto& [virtualKey, evdev] : positions)
        if (virtualKey == virtualKeyCode)
            return std::uint8_t(evdev + evdevToX);
    return 0;
}

int virtualKeyForXKeyCode(unsigned xKeyCode) {
    for (const auto& [virtualKey, evdev] : positions)
        if (unsigned(evdev + evdevToX) == xKeyCode)
            return virtualKey;
    return -1;
}

} // namespace velmor
