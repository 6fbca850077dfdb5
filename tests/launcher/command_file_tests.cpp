// The command file engine against the platform's profile reader: thousands
// of generated and hostile files, each answered by both, compared name by
// name and key by key.
#include <gtest/gtest.h>
#include <windows.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "commands/command_file.h"
#include "launcher/command_list.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

unsigned int seed = 12345;
unsigned int Next()
{
    return NextTestRandom(seed);
}

std::string Bytes(const char* text, const int& length)
{
    return std::string(text, length);
}

// Lines that stress the reader: brackets, blanks, quotes, case, NUL bytes,
// double-byte names whose second byte is a bracket, a backslash or a bar,
// letters that fold in UTF-16 only, characters with two codes.
const std::vector<std::string>& Pieces()
{
    static std::vector<std::string> pieces = {
        "[alpha]",
        " [ Beta ] ",
        "[ALPHA]",
        "[gamma]tail",
        "[a]b]",
        "[open",
        "[]",
        "[ ]",
        "[\x95\x5c]",
        "[\x83\x5c\x83\x7c]",
        "[\x83\x5d",
        "[\x83\x5d]",
        "[\x82\x60\x82\x61]",
        "[\x82\x81\x82\x82]",
        "[\x83\x9f]",
        "[\x83\xbf]",
        "[\x87\x54]",
        "[\xfa\x40]",
        "[\xed\x40]",
        "[\xfa\x5c]",
        "[a\x82]",
        Bytes("[nul\0cut]", 9),
        Bytes("[\0x]", 4),
        "[tab\tname]",
        "[\x1a"
        "eof]",
        "[spa ce]",
        "[\x81\x40wide\x81\x40]",
        "PATH=notepad.exe",
        " path = C:\\tools\\a b.exe $1 ",
        "PATH",
        "PATH=",
        "PATH='q'",
        "PATH=\"quoted\"",
        "PATH=\"",
        "PATH=\"\"",
        "PATH=\"a",
        "PATH='x\"",
        ";PATH=commented",
        "#PATH=hash",
        Bytes("PATH=nul\0after", 14),
        Bytes("PA\0TH=x", 7),
        Bytes("PATH\0=y", 7),
        "FOLDER = \t spaced \t ",
        "FOLDER=C:\\\x95\x5c\\",
        "COMMENT=\x83\x5c\x83\x7c\x95\x5c",
        "COMMENT=\"\x95\x5c\"",
        "COMMENT=abc\x82",
        "comment=lower",
        "X=1",
        "=value",
        "==",
        "PATH==eq",
        "[x]=y",
        "FOLDER=\x1a",
        "\x0b\x0c",
        "COMMENT=\xed\x40\xfa\x5c",
    };
    return pieces;
}

std::string LongValue(const char* key, const int& count, const char* unit)
{
    std::string line = key;
    for (int i = 0; i < count; i++)
        line += unit;
    return line;
}

const char* const kEnds[] = {"\r\n", "\n", "\r", "\r\r\n", "\n\r", "\r\n\r\n", ""};

std::string RandomLine()
{
    const unsigned int kind = Next() % 20;
    if (kind < 14)
        return Pieces()[Next() % Pieces().size()];
    if (kind == 14)
        return LongValue("PATH=", 400 + Next() % 300, "ab");
    if (kind == 15)
        return LongValue("PATH=", 200 + Next() % 200, "\x95\x5c");
    if (kind == 16)
        return LongValue("COMMENT=\"", 40 + Next() % 30, "\x83\x5c") + "\"";
    if (kind == 17)
        return LongValue("COMMENT=", 90 + Next() % 20, "c");
    // Raw bytes from the characters the reader treats specially.
    static const unsigned char alphabet[] = {0x00, 0x0d, 0x0a, '[', ']', '=', ' ', '\t', 'a',
                                             'A', 'P', ';', '"', '\'', 0x81, 0x82, 0x83, 0x95,
                                             0x5c, 0x7c, 0x40, 0xe0, 0xfc, 0x1a, 0xa0, 0xdf};
    std::string line;
    const int n = 1 + Next() % 24;
    for (int i = 0; i < n; i++)
        line += static_cast<char>(alphabet[Next() % sizeof(alphabet)]);
    return line;
}

std::string RandomFile()
{
    std::string file = "\r\n";
    const int lines = 1 + Next() % 30;
    for (int i = 0; i < lines; i++) {
        file += RandomLine();
        file += kEnds[Next() % (sizeof(kEnds) / sizeof(kEnds[0]))];
    }
    return file;
}

