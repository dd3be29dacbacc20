// The Edit menu's clipboard commands and the tray's Copy Image on the real window and the system clipboard:
// what a command leaves there is read with the system's own calls, and what a test puts there is the
// system's own formats.
#include "tests/main/browser/MenusFixture.h"

#include "main/windows/frmCrop.h"
#include "platform/runtime/MsgBox.h"
#include "tests/lib/services/DialogDriver.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace {

using menustest::Menus;

constexpr char kSaveQuestion[] = "The image showing has not been saved, save it now?";
constexpr int kSaveButtons = forms::mb::YesNoCancel | forms::mb::Exclamation;
constexpr COLORREF kLeft = RGB(200, 30, 40);
constexpr COLORREF kRight = RGB(20, 60, 210);
constexpr int kWidth = 20;
constexpr int kHeight = 10;

// Pixels as the clipboard's device-independent bitmap holds them.
struct ClipPixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // top row first
    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

class OpenClipboardScope {
public:
    OpenClipboardScope() : open_(OpenClipboard(nullptr) != FALSE) {}
    ~OpenClipboardScope() {
        if (open_) CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool Open() const { return open_; }

private:
    bool open_;
};

std::optional<ClipPixels> ClipboardDib() {
    const OpenClipboardScope clipboard;
    if (!clipboard.Open()) return std::nullopt;
    const HANDLE data = GetClipboardData(CF_DIB);
    if (!data) return std::nullopt;
    const auto* info = static_cast<const BITMAPINFO*>(GlobalLock(data));
    if (!info) return std::nullopt;
    ClipPixels out;
    // The system's copy, turned to 32-bit top-down rows whatever depth it has.
    out.width = info->bmiHeader.biWidth;
    out.height = std::abs(info->bmiHeader.biHeight);
    BITMAPINFO wanted{};
    wanted.bmiHeader = {sizeof wanted.bmiHeader, out.width, -out.height, 1, 32, BI_RGB};
    std::vector<std::uint32_t> rows(static_cast<std::size_t>(out.width) * out.height);
    const HDC screen = GetDC(nullptr);
    const std::size_t colours = info->bmiHeader.biClrUsed
                                    ? info->bmiHeader.biClrUsed
                                    : (info->bmiHeader.biBitCount <= 8 ? (1u << info->bmiHeader.biBitCount) : 0);
    const std::size_t masks = info->bmiHeader.biCompression == BI_BITFIELDS ? 3 : 0;
    const auto* bits = reinterpret_cast<const std::uint8_t*>(info) + info->bmiHeader.biSize +
                       (colours + masks) * sizeof(RGBQUAD);
    const HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, bits, info, DIB_RGB_COLORS);
    GetDIBits(screen, bitmap, 0, out.height, rows.data(), &wanted, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    GlobalUnlock(data);
    for (const std::uint32_t p : rows) out.pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    return out;
}

// Puts one format on the clipboard, the clipboard owning the handle afterwards.
bool PutOnClipboard(UINT format, HANDLE data) {
    const OpenClipboardScope clipboard;
    if (!clipboard.Open() || !EmptyClipboard()) return false;
    return SetClipboardData(format, data) != nullptr;
}

bool EmptyTheClipboard() {
    const OpenClipboardScope clipboard;
    return clipboard.Open() && EmptyClipboard();
}

HGLOBAL TextOf(const char* text) {
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, lstrlenA(text) + 1);
    lstrcpyA(static_cast<char*>(GlobalLock(memory)), text);
    GlobalUnlock(memory);
    return memory;
}

HGLOBAL DibOf(int width, int height, COLORREF colour) {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + stride * height);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(memory));
    *header = {sizeof *header, width, height, 1, 24, BI_RGB};
    auto* bits = reinterpret_cast<std::uint8_t*>(header + 1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = bits + y * stride + x * 3;
            p[0] = GetBValue(colour);
            p[1] = GetGValue(colour);
            p[2] = GetRValue(colour);
        }
    }
    GlobalUnlock(memory);
    return memory;
}

