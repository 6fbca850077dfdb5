// Saves of the editors as text edits: random edit sequences on files full of
// comments, blank lines and unknown keys keep every untouched line as it
// was, the platform's reader sees exactly the intended commands, and a save
// that fails at any step leaves the old file.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "editor/command_store.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

unsigned int seed = 4242;
unsigned int Next()
{
    return NextTestRandom(seed);
}

struct Command {
    std::string path, folder, comment;
};

std::string Lower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return text;
}

const char* const kValues[] = {"notepad.exe", "\"C:\\Program Files\\x.exe\" -a", "  blank ",
                               "'q'", "\x95\x5c\x83\x5c\\", "", "a=b", "; not a comment"};

// A file of commands c0.. with comment lines ";mN" and unknown keys "X=uN"
// that each name themselves, blank lines and mixed line ends.
std::string MakeFile(std::map<std::string, Command>& model, int& marker)
{
    std::string text = ";m" + std::to_string(marker++) + "\r\n\r\n";
    const int count = 3 + Next() % 8;
    for (int i = 0; i < count; i++) {
        const std::string end = Next() % 3 ? "\r\n" : "\n";
        std::string name = "c" + std::to_string(i);
        if (Next() % 4 == 0)
            name = "\x95\x5c" + name;
        if (Next() % 2)
            text += ";m" + std::to_string(marker++) + end;
        text += "[" + name + "]" + end;
        Command command;
        const char* keys[] = {"PATH", "FOLDER", "COMMENT"};
        std::string* fields[] = {&command.path, &command.folder, &command.comment};
        for (int k = 0; k < 3; k++) {
            if (Next() % 4 == 0)
                continue;
            const std::string value = "v" + std::to_string(Next() % 100);
            // Keys as a hand edit may spell them.
            text += (Next() % 3 ? std::string(keys[k]) : " " + Lower(keys[k]) + " ") + "=" + value + end;
            *fields[k] = value;
            if (Next() % 3 == 0)
                text += ";m" + std::to_string(marker++) + end;
            if (Next() % 3 == 0)
                text += "X=u" + std::to_string(marker++) + end;
        }
        if (Next() % 2)
            text += end;
        model[name] = command;
    }
    if (Next() % 2)
        text += ";m" + std::to_string(marker++);  // no line end at the very end
    return text;
}

// The markers of a text, in order.
std::vector<std::string> Markers(const std::string& text)
{
    std::vector<std::string> found;
    for (size_t at = 0; (at = text.find_first_of(";X", at)) != std::string::npos; at++) {
        if ((text.compare(at, 2, ";m") && text.compare(at, 3, "X=u")) || (at && text[at - 1] != '\n'))
            continue;
        size_t end = text.find_first_of("\r\n", at);
        found.push_back(text.substr(at, end == std::string::npos ? end : end - at));
    }
    return found;
}

// The markers in a command's own lines of text: its header, its keys and
// whatever lies between them.
std::vector<std::string> OwnMarkers(const std::string& text, const std::string& name)
{
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(at, end - at));
        at = end + (text.compare(end, 2, "\r\n") ? 1 : 2);
    }
    size_t header = 0;
    while (header < lines.size() && Lower(lines[header]) != "[" + Lower(name) + "]")
        header++;
    size_t last = header;
    for (size_t i = header + 1; i < lines.size() && lines[i].compare(0, 1, "["); i++) {
        if (!lines[i].empty() && lines[i][0] != ';')
            last = i;
    }
    std::vector<std::string> own;
    for (size_t i = header; i <= last && i < lines.size(); i++) {
        for (const std::string& m : Markers(lines[i]))
            own.push_back(m);
    }
    return own;
}

std::string ReaderValue(const CString& file, const std::string& section, const char* key)
{
    char value[4096] = "";
    GetPrivateProfileStringA(section.c_str(), key, "", value, sizeof(value), file.data);
    return value;
}

