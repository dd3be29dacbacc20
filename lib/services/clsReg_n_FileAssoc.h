#pragma once
// Registry values and keys, and file-type associations under the classes root with an undo file.

#include <cstdint>
#include <optional>
#include <string>

namespace services {

class clsReg_n_FileAssoc {
public:
    // Roots as the Hkeys enumeration passes them: the predefined key handles as signed 32-bit values.
    static constexpr std::int32_t ClassesRoot = static_cast<std::int32_t>(0x80000000u);
    static constexpr std::int32_t CurrentUser = static_cast<std::int32_t>(0x80000001u);
    static constexpr std::int32_t LocalMachine = static_cast<std::int32_t>(0x80000002u);

    // Registry routines: failures of the registry calls are not reported; a missing string reads as
    // nullopt (Empty), a missing number as 0.
    void savekey(std::int32_t hkey, const std::string& path) const;
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
                    const std::string& extension, const std::string& action,
                    const std::string& ftExtension) const;
    void CreateAssociation(const std::string& properName, const std::string& fullName,
                           const std::string& contentType, const std::string& extension, const std::string& action,
                           const std::string& path, const std::string& exeName, const std::string& extention,
                           const std::string& defaultIconFP) const;
    bool CreateUndoAssDat(const std::string& ftExtension, const std::string& properName, const std::string& action,
                          const std::string& saveToPath);
    bool UndoAssociation(const std::string& savedToPath, const std::string& ftExtension);
    const std::string& GetLastErrorMsg() const noexcept { return lastError_; }

    bool ShowPrograms(const std::string& title, const std::string& message, const std::string& pattern);
    const std::string& ProgramFN() const noexcept { return programFN_; }
    const std::string& ProgramFP() const noexcept { return programFP_; }

    // The undo file of an extension in a folder: <folder>\<extension>_undo.dat.
    static std::string UndoFilePath(const std::string& folder, const std::string& ftExtension);

private:
    std::string lastError_;
    std::string programFN_;
    std::string programFP_;
};

}  // namespace services
