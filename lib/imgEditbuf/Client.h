#pragma once
// The programs' side of rvimgctl: typed wrappers over the dual interfaces, created by class identifier.
// A class that cannot be created is error 429; an error a member raises arrives as forms::RuntimeError with
// the number and description the server gave it.

#include <cstdint>
#include <string>

#include "lib/comserver/Bstr.h"
#include "lib/comserver/ClientError.h"
#include "lib/comserver/ComPtr.h"
#include "lib/comserver/Variant.h"
#include "platform/runtime/RuntimeError.h"
#include "rvimgctl.h"

namespace imgbuf::client {

using PicturePtr = comserver::ComPtr<IPictureDisp>;

class ImgEditCtlBuf {
public:
    ImgEditCtlBuf()
        : object_(comserver::CreateInstance<_clsImgEditCtlBuf>(CLSID_clsImgEditCtlBuf, IID__clsImgEditCtlBuf)) {}

    PicturePtr LoadImage(const std::string& path) const { return Load(&_clsImgEditCtlBuf::LoadImage, path); }
    PicturePtr LoadOtherImage(const std::string& path) const { return Load(&_clsImgEditCtlBuf::LoadOtherImage, path); }
    void SavetoTIFF(IPictureDisp* picture, const std::string& path, const std::string& filename) const {
        comserver::Bstr folder(path);
        comserver::Bstr name(filename);
        BSTR rawFolder = folder.Get();
        BSTR rawName = name.Get();
        IPictureDisp* pic = picture;
        Check(object_->SavetoTIFF(&pic, &rawFolder, &rawName));
        Adopt(folder, rawFolder);
        Adopt(name, rawName);
    }
    bool SaveToJpeg(const std::string& pathFileName, IPictureDisp* picture, std::int32_t quality = 0) const {
        comserver::Bstr text(pathFileName);
        BSTR raw = text.Get();
        IPictureDisp* pic = picture;
        LONG q = quality;
        VARIANT_BOOL result = VARIANT_FALSE;
        Check(object_->SaveToJpeg(&raw, &pic, &q, &result));
        Adopt(text, raw);
        return comserver::IsTrue(result);
    }
    PicturePtr LoadJPGFile(const std::string& fqPath, bool& fail) const {
        comserver::Bstr text(fqPath);
        BSTR raw = text.Get();
        VARIANT_BOOL failed = VARIANT_FALSE;
        PicturePtr picture;
        Check(object_->LoadJPGFile(&raw, &failed, picture.Put()));
        Adopt(text, raw);
        fail = comserver::IsTrue(failed);
        return picture;
    }

    _clsImgEditCtlBuf* Get() const noexcept { return object_.Get(); }

private:
    using LoadMember = HRESULT (STDMETHODCALLTYPE _clsImgEditCtlBuf::*)(BSTR*, IPictureDisp**);
    PicturePtr Load(LoadMember member, const std::string& path) const {
        comserver::Bstr text(path);
        PicturePtr picture;
        BSTR raw = text.Get();
        Check((object_.Get()->*member)(&raw, picture.Put()));
        Adopt(text, raw);
        return picture;
    }
    void Check(HRESULT hr) const { comserver::Check(hr, object_.Get(), IID__clsImgEditCtlBuf); }
    // A by-reference argument the server may have replaced: the string now in the slot is ours to free.
    static void Adopt(comserver::Bstr& owner, BSTR now) noexcept {
        if (now != owner.Get()) {
            owner.Detach();
            owner = comserver::Bstr::Attach(now);
        }
    }

    comserver::ComPtr<_clsImgEditCtlBuf> object_;
};

}  // namespace imgbuf::client
