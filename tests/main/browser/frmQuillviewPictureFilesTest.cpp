// Pictures handed to the running window as a second start hands them on: JPEGs an outside encoder wrote in
// other colour layouts show their colours on the window.
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "platform/runtime/ScriptedAnswerer.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/UserPaths.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/main/EarlierStart.h"
#include "tests/support/Apartment.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

frmQuillview& Window() { return forms::Default<frmQuillview>(); }

// A file of the data folder (the Unix path as Wine's Z: drive shows it).
std::string DataFile(const char* name) {
    std::string path = std::string("Z:") + std::getenv("QV_BROWSER_DATA") + "/" + name;
    for (auto& c : path) if (c == '/') c = '\\';
    return path;
}

class PictureFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(services_.Registered());
        Module1::gCommandLine.clear();
        qvtest::StoreAnEarlierStartOfThisVersion();
        Window().Load();
    }
    void TearDown() override { Window().Unload(); }

    // As a second start with the file passes it on.
    static void HandIn(const std::string& path) {
        const std::string bytes = "\"" + path + "\"";
        COPYDATASTRUCT record{0, static_cast<DWORD>(bytes.size()), const_cast<char*>(bytes.data())};
        SendMessageA(Window().hWnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
    }

    forms::ScriptedAnswerer answers_{[](const std::string& m) { ADD_FAILURE() << m; }};
    const forms::ScopedAnswerer answering_{answers_};
    const qvtest::TempFolder folder_;
    const forms::SettingsRootOverride settings_{std::string(forms::TestSettingsBase) + "PictureFiles"};
    const forms::UserPathsOverride paths_{std::nullopt, folder_ / "user"};
    const qvtest::Apartment apartment_;
    const testsupport::RegisteredServer services_{ORCMCLS_DLL};
};

// What the picture box shows at a pixel of the picture, read from the window once it has painted.
COLORREF Shown(HWND box, int x, int y, int width, int height) {
    RedrawWindow(GetAncestor(box, GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    RECT client{};
    GetClientRect(box, &client);
    const HDC dc = GetDC(box);
    // The centre of the pixel, whatever the display mode's scale.
    const COLORREF c = GetPixel(dc, (2 * x + 1) * client.right / (2 * width), (2 * y + 1) * client.bottom / (2 * height));
    ReleaseDC(box, dc);
    return c & 0xFFFFFF;
}

bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 4 && std::abs(GetGValue(a) - GetGValue(b)) <= 4 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 4;
}

TEST_F(PictureFiles, JpegsOfEveryColourLayoutShowTheColoursAnOutsideDecoderReads) {
    struct Point {
        int x, y;
        COLORREF colour;
    };
    struct Case {
        const char* file;
        std::vector<Point> points;  // as ImageMagick reads the file
    };
    const std::vector<Case> cases = {
        {"gray.jpg", {{0, 0, RGB(0, 0, 0)}, {15, 1, RGB(36, 36, 36)}, {8, 3, RGB(109, 109, 109)},
                      {0, 5, RGB(181, 181, 181)}, {15, 7, RGB(255, 255, 255)}}},
        {"ycck.jpg", {{0, 0, RGB(200, 40, 61)}, {7, 4, RGB(200, 40, 61)}, {8, 3, RGB(30, 150, 220)},
                      {15, 7, RGB(30, 150, 220)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = folder_ / c.file;
        ASSERT_TRUE(CopyFileA(DataFile(c.file).c_str(), path.c_str(), FALSE));
        HandIn(path);
        frmQuillview& w = Window();
        ASSERT_EQ(w.Caption(), std::string("Quillview - ") + c.file);
        EXPECT_EQ(Module1::gImageWidth, 16);
        EXPECT_EQ(Module1::gImageHeight, 8);
        for (const Point& p : c.points) {
            const COLORREF seen = Shown(w.Image1.hWnd(), p.x, p.y, 16, 8);
            EXPECT_TRUE(Near(seen, p.colour)) << "at " << p.x << ", " << p.y << ": " << std::hex << seen;
        }
    }
}

}  // namespace
