// The command list's save against a plain model of the file: random files
// (comments, blank lines or none, unknown and repeated keys, letter-case
// twins, mixed line ends, double-byte names) and random series of the
// list's operations. After every save the platform's reader, the launcher
// and the editor must all see the model's commands, and every line of no
// deleted command must still be there, in order. QUELT_SAVE_SERIES,
// QUELT_SAVE_SECONDS and QUELT_SAVE_SEED widen the run (make fuzz); a failing
// series is cut down to the fewest sections and steps that still fail.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "editor/command_store.h"
#include "launcher/command_list.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

const char* const kKeys[] = {"PATH", "FOLDER", "COMMENT"};
// ー ends in '[', ゾ in ']', ソ 表 能 in '\', ポ in '|', ケ パ in letters.
const char* const kNames[] = {"a", "b", "zip", "notepad", "x1", "ソ", "表", "ポ",
                              "ゾ", "ケス", "パス", "カード", "ニード", "能ー"};
const char* const kValues[] = {"notepad.exe", "\"C:\\Program Files\\x.exe\" -a", "  blank ", "'q'",
                               "表ソ\\", "", "a=b", "; not a comment", "ポ|x", "%WINDIR%\\"};
template <typename T, int n>
int CountOf(T (&)[n])
{
    return n;
}

// Letter case as the command file folds it: A to Z in single-byte characters.
std::string Folded(std::string name)
{
    for (size_t i = 0; i < name.size(); i++) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (IsDBCSLeadByte(c))
            i++;
        else if (c >= 'A' && c <= 'Z')
            name[i] = static_cast<char>(c + 32);
    }
    return name;
}

// A line of a generated file: a key (0 to 2) with its value, a marker line
// (";mN" or "X=uN", value the line itself) or a blank one.
struct Line {
    std::string text, end;
    int key;
    std::string value;
    bool isKey;  // the section's own lines reach at least this far
};

// A section; the one with no header holds the lines before the first.
struct GenSection {
    std::string name, header;
    std::vector<Line> lines;
};

enum OpKind {
    kNew,
    kEdit,
    kRename,
    kCaseRename,
    kSwap,
    kDelete,
    kDuplicate,
    kKinds
};
const char* const kKindNames[] = {"new", "edit", "rename", "case", "swap", "delete", "duplicate"};

struct Op {
    int kind;
    std::string target, other;  // a shown name; the new or the other name
    int key;
    std::string value;
};

struct Series {
    std::vector<GenSection> sections;
    std::vector<std::vector<Op>> saves;
};

struct ModelSection {
    std::string name, values[3];
    std::vector<std::string> own;  // markers that go with the section when it is deleted
};

struct Model {
    std::vector<ModelSection> sections;  // in file order, hidden twins included
    std::vector<std::string> markers;    // every marker in the file, in order

    // The section the launcher runs for name: the first of that name.
    int Shown(const std::string& name) const
    {
        for (size_t i = 0; i < sections.size(); i++) {
            if (Folded(sections[i].name) == Folded(name))
                return static_cast<int>(i);
        }
        return -1;
    }
    void Rename(const std::string from, const std::string& to, std::vector<size_t>& done)
    {
        for (size_t i = 0; i < sections.size(); i++) {
            if (Folded(sections[i].name) == Folded(from) && std::find(done.begin(), done.end(), i) == done.end())
                sections[i].name = to, done.push_back(i);
        }
    }
};

std::string TextOf(const Series& series, Model& model)
{
    std::string text;
    model = Model();
    for (const GenSection& section : series.sections) {
        ModelSection out{section.name, {}, {}};
        text += section.header;
        size_t last = 0;
        for (size_t i = 0; i < section.lines.size(); i++)
            last = section.lines[i].isKey ? i + 1 : last;
        bool seen[3] = {false, false, false};
        for (size_t i = 0; i < section.lines.size(); i++) {
            const Line& line = section.lines[i];
            text += line.text + line.end;
            if (line.key >= 0 && !seen[line.key])
                seen[line.key] = true, out.values[line.key] = line.value;
            if (line.key < 0 && !line.value.empty())
                model.markers.push_back(line.value);
            if (line.key < 0 && !line.value.empty() && i < last)
                out.own.push_back(line.value);
        }
        if (!section.header.empty())
            model.sections.push_back(out);
    }
    return text;
}

