#pragma once

#include <windows.h>

#include <string>

// One start of zova.scr, made the way Windows starts a saver: CreateProcess with the quoted
// program path followed by the arguments. A process still running when the object goes (a failed
// test) is terminated, so no test leaves a saver behind.
class SaverProcess {
  public:
    // workingDir empty: the driver's current folder.
    explicit SaverProcess(const std::string& arguments, const std::string& workingDir = "");
    ~SaverProcess();
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    const std::string& CommandLine() const { return commandLine_; }
    bool IsRunning() const;

    // Waits, pumping the driver's messages, until the process has ended. False on timeout.
    bool WaitForExit(DWORD timeoutMilliseconds);
    // The exit code once ended; STILL_ACTIVE while running.
    DWORD ExitCode() const;

    void Terminate();

  private:
    std::string commandLine_;
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};
