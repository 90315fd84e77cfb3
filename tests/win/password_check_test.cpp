#include <gtest/gtest.h>

#include "shell/change_password.h"
#include "shell/password_check.h"
#include "shell/system_library.h"
#include "tests/support/windows_support.h"

namespace {

// In the current folder, which ctest makes this program's own: where a plain library search
// looks first.
constexpr char PlantedCopy[] = "PASSWORD.CPL";

class PasswordProvider : public ::testing::Test {
  protected:
    void SetUp() override {
        // Wherever else a copy of the verifier lies, only the system directory's counts.
        Clean();
        ASSERT_TRUE(CopyFileA(SystemFile("PASSWORD.CPL").c_str(), PlantedCopy, FALSE));
    }
    void TearDown() override {
        DeleteFileA(PlantedCopy);
        Clean();
    }
    // Both doubles in place, no flag, no records.
    static void Clean() {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, DesktopKey, PasswordFlag);
        ASSERT_TRUE(InstallDouble("PASSWORD.CPL", "PASSWORD.CPL"));
        ASSERT_TRUE(InstallDouble("MPR.DLL", "MPR.DLL"));
        ArrangeDouble(0);
        checkDepth_ = 0;
    }

    TestWindow owner_;
    static int32_t checkDepth_;
};

// One box at most per check: the failure message when the check cannot run, or the verifier's
// own dialog. A close request that arrives while it is up is refused at once and silently.
int32_t PasswordProvider::checkDepth_ = 0;

TEST_F(PasswordProvider, CheckAnswersFromFlagAndVerifierWithOneBoxAtMost) {
    const wchar_t failure[] = L"設定値取得エラー|パスワードを確認できません|[]";
    enum Provider { Installed, Missing, WithoutVerifier, ShowingItsDialog, UnopenableDesktopKey };
    const Bytes on = DwordBytes(1);
    const struct {
        const char* name;
        DWORD flagType;  // REG_NONE: no flag
        Bytes flag;
        Provider provider;
        uint32_t answer;
        int expectedResult;
        bool asked;
        const wchar_t* box;  // caption|text
    } cases[] = {
        {"no flag", REG_NONE, {}, Installed, 1, 0, false, nullptr},
        {"flag off", REG_DWORD, DwordBytes(0), Installed, 0, 0, false, nullptr},
        {"accepted", REG_DWORD, on, Installed, 1, 0, true, nullptr},
        {"refused", REG_DWORD, on, Installed, 0, 1, true, nullptr},
        {"any nonzero flag", REG_DWORD, DwordBytes(0x80000000), Installed, 0, 1, true, nullptr},
        {"flag of another type", REG_BINARY, {1}, Installed, 0, 1, true, nullptr},
        {"short zero flag, zero-extended", REG_BINARY, {0, 0}, Installed, 0, 0, false, nullptr},
        {"flag of 8 bytes", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, Installed, 0, 0, false, nullptr},
        {"verifier's dialog", REG_DWORD, on, ShowingItsDialog, 1, 0, true,
         L"VerifyScreenSavePwd|ZovaTest|[]"},
        {"no PASSWORD.CPL in the system directory", REG_DWORD, on, Missing, 1, 1, false, failure},
        {"PASSWORD.CPL without the verifier", REG_DWORD, on, WithoutVerifier, 1, 1, false, failure},
        {"desktop key cannot be opened", REG_DWORD, on, UnopenableDesktopKey, 1, 1, false, failure},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Clean();
        SetValue(DesktopKey, PasswordFlag, c.flagType, c.flag);
        ArrangeDouble(c.answer, c.provider == ShowingItsDialog);
        if (c.provider == Missing) DeleteFileA(SystemFile("PASSWORD.CPL").c_str());
        if (c.provider == WithoutVerifier) InstallDouble("MPR.DLL", "PASSWORD.CPL");
        // A volatile stand-in for the user's hive, below which no lasting key opens.
        HKEY brokenHive = c.provider == UnopenableDesktopKey
                              ? MakeVolatileKey("Software\\ZovaVolatile")
                              : nullptr;
        RegOverridePredefKey(HKEY_CURRENT_USER, brokenHive);
        int32_t depthInBox = -1;
        int nestedResult = -1;
        DirtyStack();
        // Checks as the saver window does, with a close request while a box is up.
        BoxWatcher watcher([&](HWND box) {
            depthInBox = checkDepth_;
            nestedResult = VerifyPasswordOnClose(&checkDepth_, owner_.handle);
            Click(box, IDOK);
        });
        const int result = VerifyPasswordOnClose(&checkDepth_, owner_.handle);
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(brokenHive);
        DeleteKeyTree("Software\\ZovaVolatile");

        EXPECT_EQ(result, c.expectedResult);
        ASSERT_EQ(watcher.seen.size(), c.box != nullptr ? 1u : 0u);
        for (const SeenBox& box : watcher.seen) {
            EXPECT_EQ(box.seen, c.box);
            EXPECT_TRUE(depthInBox == 1 && nestedResult == 1) << depthInBox << nestedResult;
        }
        EXPECT_EQ(ReadValue(DoubleKey, "Calls"), c.asked ? DwordBytes(1) : Bytes());
        EXPECT_EQ(DoubleArgs(), c.asked ? HandleText(owner_.handle) : "");
        EXPECT_EQ(checkDepth_, 0);
        // Loaded afresh for each check and released after it; the flag is only read.
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
        EXPECT_EQ(ReadValue(DesktopKey, PasswordFlag), c.flag);
    }
}

