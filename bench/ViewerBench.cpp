// Speed of the full-screen viewer over a folder of ten 12-megapixel photos, the main window loaded (without
// its start-up) as the viewer's host.
// Next picture: from setting the viewer's File1.ListIndex to the end of the paint that shows the picture,
// median over the folder, against a bare decode by the system's imaging codec (factory made beforehand)
// plus one HALFTONE stretch of its pixels to the screen size.
// First paint: from the opening call to the end of the viewer's first paint of the main window's picture,
// against one HALFTONE stretch of that picture to the screen size.
// Every round is reported, then the best and the typical (median) round.
//   bench/make-viewer-files.sh DIR   (view0.jpg .. view9.jpg: 4000 x 3000, quality 90)
//   wine build/win64/bench/qv_viewer_bench.exe DIR [ROUNDS]

#include <windows.h>
#include <objbase.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/Bench.h"
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/windows/PerMonitorDpi.h"
#include "main/windows/frmFullscn.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/ScriptedAnswerer.h"
#include "platform/runtime/Strings.h"

namespace {

using Microsoft::WRL::ComPtr;

constexpr int kFiles = 10;

std::string FileName(int index) { return "view" + std::to_string(index) + ".jpg"; }

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm)) return {0, 0};
    return {bm.bmWidth, bm.bmHeight};
}

// The codec for the file, frame 0, converted to 24-bit BGR and copied into a bitmap; empty on failure.
forms::UniqueBitmap BareDecode(IWICImagingFactory& factory, const std::string& path) {
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapSource> bgr;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(factory.CreateDecoderFromFilename(forms::ToWide(path).c_str(), nullptr, GENERIC_READ,
                                                 WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame.Get(), &bgr)) ||
        FAILED(bgr->GetSize(&width, &height))) {
        return {};
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, static_cast<LONG>(width), -static_cast<LONG>(height), 1, 24, BI_RGB};
    void* bits = nullptr;
    forms::UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const UINT stride = (width * 3 + 3) & ~3u;
    if (!bitmap || FAILED(bgr->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) return {};
    return bitmap;
}

// One HALFTONE stretch of the whole bitmap over the whole screen, drawn.
void StretchToScreen(HBITMAP bitmap, SIZE screen) {
    const SIZE size = BitmapSize(bitmap);
    const forms::ScopedGetDC target(nullptr);
    const forms::UniqueDC source(CreateCompatibleDC(target.get()));
    const forms::ScopedSelect selected(source.get(), bitmap);
    SetStretchBltMode(target.get(), HALFTONE);
    SetBrushOrgEx(target.get(), 0, 0, nullptr);
    StretchBlt(target.get(), 0, 0, screen.cx, screen.cy, source.get(), 0, 0, size.cx, size.cy, SRCCOPY);
    GdiFlush();
}

// Whether the screen's centre shows the picture's pixel there, as the viewer shows a picture larger than the
// screen: from its top left corner, pixel for pixel.
bool ShowsPicture(HBITMAP picture, SIZE screen) {
    const POINT at{screen.cx / 2, screen.cy / 2};
    const forms::ScopedGetDC target(nullptr);
    const forms::UniqueDC source(CreateCompatibleDC(target.get()));
    const forms::ScopedSelect selected(source.get(), picture);
    return GetPixel(target.get(), at.x, at.y) == GetPixel(source.get(), at.x, at.y);
}

