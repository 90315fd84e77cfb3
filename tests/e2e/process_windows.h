#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Looks at another process's windows as a user would: by class, caption and the text shown.

std::vector<HWND> TopLevelWindowsOf(DWORD processId);
std::wstring WindowText(HWND window);
std::string ClassNameOf(HWND window);

// A dialog-class ("#32770") top-level window: a message box or the setup dialog.
struct DialogView {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;  // the visible static texts, joined by newlines
};

std::vector<DialogView> VisibleDialogsOf(DWORD processId);

// Waits for a visible dialog of the process with this caption. Null on timeout.
HWND WaitForDialog(DWORD processId, const std::wstring& caption, DWORD timeoutMilliseconds);

// Clicks the dialog's OK button (id 1, or 2 where OK is the only button, as in a message box
// without Cancel) and waits for the dialog to go. False when it stays.
bool DismissMessageBox(HWND box, DWORD timeoutMilliseconds);

// Clicks a push button through BM_CLICK. Posted: the click may open a modal message box, and a
// sent message would not return until that is closed.
void ClickButton(HWND dialog, int id);

// The full-screen or preview window of the saver: class "ZOVA.kvr", owned by the process.
HWND FindSaverTopLevel(DWORD processId);
