#pragma once

#include <windows.h>

#include <functional>

// Every wait has a deadline, and every wait keeps the driver's own windows answering: a preview
// child of the saver lives in a window of this process, and a host that stops pumping would stall
// the saver's messages to it.

// Handles this thread's queued messages.
void PumpMessages();

// Pumps messages for the given time.
void Pause(DWORD milliseconds);

// Polls the condition every few milliseconds, pumping messages in between, until it holds or the
// time is up. The result is the condition's last value.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds);