// Whatever the viewer has left to paint, painted, and the drawing done.
void Painted(frmFullscn& viewer) {
    RedrawWindow(viewer.hWnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
}

struct Round {
    double firstPaint = 0, stretch = 0, next = 0, reference = 0;
};

void Report(const char* what, const Round& r) {
    std::printf("  %-8s first paint %7.1f ms vs stretch %7.1f ms = %.2fx   next picture %7.1f ms vs reference "
                "%7.1f ms = %.2fx\n",
                what, r.firstPaint * 1e3, r.stretch * 1e3, r.firstPaint / r.stretch, r.next * 1e3,
                r.reference * 1e3, r.next / r.reference);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: qv_viewer_bench DIR [ROUNDS] (view0.jpg .. view9.jpg from bench/make-viewer-files.sh)\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    OleInitialize(nullptr);
    // Any box would wait for a person: it is told and answered instead.
    bool failed = false;
    forms::ScriptedAnswerer answers([&](const std::string& prompt) {
        std::printf("unexpected box: %s\n", prompt.c_str());
        failed = true;
    });
    const forms::ScopedAnswerer answering(answers);

    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)))) {
        std::printf("no imaging factory\n");
        return 1;
    }
    frmQuillview& main = forms::Default<frmQuillview>();
    Module1::gImageSaved = true;
    main.LoadWithoutStartUp();
    main.Dir1.SetPath(folder);
    main.File1.SetPath(folder);
    main.File1.SetPattern("*.jpg");
    main.File1.SetListIndex(0);
    const HBITMAP mainPicture =
        main.Image1.Picture().IsNothing() ? nullptr : reinterpret_cast<HBITMAP>(main.Image1.Picture().Handle());
    if (main.File1.ListCount() != kFiles || BitmapSize(mainPicture).cx == 0) {
        std::printf("%s: expected %d photos, the first one shown in the main window\n", folder.c_str(), kFiles);
        return 1;
    }
    SIZE screen{};
    {
        const PerMonitorDpiScope perMonitor;
        const RECT r = fullscn::MonitorRectOf(main.hWnd());
        screen = {r.right - r.left, r.bottom - r.top};
    }
    const SIZE photo = BitmapSize(mainPicture);
    std::printf("Full-screen viewer, screen %ld x %ld, ten %ld x %ld JPEGs, %d rounds\n", screen.cx, screen.cy,
                photo.cx, photo.cy, rounds);

    frmFullscn& viewer = forms::Default<frmFullscn>();
    std::vector<Round> all;
    for (int round = 0; round < rounds && !failed; ++round) {
        Round r;
        r.stretch = bench::Best(1, [&] { StretchToScreen(mainPicture, screen); });
        r.firstPaint = bench::Best(1, [&] {
            viewer.Show();
            Painted(viewer);
        });
        if (!viewer.IsLoaded() || !ShowsPicture(mainPicture, screen)) {
            std::printf("the viewer did not open on the main window's picture\n");
            return 1;
        }
        std::vector<double> next, reference;
        // Through the folder and back to the first photo: each selection shows another file.
        for (int step = 1; step <= kFiles && !failed; ++step) {
            const int index = step % kFiles;
            forms::UniqueBitmap decoded;
            reference.push_back(bench::Best(1, [&] {
                decoded = BareDecode(*factory.Get(), folder + "\\" + FileName(index));
                StretchToScreen(decoded.get(), screen);
            }));
            next.push_back(bench::Best(1, [&] {
                viewer.File1.SetListIndex(index);
                Painted(viewer);
            }));
            if (!viewer.IsLoaded() || viewer.File1.FileName() != FileName(index) ||
                !ShowsPicture(decoded.get(), screen)) {
                std::printf("the viewer did not show %s\n", FileName(index).c_str());
                return 1;
            }
        }
        viewer.Unload();
        r.next = Median(next);
        r.reference = Median(reference);
        all.push_back(r);
        Report(("round " + std::to_string(round + 1)).c_str(), r);
    }
    if (failed || all.empty()) return 1;
    const auto pick = [&](auto choose) {
        Round r;
        std::vector<double> f, s, n, x;
        for (const Round& a : all) {
            f.push_back(a.firstPaint);
            s.push_back(a.stretch);
            n.push_back(a.next);
            x.push_back(a.reference);
        }
        r.firstPaint = choose(f);
        r.stretch = choose(s);
        r.next = choose(n);
        r.reference = choose(x);
        return r;
    };
    Report("best", pick([](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }));
    Report("typical", pick([](const std::vector<double>& v) { return Median(v); }));
    std::printf("goals: first paint at most 1.5x, next picture at most 1.2x\n");
    main.Unload();
    return 0;
}