std::vector<std::string> ReaderNames(const char* file)
{
    std::vector<char> buffer(1 << 20, 0);
    GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()), file);
    std::vector<std::string> names;
    for (const char* p = buffer.data(); *p; p += strlen(p) + 1)
        names.push_back(p);
    return names;
}

std::string ReaderValue(const char* section, const char* key, const int& size, const char* file)
{
    std::vector<char> buffer(size + 8, 0);
    GetPrivateProfileStringA(section, key, "", buffer.data(), size, file);
    return buffer.data();
}

std::string Printable(const std::string& text)
{
    std::string out;
    char hex[8];
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            sprintf(hex, "\\x%02x", c);
            out += hex;
        }
    }
    return out;
}

// Compares one file's every name and key; the number of differences.
int CompareWithReader(const CString& folder, const std::string& content, const int& serial)
{
    CString file;
    file.Format("%scase%05d.txt", folder.data, serial);
    if (!WriteBytes(file, content.data(), static_cast<int>(content.size())))
        return 1;
    CCommandFile engine;
    EXPECT_TRUE(engine.Read(file.data));
    int differences = 0;
    const std::vector<std::string> names = ReaderNames(file.data);
    std::vector<std::string> mine;
    for (int i = 0; i < engine.SectionCount(); i++) {
        if (engine.IsListed(i))
            mine.push_back(engine.SectionName(i).data ? engine.SectionName(i).data : "");
    }
    if (names != mine) {
        ADD_FAILURE() << "names differ in " << Printable(content);
        differences++;
    }
    std::vector<std::string> asked = names;
    for (const std::string& name : names) {
        std::string upper = name;
        CharUpperA(&upper[0]);
        asked.push_back(upper);
        if (serial % 4 == 0)
            asked.push_back(" " + name + "\t");
    }
    asked.push_back("missing");
    const char* const keys[] = {"PATH", "FOLDER", "COMMENT", " x "};
    const int sizes[] = {500, 100, 6};
    for (const std::string& name : asked) {
        if (name.empty())
            continue;
        const int section = engine.FindSection(name.c_str());
        for (const char* key : keys) {
            for (const int size : sizes) {
                const std::string theirs = ReaderValue(name.c_str(), key, size, file.data);
                const CString value = engine.Value(section, key, size);
                const std::string ours = value.Text();
                if (theirs != ours && !differences++)
                    ADD_FAILURE() << "[" << Printable(name) << "] " << key << " size " << size
                                  << ": reader \"" << Printable(theirs) << "\", engine \""
                                  << Printable(ours) << "\" in " << Printable(content);
            }
        }
    }
    WritePrivateProfileStringA(0, 0, 0, file.data);
    DeleteFileA(file.data);
    return differences;
}

}  // namespace

TEST(CommandFileTest, AnswersEveryNameAndKeyAsThePlatformReader)
{
    const CString folder = MakeScratchFolder("command_file_diff");
    int differences = 0, serial = 0;
    // Every piece alone under a header, then random mixes.
    for (const std::string& piece : Pieces()) {
        differences += CompareWithReader(folder, "[s]\r\n" + piece + "\r\nPATH=after\r\n", serial++);
        differences += CompareWithReader(folder, piece + "\r\nPATH=x\r\nCOMMENT=y\n", serial++);
    }
    // Files with a byte order mark: UTF-8 and UTF-16 text.
    differences += CompareWithReader(
        folder, "\xef\xbb\xbf[\xe6\x97\xa5\xe6\x9c\xac]\r\nPATH=\xe3\x83\xa1\xe3\x83\xa2\r\n[b]\nPATH=x",
        serial++);
    const wchar_t wide[] = L"\xfeff[\x65e5\x672c]\r\nPATH=\x30e1\x30e2\r\n[B]\r\nCOMMENT= \"c\" \r\n";
    differences += CompareWithReader(folder, std::string(reinterpret_cast<const char*>(wide), sizeof(wide) - sizeof(wchar_t)),
                                     serial++);
    for (int i = 0; i < 1200 && differences < 10; i++)
        differences += CompareWithReader(folder, RandomFile(), serial++);
    EXPECT_EQ(0, differences);
    RemoveScratchFolder(folder);
}

