// Speed of opening a photo in Actual Size, in the loader's test window and in the main window, against a bare
// decode by the system's imaging codec of the same file. First picture: from the logo; next picture: with the
// other one shown. Best of five, the four measurements interleaved.
//   bench/make-files.sh DIR   (photo1.jpg and photo2.jpg: 6000 x 4000, quality 90)
//   wine build/win64/bench/qv_loader_bench.exe DIR

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "bench/BareDecode.h"
#include "bench/Bench.h"
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/core/PictureDecoders.h"
#include "platform/runtime/Strings.h"
#include "tests/main/core/LoaderTestForm.h"

namespace {

using bench::Seconds;

double Timed(const std::function<void()>& work) {
    const double start = Seconds();
    work();
    return Seconds() - start;
}

// The picture box painted and the drawing done.
template <class F>
void Painted(F& form) {
    UpdateWindow(form.Picture1.hWnd());
    UpdateWindow(form.Image1.hWnd());
    GdiFlush();
}

// The main window's file list shows the chosen picture itself; the test window's only selects it.
template <class F>
void Select(F& form, const std::string& name) {
    for (int i = 0; i < form.File1.ListCount(); ++i) {
        if (form.File1.List(i) == name) form.File1.SetListIndex(i);
    }
    if constexpr (!std::is_same_v<F, frmQuillview>) Module1::ShowImage();
    Painted(form);
}

template <class F>
void BackToLogo(F& form) {
    form.ShowLogo();
    form.Image1.SetPicture(forms::StdPicture::Empty());
    Painted(form);
}

void Report(const char* what, double seconds, double against) {
    std::printf("  %-52s %8.1f ms", what, seconds * 1e3);
    if (against > 0) std::printf("   %.2fx the bare decode", seconds / against);
    std::printf("\n");
}

template <class F>
void Measure(const char* window, F& form, const std::string& folder) {
    const std::string first = "photo1.jpg";
    const std::string second = "photo2.jpg";
    form.Dir1.SetPath(folder);
    form.File1.SetPath(folder);

    constexpr int kRuns = 5;
    double bare1 = 1e30, bare2 = 1e30, firstShown = 1e30, nextShown = 1e30;
    double decode = 1e30, paint = 1e30;
    for (int run = 0; run < kRuns; ++run) {
        bare1 = std::min(bare1, Timed([&] { bench::BareDecode(folder + "\\" + first); }));
        BackToLogo(form);
        firstShown = std::min(firstShown, Timed([&] { Select(form, first); }));
        bare2 = std::min(bare2, Timed([&] { bench::BareDecode(folder + "\\" + second); }));
        nextShown = std::min(nextShown, Timed([&] { Select(form, second); }));

        // The split: the decode alone, and putting a decoded picture into Image1 until it is painted.
        forms::StdPicture decoded;
        decode = std::min(decode, Timed([&] { decoded = Module1::LoadJpegPicture(folder + "\\" + first); }));
        form.Image1.SetPicture(forms::StdPicture::Empty());
        Painted(form);
        paint = std::min(paint, Timed([&] {
            form.Image1.SetPicture(decoded);
            form.Image1.Refresh();
            Painted(form);
        }));
    }
    std::printf("Opening a 6000 x 4000 JPEG in Actual Size in %s (best of %d)\n", window, kRuns);
    Report("bare decode, first file", bare1, 0);
    Report("first picture (from the logo)", firstShown, bare1);
    Report("bare decode, second file", bare2, 0);
    Report("next picture (the first one shown)", nextShown, bare2);
    std::printf("Split of the first picture\n");
    Report("decode into the bitmap the picture box keeps", decode, bare1);
    Report("painting into Image1", paint, 0);
    Report("the rest (panels, sizes, call-backs)", std::max(0.0, firstShown - decode - paint), 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: qv_loader_bench DIR (with photo1.jpg and photo2.jpg from bench/make-files.sh)\n");
        return 2;
    }
    OleInitialize(nullptr);
    const std::string folder = argv[1];

    {
        auto form = forms::New<frmLoaderTest>();
        const Module1::ScopedMainWindowView view(*form);
        // The main window's design size: a picture area of about 760 x 520 pixels.
        form->Show();
        form->Picture1.Move(10, 10, 760, 520);
        Measure("the loader's test window", *form, folder);
        form->Unload();
    }
    {
        frmQuillview& form = forms::Default<frmQuillview>();
        form.LoadWithoutStartUp();
        form.DisplayMode_ = 101;
        form.Tiled_ = false;
        const Module1::ScopedMainWindowView view(form);
        form.Move(0, 0, 16000, 12000);  // a picture area of about 860 x 670 pixels
        form.Show();
        Measure("the main window", form, folder);
        form.Unload();
    }
    return 0;
}
