#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "res/resource_ids.h"
#include "res/ui_texts.h"

namespace {

// Reads a resource of language 0x411 as the system does: 16-bit words, and names that are an
// ordinal (0xFFFF and the number, read back as "#number") or a zero-ended string.
class ResourceReader {
  public:
    ResourceReader(LPCSTR type, WORD id) {
        HMODULE module = GetModuleHandleA(nullptr);
        HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id),
                                      MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
        start_ = next_ = static_cast<const WORD*>(LockResource(LoadResource(module, found)));
        size = found != nullptr ? SizeofResource(module, found) : 0;
    }
    WORD Word() {
        overrun = overrun || (next_ - start_ + 1) * sizeof(WORD) > size;
        return overrun ? 0 : *next_++;
    }
    DWORD Dword() {
        const DWORD low = Word();
        return low | static_cast<DWORD>(Word()) << 16;
    }
    std::wstring Name(bool lowerCase = false) {
        WORD c = Word();
        if (c == 0xFFFF) return L"#" + std::to_wstring(Word());
        std::wstring text;
        for (; c != 0; c = Word()) text += static_cast<wchar_t>(lowerCase ? towlower(c) : c);
        return text;
    }
    void AlignToDword() { next_ += (next_ - start_) % 2; }

    DWORD size;
    bool overrun = false;

  private:
    const WORD* start_;
    const WORD* next_;
};

TEST(Resources, SetupDialogIsTheJapaneseStandardTemplate) {
    ResourceReader dialog(RT_DIALOG, IDD_SETUP);
    ASSERT_NE(dialog.size, 0u);
    // An extended template would start with version 1 and the signature 0xFFFF instead.
    EXPECT_EQ(dialog.Dword(),
              DWORD{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT});
    EXPECT_EQ(dialog.Dword(), 0u);  // extended style
    // Controls, position, size, menu, class, caption, font.
    for (int expected : {6, 0, 0, 195, 59}) EXPECT_EQ(dialog.Word(), expected);
    for (const wchar_t* expected : {L"", L"", L"SETUP"}) EXPECT_EQ(dialog.Name(), expected);
    EXPECT_EQ(dialog.Word(), 9);
    EXPECT_EQ(dialog.Name(), L"ＭＳ Ｐゴシック");

    const DWORD tab = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    const DWORD label = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT;
    const struct {
        const wchar_t* className;  // in lower case: class names match regardless of it
        WORD id;
        const wchar_t* text;
        DWORD style;
        WORD x, y, cx, cy;
    } controls[] = {
        {L"#128", IDOK, L"OK", tab | BS_DEFPUSHBUTTON, 136, 15, 50, 14},
        {L"#128", IDCANCEL, L"ｷｬﾝｾﾙ", tab | BS_PUSHBUTTON, 136, 32, 50, 14},
        {L"msctls_trackbar32", IDC_BALL_SLIDER, L"Slider1", tab | TBS_NOTICKS, 8, 33, 114, 15},
        {L"#130", 0xFFFF, L"1", label, 14, 25, 8, 8},
        {L"#130", 0xFFFF, L"30", label, 114, 25, 8, 8},
        {L"#130", 0xFFFF, L"玉の数", label, 6, 13, 22, 8},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.id);
        dialog.AlignToDword();
        EXPECT_EQ(dialog.Dword(), c.style);
        EXPECT_EQ(dialog.Dword(), 0u);
        for (WORD expected : {c.x, c.y, c.cx, c.cy, c.id}) EXPECT_EQ(dialog.Word(), expected);
        EXPECT_EQ(dialog.Name(true), c.className);
        EXPECT_EQ(dialog.Name(), c.text);
        EXPECT_EQ(dialog.Word(), 0);  // no creation data
    }
    EXPECT_FALSE(dialog.overrun);
}

TEST(Resources, IconIsOne32By32SixteenColourImage) {
    ResourceReader group(RT_GROUP_ICON, IDI_ZOVA);
    // Reserved, icon type, one image: 32 x 32, 16 colours, 1 plane, 4 bits.
    for (int expected : {0, 1, 1, 32 | 32 << 8, 16, 1, 4}) EXPECT_EQ(group.Word(), expected);
    const DWORD imageBytes = group.Dword();
    ResourceReader image(RT_ICON, group.Word());
    EXPECT_EQ(image.size, imageBytes);
    // Header size, 32 wide, 64 high (colours and mask), 1 plane, 4 bits.
    for (DWORD expected : {40u, 32u, 64u, 1u | 4u << 16}) EXPECT_EQ(image.Dword(), expected);
}

// The other texts are read off their message boxes where the tests bring them up.
TEST(Resources, NarrowTextsAreJapaneseCodePageBytes) {
    const struct {
        const char* narrow;
        const wchar_t* seen;
    } texts[] = {
        {ZOVA_TEXT_WINDOW_FAILED, L"ウィンドウが作成できません"},
        {ZOVA_CAPTION_INIT_ERROR, L"初期化エラー"},
        {ZOVA_TEXT_MPR_MISSING, L"MPR.DLLが見つかりません"},
        {ZOVA_CAPTION_MPR_MISSING, L"VASK"},
    };
    for (const auto& t : texts) {
        wchar_t wide[64] = L"";
        MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, t.narrow, -1, wide, 64);
        EXPECT_STREQ(wide, t.seen);
    }
}

}  // namespace
