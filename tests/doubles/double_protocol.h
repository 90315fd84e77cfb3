/* How a test arranges the answers of the password-provider doubles and reads what they saw: values
 * under HKEY_CURRENT_USER ZOVA_DOUBLE_KEY. Shared by the doubles (C) and the tests (C++). */
#ifndef ZOVA_DOUBLE_PROTOCOL_H
#define ZOVA_DOUBLE_PROTOCOL_H

#define ZOVA_DOUBLE_KEY "Software\\ZovaTest"
/* Caption of the modal box a double shows when asked to, standing in for the system's dialog. */
#define ZOVA_DOUBLE_CAPTION "ZovaTest password double"

/* PASSWORD.CPL, VerifyScreenSavePwd(HWND). Arranged by the test: */
#define ZOVA_VERIFY_ANSWER "VerifyAnswer" /* DWORD: the result; absent = 0 (refused) */
#define ZOVA_VERIFY_SHOW_DIALOG                                       \
    "VerifyShowDialog" /* DWORD: nonzero = modal box before answering \
                        */
/* Recorded by the double on entry, before any box: */
#define ZOVA_VERIFY_CALLS "VerifyCalls"            /* DWORD: calls so far */
#define ZOVA_VERIFY_LAST_WINDOW "VerifyLastWindow" /* QWORD: the window handle it got */
#define ZOVA_VERIFY_MODULE "VerifyModule"          /* SZ: the file it was loaded from */

/* MPR.DLL, PwdChangePasswordA(LPCSTR, HWND, DWORD, LPVOID). Arranged by the test: */
#define ZOVA_CHANGE_ANSWER "ChangeAnswer" /* DWORD: the result; absent = 0 */
#define ZOVA_CHANGE_SHOW_DIALOG                                       \
    "ChangeShowDialog" /* DWORD: nonzero = modal box before answering \
                        */
/* Recorded by the double on entry, before any box: */
#define ZOVA_CHANGE_CALLS "ChangeCalls"         /* DWORD: calls so far */
#define ZOVA_CHANGE_PROVIDER "ChangeProvider"   /* SZ: the provider name */
#define ZOVA_CHANGE_PARENT "ChangeParent"       /* QWORD: the parent window handle */
#define ZOVA_CHANGE_RESERVED1 "ChangeReserved1" /* DWORD */
#define ZOVA_CHANGE_RESERVED2 "ChangeReserved2" /* QWORD: the pointer's value */
#define ZOVA_CHANGE_MODULE "ChangeModule"       /* SZ: the file it was loaded from */

#endif
