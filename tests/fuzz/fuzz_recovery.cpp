// libFuzzer target: a recovery copy read back; what reads as a record writes back to the same
// bytes.
#include <cstdlib>

#include "platform/core/recovery_record.h"

using namespace fn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto record = DecodeRecoveryRecord(data, size);
    if (!record) return 0;
    const std::string again = EncodeRecoveryRecord(*record);
    auto back = DecodeRecoveryRecord(reinterpret_cast<const uint8_t*>(again.data()), again.size());
    if (!back || back->FileName != record->FileName || back->Caption != record->Caption ||
        back->PlainText != record->PlainText || back->RichText != record->RichText)
        std::abort();
    return 0;
}
