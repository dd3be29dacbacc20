#include "update/WebAddressCheck.h"

#include "update/protocol/WebAddress.h"

#include <windows.h>
#include <wininet.h>

namespace update {

bool IsUsableWebAddress(const std::string& address) {
    if (!protocol::IsWebAddress(address)) return false;
    char host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    if (!InternetCrackUrlA(address.c_str(), 0, 0, &parts)) return false;
    return (parts.nScheme == INTERNET_SCHEME_HTTP || parts.nScheme == INTERNET_SCHEME_HTTPS) && host[0] != '\0';
}

}  // namespace update
