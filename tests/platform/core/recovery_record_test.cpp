// Recovery copies: a record read back as written, every damaged or cut copy refused without
// reading past its bytes, and the folder's files sorted into the owners whose program is gone.
#include <gtest/gtest.h>

#include "platform/core/recovery_record.h"

using namespace fn;

namespace {

std::optional<TRecoveryRecord> Decode(const std::string& bytes) {
    return DecodeRecoveryRecord(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

TEST(RecoveryRecord, ReadsBackAsWrittenAndRefusesEveryDamagedOrCutCopy) {
    TRecoveryRecord record{L"C:\\Notizen\\Grüße an Anna.txt", L"Grüße an Anna.txt", true,
                           std::string("{\\rtf1 Hallo\\par }\0\xFF", 20)};
    const std::string bytes = EncodeRecoveryRecord(record);
    auto back = Decode(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->FileName, record.FileName);
    EXPECT_EQ(back->Caption, record.Caption);
    EXPECT_TRUE(back->PlainText);
    EXPECT_EQ(back->RichText, record.RichText);

    // Cut anywhere, one byte more, any byte changed: refused.
    for (size_t n = 0; n < bytes.size(); ++n) EXPECT_FALSE(Decode(bytes.substr(0, n))) << n;
    EXPECT_FALSE(Decode(bytes + "x"));
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::string damaged = bytes;
        damaged[i] ^= 0x10;
        EXPECT_FALSE(Decode(damaged)) << i;
    }
    // A header claiming a gigantic text over a few bytes is refused before anything is read.
    std::string huge = bytes;
    for (int i = 16; i < 24; ++i) huge[i] = '\xFF';
    EXPECT_FALSE(Decode(huge));
    EXPECT_FALSE(Decode(EncodeRecoveryRecord({L"", L"x", false, "{\\rtf1}"})));  // no name: no note
    // The checksum is the common CRC-32.
    EXPECT_EQ(RecoveryChecksum("123456789", 9), 0xCBF43926u);
}

TEST(RecoveryRecord, OnlyTheCopiesOfProgramsThatAreGoneAreOffered) {
    // The same process id started at another time is another owner.
    const String me = RecoveryOwner(0x1234, 0x01DA000000000001), dead = RecoveryOwner(0x1234, 7),
                 live = RecoveryOwner(0xBEEF, 7);
    const std::vector<String> names = {
        RecoveryCopyName(dead, 10), RecoveryCopyName(dead, 2), RecoveryTempName(dead, 11), RecoveryLockName(dead),
        RecoveryCopyName(me, 1), RecoveryLockName(me), RecoveryCopyName(live, 1), RecoveryLockName(live),
        L"desktop.ini", dead + L"-x.fnw", dead + L"-.fnw", dead + L"-99999999999.fnw", L"0000123g-0000000000000007-1.fnw",
        dead + L"-3.fnw.alt"};
    int asked = 0;
    auto orphaned = OrphanedRecoveryFiles(names, me, [&](const String& owner) {
        ++asked;
        return owner == live;
    });
    EXPECT_EQ(asked, 2);  // never about its own files
    ASSERT_EQ(orphaned.size(), 1u);
    EXPECT_EQ(orphaned[0].Owner, dead);
    // In the order the notes were opened, not as the folder lists them.
    EXPECT_EQ(orphaned[0].Copies, (std::vector<String>{dead + L"-2.fnw", dead + L"-10.fnw"}));
    EXPECT_EQ(orphaned[0].Others, (std::vector<String>{dead + L"-11.fnw.neu", dead + L".lock"}));
}
