#include "lib/services/Comdlg.h"

#include <commdlg.h>
#include <cderr.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/ScreenUnits.h"

namespace services {

namespace {

constexpr size_t FileBufferSize = 260;
constexpr DWORD HookAndTemplateFlags = OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;  // 32 and 64

HWND OwnerOf(std::int32_t owner) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(owner)); }
// Open, save, colour and font dialogs: -1 means no owner.
HWND OptionalOwner(std::int32_t owner) { return owner == -1 ? nullptr : OwnerOf(owner); }

std::vector<char> PaddedBuffer(const std::string& text) {
    std::vector<char> buffer(FileBufferSize, '\0');
    std::memcpy(buffer.data(), text.data(), std::min(text.size(), FileBufferSize - 1));
    return buffer;
}

std::string UpToNul(const char* text, size_t size) {
    size_t n = 0;
    while (n < size && text[n] != '\0') ++n;
    return std::string(text, n);
}

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

std::int32_t Times(std::int32_t value, std::int32_t factor) {
    const auto product = static_cast<std::int64_t>(value) * factor;
    if (product > std::numeric_limits<std::int32_t>::max() || product < std::numeric_limits<std::int32_t>::min())
        throw forms::RuntimeError(forms::err::Overflow);
    return static_cast<std::int32_t>(product);
}

WORD Page(std::int32_t value) {
    if (value > std::numeric_limits<std::int16_t>::max() || value < std::numeric_limits<std::int16_t>::min())
        throw forms::RuntimeError(forms::err::Overflow);
    return static_cast<WORD>(static_cast<std::int16_t>(value));
}

// The default printer's device context, or 0 when there is none (the caller owns it).
std::int32_t DefaultPrinterDC() {
    char name[512] = {};
    DWORD size = sizeof name;
    if (!GetDefaultPrinterA(name, &size)) return 0;
    return static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(CreateDCA(nullptr, name, nullptr, nullptr)));
}

class GlobalMemory {
public:
    explicit GlobalMemory(HGLOBAL h) noexcept : h_(h) {}
    ~GlobalMemory() {
        if (h_) GlobalFree(h_);
    }
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;
    HGLOBAL Get() const noexcept { return h_; }

private:
    HGLOBAL h_;
};

}  // namespace

void Comdlg::Begin() noexcept {
    apiReturn_ = 0;
    extendedError_ = 0;
}

void Comdlg::Finish(BOOL result) noexcept {
    apiReturn_ = result;
    if (!result) extendedError_ = static_cast<std::int32_t>(CommDlgExtendedError());
}

std::string Comdlg::ConvertFilter(const std::string& filter) {
    std::vector<std::string> elements;
    size_t start = 0;
    for (;;) {
        const size_t end = filter.find_first_of("|:", start);
        elements.push_back(filter.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    std::string converted;
    for (size_t i = 0; i < elements.size(); i += 2) {
        const std::string& description = elements[i];
        const bool hasPattern = i + 1 < elements.size();
        if (description.empty() && !hasPattern) break;  // a trailing separator
        const std::string& pattern = hasPattern ? elements[i + 1] : description;
        converted += description + '\0' + pattern + '\0';
    }
    return converted + '\0' + '\0';
}

std::string Comdlg::FilterPair(const std::string& converted, std::int32_t index) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < converted.size()) {
        const size_t end = converted.find('\0', start);
        if (end == start) break;
        parts.push_back(converted.substr(start, end - start));
        start = end + 1;
    }
    if (index < 1 || static_cast<size_t>(index) * 2 > parts.size()) return {};
    return parts[(index - 1) * 2] + '\0' + parts[(index - 1) * 2 + 1];
}

DWORD Comdlg::OpenFlags(const OpenFileArgs& a) {
    DWORD f = static_cast<DWORD>(a.flags) & ~HookAndTemplateFlags;
    if (a.fileMustExist) f |= OFN_FILEMUSTEXIST;
    if (a.multiSelect) f |= OFN_ALLOWMULTISELECT;
    if (a.readOnly) f |= OFN_READONLY;
    if (a.hideReadOnly) f |= OFN_HIDEREADONLY;
    return f;
}

