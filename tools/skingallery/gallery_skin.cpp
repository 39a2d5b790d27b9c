#include "tools/skingallery/gallery_skin.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "skin/data/stored_skin.h"

namespace fn {

namespace {

// The packed default skin, the RCDATA resource the program carries.
void LoadDefault(TmnCompressedStoredSkin& stored) {
    HRSRC info = ::FindResourceW(nullptr, L"FENNICK_SKIN", MAKEINTRESOURCEW(10));
    HGLOBAL res = info ? ::LoadResource(nullptr, info) : nullptr;
    const void* bytes = res ? ::LockResource(res) : nullptr;
    if (!bytes) throw EFOpenError(L"Der eingebaute Skin fehlt");
    stored.CompressedStream().Clear();
    stored.CompressedStream().WriteBuffer(bytes, ::SizeofResource(nullptr, info));
}

void Fill(TmnCompressedStoredSkin& stored, const TGallerySkinSource& source) {
    if (source.Path.empty()) LoadDefault(stored);
    else if (source.IsFolder()) stored.LoadFromSkinFile(source.Path + L"\\skin.ini");
    else stored.LoadFromCompressedFile(source.Path);
    if (stored.IsEmpty()) throw EReadError(L"Keine Skin-Beschreibung: " + source.Path);
}

}  // namespace

bool TGallerySkinSource::IsFolder() const {
    if (Path.empty()) return false;
    const DWORD a = ::GetFileAttributesW(Path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

String TGallerySkinSource::Label() const { return Path.empty() ? String(L"Fennick (eingebaut)") : Path; }

void LoadGallerySkin(TmnSkinData& data, const TGallerySkinSource& source) {
    TmnCompressedStoredSkin stored(nullptr);
    Fill(stored, source);
    {
        TmnSkinData scratch(nullptr);  // a broken skin stops here, the shown one stays
        scratch.LoadFromCompressedStoredSkin(stored);
    }
    data.LoadFromCompressedStoredSkin(stored);
}

String FolderSignature(const String& folder) {
    std::vector<String> entries;
    WIN32_FIND_DATAW f;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &f);
    if (find == INVALID_HANDLE_VALUE) return {};
    do {
        if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        entries.push_back(String(f.cFileName) + L"|" + std::to_wstring(f.nFileSizeLow) + L"|" +
                          std::to_wstring(f.ftLastWriteTime.dwHighDateTime) + L":" +
                          std::to_wstring(f.ftLastWriteTime.dwLowDateTime));
    } while (::FindNextFileW(find, &f));
    ::FindClose(find);
    std::sort(entries.begin(), entries.end());
    String all;
    for (const String& e : entries) all += e + L"\n";
    return all;
}

}  // namespace fn
