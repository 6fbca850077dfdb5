// The launcher's sorted command names, held in one block: each name with
// its zero, one after another, and a table of where each begins, in the
// order of the list. One block instead of one string each keeps the heap's
// per-block overhead out of the idle launcher.
#ifndef QUELT_LAUNCHER_COMMAND_NAMES_H
#define QUELT_LAUNCHER_COMMAND_NAMES_H

class CCommandFile;

class CCommandNames {
public:
    int count;  // names in the list; set by Build and Clear only

    CCommandNames();
    ~CCommandNames();

    // The name at index, 0 <= index < count.
    const char* Name(const int& index) const { return text + starts[index]; }

    // The names of the sections the profile reader lists, ordered as a
    // merge sort by lstrcmpiA orders them: ascending, letter case aside,
    // and of two names that compare equal the later one in the file first.
    // False, with an empty list, when memory ran out.
    bool Build(const CCommandFile& commands);
    void Clear();
    // The bytes the list holds: its block and its table.
    unsigned int ByteSize() const;

private:
    char* text;
    int* starts;
    int textSize;

    CCommandNames(const CCommandNames&);
    CCommandNames& operator=(const CCommandNames&);
};

#endif
