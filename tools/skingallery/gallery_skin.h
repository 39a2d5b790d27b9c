#pragma once
// Where the gallery's skin comes from: the default skin carried by the program, a skin folder
// (skin.ini and its bitmaps) or a packed skin file, and the signature of a folder's files by
// which --watch sees that it changed.
#include "platform/core/classes.h"
#include "skin/data/skin_data.h"

namespace fn {

struct TGallerySkinSource {
    String Path;  // empty: the default skin
    bool IsFolder() const;
    // How the source is named in the window ("Fennick (eingebaut)", the path).
    String Label() const;
};

// Loads the source into data. A broken source raises its error and leaves data as it was: the
// skin is read into a scratch manager first.
void LoadGallerySkin(TmnSkinData& data, const TGallerySkinSource& source);

// Names, sizes and write times of the folder's files, as one text; empty for no folder.
String FolderSignature(const String& folder);

}  // namespace fn
