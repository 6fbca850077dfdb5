#include "launcher/command_list.h"

#include <windows.h>
#include <stdlib.h>
#include <string.h>

using Zint_Std::CString;

int CCommandList::Load()
{
    if (commandFile.IsEmpty())
        return 0;
    RefreshCommands();
    // The same parse gives the same sorted list.
    if (namesGeneration == commands.Generation() && names.count)
        return 1;
    // Memory that ran out leaves the list empty; the load still succeeds.
    namesGeneration = names.Build(commands) ? commands.Generation() : 0;
    return 1;
}

void CCommandList::RefreshCommands()
{
    commands.Refresh(commandFile.Text());
}

namespace {

// The value into a buffer of size bytes, as the profile reader fills one.
void PutValue(CString* out, const CString& value, const int& size)
{
    if (!out || !out->Reserve(size - 1))
        return;
    const int length = value.GetLength();
    if (length)
        memcpy(out->data, value.data, length < size ? length : size - 1);
}

}  // namespace

bool CCommandList::HasCommand(const char* name)
{
    if (!name || !*name)
        return false;
    RefreshCommands();
    return commands.FindSection(name) >= 0;
}

int CCommandList::FindStartMenuProgram(const char* line)
{
    programs.Refresh();
    return programs.Find(line);
}

int CCommandList::GetCommand(const CString& name, CString* path, CString* folder,
                             CString* comment)
{
    if (name.IsEmpty())
        return 0;
    RefreshCommands();
    const int section = commands.FindSection(name.data);
    int result = 1;
    if (path) {
        PutValue(path, commands.Value(section, "PATH", 500), 500);
        result = path->IsEmpty() ? 0 : 1;
    }
    if (folder)
        PutValue(folder, commands.Value(section, "FOLDER", 500), 500);
    if (comment)
        PutValue(comment, commands.Value(section, "COMMENT", 100), 100);
    return result;
}
