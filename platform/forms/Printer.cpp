#include "platform/forms/Printer.h"

#include "platform/runtime/App.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"

#include <oleauto.h>
#include <winspool.h>

#include <cwchar>
#include <vector>

namespace forms {
namespace {

float TwipsPerUnit(ScaleMode mode, float dotsPerInch) {
    switch (mode) {
    case ScaleMode::User: case ScaleMode::Twips: return 1.0f;
    case ScaleMode::Points: return 20.0f;
    case ScaleMode::Pixels: return 1440.0f / dotsPerInch;
    case ScaleMode::Characters: return 120.0f;  // horizontal; vertical characters are 240 twips
    case ScaleMode::Inches: return 1440.0f;
    case ScaleMode::Millimeters: return 1440.0f / 25.4f;
    case ScaleMode::Centimeters: return 14400.0f / 25.4f;
    case ScaleMode::HiMetric: return 1440.0f / 2540.0f;
    }
    return 1.0f;
}

// The dispatch view: Copies, Orientation, PaperSize, PrintQuality by name, read and written.
class PrinterDispatch final : public IDispatch {
public:
    explicit PrinterDispatch(Printer& printer) : printer_(printer) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) noexcept override {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override {
        if (info) *info = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept override {
        if (!names || !ids) return E_POINTER;
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            for (DISPID n = 0; i == 0 && n < static_cast<DISPID>(std::size(Names)); ++n)
                if (_wcsicmp(names[0], Names[n]) == 0) ids[0] = n + 1;
            if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excep, UINT* argErr) noexcept override {
        if (id < 1 || id > static_cast<DISPID>(std::size(Names))) return DISP_E_MEMBERNOTFOUND;
        try {
            if (flags & DISPATCH_PROPERTYPUT) {
                if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
                VARIANT v;
                VariantInit(&v);
                if (FAILED(VariantChangeType(&v, &params->rgvarg[0], 0, VT_I4))) {
                    if (argErr) *argErr = 0;
                    return DISP_E_TYPEMISMATCH;
                }
                const int value = v.lVal;
                switch (id) {
                case 1: printer_.SetCopies(value); break;
                case 2: printer_.SetOrientation(value); break;
                case 3: printer_.SetPaperSize(value); break;
                default: printer_.SetPrintQuality(value); break;
                }
                return S_OK;
            }
            if (!(flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD))) return DISP_E_MEMBERNOTFOUND;
            if (!result) return S_OK;
            VariantInit(result);
            result->vt = VT_I2;
            result->iVal = static_cast<SHORT>(id == 1   ? printer_.Copies()
                                              : id == 2 ? printer_.Orientation()
                                              : id == 3 ? printer_.PaperSize()
                                                        : printer_.PrintQuality());
            return S_OK;
        } catch (const RuntimeError& e) {
            if (excep) {
                *excep = {};
                excep->scode = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, e.Number() & 0xFFFF);
                const std::wstring text = ToWide(e.Description());
                excep->bstrDescription = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
            }
            return DISP_E_EXCEPTION;
        }
    }

private:
    static constexpr const wchar_t* Names[] = {L"Copies", L"Orientation", L"PaperSize", L"PrintQuality"};
    Printer& printer_;
    ULONG refs_ = 1;
};

std::string DefaultPrinterName() {
    DWORD size = 0;
    GetDefaultPrinterA(nullptr, &size);
    if (size == 0) return {};
    std::string name(size, '\0');
    if (!GetDefaultPrinterA(name.data(), &size)) return {};
    name.resize(name.find('\0') == std::string::npos ? name.size() : name.find('\0'));
    return name;
}

}  // namespace

Printer& Printer::Default() {
    static Printer printer;
    return printer;
}

void Printer::SettingsChanged() noexcept {
    if (!inDoc_) dc_.reset();  // the next page opens the printer with them
}

void Printer::SetCopies(int value) {
    if (value < 1) throw RuntimeError(err::InvalidPropertyValue);
    copies_ = value;
    SettingsChanged();
}

void Printer::SetOrientation(int value) {
    if (value != orientation::Portrait && value != orientation::Landscape) throw RuntimeError(err::InvalidPropertyValue);
    orientation_ = value;
    SettingsChanged();
}

void Printer::SetPaperSize(int value) {
    if (value < 1) throw RuntimeError(err::InvalidPropertyValue);
    paperSize_ = value;
    SettingsChanged();
}

void Printer::SetPrintQuality(int value) {
    printQuality_ = value;
    SettingsChanged();
}

