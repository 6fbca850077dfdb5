// Started by the launcher under test: records what reached it. The file
// named by QUELT_PROBE_OUT receives, one per line, the raw command line,
// the text after the program name, the current folder and the variables
// listed in QUELT_PROBE_VARS (separated by ';'). It is written under a
// temporary name and renamed, so a reader never sees half a record.
#include <windows.h>
#include <stdio.h>
#include <string.h>

static const char* AfterProgramName(const char* line)
{
    const char* p = line;
    if (*p == '"') {
        p = strchr(p + 1, '"');
        p = p ? p + 1 : line + strlen(line);
    } else {
        while (*p && *p != ' ' && *p != '\t')
            p++;
    }
    if (*p == ' ' || *p == '\t')
        p++;  // the one separator the shell puts in
    return p;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char target[1024];
    if (!GetEnvironmentVariableA("QUELT_PROBE_OUT", target, sizeof(target)))
        return 1;
    char temporary[1100];
    wsprintfA(temporary, "%s.part", target);
    FILE* out = fopen(temporary, "wb");
    if (!out)
        return 1;
    const char* line = GetCommandLineA();
    char folder[1024];
    folder[0] = 0;
    GetCurrentDirectoryA(sizeof(folder), folder);
    fprintf(out, "cmdline=%s\n", line);
    fprintf(out, "args=%s\n", AfterProgramName(line));
    fprintf(out, "cwd=%s\n", folder);
    static char names[4096];
    if (GetEnvironmentVariableA("QUELT_PROBE_VARS", names, sizeof(names))) {
        for (char* name = strtok(names, ";"); name; name = strtok(0, ";")) {
            static char value[32768];
            value[0] = 0;
            GetEnvironmentVariableA(name, value, sizeof(value));
            fprintf(out, "env:%s=%s\n", name, value);
        }
    }
    fclose(out);
    MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING);
    return 0;
}