HENHMETAFILE EnhMetafileOf(COLORREF colour) {
    const RECT frame{0, 0, 1000, 500};  // 10 mm by 5 mm
    const HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    const HBRUSH brush = CreateSolidBrush(colour);
    const RECT all{0, 0, 400, 200};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    return CloseEnhMetaFile(dc);
}

// A picture whose left half is one colour and right half another.
forms::StdPicture TwoColours() {
    return forms::StdPicture::FromBitmap(qvtest::PaintedBitmap(
        kWidth, kHeight, {{RECT{0, 0, kWidth / 2, kHeight}, kLeft}, {RECT{kWidth / 2, 0, kWidth, kHeight}, kRight}}));
}

class Clipboard : public Menus {
protected:
    void SetUp() override {
        Menus::SetUp();
        if (HasFatalFailure()) return;
        Module1::ShowImage(TwoColours());
        ASSERT_EQ(Window().Image1.Picture().Type(), forms::PictureType::Bitmap);
        Module1::gImageSaved = true;
    }
    void TearDown() override {
        forms::Default<frmCrop>().Unload();
        Menus::TearDown();
    }
    static void Select(float left, float top, float width, float height) {
        Window().Shape1.Move(left, top, width, height);
        Window().Shape1.SetVisible(true);
    }
};

TEST_F(Clipboard, CopyTakesTheSelectionOrTheWholePicture) {
    struct Row {
        const char* name;
        std::optional<RECT> selection;  // left, top, width, height in the picture's pixels
        int width, height;
        COLORREF first, last;  // top-left and bottom-right pixels copied
    };
    const Row rows[] = {
        {"no selection", std::nullopt, kWidth, kHeight, kLeft, kRight},
        {"a selection across both halves", RECT{8, 2, 4, 5}, 4, 5, kLeft, kRight},
        {"a selection in the right half", RECT{12, 0, 3, 3}, 3, 3, kRight, kRight},
        {"one pixel wide: a click", RECT{3, 3, 1, 5}, kWidth, kHeight, kLeft, kRight},
        {"one pixel high: a click", RECT{3, 3, 5, 1}, kWidth, kHeight, kLeft, kRight},
    };
    auto& w = Window();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(PutOnClipboard(CF_TEXT, TextOf("before"))) << "something else there first";
        w.Shape1.SetVisible(false);
        if (row.selection) {
            const RECT& s = *row.selection;
            Select(static_cast<float>(s.left), static_cast<float>(s.top), static_cast<float>(s.right),
                   static_cast<float>(s.bottom));
        }
        w.mnuCopy_Click();
        const auto copied = ClipboardDib();
        ASSERT_TRUE(copied.has_value());
        EXPECT_EQ(copied->width, row.width);
        EXPECT_EQ(copied->height, row.height);
        EXPECT_EQ(copied->At(0, 0), row.first);
        EXPECT_EQ(copied->At(row.width - 1, row.height - 1), row.last);
        EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT)) << "the clipboard was emptied first";
        EXPECT_FALSE(forms::Default<frmCrop>().IsLoaded()) << "the scratch surface goes again";
    }
}

TEST_F(Clipboard, TrayCopyImageAndClearClipboard) {
    auto& w = Window();
    ASSERT_TRUE(PutOnClipboard(CF_TEXT, TextOf("before")));
    w.mnuCopyImg_Click();
    const auto copied = ClipboardDib();
    ASSERT_TRUE(copied.has_value());
    EXPECT_EQ(copied->width, kWidth);
    EXPECT_EQ(copied->height, kHeight);
    EXPECT_EQ(copied->At(kWidth - 1, 0), kRight);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));

    w.mnuClear_Click();
    EXPECT_EQ(CountClipboardFormats(), 0);
    w.mnuEdit_Click();
    EXPECT_FALSE(w.mnuPaste.Enabled());
}

