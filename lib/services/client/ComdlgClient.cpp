#include "lib/services/client/ComdlgClient.h"

#include "lib/comserver/Bstr.h"
#include "lib/comserver/Variant.h"
#include "lib/services/client/ClientCall.h"

namespace services::client {

using comserver::Bstr;
using comserver::IsTrue;
using comserver::ToVariantBool;
using comserver::Variant;

namespace {

constexpr const IID& Iid = IID__Comdlg;

// A Boolean argument passed by reference.
struct BoolArg {
    explicit BoolArg(bool value) : v(ToVariantBool(value)) {}
    VARIANT_BOOL v;
    bool Value() const { return IsTrue(v); }
};

Variant PrinterArg(IDispatch* printer) { return printer ? Variant::Object(printer) : Variant::Missing(); }

}  // namespace

CommonDialogs CommonDialogs::Create() { return CommonDialogs(comserver::CreateInstance<_Comdlg>(CLSID_Comdlg, Iid)); }

std::int32_t CommonDialogs::APIReturn() const {
    LONG result = 0;
    Check(object_->get_APIReturn(&result), object_, Iid);
    return result;
}

std::int32_t CommonDialogs::ExtendedError() const {
    LONG result = 0;
    Check(object_->get_ExtendedError(&result), object_, Iid);
    return result;
}

namespace {

// The by-reference slots the open and save dialogs share.
struct FileSlots {
    explicit FileSlots(const services::Comdlg::FileDialogArgs& a)
        : fileName(a.fileName), fileTitle(a.fileTitle), initDir(a.initDir), title(a.dlgTitle), ext(a.defaultExt),
          filter(a.filter), index(a.filterIndex), owner(a.owner), flags(a.flags) {}
    void Write(services::Comdlg::FileDialogArgs& a) const {
        a.fileName = fileName.Text();
        a.fileTitle = fileTitle.Text();
        a.filter = filter.ToText();
        a.filterIndex = index;
        a.flags = flags;
    }
    Bstr fileName, fileTitle, initDir, title, ext;
    Variant filter;
    LONG index, owner, flags;
};

}  // namespace

bool CommonDialogs::VBGetOpenFileName(OpenFileArgs& a) const {
    FileSlots s(a);
    BoolArg mustExist(a.fileMustExist), multi(a.multiSelect), readOnly(a.readOnly), hide(a.hideReadOnly);
    VARIANT_BOOL result = VARIANT_FALSE;
    Check(object_->VBGetOpenFileName(s.fileName.InOut(), s.fileTitle.InOut(), &mustExist.v, &multi.v, &readOnly.v,
                                     &hide.v, s.filter.Get(), &s.index, s.initDir.InOut(), s.title.InOut(),
                                     s.ext.InOut(), &s.owner, &s.flags, &result),
          object_, Iid);
    s.Write(a);
    a.readOnly = readOnly.Value();
    return IsTrue(result);
}

bool CommonDialogs::VBGetSaveFileName(SaveFileArgs& a) const {
    FileSlots s(a);
    BoolArg overwrite(a.overWritePrompt);
    VARIANT_BOOL result = VARIANT_FALSE;
    Check(object_->VBGetSaveFileName(s.fileName.InOut(), s.fileTitle.InOut(), &overwrite.v, s.filter.Get(), &s.index,
                                     s.initDir.InOut(), s.title.InOut(), s.ext.InOut(), &s.owner, &s.flags, &result),
          object_, Iid);
    s.Write(a);
    return IsTrue(result);
}

std::string CommonDialogs::VBGetFileTitle(const std::string& file) const {
    Bstr a(file);
    Bstr result;
    Check(object_->VBGetFileTitle(a.InOut(), result.Put()), object_, Iid);
    return result.Text();
}

bool CommonDialogs::VBChooseColor(ColorArgs& a) const {
    LONG color = a.color, owner = a.owner, flags = a.flags;
    BoolArg any(a.anyColor), full(a.fullOpen), disable(a.disableFullOpen);
    VARIANT_BOOL result = VARIANT_FALSE;
    Check(object_->VBChooseColor(&color, &any.v, &full.v, &disable.v, &owner, &flags, &result), object_, Iid);
    a.color = color;
    return IsTrue(result);
}

std::int32_t CommonDialogs::CustomColor(std::int16_t index) const {
    LONG result = 0;
    Check(object_->get_CustomColor(index, &result), object_, Iid);
    return result;
}

void CommonDialogs::SetCustomColor(std::int16_t index, std::int32_t color) const {
    Check(object_->put_CustomColor(index, color), object_, Iid);
}

bool CommonDialogs::VBChooseFont(IDispatch* curFont, FontArgs& a) const {
    IDispatch* font = curFont;
    LONG printerDC = a.printerDC, owner = a.owner, color = a.color, minSize = a.minSize, maxSize = a.maxSize,
         flags = a.flags;
    VARIANT_BOOL result = VARIANT_FALSE;
    Check(object_->VBChooseFont(&font, &printerDC, &owner, &color, &minSize, &maxSize, &flags, &result), object_,
          Iid);
    a.printerDC = printerDC;
    a.color = color;
    a.flags = flags;
    return IsTrue(result);
}

bool CommonDialogs::VBPrintDlg(PrintArgs& a, IDispatch* printer) const {
    LONG hDC = a.hDC, from = a.fromPage, to = a.toPage, owner = a.owner, flags = a.flags;
    EPrintRange range = a.printRange;
    SHORT copies = a.copies;
    BoolArg noPages(a.disablePageNumbers), noSelection(a.disableSelection), show(a.showPrintToFile),
        noFile(a.disablePrintToFile), toFile(a.printToFile), collate(a.collate), noWarning(a.preventWarning);
    Variant printerArg = PrinterArg(printer);
    VARIANT_BOOL result = VARIANT_FALSE;
    Check(object_->VBPrintDlg(&hDC, &range, &noPages.v, &from, &to, &noSelection.v, &copies, &show.v, &noFile.v,
                              &toFile.v, &collate.v, &noWarning.v, &owner, printerArg.Get(), &flags, &result),
          object_, Iid);
    a.hDC = hDC;
    a.printRange = range;
    a.fromPage = from;
    a.toPage = to;
    a.copies = copies;
    a.printToFile = toFile.Value();
    a.collate = collate.Value();
    return IsTrue(result);
}

bool CommonDialogs::VBPageSetupDlg(PageSetupArgs& a, IDispatch* printer) const {
    LONG owner = a.owner, flags = a.flags;
    BoolArg margins(a.disableMargins), orientation(a.disableOrientation), paper(a.disablePaper),
        printerBox(a.disablePrinter);
    LONG m[8] = {a.leftMargin, a.minLeftMargin, a.rightMargin, a.minRightMargin,
                 a.topMargin,  a.minTopMargin,  a.bottomMargin, a.minBottomMargin};
    EPaperSize paperSize = a.paperSize;
    eOrientation orient = a.orientation;
    EPrintQuality quality = a.printQuality;
    EPageSetupUnits units = a.units;
    Variant printerArg = PrinterArg(printer);
    VARIANT_BOOL result = VARIANT_FALSE;
    Check(object_->VBPageSetupDlg(&owner, &margins.v, &orientation.v, &paper.v, &printerBox.v, &m[0], &m[1], &m[2],
                                  &m[3], &m[4], &m[5], &m[6], &m[7], &paperSize, &orient, &quality, &units,
                                  printerArg.Get(), &flags, &result),
          object_, Iid);
    a.leftMargin = m[0];
    a.minLeftMargin = m[1];
    a.rightMargin = m[2];
    a.minRightMargin = m[3];
    a.topMargin = m[4];
    a.minTopMargin = m[5];
    a.bottomMargin = m[6];
    a.minBottomMargin = m[7];
    a.paperSize = paperSize;
    a.orientation = orient;
    a.printQuality = quality;
    return IsTrue(result);
}

}  // namespace services::client
