#pragma once

#include <windows.h>

// Hands the change-password request to the system's password provider ("MPR.DLL"), with owner
// as the owner of whatever it shows. Tells the user when the provider's library is missing.
void RequestPasswordChange(HWND owner);
