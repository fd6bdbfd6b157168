#include "settings/config_controls.h"

const FieldControl editControls[14] = {
    {1039, "x_div"},        {1040, "y_div"},        {1071, "genChildren"}, {1042, "xyAmplitude"},
    {1043, "xyFrequency1"}, {1044, "xyFrequency2"}, {1031, "rotX0"},       {1030, "rotX1"},
    {1033, "rotY0"},        {1032, "rotY1"},        {1035, "rotZ0"},       {1034, "rotZ1"},
    {1037, "zoom0"},        {1036, "zoom1"},
};

const FieldControl checkControls[5] = {
    {1080, "xyGoraud"}, {1041, "useLinear"}, {1038, "enableMovement"}, {1086, "useOGL"}, {1093, "randPreset"},
};

const RadioGroup radioGroups[3] = {
    {"Mode", 1060, 1063, {{1060, 0}, {1061, 1}, {1062, 2}, {1063, 3}}, 4},
    {"screenTextureHeight", 1055, 1059, {{1055, 128}, {1057, 256}, {1056, 512}, {1058, 1024}, {1059, 2048}}, 5},
    {"screenTextureWidth", 1049, 1054, {{1049, 128}, {1051, 256}, {1050, 512}, {1052, 1024}, {1054, 2048}}, 5},
};

const char* const monitorModeItems[3] = {"Across all monitors", "Each monitor its own", "Primary monitor only"};

static const int saveButtons[4] = {1079, 1070, 1074, 1076};
static const int recallButtons[4] = {1069, 1073, 1075, 1077};

static int bankOf(const int (&buttons)[4], int id) {
    for (int bank = 0; bank < 4; ++bank)
        if (buttons[bank] == id) return bank;
    return -1;
}

int saveBankOf(int id) { return bankOf(saveButtons, id); }
int recallBankOf(int id) { return bankOf(recallButtons, id); }

const char* priorityName(int32_t priority) {
    static const char* const names[6] = {"Lowest", "Below Normal", "Normal", "Above Normal", "Highest",
                                         "Time Critical"};
    return names[priority < 0 ? 0 : priority > 5 ? 5 : priority];
}

int32_t parseEditNumber(const char* text) {
    int i = 0;
    while (i < 9 && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < 9 && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int32_t value = 0;  // at most 9 digits: no overflow
    for (; i < 9 && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
    return negative ? -value : value;
}
