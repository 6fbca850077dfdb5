// The numbers of the launcher's profile quelt_.ini: every key of [HotKey]
// and [QUELT] with the value that stands for it when it is missing. The
// launcher's reader and the settings editor take both from here; the shipped
// profile and the help page are checked against it.
#ifndef QUELT_COMMANDS_PROFILE_KEYS_H
#define QUELT_COMMANDS_PROFILE_KEYS_H

struct ProfileKey {
    const char* section;
    const char* name;
    int defaultValue;
};

enum ProfileKeyId {
    kKeyAlt,
    kKeyCtrl,
    kKeyShift,
    kKeyWin,  // counts only when the other modifiers are all 0
    kKeyVirtualKey,
    kKeyHistory,
    kKeyToolTip,
    kKeyTaskTray,
    kKeyImeCtrl,
    kKeyWndWidth,
    kKeyWndHeight,
    kKeySavePosition,
    kKeyPositionX,  // read and written only while SavePosition is on
    kKeyPositionY,
    kKeyMatch,
    kKeyRank,
    kKeyCalc,
    kKeyCatalog,
    kKeyOpen,
    kKeyRomaji,
    kProfileKeyCount
};

// Indexed by ProfileKeyId.
extern const ProfileKey kProfileKeys[kProfileKeyCount];

#endif
