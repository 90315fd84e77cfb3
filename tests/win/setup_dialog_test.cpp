#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "dll_modal_support.h"
#include "registry_support.h"
#include "res/resource_ids.h"
#include "scene/ball_table.h"
#include "settings/ball_count_store.h"
#include "settings/setup_dialog.h"

namespace {

constexpr char NurvoKey[] = "Software\\Nurvo";
// The dialog should be up and answered long before this; past it the test fails instead of
// hanging.
constexpr DWORD DialogDeadlineMs = 10000;

struct DialogRun {
    std::function<void(HWND)> drive;
    HWND dialog = nullptr;
    bool driven = false;
    DWORD started = 0;
    bool forcedEnd = false;
};
DialogRun* CurrentRun = nullptr;

BOOL CALLBACK FindSetupDialog(HWND window, LPARAM found) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") == 0 && WindowText(window) == L"SETUP" &&
        IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR, DWORD) {
    DialogRun& run = *CurrentRun;
    if (!run.driven) {
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindSetupDialog, reinterpret_cast<LPARAM>(&dialog));
        if (dialog != nullptr) {
            run.dialog = dialog;
            run.driven = true;
            run.drive(dialog);
            return;
        }
    }
    if (GetTickCount() - run.started > DialogDeadlineMs && run.dialog != nullptr &&
        !run.forcedEnd) {
        run.forcedEnd = true;
        EndDialog(run.dialog, -1);
    }
}

// Opens the real setup dialog (resource 102 of this program) modally, as the saver's configure
// mode does, and hands it to drive once it is up; drive may leave messages posted for the
// dialog's own loop. Returns the dialog's result.
INT_PTR RunSetupDialog(std::function<void(HWND)> drive, bool* driven = nullptr) {
    DialogRun run;
    run.drive = std::move(drive);
    run.started = GetTickCount();
    CurrentRun = &run;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, DriveDialog);
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETUP),
                                     nullptr, SetupDialogProc, 0);
    KillTimer(nullptr, timer);
    CurrentRun = nullptr;
    EXPECT_TRUE(run.driven) << "the dialog never showed";
    EXPECT_FALSE(run.forcedEnd) << "the dialog was still open at the deadline";
    if (driven != nullptr) *driven = run.driven;
    return result;
}

HWND Slider(HWND dialog) { return GetDlgItem(dialog, IDC_BALL_SLIDER); }
LRESULT SliderPos(HWND dialog) { return SendMessageA(Slider(dialog), TBM_GETPOS, 0, 0); }
void MoveSlider(HWND dialog, LPARAM pos) { SendMessageA(Slider(dialog), TBM_SETPOS, TRUE, pos); }
void Press(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

StoredValue StoredCount() { return ReadStoredValue(ZOVA_SETTINGS_KEY, ZOVA_COUNT_VALUE); }

class SetupDialog : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
    }
    void SetUp() override { DeleteKeyTree(NurvoKey); }
    void TearDown() override { DeleteKeyTree(NurvoKey); }
};