DWORD Comdlg::SaveFlags(const SaveFileArgs& a) {
    DWORD f = (static_cast<DWORD>(a.flags) & ~HookAndTemplateFlags) | OFN_HIDEREADONLY;
    if (a.overWritePrompt) f |= OFN_OVERWRITEPROMPT;
    return f;
}

DWORD Comdlg::ColorFlags(const ColorArgs& a) {
    DWORD f = (a.anyColor ? CC_ANYCOLOR : CC_SOLIDCOLOR) | CC_RGBINIT;
    if (a.fullOpen) f |= CC_FULLOPEN;
    if (a.disableFullOpen) f |= CC_PREVENTFULLOPEN;
    return f & ~static_cast<DWORD>(CC_ENABLEHOOK | CC_ENABLETEMPLATE);
}

DWORD Comdlg::FontFlags(std::int32_t flags, bool printerGiven, std::int32_t color, std::int32_t minSize,
                        std::int32_t maxSize) {
    DWORD f = static_cast<DWORD>(flags);
    if (printerGiven) f |= CF_PRINTERFONTS;
    if (!(f & CF_PRINTERFONTS)) f |= CF_SCREENFONTS;
    if (color != 0) f |= CF_EFFECTS;
    if (minSize != 0 || maxSize != 0) f |= CF_LIMITSIZE;
    f &= ~static_cast<DWORD>(CF_ENABLEHOOK | CF_ENABLETEMPLATE | CF_APPLY);
    return f | CF_INITTOLOGFONTSTRUCT;
}

LOGFONTA Comdlg::LogFontOf(const FontValues& font, std::int32_t twipsPerPixelY) {
    LOGFONTA lf{};
    lf.lfHeight = -forms::CLng(font.size * 20 / twipsPerPixelY);
    lf.lfWeight = font.weight;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikethrough;
    // At most 31 bytes, so the field keeps its terminating NUL.
    std::memcpy(lf.lfFaceName, font.name.data(), std::min(font.name.size(), sizeof lf.lfFaceName - 1));
    return lf;
}

DWORD Comdlg::PrintFlags(const PrintArgs& a) {
    DWORD f = PD_USEDEVMODECOPIESANDCOLLATE | PD_RETURNDC;
    if (a.disablePrintToFile) f |= PD_DISABLEPRINTTOFILE;
    if (!a.showPrintToFile) f |= PD_HIDEPRINTTOFILE;
    if (a.disablePageNumbers) f |= PD_NOPAGENUMS;
    if (a.disableSelection) f |= PD_NOSELECTION;
    if (a.printToFile) f |= PD_PRINTTOFILE;
    if (a.preventWarning) f |= PD_NOWARNING;
    if (a.collate) f |= PD_COLLATE;
    if (a.printRange == eprPageNumbers) f |= PD_PAGENUMS;
    else if (a.printRange == eprSelection) f |= PD_SELECTION;
    return f;
}

DWORD Comdlg::PageSetupFlags(const PageSetupArgs& a) {
    DWORD f = PSD_MARGINS | PSD_MINMARGINS;
    if (a.disableMargins) f |= PSD_DISABLEMARGINS;
    if (a.disableOrientation) f |= PSD_DISABLEORIENTATION;
    if (a.disablePaper) f |= PSD_DISABLEPAPER;
    if (a.disablePrinter) f |= PSD_DISABLEPRINTER;
    f |= a.units == 1 ? PSD_INHUNDREDTHSOFMILLIMETERS : PSD_INTHOUSANDTHSOFINCHES;
    return f;
}

