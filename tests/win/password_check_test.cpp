#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "double_install.h"
#include "double_protocol.h"
#include "modal_support.h"
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
    const Bytes data = ReadStoredValue(ZOVA_DOUBLE_KEY, name).data;
    uint64_t value = 0;
    for (size_t i = 0; i < data.size() && i < 8; ++i) value |= uint64_t{data[i]} << 8 * i;
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

    // Runs one check as the saver window does; onBox plays a close request that arrives while
    // the first box is up.
    int Check(std::function<void()> onBox = nullptr) {
        BoxWatcher watcher(std::move(onBox));
        const int result = VerifyPasswordOnClose(saver_.handle);
        boxes_ = watcher.seen;
        return result;
    }

    TestWindow saver_;
    std::vector<SeenBox> boxes_;
};

TEST_F(PasswordCheck, AnswersFromFlagAndVerifierWithoutMessage) {
    const struct {
        const char* name;
        DWORD flagType;  // REG_NONE: no flag
        Bytes flag;
        uint32_t verifierAnswer;
        int expectedResult;
        uint32_t expectedCalls;
    } cases[] = {
        {"no flag", REG_NONE, {}, 1, 0, 0},
        {"flag off", REG_DWORD, DwordBytes(0), 0, 0, 0},
        {"flag on, accepted", REG_DWORD, DwordBytes(1), 1, 0, 1},
        {"flag on, refused", REG_DWORD, DwordBytes(1), 0, 1, 1},
        {"any nonzero flag", REG_DWORD, DwordBytes(0x80000000), 0, 1, 1},
        {"flag of another type", REG_BINARY, {1}, 0, 1, 1},
        {"short zero flag, zero-extended", REG_BINARY, {0, 0}, 0, 0, 0},
        {"flag longer than 4 bytes", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, 0, 0, 0},
    };
    ASSERT_TRUE(InstallDouble(ProviderDouble::Password));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClearDoubleRecords();
        RegDeleteKeyValueA(HKEY_CURRENT_USER, DesktopKey, PasswordFlag);
        if (c.flagType != REG_NONE) SetRawValue(DesktopKey, PasswordFlag, c.flagType, c.flag);
        ArrangeVerifier(c.verifierAnswer);
        DirtyStack();
        EXPECT_EQ(Check(), c.expectedResult);
        EXPECT_TRUE(boxes_.empty());
        EXPECT_EQ(Recorded(ZOVA_VERIFY_CALLS), c.expectedCalls);
        EXPECT_EQ(Recorded(ZOVA_VERIFY_LAST_WINDOW),
                  c.expectedCalls > 0 ? reinterpret_cast<uintptr_t>(saver_.handle) : 0u);
        EXPECT_EQ(PasswordCheckDepth, 0);
        // Loaded afresh for each check and released after it; the flag is only read.
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
        EXPECT_EQ(ReadStoredValue(DesktopKey, PasswordFlag).data, c.flag);
    }
}

TEST_F(PasswordCheck, ShowsTheFailureOnceAndStaysOpenWhenTheCheckCannotRun) {
    enum Breakage { NoLibrary, NoVerifier, NoDesktopKey };
    for (Breakage breakage : {NoLibrary, NoVerifier, NoDesktopKey}) {
        SCOPED_TRACE(breakage);
        Clean();
        SetRawValue(DesktopKey, PasswordFlag, REG_DWORD, DwordBytes(1));
        ArrangeVerifier(1);
        // A library of that name that exports something else.
        if (breakage == NoVerifier) {
            CopyFileA(DoubleBuildPath(ProviderDouble::Mpr).c_str(), SystemCopy().c_str(), FALSE);
        }
        ASSERT_TRUE(breakage != NoDesktopKey || InstallDouble(ProviderDouble::Password));
        // A volatile stand-in for the user's hive, below which no non-volatile key opens.
        HKEY brokenHive =
            breakage == NoDesktopKey ? CreateVolatileKey("Software\\ZovaVolatile") : nullptr;
        RegOverridePredefKey(HKEY_CURRENT_USER, brokenHive);

        int32_t depthInBox = -1;
        int nestedResult = -1;
        const int result = Check([&] {
            depthInBox = PasswordCheckDepth;
            nestedResult = VerifyPasswordOnClose(saver_.handle);
        });
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        if (brokenHive != nullptr) RegCloseKey(brokenHive);
        DeleteKeyTree("Software\\ZovaVolatile");

        EXPECT_EQ(result, 1);
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(boxes_[0].caption, L"設定値取得エラー");
        EXPECT_EQ(boxes_[0].text, L"パスワードを確認できません");
        EXPECT_EQ(boxes_[0].owner, nullptr);
        // The box is up while the check still runs, so a request meanwhile is refused at once.
        EXPECT_EQ(depthInBox, 1);
        EXPECT_EQ(nestedResult, 1);
        EXPECT_EQ(PasswordCheckDepth, 0);
        EXPECT_EQ(Recorded(ZOVA_VERIFY_CALLS), 0u);
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    }
}

TEST_F(PasswordCheck, RequestDuringTheVerifierDialogIsRefusedWithoutAsking) {
    ASSERT_TRUE(InstallDouble(ProviderDouble::Password));
    SetRawValue(DesktopKey, PasswordFlag, REG_DWORD, DwordBytes(1));
    ArrangeVerifier(1, true);
    int nestedResult = -1;
    EXPECT_EQ(Check([&] { nestedResult = VerifyPasswordOnClose(saver_.handle); }), 0);
    // Only the verifier's own dialog: the nested request showed nothing and asked no one.
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].caption, L"" ZOVA_DOUBLE_CAPTION);
    EXPECT_EQ(nestedResult, 1);
    EXPECT_EQ(Recorded(ZOVA_VERIFY_CALLS), 1u);
    EXPECT_EQ(PasswordCheckDepth, 0);
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
