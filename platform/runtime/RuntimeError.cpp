#include "platform/runtime/RuntimeError.h"

namespace forms {

std::string StandardDescription(std::int32_t number) {
    switch (number) {
    case err::InvalidProcedureCall: return "Invalid procedure call or argument";
    case err::Overflow: return "Overflow";
    case err::OutOfMemory: return "Out of memory";
    case err::SubscriptOutOfRange: return "Subscript out of range";
    case err::DivisionByZero: return "Division by zero";
    case err::TypeMismatch: return "Type mismatch";
    case err::DllLoadFailure: return "Error in loading DLL";
    case err::BadFileNameOrNumber: return "Bad file name or number";
    case err::FileNotFound: return "File not found";
    case err::BadFileMode: return "Bad file mode";
    case err::FileAlreadyOpen: return "File already open";
    case err::DiskFull: return "Disk full";
    case err::InputPastEndOfFile: return "Input past end of file";
    case err::TooManyFiles: return "Too many files";
    case err::DeviceUnavailable: return "Device unavailable";
    case err::PermissionDenied: return "Permission denied";
    case err::DiskNotReady: return "Disk not ready";
    case err::PathFileAccessError: return "Path/File access error";
    case err::PathNotFound: return "Path not found";
    case err::ObjectNotSet: return "Object variable not set";
    case err::ResourceNotFound: return "Resource not found";
    case err::ElementAlreadyLoaded: return "Object already loaded";
    case err::InvalidPropertyValue: return "Invalid property value";
    case err::InvalidPropertyArrayIndex: return "Invalid property array index";
    case err::CannotMoveMinimizedForm: return "A form can't be moved or sized while minimized or maximized";
    case err::FormAlreadyShown: return "Form already displayed; can't show modally";
    case err::ObjectRequired: return "Object required";
    case err::InternalError: return "Internal error";
    case err::ObjectLacksMember: return "Object doesn't support this property or method";
    case err::WrongArgumentCount: return "Wrong number of arguments or invalid property assignment";
    case err::CannotCreateObject: return "Component can't create object";
    case err::CannotDrawPicture: return "Can't create AutoRedraw image";
    case err::InvalidPicture: return "Invalid picture";
    case err::PrinterError: return "Printer error";
    case err::CannotOpenClipboard: return "Can't open Clipboard";
    case err::ElementNotFound: return "Element not found";
    case err::KeyNotUnique: return "Key is not unique in collection";
    default: return {};
    }
}

}  // namespace forms
