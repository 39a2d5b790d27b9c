#pragma once
// TMemIniFile: the memory INI table that holds a skin description.
// Portable. It keeps exactly the eight rules of the Part:
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
#include <memory>
#include <string_view>
#include <cstdint>
#include <vector>

#include "platform/core/classes.h"
#include "platform/core/sysutils.h"

namespace fn {

class TMemIniFile {
public:
    TMemIniFile() = default;
    // Loads the file's lines (decoded as the string lists decode text files).
    explicit TMemIniFile(const String& fileName);

    // Replaces the whole table by these lines / this text.
    void SetStrings(const std::vector<String>& lines);
    void SetStrings(const TStringList& lines) { SetStrings(lines.Lines()); }
    void SetText(std::wstring_view text);
    // 8-bit description bytes: cut at the first NUL, decoded with DecodeText, split into lines.
    void SetBytes(const uint8_t* data, size_t size);
    void Clear();

    // The table as lines: "[section]", then "key=value" (or the kept line without "=").
    std::vector<String> GetStrings() const;
    String Text() const;  // GetStrings, each line followed by CR LF

    String ReadString(std::wstring_view section, std::wstring_view key, std::wstring_view def) const;
    // StrToIntDef of the value: decimal with optional sign, "$"/"0x" hexadecimal.
    int ReadInteger(std::wstring_view section, std::wstring_view key, int def) const;
    // Pointer to the stored value, or null when the section or key is missing.
    const String* FindValue(std::wstring_view section, std::wstring_view key) const;
    bool ValueExists(std::wstring_view section, std::wstring_view key) const { return FindValue(section, key); }

    void WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value);
    void WriteInteger(std::wstring_view section, std::wstring_view key, int value);
    void EraseSection(std::wstring_view section);
    bool SectionExists(std::wstring_view section) const { return FindSection(section) >= 0; }

    // Section names in table order (duplicates included) and the keys of the first section
    // of a name in entry order (lines without "=" left out).
    std::vector<String> ReadSections() const;
    std::vector<String> ReadSection(std::wstring_view section) const;
    // Every entry of the first section of a name: key, value and whether the line had "=".
    struct Entry {
        String key;    // the trimmed text before "=", or the whole line when it has none
        String value;
        bool hasValue = true;
    };
    const std::vector<Entry>* SectionEntries(std::wstring_view section) const;

    // Sections by position, for readers that look up many keys of one section.
    int FindSectionIndex(std::wstring_view name) const { return FindSection(name); }
    const String* FindValueAt(int sectionIndex, std::wstring_view key) const;

    // Case-insensitive comparison (ASCII and Latin-1 letters).
    static wchar_t FoldChar(wchar_t c) {
        return ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) ? static_cast<wchar_t>(c + 32) : c;
    }
    static uint32_t FoldHash(std::wstring_view s) {
        uint32_t h = 2166136261u;
        for (wchar_t c : s) h = (h ^ static_cast<uint32_t>(FoldChar(c))) * 16777619u;
        return h;
    }
    static bool FoldEqual(std::wstring_view a, std::wstring_view b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i] && FoldChar(a[i]) != FoldChar(b[i])) return false;
        return true;
    }

private:
    // An open-addressing index from folded names to the first position that holds the name;
    // the names stay where they are (no copies).
    class FoldIndex {
    public:
        template <class KeyOf>
        int Find(std::wstring_view key, KeyOf keyOf) const {
            if (slots_.empty()) return -1;
            const uint32_t h = FoldHash(key);
            const size_t mask = slots_.size() - 1;
            for (size_t i = h & mask;; i = (i + 1) & mask) {
                const Slot& s = slots_[i];
                if (!s.pos) return -1;
                if (s.hash == h && FoldEqual(keyOf(s.pos - 1), key)) return static_cast<int>(s.pos - 1);
            }
        }
        // Adds pos under its key unless the key is already there (the first one wins).
        template <class KeyOf>
        void Insert(size_t pos, KeyOf keyOf) {
            if ((count_ + 1) * 2 > slots_.size()) Grow();
            std::wstring_view key = keyOf(pos);
            const uint32_t h = FoldHash(key);
            const size_t mask = slots_.size() - 1;
            for (size_t i = h & mask;; i = (i + 1) & mask) {
                Slot& s = slots_[i];
                if (!s.pos) {
                    s = Slot{static_cast<uint32_t>(pos + 1), h};
                    ++count_;
                    return;
                }
                if (s.hash == h && FoldEqual(keyOf(s.pos - 1), key)) return;
            }
        }
        void Clear() {
            slots_.clear();
            count_ = 0;
        }

    private:
        struct Slot {
            uint32_t pos = 0;  // position + 1; 0 is empty
            uint32_t hash = 0;
        };
        void Grow() {
            std::vector<Slot> old = std::move(slots_);
            slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
            const size_t mask = slots_.size() - 1;
            for (const Slot& s : old) {
                if (!s.pos) continue;
                size_t i = s.hash & mask;
                while (slots_[i].pos) i = (i + 1) & mask;
                slots_[i] = s;
            }
        }
        std::vector<Slot> slots_;
        size_t count_ = 0;
    };

    struct Section {
        String name;
        std::vector<Entry> entries;
        FoldIndex index;  // key -> first entry of that key
        void AddToIndex(size_t pos) {
            index.Insert(pos, [this](size_t p) { return std::wstring_view(entries[p].key); });
        }
    };
    int FindSection(std::wstring_view name) const;
    void IndexSection(size_t pos);
    void Reindex();
    void AddLine(std::wstring_view line, Section*& current);

    std::vector<std::unique_ptr<Section>> sections_;
    FoldIndex sectionIndex_;  // name -> first section of that name
};

}  // namespace fn
