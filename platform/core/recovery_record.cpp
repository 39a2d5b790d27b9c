#include "platform/core/recovery_record.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

namespace fn {

namespace {

constexpr char kMark[4] = {'F', 'N', 'W', 'H'};
constexpr uint16_t kVersion = 1;
constexpr uint16_t kPlainTextFlag = 1;
constexpr wchar_t kCopyExtension[] = L".fnw";
constexpr wchar_t kTempExtension[] = L".fnw.neu";
constexpr wchar_t kLockExtension[] = L".lock";
// "xxxxxxxx-xxxxxxxxxxxxxxxx": the process id and the start time in hexadecimal.
constexpr size_t kOwnerChars = 8 + 1 + 16;

const std::array<uint32_t, 256>& CrcTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    return table;
}

void Put(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

uint64_t Get(const uint8_t* p, int bytes) {
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= uint64_t{p[i]} << (8 * i);
    return value;
}

String Hex(uint64_t value, int digits) {
    static const wchar_t kDigits[] = L"0123456789abcdef";
    String s(static_cast<size_t>(digits), L'0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4) s[static_cast<size_t>(i)] = kDigits[value & 0xF];
    return s;
}

bool IsHex(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'); }

bool EndsWith(const String& s, std::wstring_view tail) {
    return s.size() >= tail.size() && std::wstring_view(s).substr(s.size() - tail.size()) == tail;
}

enum class TKind { Copy, Temp, Lock };

struct TParsedName {
    String Owner;
    TKind Kind;
    uint32_t Serial = 0;
};

// A name this program writes, or nothing.
std::optional<TParsedName> ParseName(const String& name) {
    if (name.size() < kOwnerChars) return std::nullopt;
    const String owner = name.substr(0, kOwnerChars);
    for (size_t i = 0; i < kOwnerChars; ++i)
        if (i == 8 ? owner[i] != L'-' : !IsHex(owner[i])) return std::nullopt;
    const String rest = name.substr(kOwnerChars);
    if (rest == kLockExtension) return TParsedName{owner, TKind::Lock};
    const TKind kind = EndsWith(rest, kTempExtension) ? TKind::Temp : TKind::Copy;
    if (kind == TKind::Copy && !EndsWith(rest, kCopyExtension)) return std::nullopt;
    const String serial = rest.substr(0, rest.size() - (kind == TKind::Temp ? std::size(kTempExtension) : std::size(kCopyExtension)) + 1);
    if (serial.size() < 2 || serial.size() > 11 || serial[0] != L'-') return std::nullopt;
    uint64_t value = 0;
    for (size_t i = 1; i < serial.size(); ++i) {
        if (serial[i] < L'0' || serial[i] > L'9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(serial[i] - L'0');
    }
    if (value > UINT32_MAX) return std::nullopt;
    return TParsedName{owner, kind, static_cast<uint32_t>(value)};
}

}  // namespace

uint32_t RecoveryChecksum(const void* data, size_t size, uint32_t crc) {
    const auto& table = CrcTable();
    const auto* p = static_cast<const uint8_t*>(data);
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::string EncodeRecoveryRecord(const TRecoveryRecord& record) {
    const std::string name = WideToUtf8(record.FileName), caption = WideToUtf8(record.Caption);
    uint32_t crc = RecoveryChecksum(name.data(), name.size());
    crc = RecoveryChecksum(caption.data(), caption.size(), crc);
    crc = RecoveryChecksum(record.RichText.data(), record.RichText.size(), crc);
    std::string out;
    out.reserve(kRecoveryHeaderBytes + name.size() + caption.size() + record.RichText.size());
    out.append(kMark, sizeof kMark);
    Put(out, kVersion, 2);
    Put(out, record.PlainText ? kPlainTextFlag : 0, 2);
    Put(out, name.size(), 4);
    Put(out, caption.size(), 4);
    Put(out, record.RichText.size(), 8);
    Put(out, crc, 4);
    out += name;
    out += caption;
    out += record.RichText;
    return out;
}

std::optional<uint64_t> RecoveryRecordSize(const uint8_t* data, size_t size) {
    if (size < kRecoveryHeaderBytes || std::memcmp(data, kMark, sizeof kMark) != 0) return std::nullopt;
    if (Get(data + 4, 2) != kVersion || (Get(data + 6, 2) & ~uint64_t{kPlainTextFlag}) != 0) return std::nullopt;
    const uint64_t nameBytes = Get(data + 8, 4), captionBytes = Get(data + 12, 4), textBytes = Get(data + 16, 8);
    if (nameBytes > kMaxRecoveryNameBytes || captionBytes > kMaxRecoveryNameBytes || textBytes > kMaxRecoveryTextBytes)
        return std::nullopt;
    // Each length is bounded, so the sum cannot overflow.
    return kRecoveryHeaderBytes + nameBytes + captionBytes + textBytes;
}

std::optional<TRecoveryRecord> DecodeRecoveryRecord(const uint8_t* data, size_t size) {
    // The record must be all there is.
    if (RecoveryRecordSize(data, size) != size) return std::nullopt;
    const uint64_t flags = Get(data + 6, 2), nameBytes = Get(data + 8, 4), captionBytes = Get(data + 12, 4),
                   textBytes = Get(data + 16, 8);
    const auto crc = static_cast<uint32_t>(Get(data + 24, 4));
    const uint8_t* body = data + kRecoveryHeaderBytes;
    if (RecoveryChecksum(body, size - kRecoveryHeaderBytes) != crc) return std::nullopt;
    TRecoveryRecord record;
    const auto* chars = reinterpret_cast<const char*>(body);
    record.FileName = Utf8ToWide(std::string_view(chars, nameBytes));
    record.Caption = Utf8ToWide(std::string_view(chars + nameBytes, captionBytes));
    record.PlainText = flags & kPlainTextFlag;
    record.RichText.assign(chars + nameBytes + captionBytes, textBytes);
    if (record.FileName.empty()) return std::nullopt;
    return record;
}

String RecoveryOwner(uint32_t processId, uint64_t startTime) { return Hex(processId, 8) + L"-" + Hex(startTime, 16); }

String RecoveryCopyName(const String& owner, uint32_t serial) {
    return owner + L"-" + IntToStr(static_cast<long long>(serial)) + kCopyExtension;
}

String RecoveryTempName(const String& owner, uint32_t serial) {
    return owner + L"-" + IntToStr(static_cast<long long>(serial)) + kTempExtension;
}

String RecoveryLockName(const String& owner) { return owner + kLockExtension; }

std::vector<TRecoveryOwnerFiles> GroupRecoveryFiles(const std::vector<String>& names, const String& ownOwner) {
    struct TFound {
        std::vector<std::pair<uint32_t, String>> copies;
        std::vector<String> others;
    };
    std::map<String, TFound> owners;
    for (const String& name : names) {
        auto parsed = ParseName(name);
        if (!parsed || parsed->Owner == ownOwner) continue;
        TFound& found = owners[parsed->Owner];
        if (parsed->Kind == TKind::Copy) found.copies.emplace_back(parsed->Serial, name);
        else found.others.push_back(name);
    }
    std::vector<TRecoveryOwnerFiles> groups;
    for (auto& [owner, found] : owners) {
        std::sort(found.copies.begin(), found.copies.end());
        TRecoveryOwnerFiles files{owner, {}, std::move(found.others)};
        for (auto& copy : found.copies) files.Copies.push_back(std::move(copy.second));
        groups.push_back(std::move(files));
    }
    return groups;
}

std::vector<TRecoveryOwnerFiles> OrphanedRecoveryFiles(const std::vector<String>& names, const String& ownOwner,
                                                       const std::function<bool(const String& owner)>& alive) {
    std::vector<TRecoveryOwnerFiles> orphaned;
    for (auto& files : GroupRecoveryFiles(names, ownOwner))
        if (!alive(files.Owner)) orphaned.push_back(std::move(files));
    return orphaned;
}

}  // namespace fn
