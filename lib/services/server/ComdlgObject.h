#pragma once
// The COM face of Comdlg: arguments copied into the dialog records and the choices written back.

#include <windows.h>

#include "Toolcraft.h"
#include "lib/comserver/Dispatch.h"
#include "lib/services/Comdlg.h"

namespace services {

class ComdlgObject final : public comserver::Dispatch<_Comdlg> {
public:
    ComdlgObject() : Dispatch(IID__Comdlg, "Toolcraft.Comdlg") {}

    HRESULT STDMETHODCALLTYPE DialogHook(LONG* hDlg, LONG* Msg, LONG* wParam, LONG* lParam,
                                         VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE get_APIReturn(LONG* result) noexcept override;
    HRESULT STDMETHODCALLTYPE get_ExtendedError(LONG* result) noexcept override;
    HRESULT STDMETHODCALLTYPE VBGetOpenFileName(BSTR* FileName, BSTR* Filetitle, VARIANT_BOOL* FileMustExist,
                                                VARIANT_BOOL* MultiSelect, VARIANT_BOOL* ReadOnly,
                                                VARIANT_BOOL* HideReadOnly, VARIANT* Filter, LONG* FilterIndex,
                                                BSTR* InitDir, BSTR* DlgTitle, BSTR* DefaultExt, LONG* Owner,
                                                LONG* flags, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE VBGetSaveFileName(BSTR* FileName, BSTR* Filetitle, VARIANT_BOOL* OverWritePrompt,
                                                VARIANT* Filter, LONG* FilterIndex, BSTR* InitDir, BSTR* DlgTitle,
                                                BSTR* DefaultExt, LONG* Owner, LONG* flags,
                                                VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE VBGetFileTitle(BSTR* sFIle, BSTR* result) noexcept override;
    HRESULT STDMETHODCALLTYPE VBChooseColor(LONG* Color, VARIANT_BOOL* AnyColor, VARIANT_BOOL* FullOpen,
                                            VARIANT_BOOL* DisableFullOpen, LONG* Owner, LONG* flags,
                                            VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE get_CustomColor(SHORT i, LONG* result) noexcept override;
    HRESULT STDMETHODCALLTYPE put_CustomColor(SHORT i, LONG value) noexcept override;
    HRESULT STDMETHODCALLTYPE VBChooseFont(IDispatch** CurFont, LONG* PrinterDC, LONG* Owner, LONG* Color,
                                           LONG* MinSize, LONG* MaxSize, LONG* flags,
                                           VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE VBPrintDlg(LONG* hDC, EPrintRange* PrintRange, VARIANT_BOOL* DisablePageNumbers,
                                         LONG* FromPage, LONG* ToPage, VARIANT_BOOL* DisableSelection, SHORT* Copies,
                                         VARIANT_BOOL* ShowPrintToFile, VARIANT_BOOL* DisablePrintToFile,
                                         VARIANT_BOOL* PrintToFile, VARIANT_BOOL* Collate,
                                         VARIANT_BOOL* PreventWarning, LONG* Owner, VARIANT* Printer, LONG* flags,
                                         VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE VBPageSetupDlg(LONG* Owner, VARIANT_BOOL* DisableMargins,
                                             VARIANT_BOOL* DisableOrientation, VARIANT_BOOL* DisablePaper,
                                             VARIANT_BOOL* DisablePrinter, LONG* LeftMargin, LONG* MinLeftMargin,
                                             LONG* RightMargin, LONG* MinRightMargin, LONG* TopMargin,
                                             LONG* MinTopMargin, LONG* BottomMargin, LONG* MinBottomMargin,
                                             EPaperSize* PaperSize, eOrientation* Orientation,
                                             EPrintQuality* PrintQuality, EPageSetupUnits* Units, VARIANT* Printer,
                                             LONG* flags, VARIANT_BOOL* result) noexcept override;

private:
    Comdlg dialogs_;
};

}  // namespace services
