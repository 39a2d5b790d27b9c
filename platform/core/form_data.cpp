#include "platform/core/form_data.h"

#include <algorithm>
#include <climits>

namespace fn {

namespace {

std::map<String, ComponentFactory>& Registry() {
    static std::map<String, ComponentFactory> registry;
    return registry;
}

BinaryResourceLoader& ResourceLoader() {
    static BinaryResourceLoader loader;
    return loader;
}

class Parser {
public:
    explicit Parser(std::wstring_view text) : t_(text) {}

    FormObject ParseObject() {
        SkipBlank();
        Expect(L"object");
        FormObject obj;
        obj.line = line_;
        obj.name = Ident();
        SkipSpaces();
        Want(L':');
        obj.className = Ident();
        for (;;) {
            SkipBlank();
            if (AtWord(L"end")) { pos_ += 3; return obj; }
            if (AtWord(L"object")) { obj.children.push_back(ParseObject()); continue; }
            if (pos_ >= t_.size()) Fail(L"'end' fehlt");
            String name = DottedIdent();
            SkipSpaces();
            Want(L'=');
            obj.properties.emplace_back(name, Value());
        }
    }

    void ExpectEnd() {
        SkipBlank();
        if (pos_ < t_.size()) Fail(L"Text nach dem Ende des Objekts");
    }

private:
    [[noreturn]] void Fail(const String& what) {
        throw EFormDataError(L"Formulardaten, Zeile " + IntToStr(line_) + L": " + what);
    }

    void SkipSpaces() {
        while (pos_ < t_.size() && (t_[pos_] == L' ' || t_[pos_] == L'\t')) ++pos_;
    }

    void SkipBlank() {
        while (pos_ < t_.size()) {
            wchar_t c = t_[pos_];
            if (c == L'\n') { ++line_; ++pos_; }
            else if (c == L' ' || c == L'\t' || c == L'\r') ++pos_;
            else if (c == L'/' && pos_ + 1 < t_.size() && t_[pos_ + 1] == L'/') {
                while (pos_ < t_.size() && t_[pos_] != L'\n') ++pos_;
            } else break;
        }
    }

    static bool IsIdentChar(wchar_t c) {
        return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_';
    }

    bool AtWord(std::wstring_view w) {
        if (t_.substr(pos_, w.size()) != w) return false;
        size_t after = pos_ + w.size();
        return after >= t_.size() || !IsIdentChar(t_[after]);
    }

    void Expect(std::wstring_view w) {
        if (!AtWord(w)) Fail(L"'" + String(w) + L"' erwartet");
        pos_ += w.size();
    }

    void Want(wchar_t c) {
        SkipSpaces();
        if (pos_ >= t_.size() || t_[pos_] != c) Fail(String(L"'") + c + L"' erwartet");
        ++pos_;
    }

    String Ident() {
        SkipSpaces();
        size_t start = pos_;
        while (pos_ < t_.size() && IsIdentChar(t_[pos_])) ++pos_;
        if (start == pos_) Fail(L"Name erwartet");
        return String(t_.substr(start, pos_ - start));
    }

    String DottedIdent() {
        String name = Ident();
        while (pos_ < t_.size() && t_[pos_] == L'.') {
            ++pos_;
            name += L'.';
            name += Ident();
        }
        return name;
    }

    static int HexDigit(wchar_t c) {
        if (c >= L'0' && c <= L'9') return c - L'0';
        if (c >= L'a' && c <= L'f') return c - L'a' + 10;
        if (c >= L'A' && c <= L'F') return c - L'A' + 10;
        return -1;
    }

    FormValue Value() {
        SkipSpaces();
        if (pos_ >= t_.size()) Fail(L"Wert erwartet");
        FormValue v;
        wchar_t c = t_[pos_];
        if (c == L'\'') {
            v.kind = FormValue::Kind::String;
            // Adjacent quoted pieces joined by '+' (possibly across lines) form one string.
            for (;;) {
                ++pos_;
                for (;;) {
                    if (pos_ >= t_.size() || t_[pos_] == L'\n') Fail(L"Zeichenkette nicht beendet");
                    if (t_[pos_] == L'\'') {
                        if (pos_ + 1 < t_.size() && t_[pos_ + 1] == L'\'') { v.text += L'\''; pos_ += 2; continue; }
                        ++pos_;
                        break;
                    }
                    v.text += t_[pos_++];
                }
                size_t save = pos_; int saveLine = line_;
                SkipBlank();
                if (pos_ < t_.size() && t_[pos_] == L'+') { ++pos_; SkipBlank(); if (pos_ < t_.size() && t_[pos_] == L'\'') continue; }
                pos_ = save; line_ = saveLine;
                return v;
            }
        }
        if (c == L'[') {
            v.kind = FormValue::Kind::Set;
            ++pos_;
            SkipSpaces();
            if (pos_ < t_.size() && t_[pos_] == L']') { ++pos_; return v; }
            for (;;) {
                v.items.push_back(Ident());
                SkipSpaces();
                if (pos_ < t_.size() && t_[pos_] == L',') { ++pos_; continue; }
                Want(L']');
                return v;
            }
        }
        if (c == L'{') {
            v.kind = FormValue::Kind::Binary;
            ++pos_;
            int high = -1;
            for (;;) {
                SkipBlank();
                if (pos_ >= t_.size()) Fail(L"'}' fehlt");
                if (t_[pos_] == L'}') { ++pos_; break; }
                int d = HexDigit(t_[pos_++]);
                if (d < 0) Fail(L"Hexadezimalziffer erwartet");
                if (high < 0) high = d;
                else { v.bytes.push_back(static_cast<uint8_t>(high << 4 | d)); high = -1; }
            }
            if (high >= 0) Fail(L"ungerade Anzahl Hexadezimalziffern");
            return v;
        }
        if (c == L'@') {
            ++pos_;
            String name = Ident();
            if (!ResourceLoader()) Fail(L"keine Ressourcen verfügbar für @" + name);
            v.kind = FormValue::Kind::Binary;
            v.bytes = ResourceLoader()(name);
            return v;
        }
        if (c == L'-' || c == L'$' || (c >= L'0' && c <= L'9')) {
            size_t start = pos_++;
            while (pos_ < t_.size() && (IsIdentChar(t_[pos_]))) ++pos_;
            int value;
            if (!TryStrToInt(t_.substr(start, pos_ - start), value)) Fail(L"ungültige Zahl");
            v.kind = FormValue::Kind::Integer;
            v.integer = value;
            return v;
        }
        v.kind = FormValue::Kind::Ident;
        v.text = DottedIdent();
        return v;
    }

