#include "commands/profile_keys.h"

namespace {

const char kHotKeySection[] = "HotKey";
const char kMainSection[] = "QUELT";

}  // namespace

const ProfileKey kProfileKeys[] = {
    {kHotKeySection, "ALT", 1},
    {kHotKeySection, "Ctrl", 0},
    {kHotKeySection, "Shift", 0},
    {kHotKeySection, "Win", 0},
    {kHotKeySection, "Key", 49},
    {kMainSection, "History", 10},
    {kMainSection, "ToolTip", 1},
    {kMainSection, "TaskTray", 1},
    {kMainSection, "ImeCtrl", 2},
    {kMainSection, "WndWidth", 265},
    {kMainSection, "WndHeight", 43},
    {kMainSection, "SavePosition", 0},
    {kMainSection, "PositionX", 0},
    {kMainSection, "PositionY", 0},
    {kMainSection, "Match", 1},
    {kMainSection, "Rank", 0},
    {kMainSection, "Calc", 1},
    {kMainSection, "Catalog", 1},
    {kMainSection, "Open", 1},
    {kMainSection, "Romaji", 1},
};
static_assert(sizeof(kProfileKeys) / sizeof(kProfileKeys[0]) == kProfileKeyCount,
              "one entry for each ProfileKeyId, in its order");
