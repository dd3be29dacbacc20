#include "lib/services/client/FileAssocClient.h"

#include "lib/comserver/Bstr.h"
#include "lib/comserver/Variant.h"
#include "lib/services/client/ClientCall.h"

namespace services::client {

using comserver::Bstr;
using comserver::Variant;

namespace {
constexpr const IID& Iid = IID__clsReg_n_FileAssoc;
}  // namespace

FileAssoc FileAssoc::Create() {
    return FileAssoc(comserver::CreateInstance<_clsReg_n_FileAssoc>(CLSID_clsReg_n_FileAssoc, Iid));
}

void FileAssoc::savekey(std::int32_t hkey, const std::string& path) const {
    Hkeys root = hkey;
    Bstr a(path);
    Check(object_->savekey(&root, a.InOut()), object_, Iid);
}

std::optional<std::string> FileAssoc::getstring(std::int32_t hkey, const std::string& path,
                                                const std::string& value) const {
    Hkeys root = hkey;
    Bstr a(path), b(value);
    Variant result;
    Check(object_->getstring(&root, a.InOut(), b.InOut(), result.Put()), object_, Iid);
    if (result.IsEmpty()) return std::nullopt;
    return result.ToText();
}

void FileAssoc::savestring(std::int32_t hkey, const std::string& path, const std::string& value,
                           const std::string& data) const {
    Hkeys root = hkey;
    Bstr a(path), b(value), c(data);
    Check(object_->savestring(&root, a.InOut(), b.InOut(), c.InOut()), object_, Iid);
}

std::int32_t FileAssoc::getdword(std::int32_t hkey, const std::string& path, const std::string& valueName) const {
    const Bstr a(path), b(valueName);
    LONG result = 0;
    Check(object_->getdword(hkey, a.Get(), b.Get(), &result), object_, Iid);
    return result;
}

void FileAssoc::SaveDword(std::int32_t hkey, const std::string& path, const std::string& valueName,
                          std::int32_t data) const {
    const Bstr a(path), b(valueName);
    Variant result;
    Check(object_->SaveDword(hkey, a.Get(), b.Get(), data, result.Put()), object_, Iid);
}

void FileAssoc::DeleteKey(std::int32_t hkey, const std::string& key) const {
    const Bstr a(key);
    Variant result;
    Check(object_->DeleteKey(hkey, a.Get(), result.Put()), object_, Iid);
}

void FileAssoc::DeleteValue(std::int32_t hkey, const std::string& path, const std::string& value) const {
    const Bstr a(path), b(value);
    Variant result;
    Check(object_->DeleteValue(hkey, a.Get(), b.Get(), result.Put()), object_, Iid);
}

bool FileAssoc::Associated(const std::string& properFTName, const std::string& appPath, const std::string& exeName,
                           const std::string& extension, const std::string& action,
                           const std::string& ftExtension) const {
    Bstr a(properFTName), b(appPath), c(exeName), d(extension), e(action), f(ftExtension);
    VARIANT_BOOL result = VARIANT_FALSE;
    Check(object_->Associated(a.InOut(), b.InOut(), c.InOut(), d.InOut(), e.InOut(), f.InOut(), &result), object_,
          Iid);
    return comserver::IsTrue(result);
}

void FileAssoc::CreateAssociation(const std::string& properName, const std::string& fullName,
                                  const std::string& contentType, const std::string& extension,
                                  const std::string& action, const std::string& path, const std::string& exeName,
                                  const std::string& extention, const std::string& defaultIconFP) const {
    Bstr a(properName), b(fullName), c(contentType), d(extension), e(action), f(path), g(exeName), h(extention),
        i(defaultIconFP);
    Check(object_->CreateAssociation(a.InOut(), b.InOut(), c.InOut(), d.InOut(), e.InOut(), f.InOut(), g.InOut(),
                                     h.InOut(), i.InOut()),
          object_, Iid);
}

bool FileAssoc::CreateUndoAssDat(const std::string& ftExtension, const std::string& properName,
                                 const std::string& action, const std::string& saveToPath) const {
    Bstr a(ftExtension), b(properName), c(action);
    Variant folder(saveToPath);
    VARIANT_BOOL result = VARIANT_FALSE;
    Check(object_->CreateUndoAssDat(a.InOut(), b.InOut(), c.InOut(), folder.Get(), &result), object_, Iid);
    return comserver::IsTrue(result);
}

bool FileAssoc::UndoAssociation(const std::string& savedToPath, const std::string& ftExtension) const {
    Bstr a(savedToPath), b(ftExtension);
    VARIANT_BOOL result = VARIANT_FALSE;
    Check(object_->UndoAssociation(a.InOut(), b.InOut(), &result), object_, Iid);
    return comserver::IsTrue(result);
}

std::string FileAssoc::GetLastErrorMsg() const {
    Bstr result;
    Check(object_->get_GetLastErrorMsg(result.Put()), object_, Iid);
    return result.Text();
}

bool FileAssoc::ShowPrograms(const std::string& title, const std::string& message, const std::string& pattern) const {
    Bstr a(title), b(message), c(pattern);
    VARIANT_BOOL result = VARIANT_FALSE;
    Check(object_->ShowPrograms(a.InOut(), b.InOut(), c.InOut(), &result), object_, Iid);
    return comserver::IsTrue(result);
}

std::string FileAssoc::ProgramFN() const {
    Variant result;
    Check(object_->get_ProgramFN(result.Put()), object_, Iid);
    return result.IsEmpty() ? std::string() : result.ToText();
}

std::string FileAssoc::ProgramFP() const {
    Variant result;
    Check(object_->get_ProgramFP(result.Put()), object_, Iid);
    return result.IsEmpty() ? std::string() : result.ToText();
}

}  // namespace services::client
