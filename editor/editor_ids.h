// Resource identifiers of the editor library. Each dialog has its own range:
// the template is the range's first number, its items follow it.
#ifndef QUELT_EDITOR_IDS_H
#define QUELT_EDITOR_IDS_H

// Command list editor: 200-299.
#define IDD_COMMAND_LIST 200

// Single-command editor: 300-399.
#define IDD_COMMAND_EDIT 300

// Import of Start-menu shortcuts: 400-499.
#define IDD_IMPORT_SHORTCUTS 400

// Settings editor: 500-599.
#define IDD_SETTINGS 500

// One [Alias] entry: 600-699.
#define IDD_ALIAS_EDIT 600

#endif
