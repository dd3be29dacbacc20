#include "platform/forms/Timer.h"

#include "platform/forms/EventErrorBoundary.h"
#include "platform/forms/FormSite.h"
#include "platform/runtime/RuntimeError.h"

namespace forms {
namespace {
UINT_PTR NextTimerId() {
    static UINT_PTR next = 0x5100;
    return next++;
}
}  // namespace

float TimerSeconds() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return static_cast<float>(t.wHour * 3600 + t.wMinute * 60 + t.wSecond) + static_cast<float>(t.wMilliseconds) / 1000.0f;
}

Timer::Timer(Form& form, std::string name, Design design, int index)
    : form_(form), name_(std::move(name)), index_(index), design_(design), state_(design), id_(NextTimerId()) {
    FormSite::Register(form_, *this);
}

Timer::~Timer() {
    Disarm();
    FormSite::Unregister(form_, *this);
}

void Timer::ResetFromDesign() {
    state_ = design_;
    armed_ = false;
}

int Timer::Interval() const {
    FormSite::EnsureLoaded(form_);
    return state_.Interval;
}

void Timer::SetInterval(int ms) {
    FormSite::EnsureLoaded(form_);
    if (ms < 0 || ms > 65535) throw RuntimeError(err::InvalidPropertyValue);
    state_.Interval = ms;
    Arm();
}

bool Timer::Enabled() const {
    FormSite::EnsureLoaded(form_);
    return state_.Enabled;
}

void Timer::SetEnabled(bool on) {
    FormSite::EnsureLoaded(form_);
    state_.Enabled = on;
    Arm();
}

void Timer::Arm() {
    const HWND hwnd = form_.ClientWindow();
    if (!hwnd) return;
    if (state_.Enabled && state_.Interval > 0) {
        SetTimer(hwnd, id_, static_cast<UINT>(state_.Interval), nullptr);  // restarts the count
        armed_ = true;
    } else {
        Disarm();
    }
}

void Timer::Disarm() {
    if (armed_) {
        if (const HWND hwnd = form_.ClientWindow()) KillTimer(hwnd, id_);
    }
    armed_ = false;
}

void Timer::Fire() {
    if (running_ || !armed_ || !Tick) return;
    running_ = true;
    Guarded([this] { Tick(); });
    running_ = false;
}

}  // namespace forms
