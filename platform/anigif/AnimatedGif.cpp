#include "platform/anigif/AnimatedGif.h"

#include "platform/imaging/SystemCodecGuard.h"
#include "platform/runtime/Strings.h"


#include <algorithm>

using Microsoft::WRL::ComPtr;

namespace forms {
namespace {
constexpr UINT_PTR ClockId = 1;
constexpr int SlowestFastDelayMs = 100;  // delays of 0 or 1 hundredths

bool ReadUInt(IWICMetadataQueryReader* reader, const wchar_t* name, UINT& out) {
    PROPVARIANT v;
    PropVariantInit(&v);
    if (!reader || FAILED(reader->GetMetadataByName(name, &v))) return false;
    bool ok = true;
    switch (v.vt) {
    case VT_UI1: out = v.bVal; break;
    case VT_UI2: out = v.uiVal; break;
    case VT_UI4: out = v.ulVal; break;
    default: ok = false;
    }
    PropVariantClear(&v);
    return ok;
}
}  // namespace

AnimatedGif::~AnimatedGif() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void AnimatedGif::ResetFromDesign() {
    DesignedControl::ResetFromDesign();
    Forget();
}

void AnimatedGif::Forget() {
    if (hwnd_) KillTimer(hwnd_, ClockId);
    decoder_.Reset();
    frames_ = 0;
    frame_ = -1;
    canvas_.clear();
    saved_.clear();
    playing_ = finished_ = false;
}

void AnimatedGif::AfterCreate() {
    if (decoder_) FitToPicture();
}

OleColor AnimatedGif::BackColor() const { Touch(); return state_.BackColor; }
void AnimatedGif::SetBackColor(OleColor c) {
    Touch();
    state_.BackColor = c;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}
std::string AnimatedGif::Text() const { Touch(); return state_.Text; }
void AnimatedGif::SetText(const std::string& text) {
    Touch();
    state_.Text = text;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}
bool AnimatedGif::AutoSize() const { Touch(); return state_.AutoSize; }
void AnimatedGif::SetAutoSize(bool on) {
    Touch();
    state_.AutoSize = on;
    FitToPicture();
}

void AnimatedGif::FitToPicture() {
    if (!state_.AutoSize || !decoder_ || !hwnd_) return;
    RECT r{};
    GetWindowRect(hwnd_, &r);
    RECT c{};
    GetClientRect(hwnd_, &c);
    const int w = static_cast<int>(screenWidth_) + (r.right - r.left) - c.right;
    const int h = static_cast<int>(screenHeight_) + (r.bottom - r.top) - c.bottom;
    const ScaleMode scale = GetContainer().ChildScale();
    Move(Left(), Top(), FromPixels(w, scale, Axis::X), FromPixels(h, scale, Axis::Y));
}

void AnimatedGif::Load(const std::string& path) {
    Touch();
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw RuntimeError(err::FileNotFound);
    if (!factory_ && FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_PPV_ARGS(&factory_))))
        throw RuntimeError(err::CannotCreateObject);
    imaging::RequireSafeForSystemCodec(path);
    ComPtr<IWICBitmapDecoder> decoder;
    const std::wstring wide = ToWide(path);
    GUID format{};
    UINT count = 0;
    if (FAILED(factory_->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetContainerFormat(&format)) || format != GUID_ContainerFormatGif ||
        FAILED(decoder->GetFrameCount(&count)) || count == 0)
        throw RuntimeError(err::InvalidPicture);
    ComPtr<IWICMetadataQueryReader> meta;
    decoder->GetMetadataQueryReader(&meta);
    UINT width = 0, height = 0;
    ReadUInt(meta.Get(), L"/logscrdesc/Width", width);
    ReadUInt(meta.Get(), L"/logscrdesc/Height", height);
    if (width == 0 || height == 0) {
        ComPtr<IWICBitmapFrameDecode> first;
        if (FAILED(decoder->GetFrame(0, &first)) || FAILED(first->GetSize(&width, &height)))
            throw RuntimeError(err::InvalidPicture);
    }
    // The looping extension: "NETSCAPE2.0" with its data block 3, 1, count (little-endian).
    int loops = -1;
    PROPVARIANT v;
    PropVariantInit(&v);
    if (meta && SUCCEEDED(meta->GetMetadataByName(L"/appext/Data", &v)) && v.vt == (VT_VECTOR | VT_UI1) &&
        v.caub.cElems >= 4 && v.caub.pElems[0] == 3 && v.caub.pElems[1] == 1)
        loops = v.caub.pElems[2] | (v.caub.pElems[3] << 8);
    PropVariantClear(&v);

    if (hwnd_) KillTimer(hwnd_, ClockId);
    decoder_ = decoder;
    frames_ = count;
    screenWidth_ = width;
    screenHeight_ = height;
    loopCount_ = loops;
    loopsDone_ = 0;
    canvas_.assign(static_cast<size_t>(width) * height, 0);
    saved_.clear();
    frame_ = -1;
    shown_ = {};
    finished_ = false;
    FitToPicture();
    if (!Compose(0)) {
        decoder_.Reset();
        frames_ = 0;
        throw RuntimeError(err::InvalidPicture);
    }
    playing_ = frames_ > 1;
    if (playing_) Arm(shown_.delayMs);
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void AnimatedGif::Clear() {
    Touch();
    Forget();
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void AnimatedGif::Play() {
    Touch();
    if (!decoder_ || frames_ < 2 || playing_) return;
    if (finished_) {
        finished_ = false;
        loopsDone_ = 0;
        std::fill(canvas_.begin(), canvas_.end(), 0);
        shown_ = {};
        Compose(0);
        if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
    }
    playing_ = true;
    Arm(shown_.delayMs);
}

void AnimatedGif::Stop() {
    Touch();
    playing_ = false;
    if (hwnd_) KillTimer(hwnd_, ClockId);
}

void AnimatedGif::Arm(int ms) {
    if (hwnd_) SetTimer(hwnd_, ClockId, static_cast<UINT>(ms), nullptr);
}

bool AnimatedGif::ReadFrameInfo(UINT index, FrameInfo& info) const {
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder_->GetFrame(index, &frame))) return false;
    ComPtr<IWICMetadataQueryReader> meta;
    frame->GetMetadataQueryReader(&meta);
    info = {};
    frame->GetSize(&info.width, &info.height);
    ReadUInt(meta.Get(), L"/imgdesc/Left", info.left);
    ReadUInt(meta.Get(), L"/imgdesc/Top", info.top);
    UINT delay = 0, disposal = 0;
    ReadUInt(meta.Get(), L"/grctlext/Delay", delay);
    ReadUInt(meta.Get(), L"/grctlext/Disposal", disposal);
    info.delayMs = delay <= 1 ? SlowestFastDelayMs : static_cast<int>(delay) * 10;
    info.disposal = static_cast<int>(disposal);
    return true;
}

