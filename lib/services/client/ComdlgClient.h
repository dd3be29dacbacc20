#pragma once
// Comdlg of orcmcls.dll through its dual interface; errors raise forms::RuntimeError. The argument
// records are the dialogs' own (lib/services/Comdlg.h): defaults as the interface has them, and the
// choices come back in the same record.

#include <oaidl.h>

#include <cstdint>
#include <string>

#include "Toolcraft.h"
#include "lib/comserver/ComPtr.h"
#include "lib/services/Comdlg.h"

namespace services::client {

class CommonDialogs {
public:
    using OpenFileArgs = services::Comdlg::OpenFileArgs;
    using SaveFileArgs = services::Comdlg::SaveFileArgs;
    using ColorArgs = services::Comdlg::ColorArgs;
    using PrintArgs = services::Comdlg::PrintArgs;
    using PageSetupArgs = services::Comdlg::PageSetupArgs;
    // The font itself is an automation font object.
    using FontArgs = services::Comdlg::FontOptions;

    // Creates the class by its identifier; error 429 when it cannot be created.
    static CommonDialogs Create();

    std::int32_t APIReturn() const;
    std::int32_t ExtendedError() const;
    bool VBGetOpenFileName(OpenFileArgs& a) const;
    bool VBGetSaveFileName(SaveFileArgs& a) const;
    std::string VBGetFileTitle(const std::string& file) const;
    bool VBChooseColor(ColorArgs& a) const;
    std::int32_t CustomColor(std::int16_t index) const;
    void SetCustomColor(std::int16_t index, std::int32_t color) const;
    bool VBChooseFont(IDispatch* curFont, FontArgs& a) const;
    bool VBPrintDlg(PrintArgs& a, IDispatch* printer = nullptr) const;
    bool VBPageSetupDlg(PageSetupArgs& a, IDispatch* printer = nullptr) const;

private:
    explicit CommonDialogs(comserver::ComPtr<_Comdlg> object) : object_(std::move(object)) {}
    comserver::ComPtr<_Comdlg> object_;
};

}  // namespace services::client
