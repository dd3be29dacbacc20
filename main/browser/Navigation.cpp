// Drives, folders, favourites, the file list and Fileseek.
#include "main/browser/frmQuillview.h"

void frmQuillview::BindNavigation() {}

void frmQuillview::Dir1_Change() {}
