// The running system's version and whether this user may write the
// all-users Start menu, which decides the options the install dialog offers.
#ifndef QUELT_SETUP_OS_VERSION_H
#define QUELT_SETUP_OS_VERSION_H

#include <windows.h>

class COsVersion {
public:
    OSVERSIONINFOA info;

    COsVersion();
    ~COsVersion();

    // 1 when the all-users programs folder is a folder of its own that this
    // user can create files in; computed on the first call only.
    int CanWriteCommonPrograms();

private:
    int* commonProgramsWritable;  // absent until the first query

    COsVersion(const COsVersion&);
    COsVersion& operator=(const COsVersion&);
};

#endif
