#include "purgel_settings.h"

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "test_paths.h"

using Zint_Std::CString;

namespace {

class SettingsTest : public testing::Test {
protected:
    void SetUp() override
    {
        root = MakeScratchFolder("purgel-settings");
        path = root + CString("Purgel.ini");
    }
    void TearDown() override { RemoveScratchFolder(root); }

    std::string Read() const
    {
        HANDLE file = CreateFileA(path.data, GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING, 0, 0);
        if (file == INVALID_HANDLE_VALUE)
            return "<missing>";
        char buffer[1024] = {0};
        DWORD read = 0;
        ReadFile(file, buffer, sizeof(buffer) - 1, &read, 0);
        CloseHandle(file);
        std::string text(buffer, read);
        // Only the content counts, not the line ends of the profile writer.
        std::string lines;
        for (char c : text)
            if (c != '\r')
                lines += c;
        return lines;
    }

    CString root;
    CString path;
};

}  // namespace

TEST_F(SettingsTest, MissingFileGivesTheDefaultsAndIsCreatedWithThem)
{
    CPurgelSettings settings;
    settings.Load(path);
    EXPECT_EQ(1, settings.winTempFile);
    EXPECT_EQ(1, settings.tempFolder);
    EXPECT_EQ(0, settings.recentFolder);
    EXPECT_EQ(0, settings.recentWmPlayer);
    EXPECT_EQ(0, settings.windowsUpdateFolder);
    settings.Save(path);
    EXPECT_EQ("[DEL_FLAG]\nWIN_TEMP_FILE=1\nTEMP_FOLDER=1\nRECENT_FOLDER=0\nRECENT_WM_PLAYER=0\n"
              "WINDOWS_UPDATE_FOLDER=0\n",
              Read());
}

TEST_F(SettingsTest, ValuesThatAreNoNumberReadAndAreWrittenAsZero)
{
    ASSERT_TRUE(WriteTextFile(path, "[DEL_FLAG]\r\nWIN_TEMP_FILE=abc\r\nTEMP_FOLDER=0\r\n"
                                    "RECENT_FOLDER=2\r\nRECENT_WM_PLAYER=1\r\n"
                                    "WINDOWS_UPDATE_FOLDER=\r\n"));
    CPurgelSettings settings;
    settings.Load(path);
    EXPECT_EQ(0, settings.winTempFile);
    EXPECT_EQ(0, settings.tempFolder);
    EXPECT_EQ(2, settings.recentFolder);
    EXPECT_EQ(1, settings.recentWmPlayer);
    EXPECT_EQ(0, settings.windowsUpdateFolder);
    settings.Save(path);
    EXPECT_EQ("[DEL_FLAG]\nWIN_TEMP_FILE=0\nTEMP_FOLDER=0\nRECENT_FOLDER=2\nRECENT_WM_PLAYER=1\n"
              "WINDOWS_UPDATE_FOLDER=0\n",
              Read());
}

TEST_F(SettingsTest, MissingKeysTakeTheirDefaultsAndOtherSectionsStay)
{
    ASSERT_TRUE(WriteTextFile(path, "[OTHER]\r\nA=b\r\n[DEL_FLAG]\r\nRECENT_FOLDER=1\r\n"));
    CPurgelSettings settings;
    settings.Load(path);
    EXPECT_EQ(1, settings.winTempFile);
    EXPECT_EQ(1, settings.tempFolder);
    EXPECT_EQ(1, settings.recentFolder);
    settings.Save(path);
    std::string text = Read();
    EXPECT_NE(std::string::npos, text.find("[OTHER]\nA=b\n"));
    EXPECT_NE(std::string::npos, text.find("WIN_TEMP_FILE=1\n"));
    EXPECT_NE(std::string::npos, text.find("WINDOWS_UPDATE_FOLDER=0\n"));
}

TEST(SettingsPath, SettingsFileIsBesideTheProgram)
{
    char module[MAX_PATH] = {0};
    GetModuleFileNameA(0, module, sizeof(module));
    std::string expected(module);
    expected = expected.substr(0, expected.rfind('\\') + 1) + "Purgel.ini";
    CString path;
    BuildSettingsPath(path);
    EXPECT_STREQ(expected.c_str(), path.data);
}
