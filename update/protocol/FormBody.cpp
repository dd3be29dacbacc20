#include "update/protocol/FormBody.h"

#include <array>
#include <utility>

namespace update::protocol {

std::string FormEncode(std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '*' || c == '-' ||
            c == '.' || c == '_') {
            out += c;
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 0x0F];
        }
    }
    return out;
}

std::string StandardFormBody(const StandardForm& f) {
    const std::array<std::pair<std::string_view, const std::string*>, 11> fields{{
        {"email=", &f.email},
        {"&Title=", &f.title},
        {"&FirstName=", &f.firstName},
        {"&SecondName=", &f.secondName},
        {"&subject=", &f.subject},
        {"&recipient=", &f.recipient},
        {"&MainText=", &f.mainText},
        {"&InternalInfo=", &f.internalInfo},
        {"&Date=", &f.date},
        {"&Locale=", &f.locale},
        {"&DataSeg=", &f.dataSeg},
    }};
    std::string body;
    for (const auto& [name, value] : fields) {
        body += name;
        body += FormEncode(*value);
    }
    return body;
}

}  // namespace update::protocol
