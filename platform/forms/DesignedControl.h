#pragma once
// The part every control class shares: its own design values D (kept for the next load) and their current
// state, reset at each load. CaptionedControl adds what the button-like controls share: a caption, a font
// and colours (D has Caption, Font, BackColor, ForeColor).

#include "platform/forms/ControlArray.h"
#include "platform/forms/WindowedControl.h"

namespace forms {

template <class Base, class D>
class DesignedControl : public Base {
public:
    using Design = D;
    using Blueprint = ControlBlueprint<D>;
    DesignedControl(Container& parent, std::string name, Extent at, D own = {}, Common common = {},
                    int index = NoIndex)
        : Base(parent, std::move(name), at, std::move(common), index), design_(std::move(own)), state_(design_) {}

    void ResetFromDesign() override {
        Base::ResetFromDesign();
        state_ = design_;
    }

protected:
    const D design_;
    D state_;
};

template <class D>
class CaptionedControl : public DesignedControl<WindowedControl, D> {
    using Designed = DesignedControl<WindowedControl, D>;

public:
    using Designed::Designed;

    std::string Caption() const {
        this->Touch();
        return this->state_.Caption;
    }
    void SetCaption(const std::string& caption) {
        this->Touch();
        this->state_.Caption = caption;
        this->SetWindowTextNow(caption);
    }

    // A caption, a value and a style are all kept here and given to the window when it is made.
    bool KeepsStateWithoutWindow() const override { return true; }
    char AccessKey() const override { return Control::AccessKeyOf(this->state_.Caption); }
    // Chosen as by a click on it.
    void OnAccessKey() override {
        if (!this->hwnd_) return;
        if (this->CanTakeFocus()) ::SetFocus(this->hwnd_);
        if (this->hwnd_) this->OnCommand(BN_CLICKED);
    }

protected:
    std::string InitialText() const override { return this->state_.Caption; }
    const FontSpec* Font() const override { return &this->state_.Font; }
    bool Colors(COLORREF& back, COLORREF& fore) const override {
        back = ToColorRefOr(this->state_.BackColor, GetSysColor(COLOR_BTNFACE));
        fore = ToColorRefOr(this->state_.ForeColor, GetSysColor(COLOR_BTNTEXT));
        return true;
    }
};

}  // namespace forms