bool Comdlg::RunFileDialog(FileDialogArgs& a, DWORD flags, bool save) {
    Begin();
    std::string filter = ConvertFilter(a.filter);
    std::vector<char> file = PaddedBuffer(a.fileName);
    std::vector<char> title = PaddedBuffer(a.fileTitle);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = OptionalOwner(a.owner);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(a.filterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = FileBufferSize;
    ofn.lpstrFileTitle = title.data();
    ofn.nMaxFileTitle = FileBufferSize;
    ofn.lpstrInitialDir = OrNull(a.initDir);
    ofn.lpstrTitle = OrNull(a.dlgTitle);
    ofn.lpstrDefExt = OrNull(a.defaultExt);
    ofn.Flags = flags;
    const BOOL chosen = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    Finish(chosen);
    if (chosen) {
        a.fileName = UpToNul(file.data(), file.size());
        a.fileTitle = UpToNul(title.data(), title.size());
        a.flags = static_cast<std::int32_t>(ofn.Flags);
        a.filterIndex = static_cast<std::int32_t>(ofn.nFilterIndex);
        a.filter = FilterPair(filter, a.filterIndex);
        return true;
    }
    a.fileName.clear();
    a.fileTitle.clear();
    a.filter.clear();
    a.flags = 0;
    a.filterIndex = save ? 0 : -1;
    return false;
}

bool Comdlg::VBGetOpenFileName(OpenFileArgs& a) {
    const bool chosen = RunFileDialog(a, OpenFlags(a), false);
    if (chosen && (a.flags & OFN_READONLY)) a.readOnly = true;
    return chosen;
}

bool Comdlg::VBGetSaveFileName(SaveFileArgs& a) { return RunFileDialog(a, SaveFlags(a), true); }

std::string Comdlg::VBGetFileTitle(const std::string& file) {
    std::vector<char> buffer(FileBufferSize, '\0');
    if (GetFileTitleA(file.c_str(), buffer.data(), static_cast<WORD>(buffer.size())) != 0) return {};
    return UpToNul(buffer.data(), buffer.size());
}

void Comdlg::EnsureCustomColors() {
    if (customColors_) return;
    std::array<COLORREF, 16> colors{};
    for (int i = 0; i < 16; ++i) colors[static_cast<size_t>(i)] = GetSysColor(i);
    customColors_ = colors;
}

std::int32_t Comdlg::CustomColor(std::int32_t index) {
    EnsureCustomColors();
    if (index < 0 || index > 15) return -1;
    return static_cast<std::int32_t>((*customColors_)[static_cast<size_t>(index)]);
}

void Comdlg::SetCustomColor(std::int32_t index, std::int32_t color) {
    EnsureCustomColors();
    if (index < 0 || index > 15) return;
    (*customColors_)[static_cast<size_t>(index)] = static_cast<COLORREF>(color);
}

bool Comdlg::VBChooseColor(ColorArgs& a) {
    Begin();
    EnsureCustomColors();
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = OptionalOwner(a.owner);
    cc.rgbResult = static_cast<COLORREF>(a.color);
    cc.lpCustColors = customColors_->data();
    cc.Flags = ColorFlags(a);
    const BOOL chosen = ChooseColorA(&cc);
    Finish(chosen);
    a.color = chosen ? static_cast<std::int32_t>(cc.rgbResult) : -1;
    return chosen != FALSE;
}

bool Comdlg::VBChooseFont(FontArgs& a) {
    Begin();
    const bool printerGiven = a.printerDC != -1;
    if (!printerGiven) {
        a.printerDC = 0;
        if (a.flags & CF_PRINTERFONTS) a.printerDC = DefaultPrinterDC();
    }
    LOGFONTA lf = LogFontOf(a.font, forms::WholeTwipsPerPixel(forms::Axis::Y));
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = OptionalOwner(a.owner);
    cf.hDC = reinterpret_cast<HDC>(static_cast<LONG_PTR>(a.printerDC));
    cf.lpLogFont = &lf;
    cf.iPointSize = forms::CLng(a.font.size * 10);
    cf.Flags = FontFlags(a.flags, printerGiven, a.color, a.minSize, a.maxSize);
    cf.rgbColors = static_cast<COLORREF>(a.color);
    cf.nSizeMin = a.minSize;
    cf.nSizeMax = a.maxSize;
    const BOOL chosen = ChooseFontA(&cf);
    Finish(chosen);
    if (!chosen) return false;
    a.flags = static_cast<std::int32_t>(cf.Flags);
    a.color = static_cast<std::int32_t>(cf.rgbColors);
    a.font.bold = (cf.nFontType & BOLD_FONTTYPE) != 0;
    a.font.italic = lf.lfItalic != 0;
    a.font.strikethrough = lf.lfStrikeOut != 0;
    a.font.underline = lf.lfUnderline != 0;
    a.font.weight = static_cast<std::int16_t>(lf.lfWeight);
    a.font.size = cf.iPointSize / 10.0;
    a.font.name = UpToNul(lf.lfFaceName, sizeof lf.lfFaceName);
    return true;
}

void Comdlg::KeepPrinterMode(HGLOBAL devMode) {
    if (!devMode) return;
    const void* mode = GlobalLock(devMode);
    if (!mode) return;
    const size_t size = std::min(static_cast<size_t>(GlobalSize(devMode)), printerMode_.size());
    printerMode_.fill(0);
    std::memcpy(printerMode_.data(), mode, size);
    GlobalUnlock(devMode);
}

Comdlg::PrinterSettings Comdlg::SettingsOfPrinterMode() const {
    DEVMODEA mode{};
    std::memcpy(&mode, printerMode_.data(), std::min(sizeof mode, printerMode_.size()));
    PrinterSettings s;
    s.copies = mode.dmCopies;
    s.orientation = mode.dmOrientation;
    s.paperSize = mode.dmPaperSize;
    s.printQuality = mode.dmPrintQuality;
    s.collate = mode.dmCollate == 1;
    return s;
}

bool Comdlg::VBPrintDlg(PrintArgs& a) {
    Begin();
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = OwnerOf(a.owner);
    pd.Flags = PrintFlags(a);
    pd.nFromPage = Page(a.fromPage);
    pd.nToPage = Page(a.toPage);
    pd.nMinPage = 1;
    pd.nMaxPage = 0xFFFF;
    const BOOL chosen = PrintDlgA(&pd);
    const GlobalMemory devMode(pd.hDevMode);
    const GlobalMemory devNames(pd.hDevNames);
    Finish(chosen);
    if (!chosen) return false;
    a.hDC = static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(pd.hDC));
    a.printRange = (pd.Flags & PD_PAGENUMS) ? eprPageNumbers : (pd.Flags & PD_SELECTION) ? eprSelection : eprAll;
    a.fromPage = static_cast<std::int16_t>(pd.nFromPage);
    a.toPage = static_cast<std::int16_t>(pd.nToPage);
    a.printToFile = (pd.Flags & PD_PRINTTOFILE) != 0;
    KeepPrinterMode(devMode.Get());
    const PrinterSettings settings = SettingsOfPrinterMode();
    a.copies = settings.copies;
    a.collate = settings.collate;
    a.printer = settings;
    return true;
}

