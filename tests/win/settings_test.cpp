#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "registry_support.h"
#include "res/resource_ids.h"
#include "scene/ball_table.h"
#include "settings/ball_count_store.h"
#include "settings/setup_dialog.h"
#include "window_support.h"

namespace {

constexpr char NurvoKey[] = "Software\\Nurvo";
constexpr uint32_t Untouched = 0xDEADBEEF;
constexpr int64_t Nothing = -1;
constexpr UINT_PTR DriveTimer = 77;

std::function<void(HWND)> Drive;

// The saver's own procedure, with the test's hands on the dialog once it shows (its modal loop
// shows it when the queue first runs empty), and an end at a deadline so that a dialog left open
// fails the test instead of hanging it.
INT_PTR CALLBACK DrivenSetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetTimer(dialog, DriveTimer, 10, nullptr);
    if (message != WM_TIMER || wParam != DriveTimer) {
        return SetupDialogProc(dialog, message, wParam, lParam);
    }
    if (!IsWindowVisible(dialog)) return TRUE;
    if (!Drive) return EndDialog(dialog, -1);
    SetTimer(dialog, DriveTimer, 10000, nullptr);
    std::exchange(Drive, nullptr)(dialog);
    return TRUE;
}

// Opens dialog 102 modally, as the configure mode does; returns its result.
INT_PTR RunSetupDialog(std::function<void(HWND)> drive) {
    InitCommonControls();
    Drive = std::move(drive);
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETUP), nullptr,
                           DrivenSetupDialogProc, 0);
}

LRESULT Slider(HWND dialog, UINT message, LPARAM lParam = 0) {
    return SendMessageA(GetDlgItem(dialog, IDC_BALL_SLIDER), message, lParam != 0, lParam);
}
void Press(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
// Keys go through the dialog's own loop, which turns Enter into OK and Esc into Cancel.
void Key(HWND dialog, WPARAM key) {
    PostMessageA(GetDlgItem(dialog, IDC_BALL_SLIDER), WM_KEYDOWN, key, 0);
}

class Settings : public ::testing::Test {
  protected:
    void SetUp() override { DeleteKeyTree(NurvoKey); }
    void TearDown() override { DeleteKeyTree(NurvoKey); }
};

TEST_F(Settings, ReadsStoredValuesOfAtMostFourBytesAsTheyAre) {
    const struct {
        DWORD type;  // REG_NONE: nothing stored, not even the key, which the read then creates
        Bytes data;
        uint32_t expected;
    } cases[] = {
        {REG_NONE, {}, DefaultBallCount},
        {REG_DWORD, DwordBytes(0), 0},
        {REG_DWORD, DwordBytes(31), 31},
        {REG_DWORD, DwordBytes(0xFFFFFFFF), 0xFFFFFFFF},
        {REG_BINARY, DwordBytes(9), 9},
        {REG_BINARY, {0x05, 0x01}, 0x0105},  // zero-extended, whatever the stack held
        {REG_BINARY, {}, 0},
        {REG_QWORD, {12, 0, 0, 0, 0, 0, 0, 0}, DefaultBallCount},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        if (c.type != REG_NONE) SetRawValue(ZOVA_SETTINGS_KEY, ZOVA_COUNT_VALUE, c.type, c.data);
        uint32_t count = Untouched;
        DirtyStack();
        EXPECT_EQ(ReadBallCount(&count), 1);
        EXPECT_EQ(count, c.expected);
        EXPECT_TRUE(KeyExists(ZOVA_SETTINGS_KEY));
        EXPECT_EQ(ReadStoredValue(ZOVA_SETTINGS_KEY, ZOVA_COUNT_VALUE).data, c.data);
    }
}

TEST_F(Settings, UnopenableKeyGivesTheDefaultAndStoresNothing) {
    RegCloseKey(CreateVolatileKey(NurvoKey));
    uint32_t count = Untouched;
    EXPECT_EQ(ReadBallCount(&count), 0);
    EXPECT_EQ(count, 20u);
    EXPECT_EQ(WriteBallCount(7), 0);
    EXPECT_FALSE(KeyExists(ZOVA_SETTINGS_KEY));
}

TEST_F(Settings, DialogShowsTheStoredCountWithinOneToThirtyAndOnlyOkStores) {
    const auto ok = [](HWND d) { Press(d, IDOK); };
    const auto cancel = [](HWND d) { Press(d, IDCANCEL); };
    const struct {
        int64_t stored;
        LPARAM move;  // 0: leave the slider where it opened
        std::function<void(HWND)> answer;
        LRESULT shown;
        int64_t after;
    } cases[] = {
        {Nothing, 0, cancel, 20, Nothing},
        {Nothing, 0, ok, 20, 20},
        {7, 1, ok, 7, 1},
        {7, 99, [](HWND d) { Key(d, VK_RETURN); }, 7, 30},
        {7, -5, ok, 7, 1},
        {0, 0, ok, 1, 1},
        {31, 0, ok, 30, 30},
        {0xFFFFFFFF, 0, cancel, 1, 0xFFFFFFFF},
        {12, 25, [](HWND d) { Key(d, VK_ESCAPE); }, 12, 12},
        {12, 25, [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, 12, 12},
        {12, 25, [](HWND d) { SendMessageA(d, WM_CLOSE, 0, 0); }, 12, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored << " moved to " << c.move);
        DeleteKeyTree(NurvoKey);
        if (c.stored != Nothing) {
            SetRawValue(ZOVA_SETTINGS_KEY, ZOVA_COUNT_VALUE, REG_DWORD, DwordBytes(c.stored));
        }
        LRESULT shown = -1, low = -1, high = -1;
        EXPECT_EQ(RunSetupDialog([&](HWND dialog) {
                      shown = Slider(dialog, TBM_GETPOS);
                      low = Slider(dialog, TBM_GETRANGEMIN);
                      high = Slider(dialog, TBM_GETRANGEMAX);
                      if (c.move != 0) Slider(dialog, TBM_SETPOS, c.move);
                      c.answer(dialog);
                  }),
                  1);
        EXPECT_EQ(shown, c.shown);
        EXPECT_TRUE(low == 1 && high == 30) << low << ".." << high;
        const StoredValue stored = ReadStoredValue(ZOVA_SETTINGS_KEY, ZOVA_COUNT_VALUE);
        EXPECT_EQ(stored.type, DWORD(c.after == Nothing ? REG_NONE : REG_DWORD));
        EXPECT_EQ(stored.data, c.after == Nothing ? Bytes() : DwordBytes(c.after));
    }
}

TEST_F(Settings, DialogOkWithUnopenableKeyWarnsEachTimeAndStaysOpen) {
    RegCloseKey(CreateVolatileKey(NurvoKey));
    std::vector<SeenBox> boxes;
    LRESULT posAfterFailures = -1;
    EXPECT_EQ(RunSetupDialog([&](HWND dialog) {
                  Slider(dialog, TBM_SETPOS, 7);
                  BoxWatcher watcher;
                  Press(dialog, IDOK);
                  Press(dialog, IDOK);
                  boxes = watcher.seen;
                  posAfterFailures = IsWindowVisible(dialog) ? Slider(dialog, TBM_GETPOS) : -1;
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
    EXPECT_EQ(posAfterFailures, 7);
    EXPECT_EQ(ReadStoredValue(ZOVA_SETTINGS_KEY, ZOVA_COUNT_VALUE).data, DwordBytes(7));
}

}  // namespace
