#include "support/files.h"

#include <gtest/gtest.h>

#include "test_paths.h"

using Zint_Std::CDiskFile;
using Zint_Std::CString;

namespace {

class DiskFileTest : public testing::Test {
protected:
    void SetUp() override { root = MakeScratchFolder("diskfile"); }
    void TearDown() override { RemoveScratchFolder(root); }
    CString root;
};

}  // namespace

TEST_F(DiskFileTest, CreateWriteSeekRead)
{
    CDiskFile file;
    EXPECT_FALSE(file.IsOpen());
    CString path = root + CString("data.bin");
    ASSERT_TRUE(file.Open(path, true, true));
    EXPECT_TRUE(file.IsOpen());
    EXPECT_STREQ(path.data, file.GetPath().data);
    EXPECT_TRUE(file.Write("hello, world", 12));
    EXPECT_EQ(12u, file.GetSize());
    EXPECT_TRUE(file.Seek(7, FILE_BEGIN));
    char buffer[16] = {0};
    EXPECT_EQ(5u, file.Read(buffer, 15));
    EXPECT_STREQ("world", buffer);
    EXPECT_EQ(0u, file.Read(buffer, 15));  // at the end
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(file.GetPath().IsEmpty());
    EXPECT_EQ(0u, file.GetSize());
    EXPECT_FALSE(file.Write("x", 1));
    EXPECT_EQ(0u, file.Read(buffer, 1));
    EXPECT_FALSE(file.Seek(0, FILE_BEGIN));
}

TEST_F(DiskFileTest, OpenExistingOnlyAndReadOnlyAccess)
{
    CDiskFile file;
    CString missing = root + CString("missing.txt");
    EXPECT_FALSE(file.Open(missing, false, false));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(nullptr, file.hFile);

    CString path = root + CString("ソフト表.txt");
    ASSERT_TRUE(WriteTextFile(path, "abc"));
    ASSERT_TRUE(file.Open(path, false, false));
    EXPECT_FALSE(file.Write("x", 1));  // opened for reading only
    EXPECT_EQ(3u, file.GetSize());

    // A second Open closes the first file.
    CString other = root + CString("other.txt");
    ASSERT_TRUE(file.Open(other, true, true));
    EXPECT_EQ(0u, file.GetSize());
}

TEST_F(DiskFileTest, NoSharingWhileOpen)
{
    CString path = root + CString("exclusive.txt");
    ASSERT_TRUE(WriteTextFile(path, "12345"));
    EXPECT_EQ(5u, Zint_Std::GetFileSizeOf(path));
    {
        CDiskFile holder;
        ASSERT_TRUE(holder.Open(path, false, false));
        CDiskFile second;
        EXPECT_FALSE(second.Open(path, false, false));
        EXPECT_EQ(0u, Zint_Std::GetFileSizeOf(path));
    }
    EXPECT_EQ(5u, Zint_Std::GetFileSizeOf(path));
    EXPECT_EQ(0u, Zint_Std::GetFileSizeOf(root + CString("missing")));
}
