#pragma once
// Recovery copies of unsaved notes (portable): the record one copy file holds, read back with
// every length checked against the bytes there are, and the names that tie each copy to the
// running program that wrote it.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/strings.h"

namespace fn {

// What a copy keeps of a note: enough to open it again as it was, under its own name.
struct TRecoveryRecord {
    String FileName;      // the note's full path, or the untitled marker
    String Caption;       // its window's caption
    bool PlainText = false;  // the note's file is plain text (a Save writes it as such)
    std::string RichText;    // the note's whole text as rich text
};

// The largest rich text a record carries (what the editor loads at most) and the largest
// name or caption, in bytes; a record claiming more is damaged.
inline constexpr uint64_t kMaxRecoveryTextBytes = uint64_t{1} << 30;
inline constexpr uint32_t kMaxRecoveryNameBytes = 1u << 17;
// The header's size.
inline constexpr size_t kRecoveryHeaderBytes = 28;

// The record's bytes: a header (mark, version, flags, the three lengths and a checksum of
// what follows it), the name and caption as UTF-8, then the rich text.
std::string EncodeRecoveryRecord(const TRecoveryRecord& record);
// The record, or nothing when the bytes are no whole, intact record (wrong mark or version, a
// length beyond its bound or beyond the bytes, bytes left over, a checksum that differs).
std::optional<TRecoveryRecord> DecodeRecoveryRecord(const uint8_t* data, size_t size);

// The size of the whole record whose header begins data (size bytes of it there), or nothing
// when the header is none or claims more than its bounds: a reader looks before it reads on.
std::optional<uint64_t> RecoveryRecordSize(const uint8_t* data, size_t size);

// The checksum the header carries (CRC-32, as zip files use it), continued from crc.
uint32_t RecoveryChecksum(const void* data, size_t size, uint32_t crc = 0);

// One running program's name in the folder: its process id and its start time, so that a
// later program given the same id never takes a dead one's copies for its own.
String RecoveryOwner(uint32_t processId, uint64_t startTime);
// The files of an owner: a copy per note ("<owner>-<serial>.fnw"), the copy being written
// ("….fnw.neu"), and the lock file its program holds open while it runs ("<owner>.lock").
String RecoveryCopyName(const String& owner, uint32_t serial);
String RecoveryTempName(const String& owner, uint32_t serial);
String RecoveryLockName(const String& owner);

// The files of one owner found in the folder.
struct TRecoveryOwnerFiles {
    String Owner;
    std::vector<String> Copies;  // ordered by serial: the notes in the order they were opened
    std::vector<String> Others;  // its lock file and half-written copies
};

// Groups the folder's file names by owner, leaving out ownOwner and names that are none of
// the above.
std::vector<TRecoveryOwnerFiles> GroupRecoveryFiles(const std::vector<String>& names, const String& ownOwner);

// The owners whose program is gone (alive answers for the others): their copies are the ones
// to offer, and every file of theirs goes once the user has decided.
std::vector<TRecoveryOwnerFiles> OrphanedRecoveryFiles(const std::vector<String>& names, const String& ownOwner,
                                                       const std::function<bool(const String& owner)>& alive);

}  // namespace fn