// Disposes of the frame on the canvas, then draws frame `index` over it.
bool AnimatedGif::Compose(UINT index) {
    const auto clip = [this](const FrameInfo& f, UINT& x0, UINT& y0, UINT& x1, UINT& y1) {
        x0 = std::min(f.left, screenWidth_);
        y0 = std::min(f.top, screenHeight_);
        x1 = std::min(f.left + f.width, screenWidth_);
        y1 = std::min(f.top + f.height, screenHeight_);
    };
    if (frame_ >= 0) {
        UINT x0, y0, x1, y1;
        clip(shown_, x0, y0, x1, y1);
        if (shown_.disposal == 2) {
            for (UINT y = y0; y < y1; ++y)
                std::fill(canvas_.begin() + y * screenWidth_ + x0, canvas_.begin() + y * screenWidth_ + x1, 0u);
        } else if (shown_.disposal == 3 && saved_.size() == canvas_.size()) {
            canvas_ = saved_;
        }
    }
    if (index == 0 && frame_ != 0) std::fill(canvas_.begin(), canvas_.end(), 0u);
    FrameInfo info;
    if (!ReadFrameInfo(index, info)) return false;
    if (info.disposal == 3) saved_ = canvas_;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(decoder_->GetFrame(index, &frame)) || FAILED(factory_->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                     0, WICBitmapPaletteTypeCustom)))
        return false;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(info.width) * info.height);
    if (!pixels.empty() &&
        FAILED(converter->CopyPixels(nullptr, info.width * 4, static_cast<UINT>(pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(pixels.data()))))
        return false;
    UINT x0, y0, x1, y1;
    clip(info, x0, y0, x1, y1);
    for (UINT y = y0; y < y1; ++y) {
        for (UINT x = x0; x < x1; ++x) {
            const std::uint32_t p = pixels[(y - info.top) * info.width + (x - info.left)];
            if (p >> 24) canvas_[y * screenWidth_ + x] = p | 0xFF000000u;  // transparent pixels leave what lies under
        }
    }
    frame_ = static_cast<int>(index);
    shown_ = info;
    return true;
}

void AnimatedGif::Advance() {
    if (!playing_ || !decoder_) return;
    // The clock pauses while the control is not visible: the frame stays where it was.
    if (!IsWindowVisible(hwnd_)) return;
    UINT next = static_cast<UINT>(frame_ + 1);
    if (next >= frames_) {
        // The end of one play: loop count none plays once, 0 forever, n repeats n times.
        const bool again = loopCount_ == 0 || (loopCount_ > 0 && loopsDone_ < loopCount_);
        if (!again) {
            playing_ = false;
            finished_ = true;
            KillTimer(hwnd_, ClockId);
            return;
        }
        ++loopsDone_;
        next = 0;
    }
    if (!Compose(next)) {
        Stop();
        return;
    }
    Arm(shown_.delayMs);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void AnimatedGif::Paint(HDC dc) const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    const COLORREF back = ToColorRefOr(state_.BackColor, GetSysColor(COLOR_BTNFACE));
    if (!decoder_ || canvas_.empty()) {
        UniqueBrush brush(CreateSolidBrush(back));
        FillRect(dc, &r, brush.get());
        UniqueFont font = state_.Font.Create();
        ScopedSelect selected(dc, font.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ToColorRefOr(state_.ForeColor, GetSysColor(COLOR_BTNTEXT)));
        DrawTextA(dc, state_.Text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        return;
    }
    // The canvas over the back colour, then one stretch to the window.
    std::vector<std::uint32_t> shown(canvas_.size());
    const std::uint32_t backBgra = (GetRValue(back) << 16) | (GetGValue(back) << 8) | GetBValue(back);
    for (size_t i = 0; i < canvas_.size(); ++i) shown[i] = (canvas_[i] >> 24) ? (canvas_[i] & 0xFFFFFFu) : backBgra;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(screenWidth_), -static_cast<LONG>(screenHeight_), 1,
                      32, BI_RGB, 0, 0, 0, 0, 0};
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, r.right, r.bottom, 0, 0, static_cast<int>(screenWidth_), static_cast<int>(screenHeight_),
                  shown.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

bool AnimatedGif::HandleMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_TIMER:
        if (wParam != ClockId) return false;
        Advance();
        result = 0;
        return true;
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT: {
        ScopedPaint paint(hwnd_);
        Paint(paint.get());
        result = 0;
        return true;
    }
    default: return false;
    }
}

}  // namespace forms
