#include <gtest/gtest.h>

#include <memory>

#include "double_install.h"
#include "double_protocol.h"
#include "dll_modal_support.h"
#include "dll_support.h"
#include "registry_support.h"
#include "shell/password_check.h"
#include "shell/saver_state.h"
#include "shell/system_library.h"

namespace {

constexpr char DesktopKey[] = "Control Panel\\desktop";
constexpr char PasswordFlag[] = "ScreenSaveUsePassword";
const std::wstring FailureCaption = L"設定値取得エラー";
const std::wstring FailureText = L"パスワードを確認できません";
const std::wstring DoubleCaption = L"" ZOVA_DOUBLE_CAPTION;

bool PasswordLibraryLoaded() { return GetModuleHandleA("PASSWORD.CPL") != nullptr; }

class PasswordCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        Clean();
        window_ = CreateWindowExA(0, "STATIC", "saver", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(window_);
        Clean();
    }
    static void Clean() {
        ClearDoubleRecords();
        DeleteValue(DesktopKey, PasswordFlag);
        RemoveDouble(ProviderDouble::Password);
        PasswordCheckDepth = 0;
    }
    static void SetFlag(uint32_t flag) {
        SetRawValue(DesktopKey, PasswordFlag, REG_DWORD, DwordBytes(flag));
    }

    // Runs one check the way the saver window does, recording and dismissing message boxes.
    int Check() {
        MessageBoxWatcher watcher;
        int result = VerifyPasswordOnClose(window_);
        boxes_ = watcher.Seen();
        return result;
    }

    HWND window_ = nullptr;
    std::vector<SeenBox> boxes_;
};

struct QuietCase {
    const char* name;
    bool flagPresent;
    DWORD flagType;
    Bytes flag;
    uint32_t verifierAnswer;
    int expectedResult;
    uint32_t expectedCalls;
};

TEST_F(PasswordCheck, AnswersFromFlagAndVerifierWithoutMessage) {
    const QuietCase cases[] = {
        {"no flag", false, REG_DWORD, {}, 1, 0, 0},
        {"flag off", true, REG_DWORD, DwordBytes(0), 0, 0, 0},
        {"flag on, accepted", true, REG_DWORD, DwordBytes(1), 1, 0, 1},
        {"flag on, refused", true, REG_DWORD, DwordBytes(1), 0, 1, 1},
        {"any nonzero flag", true, REG_DWORD, DwordBytes(0x80000000), 0, 1, 1},
        {"flag of another type", true, REG_BINARY, {1}, 0, 1, 1},
        {"short zero flag, zero-extended", true, REG_BINARY, {0, 0}, 0, 0, 0},
        {"flag longer than 4 bytes", true, REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, 0, 0, 0},
    };
    ASSERT_TRUE(InstallDouble(ProviderDouble::Password));
    for (const QuietCase& c : cases) {
        SCOPED_TRACE(c.name);
        ClearDoubleRecords();
        DeleteValue(DesktopKey, PasswordFlag);
        if (c.flagPresent) SetRawValue(DesktopKey, PasswordFlag, c.flagType, c.flag);
        ArrangeVerifier(c.verifierAnswer);

        DirtyStack();
        EXPECT_EQ(Check(), c.expectedResult);
        EXPECT_TRUE(boxes_.empty());
        EXPECT_EQ(DoubleDword(ZOVA_VERIFY_CALLS), c.expectedCalls);
        if (c.expectedCalls > 0) {
            EXPECT_EQ(DoubleQword(ZOVA_VERIFY_LAST_WINDOW),
                      static_cast<uint64_t>(reinterpret_cast<uintptr_t>(window_)));
        }
        EXPECT_EQ(PasswordCheckDepth, 0);
        EXPECT_FALSE(PasswordLibraryLoaded());
        // The flag is only read.
        StoredValue after = ReadStoredValue(DesktopKey, PasswordFlag);
        EXPECT_EQ(after.present, c.flagPresent);
        if (c.flagPresent) {
            EXPECT_EQ(after.data, c.flag);
        }
    }
}

TEST_F(PasswordCheck, AsksAgainOnEveryRequest) {
    ASSERT_TRUE(InstallDouble(ProviderDouble::Password));
    SetFlag(1);
    ArrangeVerifier(0);
    EXPECT_EQ(Check(), 1);
    EXPECT_FALSE(PasswordLibraryLoaded());
    ArrangeVerifier(1);
    EXPECT_EQ(Check(), 0);
    EXPECT_EQ(DoubleDword(ZOVA_VERIFY_CALLS), 2u);
    EXPECT_EQ(LowerCase(DoubleString(ZOVA_VERIFY_MODULE)),
              LowerCase(SystemDirectoryFile("PASSWORD.CPL")));
}

