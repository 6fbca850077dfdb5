#include "sendto_shortcut.h"

#include <windows.h>
#include <shlobj.h>

#include "pinlet_texts.h"
#include "support/files.h"
#include "support/shortcut.h"

using Zint_Std::CString;

bool CSendToShortcut::Locate()
{
    folder.Empty();
    linkPath.Empty();
    if (!Zint_Std::GetSpecialFolderPath(folder, CSIDL_SENDTO)) {
        folder.Empty();
        return false;
    }
    linkPath.Assign(folder);
    linkPath.Append(kSendToShortcutName);
    return true;
}

bool CSendToShortcut::Exists() const
{
    return !linkPath.IsEmpty() && Zint_Std::PathExists(linkPath.data);
}

bool CSendToShortcut::Create(const CString& installFolder) const
{
    if (linkPath.IsEmpty() || !Zint_Std::EnsureLinkFolder(folder))
        return false;
    Zint_Std::ShortcutRequest request;
    request.linkPath.Assign(linkPath);
    request.targetPath.Assign(installFolder);
    request.targetPath.Append(kPinletProgramName);
    request.workingFolder.Assign(installFolder);
    Zint_Std::CShortcutWriter writer;
    if (!writer.Open())
        return false;
    // A failed save is not reported; the writer says so only for the tests.
    bool written = writer.WriteShortcut(request);
    writer.Close();
    return written;
}

void CSendToShortcut::Delete() const
{
    if (!linkPath.IsEmpty())
        DeleteFileA(linkPath.data);
}