int EntryOf(CCommandStore& store, const std::string& name)
{
    return store.FindName(name.c_str(), -1);
}

}  // namespace

TEST(CommandTextEditTest, RandomEditsKeepEveryUntouchedLineAndReadBackAsIntended)
{
    const CString folder = MakeScratchFolder("text_edit_round_trip");
    const CString file = folder + "quelt_cmd.txt";
    for (int round = 0; round < 60; round++) {
        std::map<std::string, Command> model;
        int marker = 0;
        const std::string original = MakeFile(model, marker);
        ASSERT_TRUE(WriteBytes(file, original.data(), static_cast<int>(original.size())));
        CCommandStore store(file.data);
        ASSERT_TRUE(store.Load());
        std::vector<std::string> kept = Markers(original);
        for (int save = 0; save < 3; save++) {
            std::vector<std::string> gone;
            const int edits = 1 + Next() % 5;
            for (int e = 0; e < edits && !model.empty(); e++) {
                auto it = model.begin();
                std::advance(it, Next() % model.size());
                const std::string name = it->first;
                const int index = EntryOf(store, name);
                ASSERT_GE(index, 0) << name;
                CommandEntry& entry = store.entries.items[index];
                switch (Next() % 6) {
                case 0: {  // a value
                    const char* value = kValues[Next() % 8];
                    const int key = Next() % 3;
                    (key == 0 ? entry.path : key == 1 ? entry.folder : entry.comment) = value;
                    (key == 0 ? it->second.path : key == 1 ? it->second.folder
                                                           : it->second.comment) = value;
                    break;
                }
                case 1:  // another name
                case 2: {  // the same name in other letters
                    std::string renamed = Next() % 2 ? "n" + std::to_string(marker++) : name;
                    if (renamed == name)
                        CharUpperA(&renamed[0]);
                    if (renamed == name || (Lower(renamed) != Lower(name) && store.FindName(renamed.c_str(), -1) >= 0))
                        break;
                    entry.name = renamed.c_str();
                    model[renamed] = it->second;
                    if (renamed != name)
                        model.erase(name);
                    break;
                }
                case 3: {  // two names trade places
                    auto other = model.begin();
                    std::advance(other, Next() % model.size());
                    if (other->first == name)
                        break;
                    const int otherIndex = EntryOf(store, other->first);
                    store.entries.items[index].name = other->first.c_str();
                    store.entries.items[otherIndex].name = name.c_str();
                    std::swap(it->second, other->second);
                    break;
                }
                case 4: {  // deleted: its own markers go
                    if (!entry.loadedName.IsEmpty()) {
                        int length = 0;
                        const CString before = ReadWholeFile(file, &length);
                        for (const std::string& m :
                             OwnMarkers(std::string(before.data ? before.data : "", length),
                                        entry.loadedName.data))
                            gone.push_back(m);
                    }
                    store.Delete(index);
                    model.erase(name);
                    break;
                }
                default: {
                    const std::string added = "a" + std::to_string(marker++);
                    store.AddNew(added.c_str(), "new.exe", "", "added");
                    model[added] = Command{"new.exe", "", "added"};
                    break;
                }
                }
            }
            const SaveResult result = store.Save();
            ASSERT_NE(kSaveFailed, result);
            int length = 0;
            const CString now = ReadWholeFile(file, &length);
            const std::string text(now.data ? now.data : "", length);
            // Every marker stays, in its order, but those of deleted commands.
            std::vector<std::string> expected;
            for (const std::string& m : kept) {
                if (std::find(gone.begin(), gone.end(), m) == gone.end())
                    expected.push_back(m);
            }
            kept = Markers(text);
            ASSERT_EQ(expected, kept) << text;
            // The reader sees exactly the intended commands.
            std::vector<char> names(1 << 16, 0);
            GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), file.data);
            std::map<std::string, int> seen;
            for (const char* p = names.data(); *p; p += strlen(p) + 1)
                seen[Lower(p)]++;
            ASSERT_EQ(model.size(), seen.size()) << text;
            for (const auto& command : model) {
                ASSERT_EQ(1, seen[Lower(command.first)]) << command.first << " in\n" << text;
                EXPECT_EQ(command.second.path, ReaderValue(file, command.first, "PATH")) << text;
                EXPECT_EQ(command.second.folder, ReaderValue(file, command.first, "FOLDER")) << text;
                EXPECT_EQ(command.second.comment, ReaderValue(file, command.first, "COMMENT")) << text;
            }
            WritePrivateProfileStringA(0, 0, 0, file.data);
        }
    }
    RemoveScratchFolder(folder);
}

