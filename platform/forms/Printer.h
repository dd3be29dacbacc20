#pragma once
// The default printer, as the printing code and the print dialogs reach it. Copies, Orientation,
// PaperSize and PrintQuality are kept by the object (the print and page-setup dialogs write them by name
// through GetDispatch, each error ignored) and go to the printer when a page starts. The page members work
// on the default printer's printable area; without a printer (as under Wine here) they raise 482.

#include "platform/forms/IPrinter.h"
#include "platform/runtime/OwnedHandles.h"

#include <oaidl.h>
#include <wrl/client.h>

namespace forms {

class Printer final : public IPrinter {
public:
    // The runtime's one printer object.
    static Printer& Default();

    // 1 or more, else 380.
    int Copies() const noexcept { return copies_; }
    void SetCopies(int value);
    // orientation::Portrait or Landscape, else 380.
    int Orientation() const override { return orientation_; }
    void SetOrientation(int value) override;
    // The system's paper and quality codes (DMPAPER_*, DMRES_* or dots per inch).
    int PaperSize() const noexcept { return paperSize_; }
    void SetPaperSize(int value);
    int PrintQuality() const noexcept { return printQuality_; }
    void SetPrintQuality(int value);

    ScaleMode GetScaleMode() const override;
    // User is no scale a printer has (380).
    void SetScaleMode(ScaleMode mode);
    float ScaleWidth() const override;
    float ScaleHeight() const override;
    float ScaleX(float value, ScaleMode from, std::optional<ScaleMode> to = {}) const override;
    float ScaleY(float value, ScaleMode from, std::optional<ScaleMode> to = {}) const override;
    // Starts the document and its page with the first picture.
    void PaintPicture(const StdPicture& picture, float x, float y, std::optional<float> width = {},
                      std::optional<float> height = {}) override;
    // Ends the page and the document: the job goes to the printer.
    void EndDoc() override;

    // The four dialog-written properties by name, for late-bound callers.
    Microsoft::WRL::ComPtr<IDispatch> GetDispatch();

private:
    Printer() = default;
    // The printer's device context with the current settings; 482 without a default printer.
    HDC Device() const;
    float Convert(float value, ScaleMode from, ScaleMode to, Axis axis) const;
    void SettingsChanged() noexcept;

    int copies_ = 1;
    int orientation_ = orientation::Portrait;
    int paperSize_ = 1;      // letter
    int printQuality_ = -4;  // high
    ScaleMode scaleMode_ = ScaleMode::Twips;
    mutable UniqueDC dc_;
    bool inDoc_ = false;
};

}  // namespace forms
