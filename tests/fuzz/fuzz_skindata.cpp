// libFuzzer target: a skin data manager loading whatever it is given, through the stored
// skin (input starting with 0x78, zlib data) or as an uncompressed archive. Whatever happens,
// the manager ends in one of its named states and its lookups stay consistent.
#include <cstdlib>

#include "skin/data/skin_data.h"
#include "skin/data/stored_skin.h"

using namespace fn;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// The messages arrive in order, each with the state it announces.
unsigned lastMessage = 0;

void Observe(TmnSkinData& sd, unsigned message) {
    switch (message) {
        case MSG_SKIN_BEFORE_CHANGE: Check(lastMessage == 0 && sd.Empty() && sd.SkinLoading()); break;
        case MSG_SKIN_CHANGE: Check(lastMessage == MSG_SKIN_BEFORE_CHANGE && !sd.Empty() && sd.SkinLoading()); break;
        case MSG_SKIN_AFTER_CHANGE: Check(lastMessage == MSG_SKIN_CHANGE && !sd.Empty() && !sd.SkinLoading()); break;
        default: Check(false);
    }
    lastMessage = message;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool installed = (SetSkinMessageSink(Observe), true);
    (void)installed;
    lastMessage = 0;
    TmnSkinData sd(nullptr);
    bool failed = false;
    try {
        if (size > 0 && data[0] == 0x78) {
            TmnCompressedStoredSkin skin(nullptr);
            skin.CompressedStream().WriteBuffer(data, size);
            sd.LoadFromCompressedStoredSkin(skin);
        } else {
            TBytesStream archive(data, size);
            sd.LoadFromArchive(archive);
        }
    } catch (const Exception&) {
        failed = true;  // corrupt data, invalid bitmaps, short reads, malformed numbers
    }
    if (failed || sd.Empty()) {
        // A failed load, or a newer archive version: still loading, only the first message.
        Check(sd.Empty() && sd.SkinLoading() && lastMessage == MSG_SKIN_BEFORE_CHANGE);
        return 0;
    }
    Check(!sd.SkinLoading() && lastMessage == MSG_SKIN_AFTER_CHANGE);
    // Lookups find each record's name at or before its own position.
    for (size_t i = 0; i < sd.SkinObjects().size(); ++i) {
        int at = sd.GetObjectIndex(sd.SkinObjects()[i]->SectionName);
        Check(at >= 0 && static_cast<size_t>(at) <= i && sd.SkinObjects()[at]->SectionName == sd.SkinObjects()[i]->SectionName);
    }
    for (size_t i = 0; i < sd.SkinControls().size(); ++i) {
        int at = sd.GetControlIndex(sd.SkinControls()[i]->SectionName);
        Check(at >= 0 && static_cast<size_t>(at) <= i);
    }
    for (size_t i = 0; i < sd.ActivePictures().size(); ++i) Check(sd.ActivePicture(static_cast<int>(i)) != nullptr);
    Check(sd.ActivePicture(-1) == nullptr && sd.ActivePicture(static_cast<int>(sd.ActivePictures().size())) == nullptr);
    // The same skin at twice the scale: its pictures are read again, each straight to its size.
    const size_t pictures = sd.ActivePictures().size();
    lastMessage = 0;
    sd.SetDpi(192);
    Check(!sd.SkinLoading() && lastMessage == MSG_SKIN_AFTER_CHANGE && sd.ActivePictures().size() == pictures);
    return 0;
}
