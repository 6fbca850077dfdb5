// The name lists of a profile or a command file as the platform's profile
// reader gives them: the section names, and the keys of one section.
#ifndef QUELT_COMMANDS_PROFILE_LISTS_H
#define QUELT_COMMANDS_PROFILE_LISTS_H

// Section names, key lists: the profile reader's double-NUL lists, fetched
// into a buffer that doubles until the list fits. The caller frees the
// result with free(); null when memory ran out. length receives the length
// the reader returned.
char* ReadSectionNames(const char* file, int& length);
char* ReadKeyNames(const char* file, const char* section, int& length);

#endif
