// Every key of the profile's inventory stands with its default in the
// profile that ships beside the launcher and in the help page's tables.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "commands/profile_keys.h"
#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

TEST(ProfileKeysTest, ShippedProfileHoldsEveryKeyWithItsDefault)
{
    const CString profile = Zint_Std::ModuleFolder(0) + "quelt_.ini";
    ASSERT_TRUE(Zint_Std::PathExists(profile.data)) << profile.data;
    for (const ProfileKey& key : kProfileKeys) {
        char value[32] = "";
        GetPrivateProfileStringA(key.section, key.name, "missing", value, sizeof(value),
                                 profile.data);
        EXPECT_EQ(std::to_string(key.defaultValue), value) << key.section << " " << key.name;
    }
}

TEST(ProfileKeysTest, HelpPageNamesEveryKeyWithItsDefaultInItsSection)
{
    const CString page = ReadWholeFile(CString(QUELT_SOURCE_FOLDER) + "help/settings.html");
    ASSERT_FALSE(page.IsEmpty());
    const std::string text(page.data);
    for (const ProfileKey& key : kProfileKeys) {
        const size_t section = text.find(std::string("<h2>[") + key.section + "]");
        ASSERT_NE(std::string::npos, section) << key.section;
        const std::string row = std::string("<tr><td>") + key.name + "</td><td>" +
                                std::to_string(key.defaultValue) + "</td>";
        EXPECT_LT(text.find(row, section), text.find("<h2>", section + 1)) << row;
    }
}
