#pragma once
// Picture objects (the system's OLE picture) made from and read back into 24-bit rows.

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include "platform/runtime/OwnedHandles.h"
#include "platform/imaging/decoders/Image24.h"

namespace imaging {

using Microsoft::WRL::ComPtr;

// A top-down 24-bit DIB section holding the image's pixels; empty when GDI refuses it.
forms::UniqueBitmap BitmapFromImage(const Image24& image);

// A picture object that owns the bitmap from now on (it deletes it when its last reference goes).
// Raises error 480 when the picture cannot be made.
ComPtr<IPictureDisp> PictureFromBitmap(forms::UniqueBitmap bitmap);

// A picture object with no picture in it (handle 0).
ComPtr<IPictureDisp> EmptyPicture();

// The pixels of a bitmap picture, top-down; error 481 for a picture that holds no bitmap.
Image24 ImageFromPicture(IPictureDisp* picture);

}  // namespace imaging