// Applies one operation to the model and, when given, to the store as the
// list's buttons do; false when it does not apply now (it is skipped).
bool Apply(const Op& op, Model& model, CCommandStore* store)
{
    const int shown = model.Shown(op.target);
    const int entry = store && shown >= 0 ? store->FindName(op.target.c_str(), -1) : -1;
    if ((shown < 0 && op.kind != kNew) || (store && shown >= 0 && entry < 0))
        return false;  // the second: the checks report the command the editor lost
    std::string name = op.other;
    std::vector<size_t> done;
    if (op.kind == kNew || op.kind == kDuplicate) {
        // A duplicate is named as the list names it: the name and 2, 3...
        for (int n = 2; op.kind == kDuplicate && (n == 2 || model.Shown(name) >= 0); n++)
            name = model.sections[shown].name + std::to_string(n);
        if (model.Shown(name) >= 0)
            return false;
        ModelSection added{name, {}, {}};
        for (int k = 0; k < 3; k++)
            added.values[k] = op.kind == kNew ? (k == op.key ? op.value : "") : model.sections[shown].values[k];
        model.sections.push_back(added);
        if (store)
            store->AddNew(name.c_str(), added.values[0].c_str(), added.values[1].c_str(), added.values[2].c_str());
    } else if (op.kind == kEdit) {
        model.sections[shown].values[op.key] = op.value;
        if (store)
            (op.key == 0   ? store->entries.items[entry].path
             : op.key == 1 ? store->entries.items[entry].folder
                           : store->entries.items[entry].comment) = op.value.c_str();
    } else if (op.kind == kRename || op.kind == kCaseRename) {
        if (op.kind == kCaseRename)
            CharUpperA(&(name = op.target)[0]);
        const int taken = model.Shown(name);
        if (name == model.sections[shown].name || (taken >= 0 && taken != shown))
            return false;
        model.Rename(model.sections[shown].name, name, done);
        if (store)
            store->entries.items[entry].name = name.c_str();
    } else if (op.kind == kSwap) {
        const int other = model.Shown(op.other), second = store ? store->FindName(op.other.c_str(), -1) : 0;
        if (other < 0 || other == shown || second < 0)
            return false;
        const std::string a = model.sections[shown].name, b = model.sections[other].name;
        model.Rename(a, b, done);
        model.Rename(b, a, done);
        if (store) {
            store->entries.items[second].name = a.c_str();
            store->entries.items[entry].name = b.c_str();
        }
    } else {  // kDelete: the command with its hidden twins
        const std::string family = Folded(model.sections[shown].name);
        for (size_t i = model.sections.size(); i-- > 0;) {
            if (Folded(model.sections[i].name) != family)
                continue;
            for (const std::string& m : model.sections[i].own)
                model.markers.erase(std::find(model.markers.begin(), model.markers.end(), m));
            model.sections.erase(model.sections.begin() + i);
        }
        if (store)
            store->Delete(entry);
    }
    if (store)
        store->Sort();
    return true;
}

std::vector<std::string> MarkersIn(const std::string& text)
{
    std::vector<std::string> found;
    for (size_t at = 0, end; at < text.size(); at = end + 1) {
        end = std::min(text.find_first_of("\r\n", at), text.size());
        if (!text.compare(at, 2, ";m") || !text.compare(at, 3, "X=u"))
            found.push_back(text.substr(at, end - at));
    }
    return found;
}

// The file against the model through all three readers; why says what differs.
bool Matches(const CString& folder, const CString& file, const Model& model, std::string& why)
{
    int length = 0;
    const CString bytes = ReadWholeFile(file, &length);
    const std::string text(bytes.Text(), length);
    why = "in the file\n" + text + "\n";
    if (MarkersIn(text) != model.markers)
        return why += "the lines of no deleted command are not all there in order", false;
    std::set<std::string> expected, listed, launched;
    for (const ModelSection& section : model.sections)
        expected.insert(Folded(section.name));
    WritePrivateProfileStringA(0, 0, 0, file.data);  // the reader reads the file afresh
    std::vector<char> list(1 << 16);
    GetPrivateProfileSectionNamesA(list.data(), static_cast<DWORD>(list.size()), file.data);
    for (const char* p = list.data(); *p; p += strlen(p) + 1)
        listed.insert(Folded(p));
    CCommandList launcher(folder);
    launcher.commandFile = file;  // never a per-user file of the test user
    launcher.Load();
    for (int i = 0; i < launcher.names.count; i++)
        launched.insert(Folded(launcher.names.Name(i)));
    CCommandStore editor(file.data);
    if (listed != expected || launched != expected)
        return why += listed != expected ? "the platform's reader lists other names" : "the launcher lists other names", false;
    if (!editor.Load() || editor.entries.count != static_cast<int>(expected.size()))
        return why += "the editor shows other commands", false;
    for (const std::string& name : expected) {
        const ModelSection& section = model.sections[model.Shown(name)];
        const int entry = editor.FindName(name.c_str(), -1);
        if (entry < 0 || section.name != editor.entries.items[entry].name.data)
            return why += "the editor does not show " + section.name, false;
        const CommandEntry& shown = editor.entries.items[entry];
        const CString* editorValues[] = {&shown.path, &shown.folder, &shown.comment};
        CString run[3];
        launcher.GetCommand(CString(name.c_str()), &run[0], &run[1], &run[2]);
        for (int k = 0; k < 3; k++) {
            char value[1024] = "";
            GetPrivateProfileStringA(section.name.c_str(), kKeys[k], "", value, sizeof(value), file.data);
            const char* own = editorValues[k]->Text();
            if (section.values[k] != value || section.values[k] != own ||
                section.values[k] != (run[k].Text()))
                return why += section.name + " " + kKeys[k] + " is not \"" + section.values[k] + "\"", false;
        }
    }
    return true;
}

