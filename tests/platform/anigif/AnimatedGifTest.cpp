#include "../comctl/ComctlTestSupport.h"
#include "tests/platform/forms/ErrorNumber.h"

#include "platform/anigif/AnimatedGif.h"
#include "platform/forms/Form.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using namespace forms;
using namespace comctltest;

namespace {
// The fixtures (made by ImageMagick): three.gif, 8 x 8, whose looping extension says one repeat: a red frame (7/100 s, left), a lime
// one (0/100 s, restored to the background), a blue 4 x 4 at 2,2 (25/100 s, restored to the previous).
// offset.gif, 10 x 10, plays once: white, then a black 4 x 4 at 5,3 with a transparent pixel at 6,4.
std::string Fixture(const char* name) {
    // The Unix path of the data folder, as Wine's Z: drive shows it.
    std::string path = std::string("Z:") + std::getenv("QV_ANIGIF_DATA") + "/" + name;
    for (auto& c : path) if (c == '/') c = '\\';
    return path;
}

class frmGif : public Form {
public:
    frmGif()
        : Form({.Caption = "Gif", .Left = 600, .Top = 600, .Width = 4000, .Height = 3000,
                .StartUp = StartUpPosition::Manual, .Scale = ScaleMode::Pixels}) {}
    AnimatedGif Gif1{*this, "Gif1", {10, 10, 40, 40}, {.BackColor = 0x00FF00FF /* magenta: BGR */, .Text = "None",
                                                        .AutoSize = true}};
};

COLORREF PixelAt(HWND window, int x, int y) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

class AnimatedGifTest : public ::testing::Test {
protected:
    void SetUp() override { form->Show(); }
    void TearDown() override { form->Unload(); }
    std::shared_ptr<frmGif> form = New<frmGif>();
};
}  // namespace

TEST_F(AnimatedGifTest, FramesComeInOrderWithTheirDelaysAndStopAfterTheLoops) {
    AnimatedGif& gif = form->Gif1;
    gif.Load(Fixture("three.gif"));
    struct Step {
        int frame;
        DWORD at;
    };
    std::vector<Step> steps{{gif.CurrentFrame(), GetTickCount()}};
    PumpUntil([&] {
        if (gif.CurrentFrame() != steps.back().frame) steps.push_back({gif.CurrentFrame(), GetTickCount()});
        return !gif.Playing();
    }, 5000);
    // One repeat: two plays in all, then the last frame stays.
    std::vector<int> order;
    for (const Step& s : steps) order.push_back(s.frame);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 0, 1, 2}));
    EXPECT_FALSE(gif.Playing());
    EXPECT_EQ(gif.CurrentFrame(), 2);
    // Each frame stays for its delay: 70 ms, 0 played at 100 ms, 250 ms (timer granularity allowed).
    const int expected[] = {70, 100, 250};
    for (size_t i = 0; i + 1 < steps.size(); ++i) {
        const int stayed = static_cast<int>(steps[i + 1].at - steps[i].at);
        EXPECT_NEAR(stayed, expected[steps[i].frame], 45) << "frame " << steps[i].frame << " at step " << i;
    }
}

TEST_F(AnimatedGifTest, DisposalsAndOffsetsShowInThePixels) {
    AnimatedGif& gif = form->Gif1;
    const HWND w = gif.hWnd();
    gif.Load(Fixture("three.gif"));
    gif.Stop();
    EXPECT_EQ(PixelAt(w, 0, 0), RGB(255, 0, 0));
    // Frame by frame through the timer's own path.
    gif.Play();
    ASSERT_TRUE(PumpUntil([&] { return gif.CurrentFrame() == 1; }));
    gif.Stop();
    EXPECT_EQ(PixelAt(w, 0, 0), RGB(0, 255, 0)) << "the lime frame covers the red one it leaves";
    gif.Play();
    ASSERT_TRUE(PumpUntil([&] { return gif.CurrentFrame() == 2; }));
    gif.Stop();
    // The lime frame was restored to the background before the blue one came.
    EXPECT_EQ(PixelAt(w, 0, 0), RGB(255, 0, 255)) << "background shows around the blue square";
    EXPECT_EQ(PixelAt(w, 3, 3), RGB(0, 0, 255));
    gif.Play();
    ASSERT_TRUE(PumpUntil([&] { return gif.CurrentFrame() == 0; }));
    gif.Stop();
    EXPECT_EQ(PixelAt(w, 3, 3), RGB(255, 0, 0)) << "the next play starts on a fresh canvas";

    gif.Load(Fixture("offset.gif"));
    ASSERT_TRUE(PumpUntil([&] { return gif.CurrentFrame() == 1; }));
    EXPECT_EQ(PixelAt(w, 5, 3), RGB(0, 0, 0)) << "the frame sits at its offset";
    EXPECT_EQ(PixelAt(w, 4, 3), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(w, 6, 4), RGB(255, 255, 255)) << "its transparent pixel shows the frame under it";
    EXPECT_TRUE(PumpUntil([&] { return !gif.Playing(); })) << "no looping extension: one play";
    EXPECT_EQ(gif.CurrentFrame(), 1);
}

TEST_F(AnimatedGifTest, TheClockPausesWhileHidden) {
    AnimatedGif& gif = form->Gif1;
    gif.Load(Fixture("three.gif"));
    gif.SetVisible(false);
    const int frame = gif.CurrentFrame();
    // Longer than a whole play: a running clock would have moved on.
    const DWORD until = GetTickCount() + 600;
    PumpUntil([&] { return static_cast<LONG>(GetTickCount() - until) >= 0; }, 1000);
    EXPECT_EQ(gif.CurrentFrame(), frame);
    EXPECT_TRUE(gif.Playing());
    gif.SetVisible(true);
    EXPECT_TRUE(PumpUntil([&] { return gif.CurrentFrame() != frame; }));
}

TEST_F(AnimatedGifTest, MissingAndUnreadableFilesAreRefused) {
    AnimatedGif& gif = form->Gif1;
    EXPECT_EQ(PixelAt(gif.hWnd(), 0, 0), RGB(255, 0, 255)) << "nothing loaded: the back colour and the text";
    EXPECT_EQ(ErrorNumber([&] { gif.Load(Fixture("missing.gif")); }), 53);
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string junk = std::string(temp) + "qv_not_a.gif";
    std::ofstream(junk, std::ios::binary) << "GIF89a but nothing after";
    EXPECT_EQ(ErrorNumber([&] { gif.Load(junk); }), 481);
    gif.Load(Fixture("three.gif"));
    // Two 1 x 1 frames and neither a global nor a local colour table: the system's codec reads address 0.
    const unsigned char noTable[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0,
                                     0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0,
                                     0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0, 0x3B};
    std::ofstream(junk, std::ios::binary).write(reinterpret_cast<const char*>(noTable), sizeof noTable);
    EXPECT_EQ(ErrorNumber([&] { gif.Load(junk); }), 481);
    EXPECT_TRUE(gif.Playing()) << "the old picture stays";
    DeleteFileA(junk.c_str());
    gif.Clear();
    EXPECT_EQ(gif.CurrentFrame(), -1);
    EXPECT_FALSE(gif.Playing());
}
