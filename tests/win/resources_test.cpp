#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "shell/messages.h"
#include "window_test_support.h"

namespace {

const WORD Japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
constexpr WORD ButtonAtom = 0x0080;
constexpr WORD StaticAtom = 0x0082;

struct ResourceBytes {
    const uint8_t* data = nullptr;
    DWORD size = 0;
};

ResourceBytes FindJapaneseResource(LPCSTR type, WORD id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), Japanese);
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, found);
    return {static_cast<const uint8_t*>(LockResource(loaded)), SizeofResource(module, found)};
}

// Reads a dialog template the way the dialog manager does.
class TemplateReader {
  public:
    explicit TemplateReader(ResourceBytes bytes) : bytes_(bytes) {}
    bool Overrun() const { return overrun_; }
    WORD Word() {
        if (offset_ + 2 > bytes_.size) {
            overrun_ = true;
            return 0;
        }
        WORD value = static_cast<WORD>(bytes_.data[offset_] | bytes_.data[offset_ + 1] << 8);
        offset_ += 2;
        return value;
    }
    DWORD Dword() {
        const DWORD low = Word();
        return low | static_cast<DWORD>(Word()) << 16;
    }
    short Short() { return static_cast<short>(Word()); }
    std::wstring String() {
        std::wstring text;
        for (WORD c = Word(); c != 0 && !overrun_; c = Word()) text += static_cast<wchar_t>(c);
        return text;
    }
    // An ordinal (0xFFFF, then the number) or a string; an ordinal comes back as "#number".
    std::wstring NameOrOrdinal() {
        const WORD first = Word();
        if (first == 0xFFFF) return L"#" + std::to_wstring(Word());
        std::wstring text;
        for (WORD c = first; c != 0 && !overrun_; c = Word()) text += static_cast<wchar_t>(c);
        return text;
    }
    void AlignToDword() { offset_ = (offset_ + 3) & ~size_t{3}; }

  private:
    ResourceBytes bytes_;
    size_t offset_ = 0;
    bool overrun_ = false;
};

struct ExpectedControl {
    std::wstring className;
    WORD id;
    std::wstring text;
    DWORD style;
    short x, y, cx, cy;
};

std::wstring Ordinal(WORD atom) { return L"#" + std::to_wstring(atom); }

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
    return text;
}

