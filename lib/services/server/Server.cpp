// The classes of orcmcls.dll, for its class factory and its registration.

#include "Toolcraft.h"
#include "lib/comserver/ClassFactory.h"
#include "lib/comserver/Registration.h"
#include "lib/services/server/ComdlgObject.h"
#include "lib/services/server/clsReg_n_FileAssocObject.h"
#include "lib/services/server/clsShellObject.h"
#include "lib/services/server/stdFunctionsObject.h"

namespace {

using comserver::ClassFactory;

const comserver::ClassEntry kClasses[] = {
    {CLSID_clsShell, "Toolcraft.clsShell", "clsShell", &ClassFactory<services::clsShellObject>::Create},
    {CLSID_stdFunctions, "Toolcraft.stdFunctions", "stdFunctions",
     &ClassFactory<services::stdFunctionsObject>::Create},
    {CLSID_Comdlg, "Toolcraft.Comdlg", "Comdlg", &ClassFactory<services::ComdlgObject>::Create},
    {CLSID_clsReg_n_FileAssoc, "Toolcraft.clsReg_n_FileAssoc", "clsReg_n_FileAssoc",
     &ClassFactory<services::clsReg_n_FileAssocObject>::Create},
};
const comserver::ServerEntry kServer{LIBID_Toolcraft, kClasses};

}  // namespace

const comserver::ServerEntry& comserver::ThisServer() { return kServer; }
