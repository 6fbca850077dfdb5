// Resource identifiers of the editor library. Each dialog has its own range:
// the template is the range's first number, its items follow it.
#ifndef QUELT_EDITOR_IDS_H
#define QUELT_EDITOR_IDS_H

// Command list editor: 200-299.
#define IDD_COMMAND_LIST 200
#define IDC_LIST_FILTER_LABEL 201
#define IDC_LIST_FILTER 202
#define IDC_LIST_COMMANDS 203
#define IDC_LIST_NEW 204
#define IDC_LIST_EDIT 205
#define IDC_LIST_DUPLICATE 206
#define IDC_LIST_DELETE 207
#define IDC_LIST_IMPORT 208
#define IDC_LIST_STATUS 209  // "N 件のコマンド", and how many the filter shows

// Single-command editor: 300-399. The caption is "コマンドの編集" for a
// command that exists and "新しいコマンド" for a new one.
#define IDD_COMMAND_EDIT 300
#define IDC_COMMAND_NAME 301
#define IDC_COMMAND_PATH 302
#define IDC_COMMAND_PATH_BROWSE 303
#define IDC_COMMAND_FOLDER 304
#define IDC_COMMAND_FOLDER_BROWSE 305
#define IDC_COMMAND_COMMENT 306
#define IDC_PREVIEW_ARGUMENTS 307  // a sample of what is typed after the name
#define IDC_PREVIEW_FILE 308       // read-only results of the preview
#define IDC_PREVIEW_PARAMETERS 309
#define IDC_PREVIEW_FOLDER 310
#define IDC_PREVIEW_NOTE 311  // arrow options and built-in codes in words

// Import of Start-menu shortcuts: 400-499.
#define IDD_IMPORT_SHORTCUTS 400
#define IDC_IMPORT_NOTE 401
#define IDC_IMPORT_LIST 402  // check boxes; the name is edited in place
#define IDC_IMPORT_ALL 403
#define IDC_IMPORT_NONE 404
#define IDC_IMPORT_STATUS 405

// Settings editor: 500-599.
#define IDD_SETTINGS 500
#define IDC_SETTINGS_ALT 501  // hotkey modifiers
#define IDC_SETTINGS_CTRL 502
#define IDC_SETTINGS_SHIFT 503
#define IDC_SETTINGS_WIN 504
#define IDC_SETTINGS_KEY 505  // drop-down list; item data is the key code
#define IDC_SETTINGS_HISTORY 506
#define IDC_SETTINGS_HISTORY_SPIN 507
#define IDC_SETTINGS_TOOLTIP 508
#define IDC_SETTINGS_IME 509  // drop-down list; item data is the ImeCtrl value
#define IDC_SETTINGS_WIDTH 510
#define IDC_SETTINGS_HEIGHT 511
#define IDC_SETTINGS_SAVE_POSITION 512
#define IDC_SETTINGS_TASK_TRAY 513
#define IDC_SETTINGS_ALIASES 514  // list view: name, value
#define IDC_SETTINGS_ALIAS_ADD 515
#define IDC_SETTINGS_ALIAS_EDIT 516
#define IDC_SETTINGS_ALIAS_DELETE 517
#define IDC_SETTINGS_ALIAS_NOTE 518
#define IDC_SETTINGS_MATCH 519  // the completion and the box's arithmetic
#define IDC_SETTINGS_RANK 520
#define IDC_SETTINGS_CALC 521
#define IDC_SETTINGS_CATALOG 522  // what the box finds without a command
#define IDC_SETTINGS_OPEN 523
#define IDC_SETTINGS_ROMAJI 524

// One [Alias] entry: 600-699.
#define IDD_ALIAS_EDIT 600
#define IDC_ALIAS_NAME 601
#define IDC_ALIAS_VALUE 602

#endif
