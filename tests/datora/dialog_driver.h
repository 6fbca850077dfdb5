// Drives a running Datora from another process with real window messages:
// it finds the dialog and its message boxes, reads their texts, clicks,
// types and drops. Every wait has a time limit.
#ifndef QUELT_TESTS_DATORA_DIALOG_DRIVER_H
#define QUELT_TESTS_DATORA_DIALOG_DRIVER_H

#include <windows.h>

#include "support/string.h"

// A message box of the program as the user sees it.
struct SeenMessageBox {
    HWND window;
    Zint_Std::CString text;
    HICON icon;  // null when the box shows none
};

class CDatoraDriver {
public:
    PROCESS_INFORMATION process;
    HWND dialog;

    CDatoraDriver();
    // Ends the program if a test left it open.
    ~CDatoraDriver();

    // Starts the program beside this one and waits for its dialog.
    bool Start();
    HWND Item(const int& id) const;
    Zint_Std::CString Text(const int& id) const;
    bool SetText(const int& id, const char* text);
    bool IsChecked(const int& id) const;
    bool IsEnabled(const int& id) const;
    // A click whose handling returns at once.
    bool Click(const int& id);
    // A click that opens a modal box: posted, so that the driver goes on.
    bool PostClick(const int& id);
    // Keys and characters for the focused field of a date-time picker.
    bool TypeIntoPicker(const int& id, const char* keys);
    // Waits until the text of the item begins with start (posted keys are
    // handled after any sent message).
    bool WaitForTextStart(const int& id, const char* start, const int& milliseconds);
    // A drop of the given items (a list of paths ending with a null).
    bool Drop(const char* const* items);

    // Waits for the program's message box with this caption and reads it.
    bool WaitForMessageBox(const char* caption, SeenMessageBox& seen, const int& milliseconds);
    // Presses the box's OK button and waits until it is gone.
    bool CloseMessageBox(const SeenMessageBox& seen);
    bool NoMessageBoxWithin(const char* caption, const int& milliseconds);

    // Ends the dialog with the given button; the program's exit code.
    bool CloseWith(const int& id, DWORD& exitCode);

private:
    HWND FindProgramWindow(const char* caption) const;
};

// The text of any window of another process.
Zint_Std::CString WindowText(HWND window);

#endif