std::int32_t Comdlg::MarginToDialog(std::int32_t margin, std::int32_t units) {
    return Times(margin, units == 1 ? 100 : 1000);
}

std::int32_t Comdlg::MarginFromDialog(LONG value, std::int32_t units) {
    return forms::CLng(static_cast<double>(value) / (units == 1 ? 100 : 1000));
}

bool Comdlg::VBPageSetupDlg(PageSetupArgs& a) {
    Begin();
    const auto to = [&a](std::int32_t margin) { return MarginToDialog(margin, a.units); };
    PAGESETUPDLGA ps{};
    ps.lStructSize = sizeof ps;
    ps.hwndOwner = OwnerOf(a.owner);
    ps.Flags = PageSetupFlags(a);
    ps.rtMargin = {to(a.leftMargin), to(a.topMargin), to(a.rightMargin), to(a.bottomMargin)};
    ps.rtMinMargin = {to(a.minLeftMargin), to(a.minTopMargin), to(a.minRightMargin), to(a.minBottomMargin)};
    const BOOL chosen = PageSetupDlgA(&ps);
    const GlobalMemory devMode(ps.hDevMode);
    const GlobalMemory devNames(ps.hDevNames);
    // The dialog's result is kept like every other dialog's.
    Finish(chosen);
    if (!chosen) return false;
    const auto back = [&a](LONG value) { return MarginFromDialog(value, a.units); };
    a.leftMargin = back(ps.rtMargin.left);
    a.topMargin = back(ps.rtMargin.top);
    a.rightMargin = back(ps.rtMargin.right);
    a.bottomMargin = back(ps.rtMargin.bottom);
    a.minLeftMargin = back(ps.rtMinMargin.left);
    a.minTopMargin = back(ps.rtMinMargin.top);
    a.minRightMargin = back(ps.rtMinMargin.right);
    a.minBottomMargin = back(ps.rtMinMargin.bottom);
    KeepPrinterMode(devMode.Get());
    const PrinterSettings settings = SettingsOfPrinterMode();
    a.paperSize = settings.paperSize;
    a.orientation = settings.orientation;
    a.printQuality = settings.printQuality;
    a.printer = settings;
    return true;
}

}  // namespace services
