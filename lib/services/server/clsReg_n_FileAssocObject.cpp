#include "lib/services/server/clsReg_n_FileAssocObject.h"

#include "lib/comserver/Arguments.h"

namespace services {

using namespace comserver;

HRESULT clsReg_n_FileAssocObject::savekey(Hkeys* Hkey, BSTR* strPath) noexcept {
    return Guard([&] { registry_.savekey(Ref(Hkey), TextOf(strPath)); });
}

HRESULT clsReg_n_FileAssocObject::getstring(Hkeys* Hkey, BSTR* strPath, BSTR* strValue, VARIANT* result) noexcept {
    return Guard([&] {
        const auto text = registry_.getstring(Ref(Hkey), TextOf(strPath), strValue ? TextOf(strValue) : "");
        if (text) Return(result, Variant(*text));
        else ReturnEmpty(result);
    });
}

HRESULT clsReg_n_FileAssocObject::savestring(Hkeys* Hkey, BSTR* strPath, BSTR* strValue, BSTR* strdata) noexcept {
    return Guard([&] { registry_.savestring(Ref(Hkey), TextOf(strPath), TextOf(strValue), TextOf(strdata)); });
}

HRESULT clsReg_n_FileAssocObject::getdword(Hkeys Hkey, BSTR strPath, BSTR strValueName, LONG* result) noexcept {
    return Guard([&] { Ref(result) = registry_.getdword(Hkey, ToString(strPath), ToString(strValueName)); });
}

HRESULT clsReg_n_FileAssocObject::SaveDword(Hkeys Hkey, BSTR strPath, BSTR strValueName, LONG lData,
                                            VARIANT* result) noexcept {
    return Guard([&] {
        registry_.SaveDword(Hkey, ToString(strPath), ToString(strValueName), lData);
        ReturnEmpty(result);
    });
}

HRESULT clsReg_n_FileAssocObject::DeleteKey(Hkeys Hkey, BSTR strKey, VARIANT* result) noexcept {
    return Guard([&] {
        registry_.DeleteKey(Hkey, ToString(strKey));
        ReturnEmpty(result);
    });
}

HRESULT clsReg_n_FileAssocObject::DeleteValue(Hkeys Hkey, BSTR strPath, BSTR strValue, VARIANT* result) noexcept {
    return Guard([&] {
        registry_.DeleteValue(Hkey, ToString(strPath), ToString(strValue));
        ReturnEmpty(result);
    });
}

HRESULT clsReg_n_FileAssocObject::Associated(BSTR* ProperFTName, BSTR* AppPath, BSTR* ExeName, BSTR* Extension,
                                             BSTR* Action, BSTR* FTExtension, VARIANT_BOOL* result) noexcept {
    return Guard([&] {
        ReturnBool(result, registry_.Associated(TextOf(ProperFTName), TextOf(AppPath), TextOf(ExeName),
                                                TextOf(Extension), TextOf(Action), TextOf(FTExtension)));
    });
}

HRESULT clsReg_n_FileAssocObject::CreateAssociation(BSTR* ProperName, BSTR* FullName, BSTR* ContentType,
                                                    BSTR* Extension, BSTR* Action, BSTR* Path, BSTR* ExeName,
                                                    BSTR* Extention, BSTR* DefaultIconFP) noexcept {
    return Guard([&] {
        registry_.CreateAssociation(TextOf(ProperName), TextOf(FullName), TextOf(ContentType), TextOf(Extension),
                                    TextOf(Action), TextOf(Path), TextOf(ExeName), TextOf(Extention),
                                    TextOf(DefaultIconFP));
    });
}

HRESULT clsReg_n_FileAssocObject::CreateUndoAssDat(BSTR* FTExtension, BSTR* ProperName, BSTR* Action,
                                                   VARIANT* SaveTo_Path, VARIANT_BOOL* result) noexcept {
    return Guard([&] {
        const std::string folder = Variant::CopyOf(Ref(SaveTo_Path)).ToText();
        ReturnBool(result, registry_.CreateUndoAssDat(TextOf(FTExtension), TextOf(ProperName), TextOf(Action), folder));
    });
}

HRESULT clsReg_n_FileAssocObject::UndoAssociation(BSTR* SavedTo_path, BSTR* FTExtension,
                                                  VARIANT_BOOL* result) noexcept {
    return Guard([&] { ReturnBool(result, registry_.UndoAssociation(TextOf(SavedTo_path), TextOf(FTExtension))); });
}

HRESULT clsReg_n_FileAssocObject::get_GetLastErrorMsg(BSTR* result) noexcept {
    return Guard([&] { ReturnText(result, registry_.GetLastErrorMsg()); });
}

HRESULT clsReg_n_FileAssocObject::ShowPrograms(BSTR* Title, BSTR* Message, BSTR* Pattern,
                                               VARIANT_BOOL* result) noexcept {
    return Guard([&] { ReturnBool(result, registry_.ShowPrograms(TextOf(Title), TextOf(Message), TextOf(Pattern))); });
}

HRESULT clsReg_n_FileAssocObject::get_ProgramFN(VARIANT* result) noexcept {
    return Guard([&] { Return(result, Variant(registry_.ProgramFN())); });
}

HRESULT clsReg_n_FileAssocObject::get_ProgramFP(VARIANT* result) noexcept {
    return Guard([&] { Return(result, Variant(registry_.ProgramFP())); });
}

}  // namespace services