enum class Breakage { LibraryMissing, ExportMissing, DesktopKeyUnopenable };

TEST_F(PasswordCheck, ShowsFailureOnceAndStaysOpenWhenCheckCannotRun) {
    const struct {
        const char* name;
        Breakage breakage;
    } cases[] = {
        {"no PASSWORD.CPL in the system directory", Breakage::LibraryMissing},
        {"PASSWORD.CPL without the verifier", Breakage::ExportMissing},
        {"desktop key cannot be opened", Breakage::DesktopKeyUnopenable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Clean();
        SetFlag(1);
        ArrangeVerifier(1);
        if (c.breakage == Breakage::ExportMissing) {
            // A library of that name that exports something else.
            ASSERT_TRUE(CopyFileA(DoubleBuildPath(ProviderDouble::Mpr).c_str(),
                                  SystemDirectoryFile("PASSWORD.CPL").c_str(), FALSE));
        } else if (c.breakage == Breakage::DesktopKeyUnopenable) {
            ASSERT_TRUE(InstallDouble(ProviderDouble::Password));
        }

        int result;
        int nestedResult = -1;
        std::vector<int32_t> depths;
        std::vector<SeenBox> boxes;
        {
            std::unique_ptr<VolatileCurrentUser> brokenRegistry;
            if (c.breakage == Breakage::DesktopKeyUnopenable) {
                brokenRegistry = std::make_unique<VolatileCurrentUser>();
            }
            // A close request that arrives while the message is up is refused at once.
            MessageBoxWatcher watcher([&](const SeenBox&) {
                depths.push_back(PasswordCheckDepth);
                nestedResult = VerifyPasswordOnClose(window_);
            });
            result = VerifyPasswordOnClose(window_);
            boxes = watcher.Seen();
        }

        EXPECT_EQ(result, 1);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, FailureCaption);
        EXPECT_EQ(boxes[0].text, FailureText);
        EXPECT_EQ(boxes[0].owner, nullptr);
        EXPECT_EQ(depths, std::vector<int32_t>{1});
        EXPECT_EQ(nestedResult, 1);
        EXPECT_EQ(PasswordCheckDepth, 0);
        EXPECT_EQ(DoubleDword(ZOVA_VERIFY_CALLS), 0u);
        EXPECT_FALSE(PasswordLibraryLoaded());
    }
}

TEST_F(PasswordCheck, RequestDuringVerifierDialogIsRefusedAtOnce) {
    ASSERT_TRUE(InstallDouble(ProviderDouble::Password));
    SetFlag(1);
    for (uint32_t answer : {1u, 0u}) {
        SCOPED_TRACE(answer);
        ClearDoubleRecords();
        ArrangeVerifier(answer, true);
        int nestedResult = -1;
        int32_t depthInDialog = -1;
        uint32_t callsInDialog = 0;
        int result;
        std::vector<SeenBox> boxes;
        {
            MessageBoxWatcher watcher([&](const SeenBox&) {
                depthInDialog = PasswordCheckDepth;
                nestedResult = VerifyPasswordOnClose(window_);
                callsInDialog = DoubleDword(ZOVA_VERIFY_CALLS);
            });
            result = VerifyPasswordOnClose(window_);
            boxes = watcher.Seen();
        }
        EXPECT_EQ(result, answer ? 0 : 1);
        // Only the verifier's own dialog: the nested request showed nothing and asked no one.
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, DoubleCaption);
        EXPECT_EQ(depthInDialog, 1);
        EXPECT_EQ(nestedResult, 1);
        EXPECT_EQ(callsInDialog, 1u);
        EXPECT_EQ(DoubleDword(ZOVA_VERIFY_CALLS), 1u);
        EXPECT_EQ(PasswordCheckDepth, 0);
        EXPECT_FALSE(PasswordLibraryLoaded());
    }
}

// Copies of the verifier double where a plain search looks before the system directory: beside
// this program and in the current folder.
struct PlantedVerifiers {
    ScopedCurrentFolder currentFolder;
    const std::string besideProgramPath = ProgramFolder() + "PASSWORD.CPL";
    PlantedFile besideProgram{DoubleBuildPath(ProviderDouble::Password), besideProgramPath};
    PlantedFile inCurrentFolder{DoubleBuildPath(ProviderDouble::Password),
                                currentFolder.Path() + "PASSWORD.CPL"};
    bool Planted() const { return besideProgram.Planted() && inCurrentFolder.Planted(); }
};

