#include "platform/core/classes.h"

#include <algorithm>

#include "platform/core/form_data.h"
#include "platform/core/streams.h"

namespace fn {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_) owner_->InsertComponent(this);
}

TComponent::~TComponent() {
    state_ |= csDestroying;
    // Tell every linked component, then drop the links both ways.
    auto links = std::move(links_);
    links_.clear();
    for (const Link& link : links) {
        link.Other->Notification(this, Operation::Remove);
        std::erase_if(link.Other->links_, [this](const Link& back) { return back.Other == this; });
    }
    // Owned components die in reverse creation order; the remaining ones hear of each removal.
    while (!components_.empty()) {
        TComponent* c = components_.back();
        RemoveComponent(c);
        c->owner_ = nullptr;
        delete c;
    }
    if (owner_) owner_->RemoveComponent(this);
}

TComponent* TComponent::FindComponent(std::wstring_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::SetDesigning(bool designing) {
    SetStateFlags(csDesigning, designing);
    for (TComponent* c : components_) c->SetDesigning(designing);
}

void TComponent::FreeNotification(TComponent* other) {
    // A component being destroyed has let go of its links already; a new one would outlive it.
    if (!other || other == this || IsDestroying() || other->IsDestroying()) return;
    auto add = [](std::vector<Link>& links, TComponent* to) {
        for (Link& l : links)
            if (l.Other == to) return void(++l.Count);
        links.push_back({to, 1});
    };
    add(links_, other);
    add(other->links_, this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other || other == this) return;
    auto drop = [](std::vector<Link>& links, TComponent* to) {
        auto it = std::find_if(links.begin(), links.end(), [to](const Link& l) { return l.Other == to; });
        if (it != links.end() && --it->Count == 0) links.erase(it);
    };
    drop(links_, other);
    drop(other->links_, this);
}

void TComponent::Notification(TComponent* component, Operation operation) {
    // Owners hear about their own components too, as every component does in the class library.
    for (TComponent* c : components_)
        if (c != component) c->Notification(component, operation);
}

bool TComponent::ReadProperty(const String&, const FormValue&, TReader&) { return false; }
void TComponent::ReadChild(TComponent*) {}
void TComponent::Loaded() { SetStateFlags(csLoading, false); }

void TComponent::InsertComponent(TComponent* c) { components_.push_back(c); }

void TComponent::RemoveComponent(TComponent* c) {
    std::erase(components_, c);
    Notification(c, Operation::Remove);
}

String TStringList::Text() const {
    String out;
    size_t total = 0;
    for (auto& l : lines_) total += l.size() + 2;
    out.reserve(total);
    for (auto& l : lines_) {
        out += l;
        out += L"\r\n";
    }
    return out;
}

void TStringList::SetText(std::wstring_view text) {
    lines_.clear();
    ForEachLine(text, [&](std::wstring_view line) { lines_.emplace_back(line); });
}

void TStringList::LoadFromFile(const String& path) {
    auto bytes = ReadFileBytes(path);
    SetText(DecodeText(bytes.data(), bytes.size()));
}

void TStringList::SaveToFile(const String& path) const {
    std::string utf8 = WideToUtf8(Text());
    TFileStream f(path, FileMode::Create);
    f.WriteBuffer(utf8.data(), utf8.size());
    f.Close();
}

static bool IsValidUtf8(const uint8_t* p, size_t n) {
    for (size_t i = 0; i < n;) {
        uint8_t c = p[i];
        size_t len = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        if (len == 0 || (len == 2 && c < 0xC2) || i + len > n) return false;
        for (size_t k = 1; k < len; ++k)
            if ((p[i + k] & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

String DecodeText(const uint8_t* p, size_t n) {
    if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        return Utf8ToWide(std::string_view(reinterpret_cast<const char*>(p + 3), n - 3));
    if (n >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF))) {
        bool little = p[0] == 0xFF;
        String out;
        out.reserve((n - 2) / 2);
        for (size_t i = 2; i + 1 < n; i += 2)
            out += static_cast<wchar_t>(little ? (p[i] | p[i + 1] << 8) : (p[i] << 8 | p[i + 1]));
        return out;
    }
    uint8_t bits = 0;
    for (size_t i = 0; i < n; ++i) bits |= p[i];
    if (bits < 0x80) return String(p, p + n);  // plain ASCII widens byte by byte
    if (IsValidUtf8(p, n)) return Utf8ToWide(std::string_view(reinterpret_cast<const char*>(p), n));
    return DecodeWindows1252(p, n);
}

}  // namespace fn
