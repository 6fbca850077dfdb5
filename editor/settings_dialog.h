// The settings editor: the hotkey, the input box, the window and the
// aliases of the launcher's profile, in one modal dialog.
#ifndef QUELT_EDITOR_SETTINGS_DIALOG_H
#define QUELT_EDITOR_SETTINGS_DIALOG_H

#include <windows.h>

#include "editor/dialog.h"
#include "editor/settings_store.h"
#include "support/string.h"

class CSettingsDialog : public CEditorDialog {
public:
    Zint_Std::CString profile;
    ATOM hotKeyId;            // the launcher's registration on the owner
    EditorSettings original;  // as the file held it when the dialog opened
    EditorSettings loaded;    // what the file holds, after any write
    EditorSettings edited;    // what the dialog shows
    bool imePicked;           // the user chose an IME entry

    CSettingsDialog(HWND owner, const ATOM& hotKey, const char* profileFile);

    // Whether the file differs from what it held at the start.
    bool FileChanged() const;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(const int& id, const int& code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;

private:
    void FillKeyList();
    void FillImeList();
    void PrepareAliasList();
    void ShowAliases(const int& selected);
    int SelectedAlias() const;
    void UpdateAliasButtons();

    void AddAlias();
    void EditAliasAt(const int& index);
    void DeleteSelectedAlias();

    // The virtual-key code chosen in the key list.
    int SelectedKey() const;
    // Reads the controls into edited; false (with the user told why) when
    // a value cannot be taken. A field left as it was shown keeps its value.
    bool TakeInput();
    // value comes in as shown and is kept when the field still shows it.
    bool ReadNumber(const int& id, const int& low, const int& high, const char* problem,
                    int& value);
    // Tries a changed hotkey on the owner under a second id; the owner's
    // running registration is not touched. False when it is held.
    bool HotKeyIsFree();
    void OnOk();
};

#endif
