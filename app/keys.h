// The game's keys: which key runs which command, and the words that tell a player what
// it does. The keyboard handler dispatches from this one table, the picture tool draws
// the menu's key list from it and --help prints it.
#pragma once

// ---------------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------------

enum KeyCommand : int {
    CommandPullLever,
    CommandMachineScreen,
    CommandPrizeScreen,
    CommandTokenScreen,
    CommandMute,
    CommandToggleView,
    CommandToggleAxes,
    CommandFullScreen,
    CommandLeaveFullScreen,
    CommandQuit,
};

struct KeyBinding {
    KeyCommand command;
    int code;               // the character, a letter in upper case (either case acts), or a GLUT special key
    bool special;           // `code` is one of GLUT's special keys (function keys)
    bool oncePerPress;      // a held key acts once; the others act at each of GLUT's key repeats
    const char* name;       // the key as --help, the README and the manual page name it
    const char* cap;        // the key as the menu's key cap shows it
    const char* menuWords;  // what it does, in the few words the menu has room for
    const char* helpWords;  // what it does, as --help, the README and the manual page say it
};

// ---------------------------------------------------------------------------------
// The table
// ---------------------------------------------------------------------------------

// GLUT's code of F11 (GLUT_KEY_F11), as a number so that the picture tool needs no
// GLUT; the keyboard handler checks it against GLUT's own.
constexpr int SpecialKeyF11 = 11;
constexpr int KeyEscape = 27;
constexpr int KeySpace = 32;

// In the order the menu, --help, the README and the manual page list them.
constexpr KeyBinding keyBindings[] = {
    {CommandPullLever, KeySpace, false, true, "Space", "Space", "pull the lever",
     "pull the lever: spin again at the last stake (on the slot machine)"},
    {CommandMachineScreen, 'P', false, false, "P", "P", "slot machine", "the slot machine"},
    {CommandPrizeScreen, 'S', false, false, "S", "S", "prize counter", "the prize counter"},
    {CommandTokenScreen, 'T', false, false, "T", "T", "token counter", "the token counter"},
    {CommandMute, 'M', false, false, "M", "M", "sound on/off", "sound on or off"},
    {CommandToggleView, 'V', false, false, "V", "V", "change view",
     "switch between the perspective and the orthographic view"},
    {CommandToggleAxes, 'A', false, false, "A", "A", "axis cross", "axis cross on or off"},
    {CommandFullScreen, SpecialKeyF11, true, false, "F11", "F11", "fullscreen", "fullscreen on or off"},
    {CommandLeaveFullScreen, KeyEscape, false, false, "Escape", "Esc", "leave fullscreen", "leave fullscreen"},
    {CommandQuit, 'Q', false, false, "Q", "Q", "quit", "quit"},
};

constexpr int KeyBindingCount = static_cast<int>(sizeof keyBindings / sizeof keyBindings[0]);