    std::wstring_view t_;
    size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

int FormValue::AsInt() const {
    if (kind != Kind::Integer) throw EFormDataError(L"Ganzzahl erwartet");
    return static_cast<int>(integer);
}

const String& FormValue::AsString() const {
    if (kind != Kind::String) throw EFormDataError(L"Zeichenkette erwartet");
    return text;
}

bool FormValue::AsBool() const {
    if (kind == Kind::Ident && SameText(text, L"True")) return true;
    if (kind == Kind::Ident && SameText(text, L"False")) return false;
    throw EFormDataError(L"True oder False erwartet");
}

const String& FormValue::AsIdent() const {
    if (kind != Kind::Ident) throw EFormDataError(L"Name erwartet");
    return text;
}

FormObject ParseFormData(std::wstring_view text) {
    Parser p(text);
    FormObject root = p.ParseObject();
    p.ExpectEnd();
    return root;
}

void RegisterComponentClass(const String& className, ComponentFactory factory) {
    Registry()[className] = std::move(factory);
}

bool IsComponentClassRegistered(const String& className) { return Registry().count(className) != 0; }

void SetBinaryResourceLoader(BinaryResourceLoader loader) { ResourceLoader() = std::move(loader); }

const std::any* TMethodTable::Find(const String& name) const {
    auto it = methods_.find(name);
    return it == methods_.end() ? nullptr : &it->second;
}

void TReader::FixupReference(const FormValue& value, std::function<void(TComponent*)> assign) {
    fixups_.emplace_back(value.AsIdent(), std::move(assign));
}

void TReader::ReadObject(TComponent* component, const FormObject& object, std::vector<TComponent*>& created) {
    component->SetName(object.name);
    component->SetStateFlags(csLoading | csReading, true);
    created.push_back(component);
    for (const auto& [name, value] : object.properties) {
        if (!component->ReadProperty(name, value, *this))
            throw EFormDataError(L"Formulardaten, Zeile " + IntToStr(object.line) + L": " + object.name +
                                 L" hat keine Eigenschaft " + name);
    }
    component->SetStateFlags(csReading, false);
    for (const FormObject& child : object.children) {
        auto it = Registry().find(child.className);
        if (it == Registry().end())
            throw EFormDataError(L"Klasse " + child.className + L" nicht gefunden");
        TComponent* c = it->second(root_);
        component->ReadChild(c);
        ReadObject(c, child, created);
    }
}

void TReader::ReadRoot(const FormObject& object) {
    std::vector<TComponent*> created;
    fixups_.clear();
    ReadObject(root_, object, created);
    for (auto& [name, assign] : fixups_) {
        if (SameText(name, L"nil")) { assign(nullptr); continue; }
        TComponent* target = SameText(name, root_->Name()) ? root_ : root_->FindComponent(name);
        if (!target) throw EFormDataError(L"Komponente nicht gefunden: " + name);
        assign(target);
    }
    fixups_.clear();
    for (TComponent* c : created) c->Loaded();
}

int ScaledForDpi(int pixels, int dpi, int fromDpi) {
    if (fromDpi <= 0 || dpi <= 0) return pixels;
    const long long product = static_cast<long long>(pixels) * dpi;
    const long long half = fromDpi / 2;
    const long long rounded = product >= 0 ? (product + half) / fromDpi : -((-product + half) / fromDpi);
    return static_cast<int>(std::clamp<long long>(rounded, INT_MIN, INT_MAX));
}

bool IsScaledForm(const FormObject& object) {
    for (const auto& [name, value] : object.properties)
        if (name == L"Scaled") return value.AsBool();
    return false;
}

void ReadFormData(TComponent* root, std::wstring_view text, const TMethodTable* methods, int dpi) {
    const FormObject object = ParseFormData(text);
    TReader reader(root, methods);
    if (IsScaledForm(object)) reader.SetDpi(dpi);
    reader.ReadRoot(object);
}

}  // namespace fn
