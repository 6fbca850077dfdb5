#include "support/shortcut.h"

#include "support/files.h"

namespace Zint_Std {

namespace {

const CLSID kShellLink = {0x00021401, 0x0000, 0x0000,
                          {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kShellLinkA = {0x000214EE, 0x0000, 0x0000,
                         {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kPersistFile = {0x0000010B, 0x0000, 0x0000,
                          {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

const char* TextOf(const CString& s)
{
    return s.data ? s.data : "";
}

}  // namespace

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
    link->SetArguments(TextOf(request.arguments));
    link->SetPath(TextOf(request.targetPath));
    link->SetWorkingDirectory(TextOf(request.workingFolder));
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
