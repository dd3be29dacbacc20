#include "main/core/Module1.h"
#include "main/core/clsShIntegration.h"
#include "main/core/clsVarMenus.h"

namespace Module1 {

// Each lives for the run and is never freed, as the main window's menus may outlive any order of teardown.
clsVarMenus& gEditorsMenu() {
    static clsVarMenus* const menus = new clsVarMenus();
    return *menus;
}

clsVarMenus& gMyWebsMenu() {
    static clsVarMenus* const menus = new clsVarMenus();
    return *menus;
}

clsVarMenus& gImgWebsMenu() {
    static clsVarMenus* const menus = new clsVarMenus();
    return *menus;
}

clsShIntegration& gShIntegration() {
    static clsShIntegration* const integration = new clsShIntegration();
    return *integration;
}

}  // namespace Module1