TEST_F(PasswordProvider, ChangeGoesToMprWithTheOwnerAndSaysOnlyWhenMprIsMissing) {
    const struct {
        const char* installed;  // the double copied to MPR.DLL; null: no MPR.DLL
        std::string args;
        const wchar_t* box;
    } cases[] = {
        {"MPR.DLL", "SCRSAVE " + HandleText(owner_.handle) + " 0 0", nullptr},
        {nullptr, "", L"VASK|MPR.DLLが見つかりません|[]"},
        {"PASSWORD.CPL", "", nullptr},  // no PwdChangePasswordA in it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.installed != nullptr ? c.installed : "none");
        Clean();
        DeleteFileA(SystemFile("MPR.DLL").c_str());
        ASSERT_TRUE(c.installed == nullptr || InstallDouble(c.installed, "MPR.DLL"));
        BoxWatcher watcher;
        RequestPasswordChange(owner_.handle);
        ASSERT_EQ(watcher.seen.size(), c.box != nullptr ? 1u : 0u);
        for (const SeenBox& box : watcher.seen) EXPECT_EQ(box.seen, c.box);
        EXPECT_EQ(DoubleArgs(), c.args);
        EXPECT_EQ(GetModuleHandleA("MPR.DLL"), nullptr);
    }
}

TEST_F(PasswordProvider, LoadersTakeOnlyABareNameFromTheSystemDirectory) {
    for (auto load : {LoadSystemLibrary, LoadLibraryFromSystemDirectory}) {
        for (const char* name :
             {"C:\\windows\\system32\\PASSWORD.CPL", "..\\PASSWORD.CPL", "x/PASSWORD.CPL",
              "C:PASSWORD.CPL", "", static_cast<const char*>(nullptr)}) {
            SCOPED_TRACE(name != nullptr ? name : "(null)");
            EXPECT_EQ(load(name), nullptr);
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        }
        HMODULE module = load("PASSWORD.CPL");
        char path[MAX_PATH] = "";
        GetModuleFileNameA(module, path, MAX_PATH);
        EXPECT_EQ(lstrcmpiA(path, SystemFile("PASSWORD.CPL").c_str()), 0) << path;
        FreeLibrary(module);
        DeleteFileA(SystemFile("PASSWORD.CPL").c_str());
        EXPECT_EQ(load("PASSWORD.CPL"), nullptr);
        Clean();
    }
}

}  // namespace