TEST(CommandTextEditTest, ASaveThatFailsAtAnyStepLeavesTheOldFileAndNoTemporaryFile)
{
    const CString folder = MakeScratchFolder("text_edit_failures");
    const CString file = folder + "quelt_cmd.txt";
    const char original[] = "; keep\r\n[a]\r\nPATH=a.exe\r\n\r\n[b]\n;mine\nPATH=b.exe\n";
    const SaveStep steps[] = {kStepTemporary, kStepWrite, kStepFlush, kStepBackup, kStepReplace};
    for (const SaveStep step : steps) {
        ASSERT_TRUE(WriteTextFile(file, original));
        DeleteFileA((folder + "quelt_cmd.txt.bak").data);
        CCommandStore store(file.data);
        ASSERT_TRUE(store.Load());
        store.entries.items[0].path = "changed.exe";
        store.Delete(1);
        store.AddNew("c", "c.exe", "", "");
        store.failingStep = step;
        EXPECT_EQ(kSaveFailed, store.Save()) << step;
        EXPECT_STREQ(original, ReadWholeFile(file).data) << step;
        EXPECT_FALSE(store.wroteFile);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "qlt*").data, &found);
        EXPECT_EQ(INVALID_HANDLE_VALUE, search) << "left behind: " << found.cFileName;
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        // The same save goes through once the step works again.
        store.failingStep = kNoStep;
        ASSERT_EQ(kSaved, store.Save()) << step;
        EXPECT_TRUE(store.wroteFile);
        EXPECT_STREQ("; keep\r\n[a]\r\nPATH=changed.exe\r\n\r\n\r\n[c]\r\nPATH=c.exe\r\n",
                     ReadWholeFile(file).data);
        EXPECT_STREQ(original, ReadWholeFile(folder + "quelt_cmd.txt.bak").data);
    }
    RemoveScratchFolder(folder);
}

TEST(CommandTextEditTest, TwinsShowOnceAndNothingWrittenCanOpenASection)
{
    const CString folder = MakeScratchFolder("text_edit_twins");
    const CString file = folder + "quelt_cmd.txt";
    const char original[] = "[a]\r\nPATH=first\r\n[A]\r\nPATH=second\r\n";
    ASSERT_TRUE(WriteTextFile(file, original));
    CCommandStore store(file.data);
    ASSERT_TRUE(store.Load());
    ASSERT_EQ(1, store.entries.count);
    EXPECT_EQ(1, store.twinCount);
    EXPECT_STREQ("first", store.entries.items[0].path.data);
    // A line break or a bracket would become a section of its own.
    store.entries.items[0].comment = "x\r\n[notepad2]\r\nPATH=evil.exe";
    EXPECT_EQ(kSaveFailed, store.Save());
    store.entries.items[0].comment = "";
    store.AddNew("ev]il", "e.exe", "", "");
    EXPECT_EQ(kSaveFailed, store.Save());
    EXPECT_STREQ(original, ReadWholeFile(file).data);
    // Deleting the shown one takes its lines only; the twin stays as it was.
    store.Delete(store.FindName("ev]il", -1));
    store.Delete(0);
    ASSERT_EQ(kSaved, store.Save());
    EXPECT_STREQ("[A]\r\nPATH=second\r\n", ReadWholeFile(file).data);
    RemoveScratchFolder(folder);
}
