#pragma once
// TMemIniFile: the memory INI table that holds a skin description.
// Portable. It keeps exactly these eight rules:
//  1. each line is trimmed of leading and trailing blanks and control characters;
//  2. empty lines and lines beginning with ";" are ignored;
//  3. "[name]" opens a section (name trimmed); lines before the first section are ignored;
//  4. any other line is an entry: key = trimmed text before the first "=", value = trimmed
//     text after it; a line without "=" stays in the table but is never found as a key;
//  5. sections and keys match without regard to letter case; values come back as stored;
//  6. the first section of a name, and the first key of a name in it, win;
//  7. a missing section or key reads as the caller's default;
//  8. writing replaces the value, or appends the entry, or appends a new section at the end;
//     erasing a section removes it with its keys.
// The text ends at its first NUL; lines end at CR, LF or CR LF.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <deque>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/core/classes.h"
#include "platform/core/strings.h"

namespace fn {

// The table keeps the text it was loaded from in one piece and refers to its names, keys and
// values as views into it, so loading a description allocates per section, not per line.
// Written names, keys and values are kept beside it; a replaced value stays in storage until
// the table is cleared or loaded anew.
class TMemIniFile {
public:
    TMemIniFile() = default;
    // Loads a description file: its bytes as SetBytes reads them.
    explicit TMemIniFile(const String& fileName);
    // Views point into the table's own storage: moving keeps them, a copy would not.
    TMemIniFile(const TMemIniFile&) = delete;
    TMemIniFile& operator=(const TMemIniFile&) = delete;
    TMemIniFile(TMemIniFile&&) = default;
    TMemIniFile& operator=(TMemIniFile&&) = default;

    // Replaces the whole table by these lines / this text.
    void SetStrings(const std::vector<String>& lines);
    void SetStrings(const TStringList& lines) { SetStrings(lines.Lines()); }
    void SetText(std::wstring_view text);
    // 8-bit description bytes: cut at the first NUL, decoded as Windows-1252 (no byte-order
    // mark or UTF-8 is looked for: a description is 8-bit text), split into lines.
    void SetBytes(const uint8_t* data, size_t size);
    void Clear();

    // The table as lines: "[section]", then "key=value" (or the kept line without "=").
    std::vector<String> GetStrings() const;
    String Text() const;  // GetStrings, each line followed by CR LF

    String ReadString(std::wstring_view section, std::wstring_view key, std::wstring_view def) const;
    // StrToIntDef of the value: decimal with optional sign, "$"/"0x" hexadecimal.
    int ReadInteger(std::wstring_view section, std::wstring_view key, int def) const;
    // The stored value, or nothing when the section or key is missing. The view is valid until
    // the table changes.
    std::optional<std::wstring_view> FindValue(std::wstring_view section, std::wstring_view key) const;
    bool ValueExists(std::wstring_view section, std::wstring_view key) const {
        return FindValue(section, key).has_value();
    }

    void WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value);
    void WriteInteger(std::wstring_view section, std::wstring_view key, int value);
    void EraseSection(std::wstring_view section);
    bool SectionExists(std::wstring_view section) const { return FindSection(section) >= 0; }

    // Section names in table order (duplicates included) and the keys of the first section
    // of a name in entry order (lines without "=" left out).
    std::vector<String> ReadSections() const;
    std::vector<String> ReadSection(std::wstring_view section) const;
    // Every entry of the first section of a name (none when it is missing): key, value and
    // whether the line had "=". Valid until the table changes.
    struct Entry {
        std::wstring_view key;  // the trimmed text before "=", or the whole line when it has none
        std::wstring_view value;
        bool hasValue = true;
        bool firstOfKey = false;  // set by the table: the first entry of its key, the one found
    };
    std::span<const Entry> SectionEntries(std::wstring_view section) const;

    // Sections by position, for readers that look up many keys of one section.
    int FindSectionIndex(std::wstring_view name) const { return FindSection(name); }
    std::optional<std::wstring_view> FindValueAt(int sectionIndex, std::wstring_view key) const;
    // The same for a reader that asks for keys mostly in the order the section lists them:
    // `next` is the position in the section after the entry last found, where the key is
    // looked for first (no hashing when it is there); it moves on past the entry found.
    std::optional<std::wstring_view> FindValueAt(int sectionIndex, std::wstring_view key, size_t& next) const;

