#pragma once
// A timer control over SetTimer on its form's window: fires Tick every Interval ms while Enabled and the
// form is loaded (also while the form is hidden, and under message boxes and modal forms, whose loops
// dispatch it). Setting Enabled True or changing Interval restarts the count; Unload stops it. A tick that
// comes while the previous Tick handler still runs (it showed a message box) is skipped.

#include <functional>
#include <string>

#include <windows.h>

namespace forms {

class Form;

// Seconds since local midnight, with the fraction (the value that seeds random numbers).
float TimerSeconds();

struct TimerDesign {
    int Interval = 0;  // ms; 0 = never fires
    bool Enabled = true;
};

class Timer {
public:
    using Design = TimerDesign;
    using Blueprint = Design;

    Timer(Form& form, std::string name, Design design = {}, int index = -1);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& Name() const noexcept { return name_; }
    int Index() const noexcept { return index_; }
    int Interval() const;
    // 0..65535, else error 380.
    void SetInterval(int ms);
    bool Enabled() const;
    void SetEnabled(bool on);
    std::string Tag;

    std::function<void()> Tick;

    // ---- for the runtime ----
    void ResetFromDesign();
    void Arm();
    void Disarm();
    void Fire();
    UINT_PTR Id() const noexcept { return id_; }

private:
    Form& form_;
    const std::string name_;
    const int index_;
    const Design design_;
    Design state_;
    UINT_PTR id_;
    bool armed_ = false;
    bool running_ = false;
};

}  // namespace forms
