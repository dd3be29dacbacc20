// Commands on the user's files and folders, and saving and opening pictures.
#include "main/browser/frmQuillview.h"

void frmQuillview::BindFileCommands() {}

void frmQuillview::mnuSave_Click() {}
