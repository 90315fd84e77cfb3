#include <gtest/gtest.h>

#include "tests/support/windows_support.h"

#include <commctrl.h>

#include "settings/ball_count_store.h"
#include "settings/setup_dialog.h"

namespace {

constexpr char NurvoKey[] = "Software\\Nurvo";
constexpr int64_t Nothing = -1;
// Opens dialog 102 modally, as the configure mode does, and hands it to drive once it shows;
// returns its result.
INT_PTR RunSetupDialog(const std::function<void(HWND)>& drive) {
    InitCommonControls();
    BoxWatcher watcher(drive);
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(102), nullptr,
                           SetupDialogProc, 0);
}

LRESULT Slider(HWND dialog, UINT message, LPARAM lParam = 0) {
    return SendMessageA(GetDlgItem(dialog, 1000), message, lParam != 0, lParam);
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
    } cases[] = {{REG_NONE, {}, 20},
                 {REG_DWORD, DwordBytes(0), 0},
                 {REG_DWORD, DwordBytes(31), 31},
                 {REG_DWORD, DwordBytes(0xFFFFFFFF), 0xFFFFFFFF},
                 {REG_BINARY, DwordBytes(9), 9},
                 {REG_BINARY, {0x05, 0x01}, 0x0105},  // zero-extended, whatever the stack held
                 {REG_QWORD, {12, 0, 0, 0, 0, 0, 0, 0}, 20}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        SetValue(SettingsKey, "COUNT", c.type, c.data);
        uint32_t count = 77;
        DirtyStack();
        EXPECT_EQ(ReadBallCount(&count), 1);
        EXPECT_EQ(count, c.expected);
        EXPECT_TRUE(KeyExists(SettingsKey));
        EXPECT_EQ(ReadValue(SettingsKey, "COUNT"), c.data);
    }
    RegCloseKey(MakeVolatileKey(NurvoKey));
    uint32_t count = 77;
    EXPECT_EQ(ReadBallCount(&count), 0);
    EXPECT_EQ(count, 20u);
    EXPECT_FALSE(KeyExists(SettingsKey));
}

