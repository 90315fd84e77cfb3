#include "shell/command_line.h"

#include "saver_rules/switch_search.h"

int ParseSaverCommandLine(const char* commandLine, HWND* parent, int16_t* mode) {
    *parent = nullptr;
    // Started without arguments (Explorer's "Configure" on the file): the settings.
    if (commandLine == nullptr || commandLine[0] == '\0') {
        *mode = Configure;
        return 0;
    }
    SaverMode found = Configure;
    intptr_t number = 0;
    if (!FindSaverSwitch(commandLine, &found, &number)) return 1;
    *mode = found;
    *parent = number != 0 ? reinterpret_cast<HWND>(number) : GetForegroundWindow();
    return 0;
}