TEST(CommandFileTest, ReadsAgainOnlyWhenTheFileChanged)
{
    const CString folder = MakeScratchFolder("command_file_refresh");
    const CString file = folder + "quelt_cmd.txt";
    ASSERT_TRUE(WriteTextFile(file, "[a]\r\nPATH=one\r\n"));
    // An old time stamp: the file has settled, a second look does not parse.
    HANDLE handle = CreateFileA(file.data, FILE_WRITE_ATTRIBUTES, 0, 0, OPEN_EXISTING, 0, 0);
    FILETIME old = {0x10000000, 0x01D00000};
    SetFileTime(handle, 0, 0, &old);
    CloseHandle(handle);
    CCommandFile engine;
    ASSERT_TRUE(engine.Refresh(file.data));
    const int generation = engine.Generation();
    ASSERT_TRUE(engine.Refresh(file.data));
    EXPECT_EQ(generation, engine.Generation());
    // A hand edit of another size is seen at once.
    ASSERT_TRUE(WriteTextFile(file, "[a]\r\nPATH=two!\r\n[b]\r\n"));
    ASSERT_TRUE(engine.Refresh(file.data));
    EXPECT_NE(generation, engine.Generation());
    EXPECT_STREQ("two!", engine.Value(engine.FindSection("A"), "path", 500).data);
    // A file just written is looked at again, whatever its size.
    ASSERT_TRUE(WriteTextFile(file, "[a]\r\nPATH=six!!\r\n[b]\r\n"));
    ASSERT_TRUE(engine.Refresh(file.data));
    EXPECT_STREQ("six!!", engine.Value(engine.FindSection("a"), "PATH", 500).data);
    ASSERT_TRUE(DeleteFileA(file.data));
    ASSERT_TRUE(engine.Refresh(file.data));
    EXPECT_TRUE(engine.IsMissing());
    EXPECT_EQ(0, engine.SectionCount());
    RemoveScratchFolder(folder);
}

TEST(CommandFileTest, LoadSortsEveryNameAsTheLocaleComparesThem)
{
    const CString folder = MakeScratchFolder("command_file_sort");
    std::string content;
    static const char alphabet[] = "aZ09_-.'!~+=@$%&()^`{}Qq\x95\x5c\x83\x5c";
    for (int i = 0; i < 3000; i++) {
        std::string name;
        const int n = 1 + Next() % 8;
        for (int k = 0; k < n; k++)
            name += alphabet[Next() % (sizeof(alphabet) - 1)];
        if (IsDBCSLeadByte(static_cast<BYTE>(name.back())))
            name.pop_back();
        if (!name.empty())
            content += "[" + name + "]\r\nPATH=x\r\n";
    }
    ASSERT_TRUE(WriteBytes(folder + "quelt_cmd.txt", content.data(), static_cast<int>(content.size())));
    CCommandList list(folder);
    ASSERT_EQ(1, list.Load());
    ASSERT_GT(list.names.count, 2000);
    for (int i = 1; i < list.names.count; i++)
        ASSERT_LE(lstrcmpiA(list.names.Name(i - 1), list.names.Name(i)), 0)
            << list.names.Name(i - 1) << " before " << list.names.Name(i);
    RemoveScratchFolder(folder);
}

// A read goes into the blocks of the one before when they fit: every file,
// larger, smaller or of the same size, reads as it does into a new engine.
TEST(CommandFileTest, AReadIntoTheBlocksOfTheLastReadsAsIntoANewEngine)
{
    const CString folder = MakeScratchFolder("command_file_reuse");
    const CString file = folder + "quelt_cmd.txt";
    CCommandFile reused;
    for (int i = 0; i < 90; i++) {
        std::string content;
        for (int copies = (i % 3 ? 1 : 60) + (i % 5 == 4 ? 0 : 2); copies > 0; copies--)
            content += i % 6 == 5 ? std::string("[same]\r\nPATH=x\r\n") : RandomFile();
        ASSERT_TRUE(WriteBytes(file, content.data(), static_cast<int>(content.size())));
        CCommandFile fresh;
        ASSERT_TRUE(fresh.Read(file.data));
        ASSERT_TRUE(reused.Read(file.data));
        ASSERT_EQ(fresh.Length(), reused.Length());
        ASSERT_EQ(0, memcmp(fresh.Text(), reused.Text(), fresh.Length() + 1));
        ASSERT_EQ(fresh.SectionCount(), reused.SectionCount());
        for (int s = 0; s < fresh.SectionCount(); s++) {
            ASSERT_EQ(0, memcmp(&fresh.Section(s), &reused.Section(s), sizeof(ProfileSection)));
            const CString name = fresh.SectionName(s);
            if (fresh.IsListed(s)) {
                ASSERT_EQ(fresh.FindSection(name.data), reused.FindSection(name.data));
            }
        }
    }
    RemoveScratchFolder(folder);
}
