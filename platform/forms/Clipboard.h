#pragma once
// The system clipboard for pictures: bitmaps, metafile pictures, DIBs and enhanced metafiles. Handles are
// never shared with it: the clipboard gets a copy of a picture, and a picture taken from it owns a copy, so
// the next EmptyClipboard (this program's or another's) never destroys a picture on screen.
//
// A clipboard held open by another program is retried for about half a second, then raises 521.

#include "platform/forms/StdPicture.h"

#include <optional>

namespace forms {

namespace clipformat {
inline constexpr int Bitmap = 2;       // CF_BITMAP
inline constexpr int Metafile = 3;     // CF_METAFILEPICT
inline constexpr int Dib = 8;          // CF_DIB
inline constexpr int EnhMetafile = 14; // CF_ENHMETAFILE
}  // namespace clipformat

class Clipboard {
public:
    static void Clear();
    // Puts the picture in its own format: a bitmap as CF_BITMAP (the system derives CF_DIB), an enhanced
    // metafile as CF_ENHMETAFILE, a metafile as CF_METAFILEPICT with its size in HiMetric. An icon has no
    // clipboard format: it goes as a bitmap of it drawn on white. A format, when given, must be one the
    // picture can take (else 5). Nothing raises 91, an empty picture 481.
    static void SetData(const StdPicture& picture, std::optional<int> format = {});
    // A new picture. Without a format: a bitmap (from 2 or 8), else 14, else 3; an empty picture (handle 0)
    // when there is none. With a format: that one, or an empty picture.
    static StdPicture GetData(std::optional<int> format = {});
    // Whether the clipboard holds data of that format (any clipboard format number).
    static bool GetFormat(int format);
};

}  // namespace forms
