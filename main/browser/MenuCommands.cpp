// The toolbar, the clipboard, tools, the Go menu, the tray and the remaining menu commands.
#include "main/browser/frmQuillview.h"

void frmQuillview::BindMenuCommands() {}

void frmQuillview::Toolbar_Click(int) {}
void frmQuillview::mnuFullscrn_Click() {}
