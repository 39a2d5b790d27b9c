#include "skin/data/mnIniFile.h"

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

}  // namespace

TMemIniFile::TMemIniFile(const String& fileName) {
    auto bytes = ReadFileBytes(fileName);
    SetBytes(bytes.data(), bytes.size());
}

void TMemIniFile::Clear() {
    sections_.clear();
    sectionIndex_.Clear();
}

void TMemIniFile::IndexSection(size_t pos) {
    sectionIndex_.Insert(pos, [this](size_t p) { return std::wstring_view(sections_[p]->name); });
}

void TMemIniFile::AddLine(std::wstring_view raw, Section*& current) {
    std::wstring_view line = TrimView(raw);
    if (line.empty() || line[0] == L';') return;
    if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
        auto sec = std::make_unique<Section>();
        sec->name = String(TrimView(line.substr(1, line.size() - 2)));
        current = sec.get();
        sections_.push_back(std::move(sec));
        IndexSection(sections_.size() - 1);
        return;
    }
    if (!current) return;
    Entry e;
    size_t eq = line.find(L'=');
    if (eq == std::wstring_view::npos) {
        e.key = String(line);
        e.hasValue = false;
    } else {
        e.key = String(TrimView(line.substr(0, eq)));
        e.value = String(TrimView(line.substr(eq + 1)));
    }
    current->entries.push_back(std::move(e));
    if (current->entries.back().hasValue) current->AddToIndex(current->entries.size() - 1);
}

void TMemIniFile::SetStrings(const std::vector<String>& lines) {
    Clear();
    Section* current = nullptr;
    for (const auto& l : lines) {
        // A line handed over may still hold a NUL or line breaks; the rules apply per line.
        std::wstring_view v = l;
        size_t nul = v.find(L'\0');
        if (nul != std::wstring_view::npos) v = v.substr(0, nul);
        size_t start = 0;
        for (size_t i = 0; i <= v.size(); ++i) {
            if (i == v.size() || v[i] == L'\r' || v[i] == L'\n') {
                AddLine(v.substr(start, i - start), current);
                start = i + 1;
            }
        }
    }
}

void TMemIniFile::SetText(std::wstring_view text) {
    Clear();
    size_t nul = text.find(L'\0');
    if (nul != std::wstring_view::npos) text = text.substr(0, nul);
    Section* current = nullptr;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            AddLine(text.substr(start, i - start), current);
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) AddLine(text.substr(start), current);
}

void TMemIniFile::SetBytes(const uint8_t* data, size_t size) {
    size_t n = 0;
    while (n < size && data[n] != 0) ++n;
    SetText(DecodeText(data, n));
}

std::vector<String> TMemIniFile::GetStrings() const {
    std::vector<String> out;
    for (const auto& s : sections_) {
        out.push_back(L"[" + s->name + L"]");
        for (const auto& e : s->entries) out.push_back(e.hasValue ? e.key + L"=" + e.value : e.key);
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

int TMemIniFile::FindSection(std::wstring_view name) const {
    return sectionIndex_.Find(name, [this](size_t p) { return std::wstring_view(sections_[p]->name); });
}

const String* TMemIniFile::FindValueAt(int sectionIndex, std::wstring_view key) const {
    if (sectionIndex < 0 || static_cast<size_t>(sectionIndex) >= sections_.size()) return nullptr;
    const Section& sec = *sections_[static_cast<size_t>(sectionIndex)];
    int e = sec.index.Find(key, [&sec](size_t p) { return std::wstring_view(sec.entries[p].key); });
    return e < 0 ? nullptr : &sec.entries[static_cast<size_t>(e)].value;
}

const String* TMemIniFile::FindValue(std::wstring_view section, std::wstring_view key) const {
    return FindValueAt(FindSection(section), key);
}

String TMemIniFile::ReadString(std::wstring_view section, std::wstring_view key, std::wstring_view def) const {
    const String* v = FindValue(section, key);
    return v ? *v : String(def);
}

int TMemIniFile::ReadInteger(std::wstring_view section, std::wstring_view key, int def) const {
    const String* v = FindValue(section, key);
    return v ? StrToIntDef(*v, def) : def;
}

void TMemIniFile::WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    int s = FindSection(section);
    if (s < 0) {
        auto sec = std::make_unique<Section>();
        sec->name = String(section);
        sections_.push_back(std::move(sec));
        IndexSection(sections_.size() - 1);
        s = static_cast<int>(sections_.size() - 1);
    }
    Section& sec = *sections_[static_cast<size_t>(s)];
    int e = sec.index.Find(key, [&sec](size_t p) { return std::wstring_view(sec.entries[p].key); });
    if (e >= 0) {
        sec.entries[static_cast<size_t>(e)].value = String(value);
        return;
    }
    sec.entries.push_back(Entry{String(key), String(value), true});
    sec.AddToIndex(sec.entries.size() - 1);
}

void TMemIniFile::WriteInteger(std::wstring_view section, std::wstring_view key, int value) {
    WriteString(section, key, IntToStr(value));
}

void TMemIniFile::EraseSection(std::wstring_view section) {
    int s = FindSection(section);
    if (s < 0) return;
    sections_.erase(sections_.begin() + s);
    Reindex();
}

void TMemIniFile::Reindex() {
    sectionIndex_.Clear();
    for (size_t i = 0; i < sections_.size(); ++i) IndexSection(i);
}

std::vector<String> TMemIniFile::ReadSections() const {
    std::vector<String> out;
    for (const auto& s : sections_) out.push_back(s->name);
    return out;
}

std::vector<String> TMemIniFile::ReadSection(std::wstring_view section) const {
    std::vector<String> out;
    if (const auto* entries = SectionEntries(section))
        for (const auto& e : *entries)
            if (e.hasValue) out.push_back(e.key);
    return out;
}

const std::vector<TMemIniFile::Entry>* TMemIniFile::SectionEntries(std::wstring_view section) const {
    int s = FindSection(section);
    return s < 0 ? nullptr : &sections_[static_cast<size_t>(s)]->entries;
}

}  // namespace fn
