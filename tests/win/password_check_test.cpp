#include <gtest/gtest.h>

#include "double_install.h"
#include "double_protocol.h"
#include "registry_support.h"
#include "shell/password_check.h"
#include "shell/saver_state.h"
#include "shell/system_library.h"
#include "window_support.h"

namespace {

constexpr char DesktopKey[] = "Control Panel\\desktop";
constexpr char PasswordFlag[] = "ScreenSaveUsePassword";

// The verifier double's answer (nonzero = accepted) and whether it shows its modal box first.
void ArrangeVerifier(uint32_t answer, bool showDialog = false) {
    SetRawValue(ZOVA_DOUBLE_KEY, ZOVA_VERIFY_ANSWER, REG_DWORD, DwordBytes(answer));
    SetRawValue(ZOVA_DOUBLE_KEY, ZOVA_VERIFY_SHOW_DIALOG, REG_DWORD, DwordBytes(showDialog));
}

// A number the double recorded (DWORD or QWORD); 0 when absent.
uint64_t Recorded(const char* name) {
    uint64_t value = 0;
    DWORD size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, ZOVA_DOUBLE_KEY, name, RRF_RT_ANY, nullptr, &value, &size);
    return value;
}

std::string SystemCopy() { return SystemDirectoryFile("PASSWORD.CPL"); }

// Beside this program, where a plain library search looks first.
std::string PlantedCopy() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program = path;
    return program.substr(0, program.find_last_of('\\') + 1) + "PASSWORD.CPL";
}

class PasswordCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        Clean();
        // Wherever else a copy of the verifier lies, only the system directory's counts.
        ASSERT_TRUE(CopyFileA(DoubleBuildPath(ProviderDouble::Password).c_str(),
                              PlantedCopy().c_str(), FALSE));
    }
    void TearDown() override {
        DeleteFileA(PlantedCopy().c_str());
        Clean();
    }
    static void Clean() {
        ClearDoubleRecords();
        RegDeleteKeyValueA(HKEY_CURRENT_USER, DesktopKey, PasswordFlag);
        RemoveDouble(ProviderDouble::Password);
        PasswordCheckDepth = 0;
    }

    TestWindow saver_;
};

