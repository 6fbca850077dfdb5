#include "editor/command_preview.h"

#include <stdlib.h>
#include <string.h>

#include "commands/line_parser.h"
#include "commands/profile_text.h"
#include "support/native_paths.h"

using Zint_Std::CString;

namespace {

// Stands for the command in the typed line when its name could not be typed.
const char kStandInName[] = "command";

CString Expanded(const CString& text)
{
    CString result;
    if (text.IsEmpty())
        return result;
    char* expanded = ExpandEnvironmentToFit(text.data);
    if (!expanded)
        return text;
    result = expanded;
    free(expanded);
    return result;
}

// Whether PATH holds a placeholder ($1..$9, $$, $!).
bool HasPlaceholder(const char* path)
{
    for (const char* p = path; p[0] && p[1]; p++) {
        if (p[0] == '$' && ((p[1] >= '1' && p[1] <= '9') || p[1] == '$' || p[1] == '!'))
            return true;
    }
    return false;
}

// The drive and folder of a file, as the launcher's "oaf" option opens it.
CString FolderOfFile(const CString& file)
{
    CString result;
    const size_t size = static_cast<size_t>(file.GetLength()) + 4;
    char* drive = static_cast<char*>(calloc(size, 1));
    char* directory = static_cast<char*>(calloc(size, 1));
    if (drive && directory) {
        _splitpath(file.Text(), drive, directory, 0, 0);
        result = CString(drive) + directory;
    }
    free(drive);
    free(directory);
    return result;
}

void Quote(CString& note, const CString& text)
{
    note.Append("「");
    note.Append(text);
    note.Append("」");
}

CString ArrowOptionNote(const CString& option, const CString& file, const CString& folder)
{
    CString note("->");
    note.Append(option);
    note.Append(": ");
    if (lstrcmpA(option.data, "of") == 0) {
        if (folder.IsEmpty()) {
            note.Append("作業フォルダが空のため、このオプションはパラメータとしてファイルに渡されます");
        } else {
            note.Append("作業フォルダ");
            Quote(note, folder);
            note.Append("を開きます");
        }
    } else if (lstrcmpA(option.data, "oaf") == 0) {
        CString target = Expanded(FolderOfFile(file));
        if (target.IsEmpty()) {
            note.Append("ファイル名にフォルダが含まれていないため、開くフォルダがありません");
        } else {
            note.Append("ファイルのあるフォルダ");
            Quote(note, target);
            note.Append("を開きます");
        }
    } else if (lstrcmpA(option.data, "edit") == 0) {
        note.Append("このコマンドを編集画面で開きます");
    } else {
        note = "「->";
        note.Append(option);
        note.Append("」はオプションではないため、パラメータとしてそのまま渡されます");
    }
    return note;
}

CString BuiltinNote(const CString& file)
{
    CString rest(file.data + 1);
    CString token = rest.Tokenize(" \t", true);
    const int code = token.data ? atoi(token.data) : 0;
    CString note;
    note.Format("組み込みコマンド %d", code);
    const char* name = BuiltinCodeName(code);
    note.Append(": ");
    note.Append(name ? name : "この番号の組み込みコマンドはありません（何も実行されません）");
    return note;
}

}  // namespace

const char* BuiltinCodeName(const int& code)
{
    switch (code) {
    case 100: return "スクリーンセーバーを起動します";
    case 200: return "Quelt を終了します";
    case 300: return "バージョン情報を表示します";
    case 400: return "強制的にシャットダウンします";
    case 500: return "強制的に再起動します";
    case 600: return "コマンドファイルを読み直します";
    case 700: return "コマンドファイルを開きます";
    case 800: return "Windows の終了画面を表示します";
    case 900: return "画面のプロパティを開きます";
    case 1000: return "プログラムと機能（プログラムの追加と削除）を開きます";
    case 1300: return "システムのプロパティを開きます";
    case 1400: return "設定の編集を開きます";
    case 1600: return "ごみ箱を空にします";
    case 1700: return "ヘルプを開きます";
    case 1800: return "シャットダウンします";
    case 1900: return "再起動します";
    case 2000: return "ログオフします";
    case 2100: return "コマンドの一覧を開きます";
    case 2300: return "設定ファイルを読み直します";
    case 2400: return "設定ファイルを開きます";
    case 2500: return "新しいコマンドを作ります";
    case 2600: return "日付と時刻のプロパティを開きます";
    default: return 0;
    }
}

void ComputeCommandPreview(const char* name, const char* path, const char* folder,
                           const char* sample, ProgramQuery query, CommandPreview& preview)
{
    preview.file.Empty();
    preview.parameters.Empty();
    preview.folder.Empty();
    preview.note.Empty();
    if (!path || !path[0]) {
        preview.note = "パスが空のコマンドは実行されません";
        return;
    }
    // The typed line as the launcher gets it: the name, a blank, the sample.
    CString line(CheckCommandName(name) == kNameFine ? name : kStandInName);
    if (sample && sample[0]) {
        line.AppendChar(' ');
        line.Append(sample);
    }
    TypedLine typed;
    if (!SplitTypedLine(line, typed))
        return;
    CString work = SubstituteArguments(CString(path), typed);
    LaunchPlan plan;
    SeparateFileAndParameters(work, query, plan);
    // The program the launcher starts: on 64-bit Windows, the 64-bit one.
    preview.file = Zint_Std::NativeProgramPath(Expanded(plan.file));
    preview.parameters = plan.parameters;
    preview.folder = Expanded(CString(folder));

    // The launcher's order: an arrow option first, then a built-in code.
    const CString& parameters = plan.parameters;
    if (parameters.GetLength() > 2 && parameters.data[0] == '-' && parameters.data[1] == '>') {
        preview.note = ArrowOptionNote(CString(parameters.data + 2), plan.file, preview.folder);
    } else if (plan.file.data && plan.file.data[0] == '@') {
        preview.note = BuiltinNote(plan.file);
    } else if ((!sample || !sample[0]) && HasPlaceholder(path)) {
        preview.note = "入力例が空のときは $1 などの記号が置き換えられずにそのまま渡されます";
    }
}
