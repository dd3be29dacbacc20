#pragma once
// The 13 picture types the program can open from the shell, one row each, with what each caller writes: the
// options window makes a type the program's with its description and content type "Image"; the start-up
// upkeep renews a chosen type with its own full name and content type.

#include "main/core/Module1.h"

#include <array>
#include <string>

namespace filetypes {

struct FileType {
    const char* code;        // in settings keys ("BMPassc") and messages
    const char* caption;     // of the options window's box
    const char* extension;   // with its dot
    const char* properName;  // the file-type entry under the classes root
    const char* description;         // written by the options window
    const char* startUpFullName;     // written by the start-up upkeep
    const char* startUpContentType;  // written by the start-up upkeep
    std::string* icon;       // the icon string of Module1; nullptr: "%1", each file its own icon

    std::string Icon() const { return icon ? *icon : std::string("%1"); }
    std::string Key() const { return std::string(code) + "assc"; }
};

// In the order of the options window's association pass.
inline const std::array<FileType, 13> kFileTypes{{
    {"BMP", "BMP", ".bmp", "Bitmap", "Bitmap", "Bitmap File", "Image", &Module1::gIconBMP},
    {"JPG", "JPG", ".jpg", "Jpeg", "Jpeg", "Jpeg Compressed Image", "Image", &Module1::gIconJPG},
    {"GIF", "GIF", ".gif", "GIF", "Compuserve GIF", "Graphics Interchangable Format", "Image", &Module1::gIconGIF},
    {"WMF", "WMF", ".wmf", "WMF", "Windows Metafile", "Windows Metafile", "Image", &Module1::gIconWMF},
    {"EMF", "EMF", ".emf", "EMF", "Windows Enhanced Metafile", "Enhanced Windows Metafile", "Image", &Module1::gIconEMF},
    {"ICO", "Icon", ".ico", "Icon", "Icon", "Icon File", "Icon", nullptr},
    {"CUR", "Cursor", ".cur", "Cursor", "Cursor", "Cursor File", "Cursor", nullptr},
    {"TGA", "TGA", ".tga", "TGA", "Truevision Targa", "Truevision Targa", "Image", &Module1::gIconTGA},
    {"PCX", "PCX", ".pcx", "PCX", "Zsoft Paintbrush", "Zsoft Paintbrush", "Image", &Module1::gIconPCX},
    {"TIF", "TIFF", ".tif", "Tiff", "Tagged Image File Format", "Tagged Image File Format", "Image", &Module1::gIconTIF},
    {"EPS", "EPS", ".eps", "EPSPrev", "EPS Preview", "EPS Preview", "Image", &Module1::gIconEPS},
    {"PCT", "PCT", ".pct", "MacPICT", "Mac Pict", "Mac Pict", "Image", &Module1::gIconPCT},
    {"PNG", "PNG", ".png", "PNG", "Portable Network Graphics", "Portable Network Graphics", "Image", &Module1::gIconPNG},
}};

// The row of a type code; nullptr for another code.
inline const FileType* FindFileType(const std::string& code) {
    for (const FileType& type : kFileTypes)
        if (code == type.code) return &type;
    return nullptr;
}

}  // namespace filetypes
