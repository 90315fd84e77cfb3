#include "tests/e2e/saver_process.h"

#include <vector>

#include "tests/e2e/driver_config.h"
#include "tests/e2e/waiting.h"

SaverProcess::SaverProcess(const std::string& arguments, const std::string& workingDir) {
    commandLine_ = "\"" + Config().saverPath + "\"";
    if (!arguments.empty()) commandLine_ += " " + arguments;
    // CreateProcessA may write into the command line.
    std::vector<char> buffer(commandLine_.begin(), commandLine_.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
}

SaverProcess::~SaverProcess() {
    if (process_ == nullptr) return;
    Terminate();
    CloseHandle(process_);
}

bool SaverProcess::IsRunning() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool SaverProcess::WaitForExit(DWORD timeoutMilliseconds) {
    if (process_ == nullptr) return false;
    return WaitUntil([this] { return !IsRunning(); }, timeoutMilliseconds);
}

DWORD SaverProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_ != nullptr) GetExitCodeProcess(process_, &code);
    return code;
}

void SaverProcess::Terminate() {
    if (!IsRunning()) return;
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
}
