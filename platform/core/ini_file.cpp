#include "platform/core/ini_file.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "platform/core/streams.h"

namespace fn {

namespace {

bool IsTrimmed(wchar_t c) { return c <= L' '; }

std::wstring_view TrimView(std::wstring_view s) {
    size_t a = 0, b = s.size();
    while (a < b && IsTrimmed(s[a])) ++a;
    while (b > a && IsTrimmed(s[b - 1])) --b;
    return s.substr(a, b - a);
}

std::wstring_view CutAtNul(std::wstring_view s) {
    size_t nul = s.find(L'\0');
    return nul == std::wstring_view::npos ? s : s.substr(0, nul);
}

}  // namespace

TMemIniFile::TMemIniFile(const String& fileName) {
    auto bytes = ReadFileBytes(fileName);
    SetBytes(bytes.data(), bytes.size());
}

void TMemIniFile::Clear() {
    sections_.clear();
    entries_.clear();
    slots_.clear();
    sectionSlots_.clear();
    texts_.clear();
}

std::wstring_view TMemIniFile::Keep(std::wstring_view text) {
    texts_.emplace_back(text);
    return texts_.back();
}

int TMemIniFile::FindSection(std::wstring_view name) const {
    return Probe(sectionSlots_.data(), sectionSlots_.size(), FoldHash(name),
                 [&](size_t p) { return FoldEqual(sections_[p].name, name); });
}

int TMemIniFile::FindEntry(size_t section, std::wstring_view key) const {
    const Section& sec = sections_[section];
    const Entry* entries = entries_.data() + sec.first;
    int e = Probe(slots_.data() + sec.slotFirst, sec.slotCount, FoldHash(key),
                  [&](size_t p) { return FoldEqual(entries[p].key, key); });
    return e < 0 ? -1 : static_cast<int>(sec.first) + e;
}

void TMemIniFile::IndexSectionName(size_t section) {
    if ((section + 1) * 2 > sectionSlots_.size()) {
        // Grown and rebuilt, sections in order: the first of a name stays the one found.
        sectionSlots_.assign(SlotsFor(sections_.size()), Slot{});
        for (size_t s = 0; s < section; ++s) IndexSectionName(s);
    }
    const std::wstring_view name = sections_[section].name;
    Place(sectionSlots_.data(), sectionSlots_.size(), section, FoldHash(name),
          [&](size_t p) { return FoldEqual(sections_[p].name, name); });
}

void TMemIniFile::AddSection(std::wstring_view name) {
    sections_.push_back(Section{name, entries_.size(), 0, 0, 0});
    IndexSectionName(sections_.size() - 1);
}

void TMemIniFile::IndexEntry(size_t section, size_t pos) {
    Section& sec = sections_[section];
    if ((pos + 1) * 2 > sec.slotCount) {
        IndexSection(section);  // a larger run, with this entry in it
        return;
    }
    Entry* entries = entries_.data() + sec.first;
    Entry& e = entries[pos];
    e.firstOfKey = false;
    if (!e.hasValue) return;  // a line without "=" is never found
    const std::wstring_view key = e.key;
    e.firstOfKey = Place(slots_.data() + sec.slotFirst, sec.slotCount, pos, FoldHash(key),
                         [&](size_t p) { return FoldEqual(entries[p].key, key); });
}

void TMemIniFile::IndexSection(size_t section) {
    Section& sec = sections_[section];
    sec.slotFirst = slots_.size();
    sec.slotCount = SlotsFor(sec.count);
    slots_.resize(slots_.size() + sec.slotCount);
    for (size_t i = 0; i < sec.count; ++i) IndexEntry(section, i);
}

void TMemIniFile::AppendEntry(const Entry& e, bool index) {
    entries_.push_back(e);
    Section& sec = sections_.back();
    ++sec.count;
    if (index) IndexEntry(sections_.size() - 1, sec.count - 1);
}

void TMemIniFile::Reindex() {
    sectionSlots_.clear();
    slots_.clear();
    for (size_t s = 0; s < sections_.size(); ++s) {
        IndexSectionName(s);
        IndexSection(s);
    }
}

void TMemIniFile::AddLine(std::wstring_view raw) {
    std::wstring_view line = TrimView(raw);
    if (line.empty() || line[0] == L';') return;
    if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
        AddSection(TrimView(line.substr(1, line.size() - 2)));
        return;
    }
    if (sections_.empty()) return;  // before the first section
    size_t eq = 0;  // a plain loop: keys are short, shorter than a library call's set-up
    while (eq < line.size() && line[eq] != L'=') ++eq;
    if (eq == line.size())
        AppendEntry(Entry{line, {}, false}, false);
    else
        AppendEntry(Entry{TrimView(line.substr(0, eq)), TrimView(line.substr(eq + 1)), true}, false);
}

void TMemIniFile::Parse(std::wstring_view text) {
    // Room for an entry per LF line up front (text with CR alone grows as it goes).
    const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), L'\n')) + 1;
    entries_.reserve(lines);
    slots_.reserve(4 * lines);
    ForEachLine(text, [&](std::wstring_view line) { AddLine(line); });
    for (size_t s = 0; s < sections_.size(); ++s) IndexSection(s);
}

