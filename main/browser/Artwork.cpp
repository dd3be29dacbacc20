#include "main/browser/Artwork.h"

namespace browser {

forms::StdPicture ProgramIcon(int id) { return forms::LoadResPicture(id, forms::res_kind::Icon); }
forms::StdPicture ProgramBitmap(int id) { return forms::LoadResPicture(id, forms::res_kind::Bitmap); }

}  // namespace browser
