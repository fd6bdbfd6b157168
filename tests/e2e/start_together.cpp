// Starts "SCR /s" twice at the same moment, as two racing starts of the saver; waits
// up to SECONDS for both and prints "exit <first> <second>": each an exit code, or
// "running" for one that had to be stopped.
//   start_together.exe SCR SECONDS
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// Created suspended, so that both can be let go together.
static PROCESS_INFORMATION createFullScreen(const char* scr) {
    std::string command = std::string("\"") + scr + "\" /s";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                   &startup, &process);
    return process;
}

static std::string endOf(HANDLE saver) {
    DWORD code = 0;
    if (GetExitCodeProcess(saver, &code) && code != STILL_ACTIVE) return std::to_string(code);
    TerminateProcess(saver, 98);
    return "running";
}

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    PROCESS_INFORMATION first = createFullScreen(argv[1]), second = createFullScreen(argv[1]);
    if (!first.hProcess || !second.hProcess) return 3;
    ResumeThread(first.hThread);
    ResumeThread(second.hThread);
    HANDLE savers[2] = {first.hProcess, second.hProcess};
    WaitForMultipleObjects(2, savers, TRUE, DWORD(std::atof(argv[2]) * 1000));
    std::printf("exit %s %s\n", endOf(savers[0]).c_str(), endOf(savers[1]).c_str());
    return 0;
}
