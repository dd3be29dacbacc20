#pragma once
// The web-site submission's body for the form-mail script, form-urlencoded (UTF-8), so that no value can
// cut a field short or add one of its own.

#include <string>
#include <string_view>

namespace update::protocol {

// Letters, digits and "*-._" stay; a blank becomes "+"; every other byte is "%XX".
std::string FormEncode(std::string_view value);

struct StandardForm {
    std::string title, firstName, secondName, email, subject, recipient, mainText, internalInfo, date, locale,
        dataSeg;
};

// "email=...&Title=...&FirstName=...&SecondName=...&subject=...&recipient=...&MainText=...&InternalInfo=..."
// "&Date=...&Locale=...&DataSeg=...", each value encoded.
std::string StandardFormBody(const StandardForm& form);

}  // namespace update::protocol