TEST_F(Clipboard, PasteIsOfferedForPicturesOnly) {
    struct Row {
        const char* name;
        std::function<bool()> put;
        bool offered;
    };
    const Row rows[] = {
        {"device-independent bitmap", [] { return PutOnClipboard(CF_DIB, DibOf(3, 2, kLeft)); }, true},
        {"enhanced metafile", [] { return PutOnClipboard(CF_ENHMETAFILE, EnhMetafileOf(kLeft)); }, true},
        {"text alone", [] { return PutOnClipboard(CF_TEXT, TextOf("hello")); }, false},
        {"nothing", [] { return EmptyTheClipboard(); }, false},
    };
    auto& w = Window();
    for (const Row& row : rows) {
        ASSERT_TRUE(row.put()) << row.name;
        w.mnuPaste.SetEnabled(!row.offered);
        w.mnuEdit_Click();
        EXPECT_EQ(w.mnuPaste.Enabled(), row.offered) << row.name;
    }
}

TEST_F(Clipboard, PasteShowsTheClipboardsPictureAsANewUnsavedOne) {
    struct Row {
        const char* name;
        std::function<bool()> put;
        int width, height;  // in pixels; 0: the metafile's size on this screen
    };
    const Row rows[] = {
        {"device-independent bitmap", [] { return PutOnClipboard(CF_DIB, DibOf(5, 3, kRight)); }, 5, 3},
        {"enhanced metafile", [] { return PutOnClipboard(CF_ENHMETAFILE, EnhMetafileOf(kRight)); }, 0, 0},
    };
    auto& w = Window();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Choose(0);
        w.Toolbar(5).SetEnabled(false);
        w.Toolbar(6).SetEnabled(false);
        ASSERT_TRUE(row.put());
        w.mnuPaste_Click();
        EXPECT_FALSE(Module1::gImageSaved);
        EXPECT_EQ(Module1::gCurrentImagePath, "");
        EXPECT_EQ(w.Caption(), "Quillview - Unsaved Image");
        EXPECT_EQ(w.File1.ListIndex(), -1);
        EXPECT_TRUE(w.Toolbar(5).Enabled());
        EXPECT_TRUE(w.Toolbar(6).Enabled());
        if (row.width) {
            EXPECT_EQ(w.SB1.PanelText("dimen"), std::to_string(row.width) + "x" + std::to_string(row.height));
        }
        // What the window shows is the clipboard's picture.
        EXPECT_EQ(GetPixel(w.Image1.hDC(), 1, 1), kRight);
        Module1::gImageSaved = true;
    }
}

TEST_F(Clipboard, PasteOverAnUnsavedPictureAsksFirst) {
    struct Row {
        int answer;
        bool pasted;
        bool saveDialog;
    };
    auto& w = Window();
    for (const Row row : {Row{forms::answer::Cancel, false, false}, Row{forms::answer::Yes, false, true},
                          Row{forms::answer::No, true, false}}) {
        SCOPED_TRACE(row.answer);
        Module1::ShowImage(TwoColours());
        ASSERT_FALSE(Module1::gImageSaved);
        w.Toolbar(5).SetEnabled(false);
        ASSERT_TRUE(PutOnClipboard(CF_DIB, DibOf(5, 3, kLeft)));
        answers_.ExpectMsgBox(kSaveQuestion, kSaveButtons, "Save Image?", row.answer);
        {
            const DialogDriver save(DialogDriver::Cancel);
            w.mnuPaste_Click();
            EXPECT_EQ(save.Acted(), row.saveDialog);
        }
        EXPECT_EQ(answers_.Remaining(), 0u);
        EXPECT_EQ(w.SB1.PanelText("dimen"), row.pasted ? "5x3" : std::to_string(kWidth) + "x" + std::to_string(kHeight));
        // Cancel leaves even the toolbar as it was; the others end with a picture shown.
        EXPECT_EQ(w.Toolbar(5).Enabled(), row.answer != forms::answer::Cancel);
    }
    Module1::gImageSaved = true;
}

}  // namespace