TEST_F(Settings, DialogShowsTheStoredCountWithinOneToThirtyAndOnlyOkStores) {
    const auto ok = [](HWND d) { SendMessageA(GetDlgItem(d, IDOK), BM_CLICK, 0, 0); };
    const auto cancel = [](HWND d) { SendMessageA(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); };
    // Keys go through the dialog's own loop, which turns Enter into OK and Esc into Cancel.
    const auto key = [](WPARAM k) {
        return [k](HWND d) { PostMessageA(GetDlgItem(d, 1000), WM_KEYDOWN, k, 0); };
    };
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
        {7, 99, key(VK_RETURN), 7, 30},
        {0, 0, ok, 1, 1},
        {31, 0, ok, 30, 30},
        {0xFFFFFFFF, 0, cancel, 1, 0xFFFFFFFF},
        {12, 25, key(VK_ESCAPE), 12, 12},
        {12, 25, [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, 12, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored << " moved to " << c.move);
        DeleteKeyTree(NurvoKey);
        if (c.stored != Nothing) SetDword(SettingsKey, "COUNT", uint32_t(c.stored));
        LRESULT shown = -1, low = -1, high = -1;
        wchar_t text[64] = L"";
        std::wstring texts;  // the caption and the controls' texts in order, as the user reads them
        std::vector<int> tabs;  // where Tab goes from OK on
        EXPECT_EQ(RunSetupDialog([&](HWND dialog) {
                      GetWindowTextW(dialog, text, 64);
                      texts = text;
                      for (HWND w = GetWindow(dialog, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
                          GetWindowTextW(w, text, 64);
                          texts += L"|" + std::wstring(text);
                      }
                      for (HWND at = GetDlgItem(dialog, IDOK); tabs.size() < 3;)
                          tabs.push_back(GetDlgCtrlID(at = GetNextDlgTabItem(dialog, at, FALSE)));
                      shown = Slider(dialog, TBM_GETPOS);
                      low = Slider(dialog, TBM_GETRANGEMIN);
                      high = Slider(dialog, TBM_GETRANGEMAX);
                      if (c.move != 0) Slider(dialog, TBM_SETPOS, c.move);
                      c.answer(dialog);
                  }),
                  1);
        EXPECT_EQ(texts, L"SETUP|OK|ｷｬﾝｾﾙ|Slider1|1|30|玉の数");
        EXPECT_EQ(tabs, (std::vector<int>{IDCANCEL, 1000, IDOK}));
        EXPECT_EQ(shown, c.shown);
        EXPECT_TRUE(low == 1 && high == 30) << low << ".." << high;
        DWORD type = REG_NONE;
        EXPECT_EQ(ReadValue(SettingsKey, "COUNT", &type),
                  c.after == Nothing ? Bytes() : DwordBytes(uint32_t(c.after)));
        EXPECT_EQ(type, DWORD(c.after == Nothing ? REG_NONE : REG_DWORD));
    }
}

TEST_F(Settings, DialogOkWithUnopenableKeyWarnsEachTimeAndStaysOpen) {
    RegCloseKey(MakeVolatileKey(NurvoKey));
    std::vector<SeenBox> boxes;
    LRESULT posAfterFailures = -1;
    EXPECT_EQ(RunSetupDialog([&](HWND dialog) {
                  Slider(dialog, TBM_SETPOS, 7);
                  BoxWatcher watcher;
                  for (int press = 0; press < 2; ++press) {
                      SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
                  }
                  boxes = watcher.seen;
                  posAfterFailures = IsWindowVisible(dialog) ? Slider(dialog, TBM_GETPOS) : -1;
                  // Once the registry takes it again, OK goes through.
                  DeleteKeyTree(NurvoKey);
                  SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
              }),
              1);
    ASSERT_EQ(boxes.size(), 2u);
    for (const SeenBox& box : boxes)
        EXPECT_EQ(box.seen, L"設定値登録エラー|レジストリへ登録できません|[]");
    EXPECT_EQ(posAfterFailures, 7);
    EXPECT_EQ(ReadValue(SettingsKey, "COUNT"), DwordBytes(7));
}

// The built program as the control panel and Explorer's Details tab see it.
TEST(Resources, ProgramHasJapaneseDialogIconAndTheBuildsVersion) {
    const std::string narrowPath = "Z:" ZOVA_PROGRAM;  // the host's root is Z:
    const std::wstring path(narrowPath.begin(), narrowPath.end());
    HMODULE program = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    const WORD japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
    for (auto [type, id] : {std::pair(RT_DIALOG, 102), {RT_GROUP_ICON, 101}, {RT_VERSION, 1}})
        EXPECT_NE(FindResourceExA(program, type, MAKEINTRESOURCEA(id), japanese), nullptr) << id;
    FreeLibrary(program);

    std::vector<BYTE> info(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, DWORD(info.size()), info.data()));
    const auto query = [&](const std::wstring& name) {
        void* value = nullptr;
        UINT size = 0;
        return VerQueryValueW(info.data(), name.c_str(), &value, &size) ? value : nullptr;
    };
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\"));
    const auto* translation = static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation"));
    ASSERT_TRUE(fixed && translation);
    const auto dotted = [](DWORD high, DWORD low) {
        return std::to_wstring(high >> 16) + L"." + std::to_wstring(high & 0xFFFF) + L"." +
               std::to_wstring(low >> 16) + L"." + std::to_wstring(low & 0xFFFF);
    };
    // Numbers, language and code page (Japanese, UTF-16), texts.
    std::wstring seen = dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS) + L" " +
                        dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS) + L" " +
                        std::to_wstring(translation[0]) + L"/" + std::to_wstring(translation[1]);
    for (const wchar_t* name : {L"ProductName", L"ProductVersion", L"FileVersion",
                                L"FileDescription", L"OriginalFilename"}) {
        const void* text = query(L"\\StringFileInfo\\041104B0\\" + std::wstring(name));
        seen += L"|" + (text ? std::wstring(static_cast<const wchar_t*>(text)) : L"?");
    }
    EXPECT_EQ(seen, L"" ZOVA_VERSION ".0 " ZOVA_VERSION ".0 1041/1200|ZOVA|" ZOVA_VERSION
                    "|" ZOVA_VERSION "|ZOVA スクリーン セーバー|zova.scr");
}

}  // namespace
