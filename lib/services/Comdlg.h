#pragma once
// The common dialogs behind one call each: arguments in, the user's choices back in the same record.
// Every dialog is modal to its owner and runs on the caller's thread; none installs a hook.

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace services {

class Comdlg {
public:
    // What the open and save dialogs share.
    struct FileDialogArgs {
        std::string fileName;
        std::string fileTitle;
        std::string filter = "All (*.*)| *.*";
        std::int32_t filterIndex = 1;
        std::string initDir;
        std::string dlgTitle;
        std::string defaultExt;
        std::int32_t owner = -1;
        std::int32_t flags = 0;
    };
    struct OpenFileArgs : FileDialogArgs {
        bool fileMustExist = true;
        bool multiSelect = false;
        bool readOnly = false;
        bool hideReadOnly = false;
    };
    struct SaveFileArgs : FileDialogArgs {
        bool overWritePrompt = true;
    };
    struct ColorArgs {
        std::int32_t color = 0;
        bool anyColor = true;
        bool fullOpen = false;
        bool disableFullOpen = false;
        std::int32_t owner = -1;
        std::int32_t flags = 0;
    };
    // The members of a font object the dialog reads and sets.
    struct FontValues {
        std::string name;
        double size = 0;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strikethrough = false;
        std::int16_t weight = 400;
    };
    struct FontOptions {
        std::int32_t printerDC = -1;
        std::int32_t owner = -1;
        std::int32_t color = 0;
        std::int32_t minSize = 0;
        std::int32_t maxSize = 0;
        std::int32_t flags = 0;
    };
    struct FontArgs : FontOptions {
        FontValues font;
    };
    // What a printer object is given from the printer mode record.
    struct PrinterSettings {
        std::int16_t copies = 0;
        std::int16_t orientation = 0;
        std::int16_t paperSize = 0;
        std::int16_t printQuality = 0;
        bool collate = false;
    };
    enum PrintRange : std::int32_t { eprAll = 0, eprPageNumbers = 1, eprSelection = 2 };
    struct PrintArgs {
        std::int32_t hDC = 0;
        std::int32_t printRange = eprAll;
        bool disablePageNumbers = false;
        std::int32_t fromPage = 1;
        std::int32_t toPage = -1;
        bool disableSelection = false;
        std::int16_t copies = 0;
        bool showPrintToFile = false;
        bool disablePrintToFile = true;
        bool printToFile = false;
        bool collate = false;
        bool preventWarning = false;
        std::int32_t owner = 0;
        std::int32_t flags = 0;
        std::optional<PrinterSettings> printer;  // set when the dialog confirmed
    };
    struct PageSetupArgs {
        std::int32_t owner = 0;
        bool disableMargins = false;
        bool disableOrientation = false;
        bool disablePaper = false;
        bool disablePrinter = false;
        std::int32_t leftMargin = 0, minLeftMargin = 0, rightMargin = 0, minRightMargin = 0;
        std::int32_t topMargin = 0, minTopMargin = 0, bottomMargin = 0, minBottomMargin = 0;
        std::int32_t paperSize = 1;
        std::int32_t orientation = 1;
        std::int32_t printQuality = -1;
        std::int32_t units = 0;  // 0 inches, 1 millimetres
        std::int32_t flags = 0;
        std::optional<PrinterSettings> printer;  // set when the dialog confirmed
    };

    std::int32_t APIReturn() const noexcept { return apiReturn_; }
    std::int32_t ExtendedError() const noexcept { return extendedError_; }

    bool VBGetOpenFileName(OpenFileArgs& a);
    bool VBGetSaveFileName(SaveFileArgs& a);
    static std::string VBGetFileTitle(const std::string& file);
    bool VBChooseColor(ColorArgs& a);
    std::int32_t CustomColor(std::int32_t index);
    void SetCustomColor(std::int32_t index, std::int32_t color);
    bool VBChooseFont(FontArgs& a);
    bool VBPrintDlg(PrintArgs& a);
    bool VBPageSetupDlg(PageSetupArgs& a);

    // The records' computations, on their own.
    // "|" and ":" separate the elements; an element without its pattern uses the description as pattern.
    static std::string ConvertFilter(const std::string& filter);
    // The chosen pair (description, NUL, pattern) of a converted filter; empty when index names none.
    static std::string FilterPair(const std::string& converted, std::int32_t index);
    static DWORD OpenFlags(const OpenFileArgs& a);
    static DWORD SaveFlags(const SaveFileArgs& a);
    static DWORD ColorFlags(const ColorArgs& a);
    // flags after the printer-DC rule (printerGiven: a PrinterDC other than -1 was passed).
    static DWORD FontFlags(std::int32_t flags, bool printerGiven, std::int32_t color, std::int32_t minSize,
                           std::int32_t maxSize);
    static LOGFONTA LogFontOf(const FontValues& font, std::int32_t twipsPerPixelY);
    static DWORD PrintFlags(const PrintArgs& a);
    static DWORD PageSetupFlags(const PageSetupArgs& a);
    // Margins in whole inches (units 0) or millimetres (1) to and from the dialog's thousandths of an inch
    // or hundredths of a millimetre; back rounded half to even. Overflow beyond 32 bits is error 6.
    static std::int32_t MarginToDialog(std::int32_t margin, std::int32_t units);
    static std::int32_t MarginFromDialog(LONG value, std::int32_t units);

private:
    // Shows the open (save false) or save dialog; on both outcomes the record holds what the caller gets.
    bool RunFileDialog(FileDialogArgs& a, DWORD flags, bool save);
    void Begin() noexcept;
    void Finish(BOOL result) noexcept;
    void KeepPrinterMode(HGLOBAL devMode);
    PrinterSettings SettingsOfPrinterMode() const;
    void EnsureCustomColors();

    std::int32_t apiReturn_ = 0;
    std::int32_t extendedError_ = 0;
    std::optional<std::array<COLORREF, 16>> customColors_;
    std::array<unsigned char, 122> printerMode_{};
};

}  // namespace services
