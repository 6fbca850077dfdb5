#include "support/shortcut.h"

#include "support/files.h"
#include "support/link_file_path.h"

namespace Zint_Std {

namespace {

const CLSID kShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

}  // namespace

namespace {

// The shell's texts of a link are at most MAX_PATH characters; arguments
// and descriptions may be longer, the buffer takes what fits.
const int kLinkText = 1024;

IShellLinkA* CreateShellLink()
{
    void* created = 0;
    if (FAILED(CoCreateInstance(kShellLink, 0, CLSCTX_INPROC_SERVER, kShellLinkA, &created)))
        return 0;
    return static_cast<IShellLinkA*>(created);
}

}  // namespace

bool ShellLinksAvailable()
{
    IShellLinkA* link = CreateShellLink();
    if (link)
        link->Release();
    return link != 0;
}

namespace {

// On 64-bit Windows the link object hands a 32-bit program the 32-bit
// program-files folder (from %ProgramFiles% and the known folders of the ID
// list); the local path stored in the file is the target it was made for.
void PreferStoredLocalPath(const char* linkPath, CString& target)
{
    CString stored;
    if (!target.IsEmpty() && ReadLinkFileLocalPath(linkPath, stored) &&
        GetFileAttributesA(stored.data) != INVALID_FILE_ATTRIBUTES)
        target.Assign(stored);
}

}  // namespace

bool ReadShortcutFile(const char* linkPath, ShortcutContents& contents)
{
    WCHAR widePath[MAX_PATH * 2];
    if (!MultiByteToWideChar(CP_ACP, 0, linkPath ? linkPath : "", -1, widePath, MAX_PATH * 2))
        return false;
    IShellLinkA* link = CreateShellLink();
    if (!link)
        return false;
    void* persist = 0;
    bool loaded = false;
    if (SUCCEEDED(link->QueryInterface(kPersistFile, &persist)) && persist) {
        IPersistFile* file = static_cast<IPersistFile*>(persist);
        if (SUCCEEDED(file->Load(widePath, STGM_READ)) && contents.target.Reserve(kLinkText) &&
            contents.arguments.Reserve(kLinkText) && contents.workingFolder.Reserve(kLinkText) &&
            contents.description.Reserve(kLinkText)) {
            WIN32_FIND_DATAA found;
            // An advertised shortcut gives no path and S_FALSE.
            if (link->GetPath(contents.target.data, kLinkText, &found, 0) != S_OK)
                contents.target.data[0] = 0;
            PreferStoredLocalPath(linkPath, contents.target);
            link->GetArguments(contents.arguments.data, kLinkText);
            link->GetWorkingDirectory(contents.workingFolder.data, kLinkText);
            link->GetDescription(contents.description.data, kLinkText);
            loaded = true;
        }
        file->Release();
    }
    link->Release();
    return loaded;
}

bool EnsureLinkFolder(const CString& folder)
{
    if (FolderExists(folder))
        return true;
    return !folder.IsEmpty() && CreateDirectoryA(folder.data, 0);
}

CShortcutWriter::CShortcutWriter() : link(0), file(0)
{
    ZeroMemory(widePath, sizeof(widePath));
}

CShortcutWriter::~CShortcutWriter()
{
    Close();
}

bool CShortcutWriter::Open()
{
    if (IsOpen())
        return true;
    CoInitialize(0);
    void* created = 0;
    HRESULT result = CoCreateInstance(kShellLink, 0, CLSCTX_INPROC_SERVER, kShellLinkA, &created);
    if (FAILED(result) || !created) {
        CoUninitialize();
        return false;
    }
    link = static_cast<IShellLinkA*>(created);
    void* persist = 0;
    if (FAILED(link->QueryInterface(kPersistFile, &persist)) || !persist) {
        link->Release();
        link = 0;
        CoUninitialize();
        return false;
    }
    file = static_cast<IPersistFile*>(persist);
    return true;
}

bool CShortcutWriter::IsOpen() const
{
    return link && file;
}

bool CShortcutWriter::WriteShortcut(const ShortcutRequest& request)
{
    if (!IsOpen() || request.linkPath.IsEmpty())
        return false;
    // The wide buffer holds 511 characters and the terminator; a longer link
    // path is refused rather than cut to another name.
    if (request.linkPath.GetLength() > 511)
        return false;
    link->SetArguments(request.arguments.Text());
    link->SetPath(request.targetPath.Text());
    link->SetWorkingDirectory(request.workingFolder.Text());
    link->SetDescription("");
    ZeroMemory(widePath, sizeof(widePath));
    if (!MultiByteToWideChar(CP_ACP, 0, request.linkPath.data, -1, widePath, 512))
        return false;
    return SUCCEEDED(file->Save(widePath, TRUE));
}

void CShortcutWriter::Close()
{
    if (!IsOpen())
        return;
    file->Release();
    file = 0;
    link->Release();
    link = 0;
    CoUninitialize();
}

}  // namespace Zint_Std