bool RunSeries(const Series& series, const CString& folder, std::string& why)
{
    const CString file = folder + "quelt_cmd.txt";
    Model model;
    const std::string text = TextOf(series, model);
    CCommandStore store(file.data);
    if (!WriteBytes(file, text.data(), static_cast<int>(text.size())) || !store.Load())
        return why = "the file could not be written or loaded", false;
    for (size_t save = 0; save < series.saves.size(); save++) {
        for (const Op& op : series.saves[save])
            Apply(op, model, &store);
        if (store.Save() == kSaveFailed || !Matches(folder, file, model, why))
            return why = "after save " + std::to_string(save + 1) + ": " + why, false;
    }
    return true;
}

Series Generate(const unsigned int& seed)
{
    unsigned int state = seed * 2654435761u + 1;
    auto below = [&](const int& n) { return static_cast<int>(NextTestRandom(state) % n); };
    int marker = 0;
    auto end = [&]() { return std::string(below(3) ? "\r\n" : "\n"); };
    auto markerLine = [&](const bool& unknownKey) {
        const std::string text = (unknownKey ? "X=u" : ";m") + std::to_string(marker++);
        return Line{text, end(), -1, text, unknownKey};
    };
    Series series;
    series.sections.push_back(GenSection{"", "", {markerLine(false)}});
    for (int i = below(9); i > 0; i--) {
        std::string name = kNames[below(CountOf(kNames))];
        for (char& c : name)
            c = c >= 'a' && c <= 'z' && !below(3) ? static_cast<char>(c - 32) : c;
        GenSection section{name, (below(4) ? "[" + name + "]" : "[ " + name + " ]") + end(), {}};
        for (int k = 0; k < 3; k++) {
            const std::string value = "v" + std::to_string(marker++);
            const std::string key = below(3) ? kKeys[k] : " " + Folded(kKeys[k]) + " ";
            if (below(4))
                section.lines.push_back(Line{key + "=" + value, end(), k, value, true});
            if (!below(8))  // a second line of a key: the reader takes the first
                section.lines.push_back(Line{std::string(kKeys[k]) + "=d" + value, end(), k, "d" + value, true});
            if (!below(3))
                section.lines.push_back(markerLine(below(2)));
        }
        if (below(2))
            section.lines.push_back(Line{"", end(), -1, "", false});
        if (!below(3))
            section.lines.push_back(markerLine(false));
        series.sections.push_back(section);
    }
    // The very last line may lack its line end.
    GenSection& last = series.sections.back();
    if (below(2) && last.lines.empty())
        last.header = last.header.substr(0, last.header.rfind(']') + 1);
    else if (!last.lines.empty() && below(2))
        last.lines.back().end = "";
    Model model;
    TextOf(series, model);
    for (int saves = 1 + below(3); saves > 0; saves--) {
        std::vector<Op> ops;
        for (int n = 1 + below(6); n > 0; n--) {
            const int size = static_cast<int>(model.sections.size());
            Op op{below(kKinds), size ? model.sections[below(size)].name : "", kNames[below(CountOf(kNames))],
                  below(3), kValues[below(CountOf(kValues))]};
            if (size && below(2))
                op.other = model.sections[below(size)].name;
            if (op.kind == kRename && below(2))
                op.other += std::to_string(marker++);
            if (Apply(op, model, 0))
                ops.push_back(op);
        }
        series.saves.push_back(ops);
    }
    return series;
}

