#include "platform/core/recent_list.h"

#include <algorithm>

namespace fn {

namespace {

constexpr wchar_t kSection[] = L"Zuletzt";

bool SamePath(const String& a, const String& b) { return TMemIniFile::FoldEqual(a, b); }

// "C:\x" or "\\server\share\x".
bool IsAbsolutePath(std::wstring_view p) {
    if (p.size() >= 3 && ((p[0] >= L'A' && p[0] <= L'Z') || (p[0] >= L'a' && p[0] <= L'z')) && p[1] == L':' && p[2] == L'\\')
        return true;
    return p.size() > 2 && p[0] == L'\\' && p[1] == L'\\';
}

}  // namespace

void TRecentList::Add(const String& path) {
    Remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kMaxEntries) paths_.resize(kMaxEntries);
}

void TRecentList::Remove(const String& path) {
    std::erase_if(paths_, [&](const String& p) { return SamePath(p, path); });
}

void TRecentList::Read(const TMemIniFile& ini) {
    paths_.clear();
    for (size_t i = 1; i <= kMaxEntries; ++i) {
        String path = ini.ReadString(kSection, IntToStr(static_cast<long long>(i)), L"");
        if (!IsAbsolutePath(path) || path.size() > 32767 || path.find(L'\0') != String::npos) continue;
        if (std::none_of(paths_.begin(), paths_.end(), [&](const String& p) { return SamePath(p, path); }))
            paths_.push_back(path);
    }
}

String TRecentList::Text() const {
    String text = String(L"[") + kSection + L"]\r\n";
    for (size_t i = 0; i < paths_.size(); ++i) text += IntToStr(static_cast<long long>(i + 1)) + L"=" + paths_[i] + L"\r\n";
    return text;
}

String ShortenPath(const String& path, size_t maxChars) {
    if (path.size() <= maxChars) return path;
    // The head stays: "C:\" or "\\server\share\".
    size_t head = 0;
    if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') {
        size_t server = path.find(L'\\', 2);
        size_t share = server == String::npos ? String::npos : path.find(L'\\', server + 1);
        if (share == String::npos) return path;
        head = share + 1;
    } else {
        size_t first = path.find(L'\\');
        if (first == String::npos) return path;
        head = first + 1;
    }
    size_t name = path.rfind(L'\\');
    if (name < head) return path;
    // Take trailing folders while they fit beside the head, the ellipsis and the name.
    size_t keep = name;  // start of the kept tail (a backslash)
    const size_t fixed = head + 1;  // head plus "…"
    while (keep > head) {
        size_t previous = path.rfind(L'\\', keep - 1);
        if (previous == String::npos || previous < head || fixed + (path.size() - previous) > maxChars) break;
        keep = previous;
    }
    if (keep < head) keep = head;
    return path.substr(0, head) + L"…" + path.substr(keep);
}

String RecentMenuCaption(size_t index, const String& path) {
    String shown;
    for (wchar_t c : ShortenPath(path, 50)) {
        if (c == L'&') shown += L'&';
        shown += c;
    }
    return L"&" + IntToStr(static_cast<long long>(index + 1)) + L" " + shown;
}

}  // namespace fn
