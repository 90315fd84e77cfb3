#pragma once

#include <windows.h>

#include <functional>
#include <string>

// zova.scr as a Windows path, from the driver's --saver= argument.
inline std::string& SaverPath() {
    static std::string path;
    return path;
}

// Every wait has a deadline and keeps pumping the driver's own messages: a preview child of the
// saver lives in a window of this process, and a host that stops answering stalls the saver.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds) {
    const ULONGLONG end = GetTickCount64() + timeoutMilliseconds;
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (condition()) return true;
        if (GetTickCount64() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

inline void Pause(DWORD milliseconds) {
    WaitUntil([] { return false; }, milliseconds);
}

// One start of zova.scr as Windows makes it: the quoted program path, then the arguments. A
// process still running when the object goes is terminated, so no failed test leaves a saver.
class SaverProcess {
  public:
    explicit SaverProcess(const std::string& arguments, const std::string& workingDir = "")
        : commandLine_("\"" + SaverPath() + "\"" + (arguments.empty() ? "" : " " + arguments)) {
        std::string buffer = commandLine_;  // CreateProcessA may write into it
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info_)) {
            info_ = {};
        }
    }
    ~SaverProcess() {
        if (IsRunning()) TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    const std::string& CommandLine() const { return commandLine_; }
    bool IsRunning() const {
        return Started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
    }
    bool WaitForExit(DWORD timeout) {
        return WaitUntil([this] { return !IsRunning(); }, timeout);
    }
    // STILL_ACTIVE while running.
    DWORD ExitCode() const {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

  private:
    std::string commandLine_;
    PROCESS_INFORMATION info_ = {};
};