// The series without each section and each step in turn that it still
// fails without, until none can go.
Series Smallest(Series series, const CString& folder)
{
    std::string why;
    for (bool smaller = true; smaller;) {
        smaller = false;
        for (int part = -1; part < static_cast<int>(series.saves.size()); part++) {
            for (size_t i = 0; i < (part < 0 ? series.sections.size() : series.saves[part].size()); i++) {
                Series trial = series;
                if (part < 0)
                    trial.sections.erase(trial.sections.begin() + i);
                else
                    trial.saves[part].erase(trial.saves[part].begin() + i);
                if (!RunSeries(trial, folder, why))
                    series = trial, smaller = true, i--;
            }
        }
    }
    return series;
}

std::string Describe(const Series& series)
{
    Model model;
    std::string out = "file:\n";
    for (const char c : TextOf(series, model))
        out += c == '\r' ? std::string("\\r") : std::string(1, c);
    for (size_t s = 0; s < series.saves.size(); s++) {
        out += "\nsave " + std::to_string(s + 1) + ":";
        for (const Op& op : series.saves[s])
            out += std::string(" ") + kKindNames[op.kind] + "(" + op.target + ", " + op.other + ", " + kKeys[op.key] +
                   "=" + op.value + ")";
    }
    return out;
}

unsigned long Setting(const char* name, const unsigned long& fallback)
{
    const char* value = getenv(name);
    return value && *value ? strtoul(value, 0, 10) : fallback;
}

GenSection Section(const char* name, const char* path, const char* end, const bool& blankAfter = false)
{
    GenSection section{name, std::string("[") + name + "]\r\n", {Line{std::string("PATH=") + path, end, 0, path, true}}};
    if (blankAfter)
        section.lines.push_back(Line{"", "\r\n", -1, "", false});
    return section;
}

}  // namespace

TEST(CommandSaveModelTest, RandomSeriesOfListOperationsSaveAsTheModelSays)
{
    const CString folder = MakeScratchFolder("save_model");
    const unsigned long first = Setting("QUELT_SAVE_SEED", 1), count = Setting("QUELT_SAVE_SERIES", 300);
    const DWORD limit = Setting("QUELT_SAVE_SECONDS", 0) * 1000, started = GetTickCount();
    unsigned long done = 0;
    for (; done < count && (!limit || GetTickCount() - started < limit); done++) {
        std::string why;
        const Series series = Generate(static_cast<unsigned int>(first + done));
        if (!RunSeries(series, folder, why)) {
            const Series smallest = Smallest(series, folder);
            RunSeries(smallest, folder, why);
            FAIL() << "seed " << first + done << " fails; the smallest series that still fails:\n"
                   << Describe(smallest) << "\n"
                   << why;
        }
    }
    printf("%lu series from seed %lu passed in %lu s\n", done, first,
           static_cast<unsigned long>((GetTickCount() - started) / 1000));
    RemoveScratchFolder(folder);
}

TEST(CommandSaveModelTest, KeysAddedBesideANewCommandOrADeletedNeighbourLandInTheirOwnSection)
{
    const CString folder = MakeScratchFolder("save_model_cases");
    const Op newBackup{kNew, "", "backup", 0, "b.exe"}, zipComment{kEdit, "zip", "", 2, "archiver"};
    const struct {
        const char* what;
        Series series;
    } cases[] = {
        {"a comment for the last command, saved with a new one",
         {{Section("notepad", "notepad.exe", "\r\n", true), Section("zip", "7z.exe", "")}, {{newBackup, zipComment}}}},
        {"the same with a line end at the end",
         {{Section("notepad", "notepad.exe", "\r\n", true), Section("zip", "7z.exe", "\r\n")}, {{newBackup, zipComment}}}},
        {"a comment for the command before a deleted one",
         {{Section("b", "b.exe", "\r\n"), Section("a", "a.exe", "")},
          {{Op{kDelete, "a", "", 0, ""}, Op{kEdit, "b", "", 2, "comment"}}}}},
        {"a twin, its first deleted and a new command of its name",
         {{Section("foo", "shown.exe", "\r\n"), Section("FOO", "hidden.exe", "\r\n")},
          {{Op{kDelete, "foo", "", 0, ""}, Op{kNew, "", "foo", 0, "new.exe"}}}}},
    };
    for (const auto& test : cases) {
        std::string why;
        EXPECT_TRUE(RunSeries(test.series, folder, why)) << test.what << "\n"
                                                         << Describe(test.series) << "\n"
                                                         << why;
    }
    RemoveScratchFolder(folder);
}
