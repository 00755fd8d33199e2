#pragma once

// One entry of the designer's action catalogue: the id every part of the application knows the
// action by, its text, icon, default shortcut and the menu it goes into. What an action does is
// connected by the plug-in (KVDesignerCommands.cpp); an action connected to nothing stays disabled.
struct KVActionSpec {
    enum Flag {
        None = 0,
        Checkable = 1,
        Hidden = 2,
        StartsDisabled = 4,
        WithArgument = 8,  // the action data is `argument` (int)
    };

    const char *id;
    const char *text;
    const char *icon;      // file name stem in the image folder, or nullptr
    const char *shortcut;  // portable text, "std:<Name>" for a standard key, or nullptr
    const char *container; // menu the action goes into, or nullptr
    int flags;
    int argument;          // with WithArgument
    const char *data;      // action data (the text-editing command of Text.* actions)
};
