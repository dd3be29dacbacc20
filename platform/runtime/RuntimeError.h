#pragma once
// The one error type of the suite's runtime: a run-time error with number, source and description.
// Library classes raise ObjectError + n; callers tell errors apart by number.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace forms {

inline constexpr std::int32_t ObjectError = static_cast<std::int32_t>(0x80040000u);

// Standard numbers that callers test or name.
namespace err {
inline constexpr std::int32_t InvalidProcedureCall = 5;
inline constexpr std::int32_t Overflow = 6;
inline constexpr std::int32_t OutOfMemory = 7;
inline constexpr std::int32_t SubscriptOutOfRange = 9;
inline constexpr std::int32_t DivisionByZero = 11;
inline constexpr std::int32_t TypeMismatch = 13;
inline constexpr std::int32_t DllLoadFailure = 48;
inline constexpr std::int32_t InternalError = 51;
inline constexpr std::int32_t BadFileNameOrNumber = 52;
inline constexpr std::int32_t FileNotFound = 53;
inline constexpr std::int32_t BadFileMode = 54;
inline constexpr std::int32_t FileAlreadyOpen = 55;
inline constexpr std::int32_t DiskFull = 61;
inline constexpr std::int32_t InputPastEndOfFile = 62;
inline constexpr std::int32_t TooManyFiles = 67;
inline constexpr std::int32_t DeviceUnavailable = 68;
inline constexpr std::int32_t PermissionDenied = 70;
inline constexpr std::int32_t DiskNotReady = 71;
inline constexpr std::int32_t PathFileAccessError = 75;
inline constexpr std::int32_t PathNotFound = 76;
inline constexpr std::int32_t ObjectNotSet = 91;
inline constexpr std::int32_t ResourceNotFound = 326;
inline constexpr std::int32_t ElementAlreadyLoaded = 360;
inline constexpr std::int32_t InvalidPropertyValue = 380;
inline constexpr std::int32_t InvalidPropertyArrayIndex = 381;
inline constexpr std::int32_t CannotMoveMinimizedForm = 384;
inline constexpr std::int32_t FormAlreadyShown = 400;
inline constexpr std::int32_t ObjectRequired = 424;
inline constexpr std::int32_t CannotCreateObject = 429;
inline constexpr std::int32_t ObjectLacksMember = 438;
inline constexpr std::int32_t WrongArgumentCount = 450;
inline constexpr std::int32_t CannotDrawPicture = 480;
inline constexpr std::int32_t InvalidPicture = 481;
inline constexpr std::int32_t PrinterError = 482;
inline constexpr std::int32_t CannotOpenClipboard = 521;
inline constexpr std::int32_t ElementNotFound = 35601;
inline constexpr std::int32_t KeyNotUnique = 35602;
}  // namespace err

// The runtime's own description of a standard error number ("" when it has none).
std::string StandardDescription(std::int32_t number);

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(std::int32_t number, std::string description, std::string source = {})
        : std::runtime_error(description), number_(number), description_(std::move(description)),
          source_(std::move(source)) {}
    // A standard error with the runtime's description.
    explicit RuntimeError(std::int32_t number) : RuntimeError(number, StandardDescription(number)) {}

    std::int32_t Number() const noexcept { return number_; }
    const std::string& Description() const noexcept { return description_; }
    const std::string& Source() const noexcept { return source_; }

private:
    std::int32_t number_;
    std::string description_;
    std::string source_;
};

}  // namespace forms
