#include "lib/services/server/ComdlgObject.h"

#include <olectl.h>

#include "lib/comserver/Arguments.h"
#include "lib/comserver/LateBound.h"

namespace services {

using namespace comserver;

namespace {

constexpr const char* DefaultFilter = "All (*.*)| *.*";

// Filter is a Variant so that an absent one can take the default the type library cannot hold.
std::string FilterOf(VARIANT* filter) {
    if (IsMissing(filter)) return DefaultFilter;
    return Variant::CopyOf(*filter).ToText();
}

void SetFilter(VARIANT* filter, const std::string& value) {
    if (!filter) return;
    VARIANT* target = V_VT(filter) == (VT_VARIANT | VT_BYREF) ? V_VARIANTREF(filter) : filter;
    if (V_VT(target) == (VT_BSTR | VT_BYREF)) {
        AssignBstr(V_BSTRREF(target), value);
        return;
    }
    Variant fresh(value);
    VariantClear(target);
    fresh.DetachTo(target);
}

// Sets one member of the printer object; a printer that refuses it is passed over.
void PutPrinterMember(const LateBound& printer, const char* name, std::int16_t value) {
    try {
        printer.Put(name, Variant(static_cast<std::int32_t>(value)));
    } catch (const forms::RuntimeError&) {
        // Errors ignored, as for every member of the printer object.
    }
}

void UpdatePrinter(VARIANT* printer, const Comdlg::PrinterSettings& settings) {
    if (!printer || IsMissing(printer)) return;
    const Variant value = Variant::CopyOf(*printer);
    if (!value.IsObject()) return;
    const LateBound object(value.ToObject());
    PutPrinterMember(object, "Copies", settings.copies);
    PutPrinterMember(object, "Orientation", settings.orientation);
    PutPrinterMember(object, "PaperSize", settings.paperSize);
    PutPrinterMember(object, "PrintQuality", settings.printQuality);
}

}  // namespace

HRESULT ComdlgObject::DialogHook(LONG*, LONG*, LONG*, LONG*, VARIANT* result) noexcept {
    return Guard([&] { ReturnEmpty(result); });
}

HRESULT ComdlgObject::get_APIReturn(LONG* result) noexcept {
    return Guard([&] { Ref(result) = dialogs_.APIReturn(); });
}

HRESULT ComdlgObject::get_ExtendedError(LONG* result) noexcept {
    return Guard([&] { Ref(result) = dialogs_.ExtendedError(); });
}

namespace {

// The arguments the open and save dialogs share, and what they give back.
struct FileDialogSlots {
    BSTR* fileName;
    BSTR* fileTitle;
    VARIANT* filter;
    LONG* filterIndex;
    BSTR* initDir;
    BSTR* dlgTitle;
    BSTR* defaultExt;
    LONG* owner;
    LONG* flags;

