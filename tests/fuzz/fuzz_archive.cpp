// libFuzzer target: the whole archive read as the skin data manager does it:
// decompress (input starting with 0x78 is zlib data; anything else an uncompressed archive),
// the flagged pictures, the version-2 extras, N pictures, the description, and every record.
#include "skin/data/skin_archive.h"
#include "skin/data/zlib_streams.h"
#include "tests/fuzz/fuzz_common.h"

using namespace fn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemoryStream archive;
    try {
        if (size > 0 && data[0] == 0x78) {
            TBytesStream z(data, size);
            DecompressStream(z, archive);
        } else {
            archive.WriteBuffer(data, size);
        }
    } catch (const EZlibError&) {
        return 0;
    }
    archive.SetPosition(0);
    TSkinArchive a;
    try {
        if (!ReadSkinArchive(archive, a)) return 0;
    } catch (const Exception&) {
        return 0;  // "Bitmap ist ungültig", "Stream-Lesefehler"
    }
    TMemIniFile ini;
    ini.SetStrings(a.Description);
    fuzz::ReadSkinRecords(ini);
    // What was read writes as a version 3 archive that reads back the same.
    TMemoryStream out;
    WriteSkinArchive(out, a);
    out.SetPosition(0);
    TSkinArchive b;
    if (!ReadSkinArchive(out, b)) std::abort();
    if (!(b.Picture == a.Picture) || !(b.Mask == a.Mask) || b.ActivePictures.size() != a.ActivePictures.size())
        std::abort();
    return 0;
}