    // Case-insensitive comparison (ASCII and Latin-1 letters).
    static wchar_t FoldChar(wchar_t c) {
        return ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) ? static_cast<wchar_t>(c + 32) : c;
    }
    // Letters that fold to one another differ only in bit 0x20 of their low byte, so hashing
    // every character with that bit set gives fold-equal names one hash. The characters are
    // taken a 64-bit word at a time; each word is multiplied apart from the running hash, so
    // the chain from word to word is one rotation and one addition.
    static uint32_t FoldHash(std::wstring_view s) {
        constexpr size_t perWord = sizeof(uint64_t) / sizeof(wchar_t);
        constexpr uint64_t fold = sizeof(wchar_t) == 2 ? 0x0020002000200020ull : 0x0000002000000020ull;
        constexpr uint64_t mul = 0x9E3779B97F4A7C15ull;
        uint64_t h = s.size();
        size_t i = 0;
        for (; i + perWord <= s.size(); i += perWord) {
            uint64_t w;
            std::memcpy(&w, s.data() + i, sizeof w);
            h = std::rotl(h, 23) + (w | fold) * mul;
        }
        uint64_t tail = 0;
        for (; i < s.size(); ++i) tail = tail << (8 * sizeof(wchar_t)) | (static_cast<uint64_t>(s[i]) | 0x20u);
        h = std::rotl(h, 23) + tail * mul;
        h ^= h >> 29;
        return static_cast<uint32_t>((h * mul) >> 32);
    }
    static bool FoldEqual(std::wstring_view a, std::wstring_view b) {
        if (a.size() != b.size()) return false;
        if (a == b) return true;  // names are mostly looked up as they are written
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i] && FoldChar(a[i]) != FoldChar(b[i])) return false;
        return true;
    }

private:
    // Open addressing over a power-of-two run of slots. A slot holds a position (plus one; 0
    // is empty) and its hash; what a position names stays where it is, and the caller's match
    // tells whether it is the name looked for. Positions of one name are probed in insertion
    // order, so the first inserted is the one found.
    struct Slot {
        uint32_t pos = 0;
        uint32_t hash = 0;
    };
    template <class Match>
    static int Probe(const Slot* slots, size_t size, uint32_t hash, Match match) {
        if (!size) return -1;
        const size_t mask = size - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& s = slots[i];
            if (!s.pos) return -1;
            if (s.hash == hash && match(s.pos - 1)) return static_cast<int>(s.pos - 1);
        }
    }
    // Adds pos unless a position that matches is there already; true when pos was added. The
    // run must have an empty slot.
    template <class Match>
    static bool Place(Slot* slots, size_t size, size_t pos, uint32_t hash, Match match) {
        const size_t mask = size - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& s = slots[i];
            if (!s.pos) {
                s = Slot{static_cast<uint32_t>(pos + 1), hash};
                return true;
            }
            if (s.hash == hash && match(s.pos - 1)) return false;
        }
    }
    // Slots for `count` names at most half full.
    static size_t SlotsFor(size_t count) {
        size_t size = 8;
        while (size < count * 2) size *= 2;
        return size;
    }

    // A section's entries are entries_[first, first + count): the table keeps every entry in
    // one array, section after section, as the text lists them. Its keys are indexed in its
    // own run of slots, slots_[slotFirst, slotFirst + slotCount), by position in the section,
    // so the run stays small (it is probed while the section is read) and positions outlive
    // moves of the section's entries.
    struct Section {
        std::wstring_view name;
        size_t first = 0;
        size_t count = 0;
        size_t slotFirst = 0;
        size_t slotCount = 0;
    };
    int FindSection(std::wstring_view name) const;
    int FindEntry(size_t section, std::wstring_view key) const;
    void AddSection(std::wstring_view name);
    void IndexSectionName(size_t section);
    // Appends an entry to the last section; indexes it unless the table is being parsed
    // (Parse indexes each section once it is complete).
    void AppendEntry(const Entry& e, bool index);
    // Adds the section's entry at position pos in the section to its slots (growing them).
    void IndexEntry(size_t section, size_t pos);
    // Gives the section a new run of slots and indexes its entries in order.
    void IndexSection(size_t section);
    void Reindex();
    // Splits text (already cut at its NUL) into lines and adds each by the table's rules.
    void Parse(std::wstring_view text);
    void AddLine(std::wstring_view line);
    // Keeps a copy of text in the table's storage and returns the view of the copy.
    std::wstring_view Keep(std::wstring_view text);

    std::deque<String> texts_;  // what the views point into; deque elements never move
    std::vector<Section> sections_;
    std::vector<Entry> entries_;
    std::vector<Slot> slots_;         // the sections' runs of slots
    std::vector<Slot> sectionSlots_;  // name -> first section of that name
};

}  // namespace fn
