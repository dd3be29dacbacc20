#pragma once
// clsReg_n_FileAssoc of orcmcls.dll through its dual interface; errors raise forms::RuntimeError.

#include <cstdint>
#include <optional>
#include <string>

#include "Toolcraft.h"
#include "lib/comserver/ComPtr.h"

namespace services::client {

class FileAssoc {
public:
    // Creates the class by its identifier; error 429 when it cannot be created.
    static FileAssoc Create();

    void savekey(std::int32_t hkey, const std::string& path) const;
    // nullopt stands for Empty (a missing key or value, or one that is not REG_SZ).
    std::optional<std::string> getstring(std::int32_t hkey, const std::string& path,
                                         const std::string& value = {}) const;
    void savestring(std::int32_t hkey, const std::string& path, const std::string& value,
                    const std::string& data) const;
    std::int32_t getdword(std::int32_t hkey, const std::string& path, const std::string& valueName) const;
    void SaveDword(std::int32_t hkey, const std::string& path, const std::string& valueName,
                   std::int32_t data) const;
    void DeleteKey(std::int32_t hkey, const std::string& key) const;
    void DeleteValue(std::int32_t hkey, const std::string& path, const std::string& value) const;
    bool Associated(const std::string& properFTName, const std::string& appPath, const std::string& exeName,
                    const std::string& extension, const std::string& action, const std::string& ftExtension) const;
    void CreateAssociation(const std::string& properName, const std::string& fullName,
                           const std::string& contentType, const std::string& extension, const std::string& action,
                           const std::string& path, const std::string& exeName, const std::string& extention,
                           const std::string& defaultIconFP) const;
    bool CreateUndoAssDat(const std::string& ftExtension, const std::string& properName, const std::string& action,
                          const std::string& saveToPath) const;
    bool UndoAssociation(const std::string& savedToPath, const std::string& ftExtension) const;
    std::string GetLastErrorMsg() const;
    bool ShowPrograms(const std::string& title, const std::string& message, const std::string& pattern) const;
    std::string ProgramFN() const;
    std::string ProgramFP() const;

private:
    explicit FileAssoc(comserver::ComPtr<_clsReg_n_FileAssoc> object) : object_(std::move(object)) {}
    comserver::ComPtr<_clsReg_n_FileAssoc> object_;
};

}  // namespace services::client
