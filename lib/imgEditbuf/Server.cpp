// The server's class table and its one export beyond the four of every server.

#include "lib/comserver/ClassFactory.h"
#include "lib/comserver/Registration.h"
#include "lib/imgEditbuf/ComDIBSection.h"
#include "lib/imgEditbuf/ComImgEditCtlBuf.h"
#include "lib/imgEditbuf/Messages.h"

namespace comserver {

const ServerEntry& ThisServer() {
    static const ClassEntry classes[] = {
        {CLSID_clsImgEditCtlBuf, "rvimgctl.clsImgEditCtlBuf", "clsImgEditCtlBuf",
         &ClassFactory<imgbuf::ComImgEditCtlBuf>::Create},
        {CLSID_cDIBSection, "rvimgctl.cDIBSection", "cDIBSection", &ClassFactory<imgbuf::ComDIBSection>::Create},
    };
    static const ServerEntry server{LIBID_rvimgctl, classes};
    return server;
}

}  // namespace comserver

// For tests of the server in process: replaces the module's message boxes by an answerer (nullptr restores
// them) and returns the previous answerer.
extern "C" imgbuf::MessageAnswerer __stdcall rvimgctlSetMessageAnswerer(imgbuf::MessageAnswerer answerer) {
    return imgbuf::SetMessageAnswerer(answerer);
}