TEST_F(SetupDialog, OpensAtStoredCountWithinSliderRange) {
    const struct {
        const char* name;
        bool stored;
        uint32_t count;
        LRESULT shown;
    } cases[] = {
        {"nothing stored", false, 0, 20},   {"stored 7", true, 7, 7}, {"stored 1", true, 1, 1},
        {"stored 30", true, 30, 30},        {"stored 0", true, 0, 1}, {"stored 31", true, 31, 30},
        {"stored -1", true, 0xFFFFFFFF, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteKeyTree(NurvoKey);
        if (c.stored)
            SetRawValue(ZOVA_SETTINGS_KEY, ZOVA_COUNT_VALUE, REG_DWORD, DwordBytes(c.count));
        LRESULT shown = -1, low = -1, high = -1;
        EXPECT_EQ(RunSetupDialog([&](HWND dialog) {
                      shown = SliderPos(dialog);
                      low = SendMessageA(Slider(dialog), TBM_GETRANGEMIN, 0, 0);
                      high = SendMessageA(Slider(dialog), TBM_GETRANGEMAX, 0, 0);
                      Press(dialog, IDCANCEL);
                  }),
                  1);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(low, 1);
        EXPECT_EQ(high, 30);
        // The count was read as stored, and cancelling left the store alone.
        EXPECT_EQ(BallCount, c.stored ? c.count : 20u);
        EXPECT_EQ(StoredCount().present, c.stored);
    }
}

TEST_F(SetupDialog, OkStoresSliderPosition) {
    const struct {
        const char* name;
        bool stored;
        uint32_t count;
        LPARAM move;  // 0: leave the slider where it opened
        uint32_t expected;
    } cases[] = {
        {"untouched default", false, 0, 0, 20},
        {"moved to the low end", true, 12, 1, 1},
        {"moved to the high end", true, 12, 30, 30},
        {"moved past the high end", true, 12, 99, 30},
        {"moved past the low end", false, 0, -5, 1},
        {"stored 0 kept at the low end", true, 0, 0, 1},
        {"stored 31 kept at the high end", true, 31, 0, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteKeyTree(NurvoKey);
        if (c.stored)
            SetRawValue(ZOVA_SETTINGS_KEY, ZOVA_COUNT_VALUE, REG_DWORD, DwordBytes(c.count));
        EXPECT_EQ(RunSetupDialog([&](HWND dialog) {
                      if (c.move != 0) MoveSlider(dialog, c.move);
                      Press(dialog, IDOK);
                  }),
                  1);
        StoredValue stored = StoredCount();
        ASSERT_TRUE(stored.present);
        EXPECT_EQ(stored.type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(stored.data, DwordBytes(c.expected));
        EXPECT_EQ(BallCount, c.expected);
    }
}

// Keys reach the dialog through its own loop, which turns Enter into the default button (OK) and
// Esc into Cancel.
TEST_F(SetupDialog, KeysAndCloseBoxAnswerLikeTheButtons) {
    const struct {
        const char* name;
        std::function<void(HWND)> answer;
        bool stores;
    } cases[] = {
        {"Enter", [](HWND d) { PostMessageA(Slider(d), WM_KEYDOWN, VK_RETURN, 0); }, true},
        {"Esc", [](HWND d) { PostMessageA(Slider(d), WM_KEYDOWN, VK_ESCAPE, 0); }, false},
        {"Cancel button", [](HWND d) { Press(d, IDCANCEL); }, false},
        {"close box", [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
        {"WM_CLOSE", [](HWND d) { SendMessageA(d, WM_CLOSE, 0, 0); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteKeyTree(NurvoKey);
        SetRawValue(ZOVA_SETTINGS_KEY, ZOVA_COUNT_VALUE, REG_DWORD, DwordBytes(12));
        EXPECT_EQ(RunSetupDialog([&](HWND dialog) {
                      MoveSlider(dialog, 25);
                      c.answer(dialog);
                  }),
                  1);
        EXPECT_EQ(StoredCount().data, DwordBytes(c.stores ? 25 : 12));
    }
}

TEST_F(SetupDialog, OkWithUnopenableKeyWarnsAndStaysOpen) {
    CreateVolatileKey(NurvoKey);
    std::vector<SeenBox> boxes;
    bool openAfterFirst = false, openAfterSecond = false;
    LRESULT posAfterFailures = -1;
    EXPECT_EQ(RunSetupDialog([&](HWND dialog) {
                  MoveSlider(dialog, 7);
                  {
                      MessageBoxWatcher watcher;
                      Press(dialog, IDOK);
                      openAfterFirst = IsWindowVisible(dialog) != FALSE;
                      Press(dialog, IDOK);
                      openAfterSecond = IsWindowVisible(dialog) != FALSE;
                      boxes = watcher.Seen();
                  }
                  posAfterFailures = SliderPos(dialog);
                  // Once the registry takes it again, OK goes through.
                  DeleteKeyTree(NurvoKey);
                  Press(dialog, IDOK);
              }),
              1);
    ASSERT_EQ(boxes.size(), 2u);
    for (const SeenBox& box : boxes) {
        EXPECT_EQ(box.caption, L"設定値登録エラー");
        EXPECT_EQ(box.text, L"レジストリへ登録できません");
        EXPECT_EQ(box.owner, nullptr);
    }
    EXPECT_TRUE(openAfterFirst);
    EXPECT_TRUE(openAfterSecond);
    EXPECT_EQ(posAfterFailures, 7);
    EXPECT_EQ(StoredCount().data, DwordBytes(7));
}

}  // namespace
