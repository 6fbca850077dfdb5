#include "support/registry.h"

#include <shlwapi.h>
#include <string.h>

#include <gtest/gtest.h>

using Zint_Std::CRegistryKey;
using Zint_Std::CString;

namespace {

const char kTestRoot[] = "Software\\QueltSupportTests";

// Each test works below a key of its own that is gone afterwards.
class RegistryTest : public testing::Test {
protected:
    void SetUp() override { SHDeleteKeyA(HKEY_CURRENT_USER, kTestRoot); }
    void TearDown() override
    {
        SHDeleteKeyA(HKEY_CURRENT_USER, kTestRoot);
        HKEY left = 0;
        EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kTestRoot, 0, KEY_READ, &left))
            << "test key was not removed";
        if (left)
            RegCloseKey(left);
    }

    static bool KeyExists(const char* path)
    {
        HKEY key = 0;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
};

}  // namespace

TEST_F(RegistryTest, OpenMissingKeyFailsUnlessCreated)
{
    CRegistryKey key;
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, "Software\\QueltSupportTests\\Missing", false, false));
    EXPECT_EQ(nullptr, key.hKey);
    EXPECT_EQ(nullptr, key.hRoot);
    EXPECT_TRUE(key.path.IsEmpty());

    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, "Software\\QueltSupportTests\\Made", true, true));
    EXPECT_NE(nullptr, key.hKey);
    EXPECT_EQ(HKEY_CURRENT_USER, key.hRoot);
    EXPECT_STREQ("Software\\QueltSupportTests\\Made", key.path.data);
    key.Close();
    EXPECT_EQ(nullptr, key.hKey);
    EXPECT_TRUE(key.path.IsEmpty());
    EXPECT_TRUE(KeyExists("Software\\QueltSupportTests\\Made"));

    // Creating an existing key simply opens it.
    EXPECT_TRUE(key.Open(HKEY_CURRENT_USER, "Software\\QueltSupportTests\\Made", true, true));
}

TEST_F(RegistryTest, StringRoundTripsIncludingJapanese)
{
    CRegistryKey writer;
    ASSERT_TRUE(writer.Open(HKEY_CURRENT_USER, kTestRoot, true, true));
    EXPECT_TRUE(writer.SetString("InstFolder", CString("C:\\Program Files\\ソフト表\\")));
    EXPECT_TRUE(writer.SetString("Empty", CString()));
    writer.Close();

    CRegistryKey reader;
    ASSERT_TRUE(reader.Open(HKEY_CURRENT_USER, kTestRoot, false, false));
    CString value;
    EXPECT_TRUE(reader.QueryString("InstFolder", value));
    EXPECT_STREQ("C:\\Program Files\\ソフト表\\", value.data);
    EXPECT_EQ(512, value.capacity);

    // An empty string is stored as a REG_SZ of one terminating byte.
    DWORD type = 0, size = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(reader.hKey, "Empty", 0, &type, 0, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(1u, size);
    EXPECT_TRUE(reader.QueryString("Empty", value));
    EXPECT_TRUE(value.IsEmpty());
}

TEST_F(RegistryTest, FailedQueriesLeaveEmptyOrUntouchedOutput)
{
    CRegistryKey closed;
    CString untouched("keep me");
    EXPECT_FALSE(closed.QueryString("Anything", untouched));
    EXPECT_STREQ("keep me", untouched.data);
    EXPECT_FALSE(closed.SetString("Anything", untouched));

    CRegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kTestRoot, true, true));
    CString value("old");
    EXPECT_FALSE(key.QueryString("Missing", value));
    EXPECT_TRUE(value.IsEmpty());
    EXPECT_EQ(512, value.capacity);
}

TEST_F(RegistryTest, ValuesOfFiveHundredBytesOrMoreFail)
{
    CRegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kTestRoot, true, true));
    char text[501];
    memset(text, 'p', 499);
    text[499] = 0;
    ASSERT_TRUE(key.SetString("Fits", CString(text)));
    text[499] = 'p';
    text[500] = 0;
    ASSERT_TRUE(key.SetString("TooLong", CString(text)));

    CString value;
    EXPECT_TRUE(key.QueryString("Fits", value));
    EXPECT_EQ(499, value.GetLength());
    EXPECT_FALSE(key.QueryString("TooLong", value));
    EXPECT_TRUE(value.IsEmpty());
}

TEST_F(RegistryTest, ValueWithoutTerminatorIsReadTerminated)
{
    CRegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kTestRoot, true, true));
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExA(key.hKey, "Raw", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3));
    CString value;
    value.Assign("xxxxxxxxxx");
    EXPECT_TRUE(key.QueryString("Raw", value));
    EXPECT_STREQ("abc", value.data);
}

TEST_F(RegistryTest, DeleteKeyForms)
{
    CRegistryKey closed;
    EXPECT_FALSE(closed.DeleteKey(nullptr, nullptr));
    EXPECT_FALSE(closed.DeleteKey(HKEY_CURRENT_USER, nullptr));

    // Both null: the object's own key, closed first.
    CRegistryKey own;
    ASSERT_TRUE(own.Open(HKEY_CURRENT_USER, "Software\\QueltSupportTests\\Own", true, true));
    EXPECT_TRUE(own.DeleteKey(nullptr, nullptr));
    EXPECT_EQ(nullptr, own.hKey);
    EXPECT_EQ(nullptr, own.hRoot);
    EXPECT_FALSE(KeyExists("Software\\QueltSupportTests\\Own"));

    // Both given: any key, the object being closed.
    CRegistryKey maker;
    ASSERT_TRUE(maker.Open(HKEY_CURRENT_USER, "Software\\QueltSupportTests\\Other", true, true));
    maker.Close();
    CRegistryKey deleter;
    EXPECT_TRUE(deleter.DeleteKey(HKEY_CURRENT_USER, "Software\\QueltSupportTests\\Other"));
    EXPECT_FALSE(KeyExists("Software\\QueltSupportTests\\Other"));

    // A key with sub-keys is not deleted.
    ASSERT_TRUE(maker.Open(HKEY_CURRENT_USER, "Software\\QueltSupportTests\\P\\C", true, true));
    maker.Close();
    EXPECT_FALSE(deleter.DeleteKey(HKEY_CURRENT_USER, "Software\\QueltSupportTests\\P"));
    EXPECT_TRUE(KeyExists("Software\\QueltSupportTests\\P\\C"));

    EXPECT_FALSE(deleter.DeleteKey(HKEY_CURRENT_USER, kTestRoot));
}

TEST_F(RegistryTest, CloseKeyKeepsPathAndReopenCloses)
{
    CRegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kTestRoot, true, true));
    key.CloseKey();
    EXPECT_EQ(nullptr, key.hKey);
    EXPECT_STREQ(kTestRoot, key.path.data);
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kTestRoot, false, false));
    EXPECT_NE(nullptr, key.hKey);
    // A failed Open closes what was open and keeps the old path.
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, "Software\\QueltSupportTests\\Nope", false, false));
    EXPECT_EQ(nullptr, key.hKey);
    EXPECT_STREQ(kTestRoot, key.path.data);
}
