#include "editor/indirect_text.h"

#include <windows.h>
#include <stdlib.h>

#include "support/handles.h"

using Zint_Std::CString;

namespace {

// Room for the resolved string, in characters.
const int kResolvedChars = 512;

typedef HRESULT(WINAPI* LoadIndirectStringFunction)(LPCWSTR source, LPWSTR out, UINT outChars,
                                                    void** reserved);

}  // namespace

bool IsIndirectText(const char* text)
{
    return text && text[0] == '@';
}

bool LoadIndirectText(const char* source, CString& text)
{
    text = "";
    if (!IsIndirectText(source))
        return false;
    // Looked up by name: the function is missing from older systems, which
    // would otherwise refuse to load the library at all.
    Zint_Std::CLibrary shlwapi("shlwapi.dll");
    if (!shlwapi.module)
        return false;
    LoadIndirectStringFunction load = reinterpret_cast<LoadIndirectStringFunction>(
        reinterpret_cast<void*>(GetProcAddress(shlwapi.module, "SHLoadIndirectString")));
    bool ok = false;
    // Not every resolver expands "%SystemRoot%" in the library's path.
    CString expanded;
    const DWORD expandedBytes = ExpandEnvironmentStringsA(source, 0, 0);
    if (expandedBytes > 0 && expanded.Reserve(static_cast<int>(expandedBytes)) &&
        ExpandEnvironmentStringsA(source, expanded.data, expandedBytes) > 0)
        source = expanded.data;
    const int sourceChars = MultiByteToWideChar(CP_ACP, 0, source, -1, 0, 0);
    WCHAR* wideSource = static_cast<WCHAR*>(malloc(sizeof(WCHAR) * (sourceChars + 1)));
    WCHAR* resolved = static_cast<WCHAR*>(malloc(sizeof(WCHAR) * kResolvedChars));
    if (load && wideSource && resolved && sourceChars > 0 &&
        MultiByteToWideChar(CP_ACP, 0, source, -1, wideSource, sourceChars) > 0) {
        resolved[0] = 0;
        ok = SUCCEEDED(load(wideSource, resolved, kResolvedChars, 0)) && resolved[0];
    }
    if (ok) {
        const int bytes = WideCharToMultiByte(CP_ACP, 0, resolved, -1, 0, 0, 0, 0);
        ok = bytes > 1 && text.Reserve(bytes) &&
             WideCharToMultiByte(CP_ACP, 0, resolved, -1, text.data, bytes, 0, 0) > 0;
        // A string that still names a resource was not resolved.
        ok = ok && !IsIndirectText(text.data);
    }
    if (!ok)
        text = "";
    free(wideSource);
    free(resolved);
    return ok;
}
