// The splitter, the panel caption buttons, and the mouse and scrolling of the picture area.
#include "main/browser/frmQuillview.h"

void frmQuillview::BindWindowEvents() {}