HDC Printer::Device() const {
    if (dc_) return dc_.get();
    const std::string name = DefaultPrinterName();
    if (name.empty()) throw RuntimeError(err::PrinterError);
    HANDLE printer = nullptr;
    std::vector<BYTE> mode;
    if (OpenPrinterA(const_cast<char*>(name.c_str()), &printer, nullptr)) {
        const LONG size = DocumentPropertiesA(nullptr, printer, const_cast<char*>(name.c_str()), nullptr, nullptr, 0);
        if (size > 0) {
            mode.resize(static_cast<size_t>(size));
            auto* dm = reinterpret_cast<DEVMODEA*>(mode.data());
            if (DocumentPropertiesA(nullptr, printer, const_cast<char*>(name.c_str()), dm, nullptr, DM_OUT_BUFFER) == IDOK) {
                dm->dmFields |= DM_COPIES | DM_ORIENTATION | DM_PAPERSIZE | DM_PRINTQUALITY;
                dm->dmCopies = static_cast<short>(copies_);
                dm->dmOrientation = static_cast<short>(orientation_);
                dm->dmPaperSize = static_cast<short>(paperSize_);
                dm->dmPrintQuality = static_cast<short>(printQuality_);
                DocumentPropertiesA(nullptr, printer, const_cast<char*>(name.c_str()), dm, dm, DM_IN_BUFFER | DM_OUT_BUFFER);
            } else {
                mode.clear();
            }
        }
        ClosePrinter(printer);
    }
    dc_.reset(CreateDCA("WINSPOOL", name.c_str(), nullptr,
                        mode.empty() ? nullptr : reinterpret_cast<const DEVMODEA*>(mode.data())));
    if (!dc_) throw RuntimeError(err::PrinterError);
    return dc_.get();
}

ScaleMode Printer::GetScaleMode() const {
    Device();
    return scaleMode_;
}

void Printer::SetScaleMode(ScaleMode mode) {
    Device();
    if (mode == ScaleMode::User) throw RuntimeError(err::InvalidPropertyValue);
    scaleMode_ = mode;
}

float Printer::Convert(float value, ScaleMode from, ScaleMode to, Axis axis) const {
    const HDC dc = Device();
    const auto dpi = static_cast<float>(GetDeviceCaps(dc, axis == Axis::X ? LOGPIXELSX : LOGPIXELSY));
    float twips = value * TwipsPerUnit(from, dpi);
    float per = TwipsPerUnit(to, dpi);
    if (axis == Axis::Y) {  // a character is 240 twips high
        if (from == ScaleMode::Characters) twips *= 2.0f;
        if (to == ScaleMode::Characters) per *= 2.0f;
    }
    return twips / per;
}

float Printer::ScaleWidth() const {
    const auto pixels = static_cast<float>(GetDeviceCaps(Device(), HORZRES));
    return Convert(pixels, ScaleMode::Pixels, scaleMode_, Axis::X);
}

float Printer::ScaleHeight() const {
    const auto pixels = static_cast<float>(GetDeviceCaps(Device(), VERTRES));
    return Convert(pixels, ScaleMode::Pixels, scaleMode_, Axis::Y);
}

float Printer::ScaleX(float value, ScaleMode from, std::optional<ScaleMode> to) const {
    return Convert(value, from, to.value_or(scaleMode_), Axis::X);
}

float Printer::ScaleY(float value, ScaleMode from, std::optional<ScaleMode> to) const {
    return Convert(value, from, to.value_or(scaleMode_), Axis::Y);
}

void Printer::PaintPicture(const StdPicture& picture, float x, float y, std::optional<float> width,
                           std::optional<float> height) {
    const HDC dc = Device();
    const float w = width.value_or(ScaleX(static_cast<float>(picture.Width()), ScaleMode::HiMetric));
    const float h = height.value_or(ScaleY(static_cast<float>(picture.Height()), ScaleMode::HiMetric));
    if (!inDoc_) {
        const std::string title = App::Title();
        DOCINFOA doc{sizeof doc, title.c_str(), nullptr, nullptr, 0};
        if (StartDocA(dc, &doc) <= 0 || StartPage(dc) <= 0) throw RuntimeError(err::PrinterError);
        inDoc_ = true;
    }
    const auto px = [&](float v, Axis axis) { return static_cast<int>(Convert(v, scaleMode_, ScaleMode::Pixels, axis) + 0.5f); };
    picture.Render(dc, px(x, Axis::X), px(y, Axis::Y), px(w, Axis::X), px(h, Axis::Y));
}

void Printer::EndDoc() {
    const HDC dc = Device();
    if (!inDoc_) return;
    inDoc_ = false;
    const bool ended = EndPage(dc) > 0 && ::EndDoc(dc) > 0;
    dc_.reset();
    if (!ended) throw RuntimeError(err::PrinterError);
}

Microsoft::WRL::ComPtr<IDispatch> Printer::GetDispatch() {
    Microsoft::WRL::ComPtr<IDispatch> out;
    out.Attach(new PrinterDispatch(*this));
    return out;
}

}  // namespace forms