TEST(Resources, SetupDialogIsTheJapaneseStandardTemplate) {
    const ResourceBytes bytes = FindJapaneseResource(MAKEINTRESOURCEA(5), IDD_SETUP);
    ASSERT_NE(bytes.data, nullptr) << "no dialog 102 in language 0x411";
    TemplateReader reader(bytes);

    const DWORD style = reader.Dword();
    // An extended template starts with version 1 and the signature 0xFFFF instead.
    ASSERT_NE(HIWORD(style), 0xFFFF);
    EXPECT_EQ(style,
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(reader.Dword(), 0u);  // extended style
    const WORD count = reader.Word();
    EXPECT_EQ(reader.Short(), 0);
    EXPECT_EQ(reader.Short(), 0);
    EXPECT_EQ(reader.Short(), 195);
    EXPECT_EQ(reader.Short(), 59);
    EXPECT_EQ(reader.NameOrOrdinal(), L"");  // no menu
    EXPECT_EQ(reader.NameOrOrdinal(), L"");  // the default dialog class
    EXPECT_EQ(reader.String(), L"SETUP");
    EXPECT_EQ(reader.Word(), 9);
    EXPECT_EQ(reader.String(), L"ＭＳ Ｐゴシック");

    const DWORD child = WS_CHILD | WS_VISIBLE;
    const std::vector<ExpectedControl> expected = {
        {Ordinal(ButtonAtom), IDOK, L"OK", child | WS_TABSTOP | BS_DEFPUSHBUTTON, 136, 15, 50, 14},
        {Ordinal(ButtonAtom), IDCANCEL, L"ｷｬﾝｾﾙ", child | WS_TABSTOP | BS_PUSHBUTTON, 136, 32, 50,
         14},
        {L"msctls_trackbar32", IDC_BALL_SLIDER, L"Slider1", child | WS_TABSTOP | TBS_NOTICKS, 8, 33,
         114, 15},
        {Ordinal(StaticAtom), 0xFFFF, L"1", child | WS_GROUP | SS_LEFT, 14, 25, 8, 8},
        {Ordinal(StaticAtom), 0xFFFF, L"30", child | WS_GROUP | SS_LEFT, 114, 25, 8, 8},
        {Ordinal(StaticAtom), 0xFFFF, L"玉の数", child | WS_GROUP | SS_LEFT, 6, 13, 22, 8},
    };
    ASSERT_EQ(count, expected.size());
    for (const ExpectedControl& control : expected) {
        reader.AlignToDword();
        EXPECT_EQ(reader.Dword(), control.style) << control.id;
        EXPECT_EQ(reader.Dword(), 0u) << control.id;
        EXPECT_EQ(reader.Short(), control.x) << control.id;
        EXPECT_EQ(reader.Short(), control.y) << control.id;
        EXPECT_EQ(reader.Short(), control.cx) << control.id;
        EXPECT_EQ(reader.Short(), control.cy) << control.id;
        EXPECT_EQ(reader.Word(), control.id);
        // Window class names match regardless of case; the resource compiler stores named
        // classes in capitals.
        EXPECT_EQ(Lower(reader.NameOrOrdinal()), control.className) << control.id;
        EXPECT_EQ(reader.NameOrOrdinal(), control.text) << control.id;
        const WORD creationBytes = reader.Word();
        EXPECT_EQ(creationBytes, 0) << control.id;
    }
    EXPECT_FALSE(reader.Overrun());
}

TEST(Resources, IconGroupHoldsOne32By32SixteenColourImage) {
    const ResourceBytes group = FindJapaneseResource(MAKEINTRESOURCEA(14), IDI_ZOVA);
    ASSERT_NE(group.data, nullptr) << "no icon group 101 in language 0x411";
    TemplateReader reader(group);
    EXPECT_EQ(reader.Word(), 0);  // reserved
    EXPECT_EQ(reader.Word(), 1);  // icons, not cursors
    ASSERT_EQ(reader.Word(), 1);  // one image
    const WORD size = reader.Word();
    EXPECT_EQ(LOBYTE(size), 32);
    EXPECT_EQ(HIBYTE(size), 32);
    const WORD colours = reader.Word();
    EXPECT_EQ(LOBYTE(colours), 16);
    EXPECT_EQ(reader.Word(), 1);  // planes
    EXPECT_EQ(reader.Word(), 4);  // bits per pixel
    const DWORD imageBytes = reader.Dword();
    const WORD imageId = reader.Word();
    ASSERT_FALSE(reader.Overrun());

    const ResourceBytes image = FindJapaneseResource(MAKEINTRESOURCEA(3), imageId);
    ASSERT_NE(image.data, nullptr);
    EXPECT_EQ(image.size, imageBytes);
    ASSERT_GE(image.size, sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    memcpy(&header, image.data, sizeof header);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64);  // colours and mask
    EXPECT_EQ(header.biBitCount, 4);
}

// Drawn over green, the icon shows a red-and-white ball and lets the green through around it.
TEST(Resources, IconIsARedAndWhiteBallWithATransparentSurround) {
    HICON icon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ZOVA), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);
    DibSurface surface(32, 32);
    ASSERT_TRUE(surface.Valid());
    constexpr uint32_t Green = 0x0000FF00;
    surface.Fill(Green);
    ASSERT_TRUE(DrawIconEx(surface.Dc(), 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL));
    DestroyIcon(icon);

    for (auto corner : {POINT{0, 0}, POINT{31, 0}, POINT{0, 31}, POINT{31, 31}}) {
        EXPECT_EQ(surface.Pixel(corner.x, corner.y), Green) << corner.x << ", " << corner.y;
    }
    int red = 0;
    int white = 0;
    for (int y = 8; y < 24; ++y) {
        for (int x = 8; x < 24; ++x) {
            const uint32_t pixel = surface.Pixel(x, y);
            EXPECT_NE(pixel, Green) << x << ", " << y;
            red += pixel == 0x00FF0000u;
            white += pixel == 0x00FFFFFFu;
        }
    }
    EXPECT_GT(red, 30);
    EXPECT_GT(white, 30);
}

std::wstring FromCodePage932(const char* text) {
    const int length = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (length <= 0) return L"(not CP932)";
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

TEST(Resources, NarrowTextsAreJapaneseCodePageBytes) {
    struct Text {
        const char* narrow;
        const wchar_t* seen;
    };
    for (const Text& text : {
             Text{ZOVA_TEXT_WINDOW_FAILED, L"ウィンドウが作成できません"},
             Text{ZOVA_CAPTION_INIT_ERROR, L"初期化エラー"},
             Text{ZOVA_TEXT_MPR_MISSING, L"MPR.DLLが見つかりません"},
             Text{ZOVA_CAPTION_MPR_MISSING, L"VASK"},
             Text{ZOVA_TEXT_PASSWORD_FAILED, L"パスワードを確認できません"},
             Text{ZOVA_CAPTION_PASSWORD_FAILED, L"設定値取得エラー"},
             Text{ZOVA_TEXT_REGISTRY_FAILED, L"レジストリへ登録できません"},
             Text{ZOVA_CAPTION_REGISTRY_FAILED, L"設定値登録エラー"},
         }) {
        EXPECT_EQ(FromCodePage932(text.narrow), text.seen);
    }
    // "ウ" is 0x83 0x45 in code page 932, not the three bytes of UTF-8.
    EXPECT_EQ(static_cast<unsigned char>(ZOVA_TEXT_WINDOW_FAILED[0]), 0x83);
    EXPECT_EQ(static_cast<unsigned char>(ZOVA_TEXT_WINDOW_FAILED[1]), 0x45);
}

}  // namespace
