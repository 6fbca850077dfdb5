// The dialog template inside Datora.exe: its style, size, font, and every
// control in tab order with its class, text, rectangle and style.
#include <windows.h>
#include <commctrl.h>
#include <string.h>

#include <gtest/gtest.h>

#include "support/files.h"
#include "support/string.h"

using Zint_Std::CString;

namespace {

struct ExpectedItem {
    int id;
    const char* className;  // ordinal classes by name
    const char* text;
    short x, y, cx, cy;
    DWORD typeMask;
    DWORD type;
};

const ExpectedItem kItems[] = {
    {-1, "Static", "ここで指定するフォルダ以下のファイルを全て変更します", 7, 7, 173, 13, SS_TYPEMASK, SS_LEFT},
    {1000, "Edit", "", 7, 21, 185, 14, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
     ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {1001, "Button", "参照〈&B〉", 201, 21, 50, 14, BS_TYPEMASK | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP},
    {-1, "Button", "タイムスタンプ", 7, 45, 249, 40, BS_TYPEMASK, BS_GROUPBOX},
    {1004, "Button", "変更(&T)", 13, 61, 38, 10, BS_TYPEMASK | WS_TABSTOP, BS_AUTOCHECKBOX | WS_TABSTOP},
    {1011, "SysDateTimePick32", "DateTimePicker2", 55, 59, 65, 15, 0xFF,
     DTS_LONGDATEFORMAT | DTS_RIGHTALIGN},
    {1010, "SysDateTimePick32", "DateTimePicker1", 130, 59, 45, 15, 0xFF,
     DTS_TIMEFORMAT | DTS_RIGHTALIGN},
    {1012, "Button", "現時刻を設定(&N)", 196, 60, 55, 14, BS_TYPEMASK, BS_PUSHBUTTON},
    {-1, "Button", "ファイル属性", 7, 94, 249, 59, BS_TYPEMASK, BS_GROUPBOX},
    {1003, "Button", "変更(&S)", 13, 108, 38, 10, BS_TYPEMASK, BS_AUTOCHECKBOX},
    {1006, "Button", "読み取り専用(&R)", 83, 108, 65, 10, BS_TYPEMASK, BS_AUTOCHECKBOX},
    {1008, "Button", "アーカイブ(&C)", 83, 122, 56, 10, BS_TYPEMASK, BS_AUTOCHECKBOX},
    {1007, "Button", "隠しファイル(&D)", 174, 108, 61, 10, BS_TYPEMASK, BS_AUTOCHECKBOX},
    {1009, "Button", "システム", 174, 122, 42, 10, BS_TYPEMASK, BS_AUTOCHECKBOX},
    {1017, "Button", "フォルダの属性も変更する(&F)", 13, 138, 102, 10, BS_TYPEMASK, BS_AUTOCHECKBOX},
    {1005, "Button", "変更(&M)", 144, 156, 50, 14, BS_TYPEMASK, BS_PUSHBUTTON},
    {2, "Button", "終了(&X)", 206, 156, 50, 14, BS_TYPEMASK, BS_DEFPUSHBUTTON},
};

// Reads the template's variable-length fields in order.
class CTemplateReader {
public:
    const BYTE* at;
    explicit CTemplateReader(const void* start) : at(static_cast<const BYTE*>(start)) {}

    WORD Word()
    {
        WORD v;
        memcpy(&v, at, 2);
        at += 2;
        return v;
    }
    DWORD Dword()
    {
        DWORD v;
        memcpy(&v, at, 4);
        at += 4;
        return v;
    }
    short Short() { return static_cast<short>(Word()); }
    BYTE Byte() { return *at++; }
    void AlignDword()
    {
        while (reinterpret_cast<ULONG_PTR>(at) & 3)
            at++;
    }
    // A string or an ordinal, as ANSI text; ordinals as "#n".
    CString StringOrOrdinal()
    {
        WORD first;
        memcpy(&first, at, 2);
        if (first == 0xFFFF) {
            at += 2;
            char text[16];
            wsprintfA(text, "#%u", Word());
            return CString(text);
        }
        return String();
    }
    CString String()
    {
        const WCHAR* wide = reinterpret_cast<const WCHAR*>(at);
        int length = lstrlenW(wide);
        at += (length + 1) * 2;
        char text[512] = "";
        WideCharToMultiByte(932, 0, wide, -1, text, sizeof(text), 0, 0);
        return CString(text);
    }
};

CString ClassName(const CString& raw)
{
    if (!strcmp(raw.data, "#128"))
        return CString("Button");
    if (!strcmp(raw.data, "#129"))
        return CString("Edit");
    if (!strcmp(raw.data, "#130"))
        return CString("Static");
    return raw;
}

class DialogTemplate : public ::testing::Test {
protected:
    HMODULE module = 0;
    const void* data = 0;

    void SetUp() override
    {
        Zint_Std::CString path = Zint_Std::ModuleFolder(0) + "Datora.exe";
        module = LoadLibraryExA(path.data, 0, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(module != 0) << path.data;
        HRSRC found = FindResourceExA(module, MAKEINTRESOURCEA(5) /* RT_DIALOG */,
                                      MAKEINTRESOURCEA(101),
                                      MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
        ASSERT_TRUE(found != 0);
        data = LockResource(LoadResource(module, found));
        ASSERT_TRUE(data != 0);
    }

    void TearDown() override
    {
        if (module)
            FreeLibrary(module);
    }
};

}  // namespace

TEST_F(DialogTemplate, HasTheDialogsFrameTitleAndFont)
{
    CTemplateReader reader(data);
    EXPECT_EQ(1, reader.Word());  // extended template
    EXPECT_EQ(0xFFFF, reader.Word());
    reader.Dword();  // help id
    EXPECT_EQ(static_cast<DWORD>(WS_EX_ACCEPTFILES), reader.Dword());
    EXPECT_EQ(0x10CA0AC6u, reader.Dword());
    EXPECT_EQ(17, reader.Word());
    EXPECT_EQ(0, reader.Short());
    EXPECT_EQ(0, reader.Short());
    EXPECT_EQ(263, reader.Short());
    EXPECT_EQ(177, reader.Short());
    EXPECT_STREQ("", reader.StringOrOrdinal().data);  // no menu
    EXPECT_STREQ("", reader.StringOrOrdinal().data);  // the dialog class
    EXPECT_STREQ("ファイル情報一括変更", reader.String().data);
    EXPECT_EQ(9, reader.Word());
    reader.Word();
    reader.Byte();
    reader.Byte();
    EXPECT_STREQ("ＭＳ Ｐゴシック", reader.String().data);
}

TEST_F(DialogTemplate, HoldsEveryControlInTabOrder)
{
    CTemplateReader reader(data);
    reader.at += 2 + 2 + 4 + 4 + 4;
    const int count = reader.Word();
    ASSERT_EQ(static_cast<int>(sizeof(kItems) / sizeof(kItems[0])), count);
    reader.at += 8;
    reader.StringOrOrdinal();
    reader.StringOrOrdinal();
    reader.String();
    reader.at += 2 + 2 + 1 + 1;
    reader.String();
    for (int i = 0; i < count; i++) {
        const ExpectedItem& expected = kItems[i];
        reader.AlignDword();
        reader.Dword();  // help id
        EXPECT_EQ(0u, reader.Dword()) << i;
        DWORD style = reader.Dword();
        EXPECT_EQ(expected.x, reader.Short()) << i;
        EXPECT_EQ(expected.y, reader.Short()) << i;
        EXPECT_EQ(expected.cx, reader.Short()) << i;
        EXPECT_EQ(expected.cy, reader.Short()) << i;
        EXPECT_EQ(expected.id, static_cast<int>(reader.Dword())) << i;
        // Class names are matched without regard to case (and the resource
        // compiler stores named classes in capitals).
        EXPECT_STRCASEEQ(expected.className, ClassName(reader.StringOrOrdinal()).data) << i;
        EXPECT_STREQ(expected.text, reader.StringOrOrdinal().data) << i;
        reader.at += reader.Word();  // creation data
        EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_VISIBLE), style & (WS_CHILD | WS_VISIBLE)) << i;
        EXPECT_EQ(expected.type, style & expected.typeMask) << i << " style " << std::hex << style;
    }
}
