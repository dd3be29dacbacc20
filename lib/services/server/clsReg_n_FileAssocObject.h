#pragma once
// The COM face of clsReg_n_FileAssoc.

#include <windows.h>

#include "Toolcraft.h"
#include "lib/comserver/Dispatch.h"
#include "lib/services/clsReg_n_FileAssoc.h"

namespace services {

class clsReg_n_FileAssocObject final : public comserver::Dispatch<_clsReg_n_FileAssoc> {
public:
    clsReg_n_FileAssocObject() : Dispatch(IID__clsReg_n_FileAssoc, "Toolcraft.clsReg_n_FileAssoc") {}

    HRESULT STDMETHODCALLTYPE savekey(Hkeys* Hkey, BSTR* strPath) noexcept override;
    HRESULT STDMETHODCALLTYPE getstring(Hkeys* Hkey, BSTR* strPath, BSTR* strValue, VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE savestring(Hkeys* Hkey, BSTR* strPath, BSTR* strValue, BSTR* strdata) noexcept override;
    HRESULT STDMETHODCALLTYPE getdword(Hkeys Hkey, BSTR strPath, BSTR strValueName, LONG* result) noexcept override;
    HRESULT STDMETHODCALLTYPE SaveDword(Hkeys Hkey, BSTR strPath, BSTR strValueName, LONG lData,
                                        VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE DeleteKey(Hkeys Hkey, BSTR strKey, VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE DeleteValue(Hkeys Hkey, BSTR strPath, BSTR strValue, VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE Associated(BSTR* ProperFTName, BSTR* AppPath, BSTR* ExeName, BSTR* Extension,
                                         BSTR* Action, BSTR* FTExtension, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE CreateAssociation(BSTR* ProperName, BSTR* FullName, BSTR* ContentType, BSTR* Extension,
                                                BSTR* Action, BSTR* Path, BSTR* ExeName, BSTR* Extention,
                                                BSTR* DefaultIconFP) noexcept override;
    HRESULT STDMETHODCALLTYPE CreateUndoAssDat(BSTR* FTExtension, BSTR* ProperName, BSTR* Action,
                                               VARIANT* SaveTo_Path, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE UndoAssociation(BSTR* SavedTo_path, BSTR* FTExtension,
                                              VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE get_GetLastErrorMsg(BSTR* result) noexcept override;
    HRESULT STDMETHODCALLTYPE ShowPrograms(BSTR* Title, BSTR* Message, BSTR* Pattern,
                                           VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE get_ProgramFN(VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE get_ProgramFP(VARIANT* result) noexcept override;

private:
    clsReg_n_FileAssoc registry_;
};

}  // namespace services
