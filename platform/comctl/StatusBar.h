#pragma once
// A status bar (msctls_statusbar32) of keyed text panels. It keeps to the bottom edge of its form at full
// width whatever its design extent says (the form tells it when its client area changes), with a size grip
// on a sizable form. Spring panels share what the fixed panels leave, each never below its minimum (or,
// for a panel that fits its text, its text's width); a hidden panel takes no room.
//
// Member numbers: 0x60030018 AddPanel, 0x60030019 RemovePanel, 0x68030011 PanelText, 0x68030007
// SetPanelWidth.

#include "platform/comctl/KeyedItems.h"
#include "platform/forms/DesignedControl.h"

#include <string>
#include <vector>

namespace forms {

struct StatusBarDesign {
    FontSpec Font;
};

class StatusBar : public DesignedControl<WindowedControl, StatusBarDesign> {
public:
    using DesignedControl::DesignedControl;

    // 0x60030018. position: 1-based place, 0 at the end (beyond raises 5); width in pixels, -1 the minimum;
    // style 0 (text) only, else 380, as are negative widths; a key already there raises 35602.
    void AddPanel(int position, const std::string& text, const std::string& toolTip, int width, int minWidth,
                  bool spring, bool visible, int style, const std::string& key);
    // 0x60030019; 35601 for an unknown key, as for the members below.
    void RemovePanel(const std::string& key);
    // 0x68030011. "&" shows as written.
    std::string PanelText(const std::string& key) const;
    void SetPanelText(const std::string& key, const std::string& text);
    // 0x68030007: a fixed panel's width or a spring panel's minimum, in pixels; negative raises 380.
    void SetPanelWidth(const std::string& key, int pixels);
    int PanelCount() const;
    // Whether the panel shares the room the fixed panels leave; whether it is never narrower than its text.
    void SetPanelSpring(const std::string& key, bool on);
    void SetPanelFitsText(const std::string& key, bool on);

    // Holds the window's side of the panel changes for a scope: the object takes each change at once (reads
    // see it), the window gets them all at the end and is drawn once, not once per text and width.
    class Batch {
    public:
        explicit Batch(StatusBar& bar) noexcept : bar_(bar) { ++bar_.batches_; }
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        StatusBar& bar_;
    };

    // ---- for the runtime ----
    void ResetFromDesign() override;
    // Back to the bottom edge of the container, panels laid out again.
    void Dock();
    void FormSized() override { Dock(); }

protected:
    const char* WindowClass() const override;
    DWORD WindowStyle() const override;
    const FontSpec* Font() const override { return &state_.Font; }
    void AfterCreate() override;
    void ApplyGeometry(const RECT& before) override;

private:
    struct Panel {
        std::string Key;
        std::string Text;
        std::string ToolTip;
        int Width = -1;
        int MinWidth = 0;
        bool Spring = false;
        bool Visible = true;
        bool FitsText = false;
    };
    // The part width that shows the panel's whole text with the bar's font.
    int TextWidth(const Panel& panel, bool last) const;
    // The window's parts for the visible panels, and their texts and tips (in a batch, at its end).
    void ApplyPanels();
    void SendPanels();
    // Part i's text and tip, sent only where the window holds others.
    void ApplyPart(std::size_t i, const std::string& text, const std::string& toolTip);

    KeyedItems<Panel> panels_;
    bool docking_ = false;
    int batches_ = 0;
    bool batched_ = false;  // a change waits for the end of the batches
    // What the window holds: a burst of panel changes while a picture loads sends the bar only what differs,
    // so it neither lays out nor repaints parts that stay as they are.
    std::vector<int> shownEdges_;
    std::vector<std::string> shownTexts_, shownTips_;
};

}  // namespace forms
