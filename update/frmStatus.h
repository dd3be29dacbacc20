#pragma once
// The form-post window: posts the web-site submission to the maker's form-mail script and tells the wizard
// how it went through Fail, Canc and success. Each display ends by hiding the window; it stays loaded, its
// flags and transfer object included, for the whole run.

#include "platform/forms/Form.h"
#include "platform/forms/Timer.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/controls/Label.h"
#include "update/ProgressBar.h"
#include "update/clsInternet.h"

#include <memory>
#include <optional>
#include <string>

class frmStatus : public forms::Form {
public:
    frmStatus();

    forms::Label Label1{*this, "Label1", {120, 120, 855, 255}, {.Caption = "Status:"}};
    forms::Label Label2{*this, "Label2", {1080, 120, 3255, 255}, {.UseMnemonic = false}};
    update::ProgressBar ProgressBar1{*this, "ProgressBar1", {120, 480, 4215, 255}, {.Min = 1}};
    forms::CommandButton cmdCancel{*this, "cmdCancel", {3120, 900, 1215, 375}, {.Caption = "Cancel"}};
    forms::Timer Timer1{*this, "Timer1", {.Interval = 5000, .Enabled = false}};
    forms::Timer Timer2{*this, "Timer2", {.Interval = 1000, .Enabled = false}};

    bool Fail = false;
    bool Canc = false;
    bool success = false;
    // Cleared (to no value) when the transfer reports its completion; nothing reads it.
    std::optional<std::string> DownloadedData;

    void SendFormData(const std::string& FormData);
    // Shows the window modally for one post. Activate posts the wizard's data; when this window was the
    // last one active (a retry straight after a failure) Activate does not run again, so the post is also
    // asked for once the display runs. Whichever comes first sends it: the other finds Sendform cleared.
    void Display(forms::Form& owner);

    // Handlers, public so tests can drive the timers directly.
    void Form_Initialize() override;
    void Form_Activate() override;
    void cmdCancel_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void Net_Status(const std::string& Mssage, std::int32_t Length);
    void Net_Downloaded();
    void Net_Disconnected();
    void Net_Error(std::int32_t ErrorNumber, const std::string& ErrInf);

    update::clsInternet& Net() { return *net_; }
    int TickCount() const { return tickCount_; }
    // The form-mail script's address.
    static std::string FormMailAddress();

private:
    // Every ending hides the window, and the cancel confirmation's timer stops with it.
    void HideWindow();

    std::unique_ptr<update::clsInternet> net_;
    std::string keptFormData_;
    int tickCount_ = 0;
    // One ending per post: set by the first of success, failure, cancel or give-up; nothing else is shown
    // after it.
    bool ended_ = false;
    // The transfer completed without an error (its Downloaded): only then is a Disconnected its end.
    bool completed_ = false;
};