// One box at most per check: the failure message when the check cannot run, or the verifier's
// own dialog. A close request that arrives while it is up is refused at once and silently.
TEST_F(PasswordCheck, AnswersFromFlagAndVerifierWithOneBoxAtMost) {
    const wchar_t* const failure[] = {L"設定値取得エラー", L"パスワードを確認できません"};
    const wchar_t* const dialog[] = {L"" ZOVA_DOUBLE_CAPTION, L"VerifyScreenSavePwd"};
    enum Provider { Installed, Missing, WithoutVerifier, ShowingItsDialog, UnopenableDesktopKey };
    const Bytes on = DwordBytes(1);
    const struct {
        const char* name;
        DWORD flagType;  // REG_NONE: no flag
        Bytes flag;
        Provider provider;
        uint32_t answer;
        int expectedResult;
        uint32_t expectedCalls;
        const wchar_t* const* box;  // caption and text
    } cases[] = {
        {"no flag", REG_NONE, {}, Installed, 1, 0, 0, nullptr},
        {"flag off", REG_DWORD, DwordBytes(0), Installed, 0, 0, 0, nullptr},
        {"accepted", REG_DWORD, on, Installed, 1, 0, 1, nullptr},
        {"refused", REG_DWORD, on, Installed, 0, 1, 1, nullptr},
        {"any nonzero flag", REG_DWORD, DwordBytes(0x80000000), Installed, 0, 1, 1, nullptr},
        {"flag of another type", REG_BINARY, {1}, Installed, 0, 1, 1, nullptr},
        {"short zero flag, zero-extended", REG_BINARY, {0, 0}, Installed, 0, 0, 0, nullptr},
        {"flag of 8 bytes", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, Installed, 0, 0, 0, nullptr},
        {"verifier's dialog", REG_DWORD, on, ShowingItsDialog, 1, 0, 1, dialog},
        {"no PASSWORD.CPL in the system directory", REG_DWORD, on, Missing, 1, 1, 0, failure},
        {"PASSWORD.CPL without the verifier", REG_DWORD, on, WithoutVerifier, 1, 1, 0, failure},
        {"desktop key cannot be opened", REG_DWORD, on, UnopenableDesktopKey, 1, 1, 0, failure},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Clean();
        if (c.flagType != REG_NONE) SetRawValue(DesktopKey, PasswordFlag, c.flagType, c.flag);
        ArrangeVerifier(c.answer, c.provider == ShowingItsDialog);
        ASSERT_TRUE(c.provider == Missing || InstallDouble(ProviderDouble::Password));
        // A library of that name that exports something else.
        if (c.provider == WithoutVerifier) {
            CopyFileA(DoubleBuildPath(ProviderDouble::Mpr).c_str(), SystemCopy().c_str(), FALSE);
        }
        // A volatile stand-in for the user's hive, below which no non-volatile key opens.
        HKEY brokenHive = c.provider == UnopenableDesktopKey
                              ? CreateVolatileKey("Software\\ZovaVolatile")
                              : nullptr;
        RegOverridePredefKey(HKEY_CURRENT_USER, brokenHive);
        int32_t depthInBox = -1;
        int nestedResult = -1;
        DirtyStack();
        // Checks as the saver window does, with a close request while a box is up.
        BoxWatcher watcher([&] {
            depthInBox = PasswordCheckDepth;
            nestedResult = VerifyPasswordOnClose(saver_.handle);
        });
        const int result = VerifyPasswordOnClose(saver_.handle);
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        if (brokenHive != nullptr) RegCloseKey(brokenHive);
        DeleteKeyTree("Software\\ZovaVolatile");

        EXPECT_EQ(result, c.expectedResult);
        ASSERT_EQ(watcher.seen.size(), c.box != nullptr ? 1u : 0u);
        for (const SeenBox& box : watcher.seen) {
            EXPECT_EQ(box.caption, c.box[0]);
            EXPECT_EQ(box.text, c.box[1]);
            EXPECT_EQ(box.owner, nullptr);
            EXPECT_EQ(depthInBox, 1);
            EXPECT_EQ(nestedResult, 1);
        }
        EXPECT_EQ(Recorded(ZOVA_VERIFY_CALLS), c.expectedCalls);
        EXPECT_EQ(Recorded(ZOVA_VERIFY_LAST_WINDOW),
                  c.expectedCalls > 0 ? reinterpret_cast<uintptr_t>(saver_.handle) : 0u);
        EXPECT_EQ(PasswordCheckDepth, 0);
        // Loaded afresh for each check and released after it; the flag is only read.
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
        EXPECT_EQ(ReadStoredValue(DesktopKey, PasswordFlag).data, c.flag);
    }
}

TEST_F(PasswordCheck, LoadersTakeOnlyABareNameFromTheSystemDirectory) {
    const std::string planted = PlantedCopy();
    for (auto load : {LoadSystemLibrary, LoadLibraryFromSystemDirectory}) {
        RemoveDouble(ProviderDouble::Password);
        EXPECT_EQ(load("PASSWORD.CPL"), nullptr);
        for (const char* name : {planted.c_str(), "..\\PASSWORD.CPL", "x/PASSWORD.CPL",
                                 "C:PASSWORD.CPL", "", static_cast<const char*>(nullptr)}) {
            SCOPED_TRACE(name != nullptr ? name : "(null)");
            EXPECT_EQ(load(name), nullptr);
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        }
        ASSERT_TRUE(InstallDouble(ProviderDouble::Password));
        HMODULE module = load("PASSWORD.CPL");
        char path[MAX_PATH] = "";
        GetModuleFileNameA(module, path, MAX_PATH);
        EXPECT_EQ(lstrcmpiA(path, SystemCopy().c_str()), 0) << path;
        FreeLibrary(module);
    }
}

}  // namespace
