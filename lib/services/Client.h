#pragma once
// The typed clients of orcmcls.dll, for the programs: each Create() makes the class by its identifier
// (error 429 when it cannot be created) and every member raises forms::RuntimeError on failure.

#include "lib/services/client/ComdlgClient.h"
#include "lib/services/client/FileAssocClient.h"
#include "lib/services/client/ShellClient.h"
#include "lib/services/client/StdFunctionsClient.h"
