// The frame test server's one class and its registration table.

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "FrameTest.h"
#include "lib/comserver/Bstr.h"
#include "lib/comserver/ClassFactory.h"
#include "lib/comserver/Dispatch.h"
#include "lib/comserver/Registration.h"
#include "lib/comserver/Variant.h"

namespace {

class Probe final : public comserver::Dispatch<_Probe> {
public:
    Probe() : Dispatch(IID__Probe, "QvFrameTest.Probe") {}

    HRESULT STDMETHODCALLTYPE Echo(BSTR* text, VARIANT_BOOL* upper, BSTR* result) noexcept override {
        return Guard([&] {
            std::string value = comserver::ToString(*text);
            if (comserver::IsTrue(*upper))
                std::transform(value.begin(), value.end(), value.begin(),
                               [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
            comserver::AssignBstr(text, "seen");
            *result = comserver::AllocBstr(value);
        });
    }
    HRESULT STDMETHODCALLTYPE Fail(LONG number, BSTR description) noexcept override {
        return Guard([&] { throw forms::RuntimeError(number, comserver::ToString(description)); });
    }
    HRESULT STDMETHODCALLTYPE Twice(LONG* value, VARIANT* extra, Colours* result) noexcept override {
        return Guard([&] {
            *value *= 2;
            *result = comserver::IsMissing(extra) ? 1 : 2;
        });
    }
    HRESULT STDMETHODCALLTYPE Drop(IPictureDisp** picture, VARIANT_BOOL* had) noexcept override {
        return Guard([&] {
            *had = comserver::ToVariantBool(*picture != nullptr);
            if (*picture) (*picture)->Release();
            *picture = nullptr;
        });
    }
    HRESULT STDMETHODCALLTYPE get_Count(LONG* value) noexcept override {
        return Guard([&] { *value = count_; });
    }
    HRESULT STDMETHODCALLTYPE put_Count(LONG value) noexcept override {
        return Guard([&] {
            if (value < 0) throw forms::RuntimeError(forms::err::InvalidPropertyValue);
            count_ = value;
        });
    }

private:
    LONG count_ = 0;
};

const comserver::ClassEntry kClasses[] = {
    {CLSID_Probe, "QvFrameTest.Probe", "Probe", &comserver::ClassFactory<Probe>::Create},
};
const comserver::ServerEntry kServer{LIBID_QvFrameTest, kClasses};

}  // namespace

const comserver::ServerEntry& comserver::ThisServer() { return kServer; }
