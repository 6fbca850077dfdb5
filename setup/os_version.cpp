#include "os_version.h"

#include <shlobj.h>

#include <new>
#include <string.h>

#include "support/files.h"
#include "support/string.h"

using Zint_Std::CString;

COsVersion::COsVersion() : commonProgramsWritable(0)
{
    memset(&info, 0, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
    GetVersionExA(&info);
}

COsVersion::~COsVersion()
{
    delete commonProgramsWritable;
}

int COsVersion::CanWriteCommonPrograms()
{
    if (commonProgramsWritable)
        return *commonProgramsWritable;
    commonProgramsWritable = new (std::nothrow) int(0);
    if (!commonProgramsWritable)
        return 0;

    CString userPrograms;
    CString commonPrograms;
    if (!Zint_Std::GetSpecialFolderPath(userPrograms, CSIDL_PROGRAMS))
        userPrograms.Empty();
    if (!Zint_Std::GetSpecialFolderPath(commonPrograms, CSIDL_COMMON_PROGRAMS))
        commonPrograms.Empty();
    // A system without a separate all-users menu gives the same folder twice.
    if (Zint_Std::StringEqual(userPrograms, commonPrograms))
        return 0;

    // Creating a file is the only sure test of write access.
    char probe[MAX_PATH + 1];
    probe[0] = 0;
    if (GetTempFileNameA(commonPrograms.data, "_quelt", 0, probe)) {
        *commonProgramsWritable = 1;
        DeleteFileA(probe);
    }
    return *commonProgramsWritable;
}
