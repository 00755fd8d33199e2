#pragma once

// One entry of the designer's action catalogue: the id every part of the application knows the
// action by, its text, icon, default shortcut, the menu it goes into and what it calls.
struct KVActionSpec {
    enum Flag {
        None = 0,
        Checkable = 1,
        Hidden = 2,
        StartsDisabled = 4,
        PassChecked = 8,   // the slot takes the check state (bool)
        PassInt = 16,      // the slot takes `argument` (int)
    };

    const char *id;
    const char *text;
    const char *icon;      // file name stem in the image folder, or nullptr
    const char *shortcut;  // portable text, "std:<Name>" for a standard key, or nullptr
    const char *container; // menu the action goes into, or nullptr
    const char *slot;      // slot of the plug-in to call, or nullptr (wired by the editor)
    int flags;
    int argument;          // with PassInt
    const char *data;      // action data (the text-editing command of Text.* actions)
};