void TMemIniFile::SetStrings(const std::vector<String>& lines) {
    // A line handed over may still hold a NUL or line breaks; the rules apply per line, so
    // each line is cut at its NUL and ends with a line break of its own.
    String all;
    size_t total = 0;
    for (const auto& l : lines) total += l.size() + 1;
    all.reserve(total);
    for (const auto& l : lines) {
        all += CutAtNul(l);
        all += L'\n';
    }
    Clear();
    Parse(Keep(all));
}

void TMemIniFile::SetText(std::wstring_view text) {
    Clear();
    Parse(Keep(CutAtNul(text)));
}

void TMemIniFile::SetBytes(const uint8_t* data, size_t size) {
    const void* nul = size ? std::memchr(data, 0, size) : nullptr;
    const size_t n = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - data) : size;
    Clear();
    texts_.push_back(DecodeWindows1252(data, n));
    Parse(texts_.back());
}

std::vector<String> TMemIniFile::GetStrings() const {
    std::vector<String> out;
    for (const auto& s : sections_) {
        out.push_back(L"[" + String(s.name) + L"]");
        for (const Entry& e : std::span(entries_).subspan(s.first, s.count)) {
            String line(e.key);
            if (e.hasValue) {
                line += L'=';
                line += e.value;
            }
            out.push_back(std::move(line));
        }
    }
    return out;
}

String TMemIniFile::Text() const {
    String t;
    for (const auto& l : GetStrings()) {
        t += l;
        t += L"\r\n";
    }
    return t;
}

std::optional<std::wstring_view> TMemIniFile::FindValueAt(int sectionIndex, std::wstring_view key) const {
    if (sectionIndex < 0 || static_cast<size_t>(sectionIndex) >= sections_.size()) return std::nullopt;
    int e = FindEntry(static_cast<size_t>(sectionIndex), key);
    if (e < 0) return std::nullopt;
    return entries_[static_cast<size_t>(e)].value;
}

std::optional<std::wstring_view> TMemIniFile::FindValueAt(int sectionIndex, std::wstring_view key,
                                                          size_t& next) const {
    if (sectionIndex < 0 || static_cast<size_t>(sectionIndex) >= sections_.size()) return std::nullopt;
    const Section& sec = sections_[static_cast<size_t>(sectionIndex)];
    if (next < sec.count) {
        const Entry& e = entries_[sec.first + next];
        if (e.firstOfKey && FoldEqual(e.key, key)) {
            ++next;
            return e.value;
        }
    }
    int e = FindEntry(static_cast<size_t>(sectionIndex), key);
    if (e < 0) return std::nullopt;
    next = static_cast<size_t>(e) - sec.first + 1;
    return entries_[static_cast<size_t>(e)].value;
}

std::optional<std::wstring_view> TMemIniFile::FindValue(std::wstring_view section, std::wstring_view key) const {
    return FindValueAt(FindSection(section), key);
}

String TMemIniFile::ReadString(std::wstring_view section, std::wstring_view key, std::wstring_view def) const {
    return String(FindValue(section, key).value_or(def));
}

int TMemIniFile::ReadInteger(std::wstring_view section, std::wstring_view key, int def) const {
    auto v = FindValue(section, key);
    return v ? StrToIntDef(*v, def) : def;
}

void TMemIniFile::WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    int found = FindSection(section);
    if (found < 0) {
        AddSection(Keep(section));
        found = static_cast<int>(sections_.size() - 1);
    }
    const size_t s = static_cast<size_t>(found);
    if (int e = FindEntry(s, key); e >= 0) {
        entries_[static_cast<size_t>(e)].value = Keep(value);
        return;
    }
    const Entry entry{Keep(key), Keep(value), true};
    if (s + 1 == sections_.size()) {
        AppendEntry(entry, true);
        return;
    }
    // A new key in an earlier section: the entries after it move up one place (their
    // sections' slots hold positions within the section, so they stay as they are).
    Section& sec = sections_[s];
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(sec.first + sec.count), entry);
    ++sec.count;
    for (size_t t = s + 1; t < sections_.size(); ++t) ++sections_[t].first;
    IndexEntry(s, sec.count - 1);
}

void TMemIniFile::WriteInteger(std::wstring_view section, std::wstring_view key, int value) {
    WriteString(section, key, IntToStr(value));
}

void TMemIniFile::EraseSection(std::wstring_view section) {
    int found = FindSection(section);
    if (found < 0) return;
    const Section gone = sections_[static_cast<size_t>(found)];
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(gone.first),
                   entries_.begin() + static_cast<std::ptrdiff_t>(gone.first + gone.count));
    sections_.erase(sections_.begin() + found);
    for (size_t t = static_cast<size_t>(found); t < sections_.size(); ++t) sections_[t].first -= gone.count;
    Reindex();
}

std::vector<String> TMemIniFile::ReadSections() const {
    std::vector<String> out;
    for (const auto& s : sections_) out.emplace_back(s.name);
    return out;
}

std::vector<String> TMemIniFile::ReadSection(std::wstring_view section) const {
    std::vector<String> out;
    for (const Entry& e : SectionEntries(section))
        if (e.hasValue) out.emplace_back(e.key);
    return out;
}

std::span<const TMemIniFile::Entry> TMemIniFile::SectionEntries(std::wstring_view section) const {
    int s = FindSection(section);
    if (s < 0) return {};
    const Section& sec = sections_[static_cast<size_t>(s)];
    return std::span(entries_).subspan(sec.first, sec.count);
}

}  // namespace fn
