// Helper of the end-to-end scenarios: opens the Change Resolution dialog from the
// template inside quakeglass.scr (argument 1), with the controls its manifest asks for,
// on the stored settings, as the configuration dialog does, and prints
// "result N resW resH resC".
#include <windows.h>

#include <cstdio>

#include "resources/resource_ids.h"
#include "settings/resolution_dialog_win32.h"
#include "settings/saver_settings.h"
#include "settings/settings_store.h"

int main(int argc, char** argv) {
    HMODULE saver = argc == 2 ? LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE) : nullptr;
    HRSRC found = saver ? FindResourceA(saver, MAKEINTRESOURCEA(IDD_CHANGE_RESOLUTION), RT_DIALOG) : nullptr;
    HGLOBAL loaded = found ? LoadResource(saver, found) : nullptr;
    if (!loaded) {
        std::printf("no template\n");
        return 1;
    }
    ACTCTXA context = {};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = argv[1];
    context.lpResourceName = MAKEINTRESOURCEA(1);
    ULONG_PTR cookie = 0;
    HANDLE manifest = CreateActCtxA(&context);
    if (manifest == INVALID_HANDLE_VALUE || !ActivateActCtx(manifest, &cookie)) {
        std::printf("no manifest\n");
        return 1;
    }
    SettingsStore::load();
    const auto* dialogTemplate = static_cast<const DLGTEMPLATE*>(LockResource(loaded));
    INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate, nullptr,
                                             ChangeResolutionDialog, 0);
    std::printf("result %d %d %d %d\n", int(result), int(saverSettings.resW), int(saverSettings.resH),
                int(saverSettings.resC));
    return 0;
}