TEST_F(PasswordCheck, PlantedCopiesOutsideSystemDirectoryAreNeverLoaded) {
    SetFlag(1);
    ArrangeVerifier(1);
    PlantedVerifiers planted;
    ASSERT_TRUE(planted.Planted());

    // Without the system's copy the check cannot run, whatever lies elsewhere.
    EXPECT_EQ(Check(), 1);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, FailureText);
    EXPECT_EQ(DoubleDword(ZOVA_VERIFY_CALLS), 0u);

    // With it, the system's copy answers.
    ASSERT_TRUE(InstallDouble(ProviderDouble::Password));
    EXPECT_EQ(Check(), 0);
    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(DoubleDword(ZOVA_VERIFY_CALLS), 1u);
    EXPECT_EQ(LowerCase(DoubleString(ZOVA_VERIFY_MODULE)),
              LowerCase(SystemDirectoryFile("PASSWORD.CPL")));
}

TEST_F(PasswordCheck, LoadersTakeOnlyTheSystemDirectory) {
    PlantedVerifiers planted;
    ASSERT_TRUE(planted.Planted());
    const std::string plantedPath = planted.besideProgramPath;

    const struct {
        const char* name;
        HMODULE (*load)(const char*);
    } loaders[] = {
        {"LoadSystemLibrary", LoadSystemLibrary},
        {"LoadLibraryFromSystemDirectory", LoadLibraryFromSystemDirectory},
    };
    for (const auto& loader : loaders) {
        SCOPED_TRACE(loader.name);
        RemoveDouble(ProviderDouble::Password);
        EXPECT_EQ(loader.load("PASSWORD.CPL"), nullptr);
        for (const char* name :
             {plantedPath.c_str(), "..\\PASSWORD.CPL", "x/PASSWORD.CPL", "C:PASSWORD.CPL", ""}) {
            SCOPED_TRACE(name);
            EXPECT_EQ(loader.load(name), nullptr);
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        }
        EXPECT_EQ(loader.load(nullptr), nullptr);

        ASSERT_TRUE(InstallDouble(ProviderDouble::Password));
        HMODULE module = loader.load("PASSWORD.CPL");
        ASSERT_NE(module, nullptr);
        char path[MAX_PATH] = "";
        GetModuleFileNameA(module, path, MAX_PATH);
        EXPECT_EQ(LowerCase(path), LowerCase(SystemDirectoryFile("PASSWORD.CPL")));
        EXPECT_NE(GetProcAddress(module, "VerifyScreenSavePwd"), nullptr);
        FreeLibrary(module);
    }
}

// The end-to-end tests rely on the change-password double; check that its export takes the four
// arguments and records them. Loaded under another name, since Wine prefers its own mpr.dll.
TEST_F(PasswordCheck, ChangePasswordDoubleRecordsItsArguments) {
    ScopedCurrentFolder folder;
    PlantedFile probe(DoubleBuildPath(ProviderDouble::Mpr), folder.Path() + "zova_mpr_probe.dll");
    ASSERT_TRUE(probe.Planted());
    HMODULE module = LoadLibraryA((folder.Path() + "zova_mpr_probe.dll").c_str());
    ASSERT_NE(module, nullptr);
    using ChangeFn = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);
    auto change = reinterpret_cast<ChangeFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "PwdChangePasswordA")));
    ASSERT_NE(change, nullptr);
    SetRawValue(ZOVA_DOUBLE_KEY, ZOVA_CHANGE_ANSWER, REG_DWORD, DwordBytes(5));

    EXPECT_EQ(change("SCRSAVE", window_, 7, reinterpret_cast<LPVOID>(0x1234)), 5u);
    EXPECT_EQ(DoubleDword(ZOVA_CHANGE_CALLS), 1u);
    EXPECT_EQ(DoubleString(ZOVA_CHANGE_PROVIDER), "SCRSAVE");
    EXPECT_EQ(DoubleQword(ZOVA_CHANGE_PARENT),
              static_cast<uint64_t>(reinterpret_cast<uintptr_t>(window_)));
    EXPECT_EQ(DoubleDword(ZOVA_CHANGE_RESERVED1), 7u);
    EXPECT_EQ(DoubleQword(ZOVA_CHANGE_RESERVED2), 0x1234u);
    FreeLibrary(module);
}

}  // namespace
