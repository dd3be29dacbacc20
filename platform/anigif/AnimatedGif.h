#pragma once
// An animated picture: a child window that plays a GIF file with its own timer, decoded by the system's
// imaging codecs. Each tick composes the next frame onto a canvas of the file's logical screen (by the
// frame's offset, with transparency and the frame's disposal: leave, restore to background, restore
// previous) and draws the canvas with one stretch; frames are not kept, so a long file costs one canvas.
// Delays of 0 or 1 hundredths play at 100 ms, as browsers do. The looping extension's count holds: none
// plays once, 0 forever, n repeats n times; a finished animation stays on its last frame. The clock pauses
// while the control is not visible; a single frame shows without a timer.
//
// Member numbers: 5 BackColor, 6 Text, 19 AutoSize, 33 Clear, 12 Load, 10 Play, 11 Stop.

#include "platform/forms/DesignedControl.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>
#include <vector>

namespace forms {

struct AnimatedGifDesign {
    OleColor BackColor = color::ButtonFace;  // behind transparent pixels
    std::string Text;                         // shown while nothing is loaded
    bool AutoSize = false;                    // False: the frames scale to the window's size
    OleColor ForeColor = color::ButtonText;
    FontSpec Font;
};

class AnimatedGif : public DesignedControl<WindowedControl, AnimatedGifDesign> {
public:
    using DesignedControl::DesignedControl;
    ~AnimatedGif() override;

    OleColor BackColor() const;
    void SetBackColor(OleColor color);
    std::string Text() const;
    void SetText(const std::string& text);
    bool AutoSize() const;
    void SetAutoSize(bool on);

    // 53 when the file is missing, 481 when it is no picture the codecs read; the old picture stays.
    void Load(const std::string& path);
    void Clear();
    // From where it stopped; a finished animation starts again.
    void Play();
    void Stop();

    // For tests: the frame on the canvas (0-based, -1 none) and whether the clock runs.
    int CurrentFrame() const noexcept { return frame_; }
    bool Playing() const noexcept { return playing_; }

    ScaleMode EventScale() const override { return ScaleMode::Pixels; }

protected:
    const char* WindowClass() const override { return "STATIC"; }
    DWORD WindowStyle() const override { return SS_NOTIFY; }
    const FontSpec* Font() const override { return &state_.Font; }
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void AfterCreate() override;
    void ResetFromDesign() override;

private:
    struct FrameInfo {
        UINT left = 0, top = 0, width = 0, height = 0;
        int delayMs = 100;
        int disposal = 0;
    };
    bool ReadFrameInfo(UINT index, FrameInfo& info) const;
    bool Compose(UINT index);
    void Advance();
    void Arm(int ms);
    void Paint(HDC dc) const;
    void FitToPicture();
    // Back to nothing loaded, the clock stopped.
    void Forget();

    Microsoft::WRL::ComPtr<IWICImagingFactory> factory_;
    Microsoft::WRL::ComPtr<IWICBitmapDecoder> decoder_;
    UINT frames_ = 0;
    UINT screenWidth_ = 0, screenHeight_ = 0;
    int loopCount_ = -1;  // -1 no looping extension
    int loopsDone_ = 0;
    int frame_ = -1;
    FrameInfo shown_;                     // the frame on the canvas, whose disposal comes next
    std::vector<std::uint32_t> canvas_;   // BGRA, alpha 0 where the background shows
    std::vector<std::uint32_t> saved_;    // the canvas under a "restore previous" frame
    bool playing_ = false;
    bool finished_ = false;
};

}  // namespace forms