    void Read(Comdlg::FileDialogArgs& a) const {
        a.fileName = TextOf(fileName);
        a.fileTitle = TextOf(fileTitle);
        a.filter = FilterOf(filter);
        a.filterIndex = Ref(filterIndex);
        a.initDir = TextOf(initDir);
        a.dlgTitle = TextOf(dlgTitle);
        a.defaultExt = TextOf(defaultExt);
        a.owner = Ref(owner);
        a.flags = Ref(flags);
    }
    void Write(const Comdlg::FileDialogArgs& a) const {
        SetText(fileName, a.fileName);
        SetText(fileTitle, a.fileTitle);
        SetFilter(filter, a.filter);
        *filterIndex = a.filterIndex;
        *flags = a.flags;
    }
};

}  // namespace

HRESULT ComdlgObject::VBGetOpenFileName(BSTR* FileName, BSTR* Filetitle, VARIANT_BOOL* FileMustExist,
                                        VARIANT_BOOL* MultiSelect, VARIANT_BOOL* ReadOnly, VARIANT_BOOL* HideReadOnly,
                                        VARIANT* Filter, LONG* FilterIndex, BSTR* InitDir, BSTR* DlgTitle,
                                        BSTR* DefaultExt, LONG* Owner, LONG* flags, VARIANT_BOOL* result) noexcept {
    return Guard([&] {
        const FileDialogSlots slots{FileName, Filetitle, Filter, FilterIndex, InitDir, DlgTitle, DefaultExt, Owner,
                                    flags};
        Comdlg::OpenFileArgs a;
        slots.Read(a);
        a.fileMustExist = BoolOf(FileMustExist);
        a.multiSelect = BoolOf(MultiSelect);
        a.readOnly = BoolOf(ReadOnly);
        a.hideReadOnly = BoolOf(HideReadOnly);
        const bool chosen = dialogs_.VBGetOpenFileName(a);
        slots.Write(a);
        if (chosen) SetBool(ReadOnly, a.readOnly);
        ReturnBool(result, chosen);
    });
}

HRESULT ComdlgObject::VBGetSaveFileName(BSTR* FileName, BSTR* Filetitle, VARIANT_BOOL* OverWritePrompt,
                                        VARIANT* Filter, LONG* FilterIndex, BSTR* InitDir, BSTR* DlgTitle,
                                        BSTR* DefaultExt, LONG* Owner, LONG* flags, VARIANT_BOOL* result) noexcept {
    return Guard([&] {
        const FileDialogSlots slots{FileName, Filetitle, Filter, FilterIndex, InitDir, DlgTitle, DefaultExt, Owner,
                                    flags};
        Comdlg::SaveFileArgs a;
        slots.Read(a);
        a.overWritePrompt = BoolOf(OverWritePrompt);
        const bool chosen = dialogs_.VBGetSaveFileName(a);
        slots.Write(a);
        ReturnBool(result, chosen);
    });
}

HRESULT ComdlgObject::VBGetFileTitle(BSTR* sFIle, BSTR* result) noexcept {
    return Guard([&] { ReturnText(result, Comdlg::VBGetFileTitle(TextOf(sFIle))); });
}

HRESULT ComdlgObject::VBChooseColor(LONG* Color, VARIANT_BOOL* AnyColor, VARIANT_BOOL* FullOpen,
                                    VARIANT_BOOL* DisableFullOpen, LONG* Owner, LONG* flags,
                                    VARIANT_BOOL* result) noexcept {
    return Guard([&] {
        Comdlg::ColorArgs a;
        a.color = Ref(Color);
        a.anyColor = BoolOf(AnyColor);
        a.fullOpen = BoolOf(FullOpen);
        a.disableFullOpen = BoolOf(DisableFullOpen);
        a.owner = Ref(Owner);
        a.flags = Ref(flags);
        const bool chosen = dialogs_.VBChooseColor(a);
        *Color = a.color;
        ReturnBool(result, chosen);
    });
}

HRESULT ComdlgObject::get_CustomColor(SHORT i, LONG* result) noexcept {
    return Guard([&] { Ref(result) = dialogs_.CustomColor(i); });
}

HRESULT ComdlgObject::put_CustomColor(SHORT i, LONG value) noexcept {
    return Guard([&] { dialogs_.SetCustomColor(i, value); });
}

HRESULT ComdlgObject::VBChooseFont(IDispatch** CurFont, LONG* PrinterDC, LONG* Owner, LONG* Color, LONG* MinSize,
                                   LONG* MaxSize, LONG* flags, VARIANT_BOOL* result) noexcept {
    return Guard([&] {
        // The font object through the standard font dispatch identifiers.
        const LateBound font(ComPtr<IDispatch>(Ref(CurFont)));
        Comdlg::FontArgs a;
        a.font.name = font.GetById(DISPID_FONT_NAME).ToText();
        a.font.size = font.GetById(DISPID_FONT_SIZE).ToDouble();
        a.font.weight = static_cast<std::int16_t>(font.GetById(DISPID_FONT_WEIGHT).ToLong());
        a.font.italic = font.GetById(DISPID_FONT_ITALIC).ToBool();
        a.font.underline = font.GetById(DISPID_FONT_UNDER).ToBool();
        a.font.strikethrough = font.GetById(DISPID_FONT_STRIKE).ToBool();
        a.printerDC = Ref(PrinterDC);
        a.owner = Ref(Owner);
        a.color = Ref(Color);
        a.minSize = Ref(MinSize);
        a.maxSize = Ref(MaxSize);
        a.flags = Ref(flags);
        const bool chosen = dialogs_.VBChooseFont(a);
        *PrinterDC = a.printerDC;
        if (chosen) {
            *flags = a.flags;
            *Color = a.color;
            font.PutById(DISPID_FONT_BOLD, Variant::Bool(a.font.bold));
            font.PutById(DISPID_FONT_ITALIC, Variant::Bool(a.font.italic));
            font.PutById(DISPID_FONT_STRIKE, Variant::Bool(a.font.strikethrough));
            font.PutById(DISPID_FONT_UNDER, Variant::Bool(a.font.underline));
            font.PutById(DISPID_FONT_WEIGHT, Variant(static_cast<std::int32_t>(a.font.weight)));
            Variant size;
            V_VT(size.Get()) = VT_R8;
            V_R8(size.Get()) = a.font.size;
            font.PutById(DISPID_FONT_SIZE, size);
            font.PutById(DISPID_FONT_NAME, Variant(a.font.name));
        }
        ReturnBool(result, chosen);
    });
}

HRESULT ComdlgObject::VBPrintDlg(LONG* hDC, EPrintRange* PrintRange, VARIANT_BOOL* DisablePageNumbers,
                                 LONG* FromPage, LONG* ToPage, VARIANT_BOOL* DisableSelection, SHORT* Copies,
                                 VARIANT_BOOL* ShowPrintToFile, VARIANT_BOOL* DisablePrintToFile,
                                 VARIANT_BOOL* PrintToFile, VARIANT_BOOL* Collate, VARIANT_BOOL* PreventWarning,
                                 LONG* Owner, VARIANT* Printer, LONG* flags, VARIANT_BOOL* result) noexcept {
    return Guard([&] {
        Comdlg::PrintArgs a;
        a.hDC = Ref(hDC);
        a.printRange = Ref(PrintRange);
        a.disablePageNumbers = BoolOf(DisablePageNumbers);
        a.fromPage = Ref(FromPage);
        a.toPage = Ref(ToPage);
        a.disableSelection = BoolOf(DisableSelection);
        a.copies = Ref(Copies);
        a.showPrintToFile = BoolOf(ShowPrintToFile);
        a.disablePrintToFile = BoolOf(DisablePrintToFile);
        a.printToFile = BoolOf(PrintToFile);
        a.collate = BoolOf(Collate);
        a.preventWarning = BoolOf(PreventWarning);
        a.owner = Ref(Owner);
        a.flags = Ref(flags);
        const bool chosen = dialogs_.VBPrintDlg(a);
        if (chosen) {
            *hDC = a.hDC;
            *PrintRange = a.printRange;
            *FromPage = a.fromPage;
            *ToPage = a.toPage;
            SetBool(PrintToFile, a.printToFile);
            *Copies = a.copies;
            SetBool(Collate, a.collate);
            if (a.printer) UpdatePrinter(Printer, *a.printer);
        }
        ReturnBool(result, chosen);
    });
}

HRESULT ComdlgObject::VBPageSetupDlg(LONG* Owner, VARIANT_BOOL* DisableMargins, VARIANT_BOOL* DisableOrientation,
                                     VARIANT_BOOL* DisablePaper, VARIANT_BOOL* DisablePrinter, LONG* LeftMargin,
                                     LONG* MinLeftMargin, LONG* RightMargin, LONG* MinRightMargin, LONG* TopMargin,
                                     LONG* MinTopMargin, LONG* BottomMargin, LONG* MinBottomMargin,
                                     EPaperSize* PaperSize, eOrientation* Orientation, EPrintQuality* PrintQuality,
                                     EPageSetupUnits* Units, VARIANT* Printer, LONG* flags,
                                     VARIANT_BOOL* result) noexcept {
    return Guard([&] {
        Comdlg::PageSetupArgs a;
        a.owner = Ref(Owner);
        a.disableMargins = BoolOf(DisableMargins);
        a.disableOrientation = BoolOf(DisableOrientation);
        a.disablePaper = BoolOf(DisablePaper);
        a.disablePrinter = BoolOf(DisablePrinter);
        LONG* const margins[] = {LeftMargin, MinLeftMargin, RightMargin, MinRightMargin,
                                 TopMargin,  MinTopMargin,  BottomMargin, MinBottomMargin};
        std::int32_t* const fields[] = {&a.leftMargin, &a.minLeftMargin, &a.rightMargin, &a.minRightMargin,
                                        &a.topMargin,  &a.minTopMargin,  &a.bottomMargin, &a.minBottomMargin};
        for (size_t i = 0; i < 8; ++i) *fields[i] = Ref(margins[i]);
        a.paperSize = Ref(PaperSize);
        a.orientation = Ref(Orientation);
        a.printQuality = Ref(PrintQuality);
        a.units = Ref(Units);
        a.flags = Ref(flags);
        const bool chosen = dialogs_.VBPageSetupDlg(a);
        if (chosen) {
            for (size_t i = 0; i < 8; ++i) *margins[i] = *fields[i];
            *PaperSize = a.paperSize;
            *Orientation = a.orientation;
            *PrintQuality = a.printQuality;
            if (a.printer) UpdatePrinter(Printer, *a.printer);
        }
        ReturnBool(result, chosen);
    });
}

}  // namespace services
