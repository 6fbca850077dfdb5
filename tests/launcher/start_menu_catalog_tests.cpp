// The Start menu's programs: names, folders, duplicates, the look-up, the
// order of the matches and the reading again after a change.
#include <gtest/gtest.h>

#include <string>

#include "launcher/start_menu_catalog.h"
#include "support/files.h"
#include "test_paths.h"

TEST(StartMenuCatalogTest, ListsFindsOffersAndSeesChanges)
{
    const Zint_Std::CString root = MakeScratchFolder("start-menu");
    const char* files[] = {"user\\Notepad.lnk", "user\\Paint.LNK", "user\\readme.txt",
                           "user\\desktop.ini", "user\\アクセサリ\\ツール\\Calc.lnk",
                           "common\\notepad.lnk", "common\\Tools\\calc.lnk", "common\\PadMan.lnk",
                           "common\\Games\\Photo Album.lnk", "common\\A\\B\\photo album.lnk",
                           "common\\apps\\Photo Album.lnk"};
    for (const char* file : files) {
        Zint_Std::CString folder = root + file;
        Zint_Std::CutAfterLastBackslash(folder.data);
        ASSERT_TRUE(Zint_Std::MakeFolderPath(folder) && WriteTextFile(root + file, "")) << file;
    }
    // Of one name: the user's, then the shallower, then the first folder.
    CStartMenuCatalog catalog;
    catalog.SetFolders(root + "user\\", root + "common\\");
    catalog.Refresh();
    std::string listed;
    for (int i = 0; i < catalog.Count(); i++)
        listed += (i ? "," : "") + std::string(catalog.Name(i)) + "@" + catalog.Folder(i);
    EXPECT_EQ("Calc@アクセサリ\\ツール,Notepad@,PadMan@,Paint@,Photo Album@apps", listed);
    EXPECT_STREQ((root + "user\\Notepad.lnk").data, catalog.LinkPath(catalog.Find("NOTEPAD")));
    EXPECT_EQ(-1, catalog.Find("Notepa"));
    // Beginnings first, then a part, then the letters in order.
    const char* offers[] = {"Paint,PadMan", "Paint,PadMan,Notepad,Photo Album"};
    for (int beyond = 0; beyond < 2; beyond++) {
        CBestMatches best;
        catalog.Offer("pa", 2, beyond != 0, best);
        std::string offered;
        for (int i = 0; i < best.count; i++)
            offered += (i ? "," : "") + std::string(catalog.Name(best.items[i].index));
        EXPECT_EQ(offers[beyond], offered);
    }
    // Nothing changed: the same block; a new file below: read again.
    const char* before = catalog.Name(0);
    catalog.Refresh();
    EXPECT_EQ(before, catalog.Name(0));
    ASSERT_TRUE(WriteTextFile(root + "common\\Games\\Zed.lnk", ""));
    const DWORD start = GetTickCount();
    catalog.Refresh();
    while (catalog.Find("zed") < 0 && GetTickCount() - start < 5000) {
        Sleep(10);
        catalog.Refresh();
    }
    EXPECT_EQ(6, catalog.Count());
    RemoveScratchFolder(root);
}
