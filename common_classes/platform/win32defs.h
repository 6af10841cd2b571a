#pragma once
// The window-message vocabulary the application frame speaks: message codes and
// virtual-key codes with their Win32 numeric values, so that key handlers written
// against them work unchanged on top of our SDL platform layer.

struct PlatformWindow;
// Opaque handle to the application window.
using HWND = PlatformWindow*;
using LRESULT = long;
#define CALLBACK

constexpr unsigned int WM_NULL = 0x0000;
constexpr unsigned int WM_CREATE = 0x0001;
constexpr unsigned int WM_DESTROY = 0x0002;
// The window lost the keyboard focus, or was minimised.
constexpr unsigned int WM_KILLFOCUS = 0x0008;
constexpr unsigned int WM_PAINT = 0x000F;
constexpr unsigned int WM_CLOSE = 0x0010;
constexpr unsigned int WM_QUIT = 0x0012;
constexpr unsigned int WM_KEYDOWN = 0x0100;
constexpr unsigned int WM_KEYUP = 0x0101;
constexpr unsigned int WM_COMMAND = 0x0111;

// lParam bit 30 of a key message: the key was already down before this message.
constexpr long KEY_PREVIOUSLY_DOWN = 1L << 30;
// lParam bit 31 of a key message: the key is being released.
constexpr long KEY_TRANSITION_UP = 1L << 31;
// lParam bit 25 (unused by Win32): the key message comes from a gamepad's control, not
// from the keyboard.
constexpr long KEY_FROM_PAD = 1L << 25;

constexpr int VK_BACK = 8;
constexpr int VK_TAB = 9;
constexpr int VK_RETURN = 13;
constexpr int VK_SHIFT = 16;
constexpr int VK_CONTROL = 17;
constexpr int VK_MENU = 18;
constexpr int VK_PAUSE = 19;
constexpr int VK_CAPITAL = 20;
constexpr int VK_ESCAPE = 27;
constexpr int VK_SPACE = 32;
constexpr int VK_PRIOR = 33;
constexpr int VK_NEXT = 34;
constexpr int VK_END = 35;
constexpr int VK_HOME = 36;
constexpr int VK_LEFT = 37;
constexpr int VK_UP = 38;
constexpr int VK_RIGHT = 39;
constexpr int VK_DOWN = 40;
constexpr int VK_INSERT = 45;
constexpr int VK_DELETE = 46;
constexpr int VK_NUMPAD0 = 96;
constexpr int VK_MULTIPLY = 106;
constexpr int VK_ADD = 107;
constexpr int VK_SUBTRACT = 109;
constexpr int VK_DECIMAL = 110;
constexpr int VK_DIVIDE = 111;
constexpr int VK_F1 = 112;
constexpr int VK_F5 = 116;
constexpr int VK_F6 = 117;
constexpr int VK_F12 = 123;
constexpr int VK_OEM_1 = 0xBA;      // ;
constexpr int VK_OEM_PLUS = 0xBB;   // =
constexpr int VK_OEM_COMMA = 0xBC;  // ,
constexpr int VK_OEM_MINUS = 0xBD;  // -
constexpr int VK_OEM_PERIOD = 0xBE; // .
constexpr int VK_OEM_2 = 0xBF;      // /
constexpr int VK_OEM_3 = 0xC0;      // `
constexpr int VK_OEM_4 = 0xDB;      // [
constexpr int VK_OEM_5 = 0xDC;      // backslash
constexpr int VK_OEM_6 = 0xDD;      // ]
constexpr int VK_OEM_7 = 0xDE;      // '
// Keys without a Win32 code get one of their own: this base plus SDL's scancode.
constexpr int VK_OTHER_BASE = 0x200;
