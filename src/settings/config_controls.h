// The configuration dialog's controls as data: which control edits which field,
// the radio groups, the bank buttons and the priority names. Portable.
#pragma once
#include <cstdint>

struct FieldControl {
    int id;
    const char* field;  // registry name of the settings field
};
// Edits, in the order the dialog fills them.
extern const FieldControl editControls[14];
// Check boxes, each flipping its flag once per click.
extern const FieldControl checkControls[5];

struct RadioGroup {
    const char* field;
    int first, last;  // the identifier range CheckRadioButton works over
    struct Choice {
        int id;
        int32_t value;
    } choices[5];
    int choiceCount;
};
// In the order the dialog fills them: view mode, texture height, texture width.
extern const RadioGroup radioGroups[3];

// The "Monitors" drop-down: item i sets monitorMode i.
extern const char* const monitorModeItems[3];

// The bank (0..3 for A..D) of a Save Bank or Recall Bank button, or -1.
int saveBankOf(int id);
int recallBankOf(int id);

// The name of a priority level. A level outside 0..5 is named as the trackbar shows
// it, by the nearer end of its range: that is also the level OK will store.
const char* priorityName(int32_t priority);

// An edit's number: the C library's atoi over the first 9 characters of its text.
int32_t parseEditNumber(const char* text);
