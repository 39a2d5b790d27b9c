#pragma once
// Form data: the stored description of a form and its components.
//
// Text framing, one object per block, nested objects inside their parent:
//
//   object Form1: TForm1
//     Caption = 'Fennick Notizen'        strings in single quotes ('' is a quote), UTF-8
//     Left = 160                         integers (decimal, or $hex)
//     BorderIcons = []                   sets of identifiers
//     Position = poScreenCenter          identifiers: enumeration values, references, methods
//     Font.Name = 'MS Sans Serif'        dotted names for sub-properties
//     OnCreate = FormCreate
//     object mnStoredSkin1: TmnCompressedStoredSkin
//       CompressedData = {78DA...}       binary: inline hex, or @NAME for a named resource
//     end
//   end
//
// Reading creates each nested object through the class registry, owned by the root, in the
// order it stands; properties are set while every component is loading; references to other
// components are resolved after all components are read (fixups); then Loaded runs on each.
#include <any>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/core/classes.h"

namespace fn {

struct FormValue {
    enum class Kind { Integer, String, Ident, Set, Binary };
    Kind kind = Kind::Integer;
    long long integer = 0;
    String text;                 // String and Ident
    std::vector<String> items;   // Set
    std::vector<uint8_t> bytes;  // Binary

    int AsInt() const;           // EReadError when the value is no integer
    const String& AsString() const;
    bool AsBool() const;         // identifiers True / False
    const String& AsIdent() const;
};

class EFormDataError : public EReadError { using EReadError::EReadError; };

struct FormObject {
    String name, className;
    int line = 0;
    std::vector<std::pair<String, FormValue>> properties;
    std::vector<FormObject> children;
};

// Parses form-data text; EFormDataError names the line of a malformed entry.
FormObject ParseFormData(std::wstring_view text);

using ComponentFactory = std::function<TComponent*(TComponent* owner)>;
void RegisterComponentClass(const String& className, ComponentFactory factory);
bool IsComponentClassRegistered(const String& className);

// Supplies the bytes of "@NAME" binary values (a Win32 resource in the program).
using BinaryResourceLoader = std::function<std::vector<uint8_t>(const String& name)>;
void SetBinaryResourceLoader(BinaryResourceLoader loader);

// Methods of the root (a form) that events may name, by their name.
class TMethodTable {
public:
    template <class Fn>
    void Add(const String& name, Fn fn) { methods_[name] = std::any(std::move(fn)); }
    const std::any* Find(const String& name) const;

private:
    std::map<String, std::any> methods_;
};

// A length in pixels at fromDpi dots per inch, at dpi: rounded to the nearest pixel, halves
// away from zero, so that a length and its negation (a font height) scale alike.
int ScaledForDpi(int pixels, int dpi, int fromDpi = 96);

// Whether the form data's outer object stores "Scaled = True".
bool IsScaledForm(const FormObject& object);

class TReader {
public:
    TReader(TComponent* root, const TMethodTable* methods) : root_(root), methods_(methods) {}

    TComponent* Root() const { return root_; }
    // The dots per inch the form is read for: pixel properties are stored at 96 and read
    // scaled to this (96 when the form is not Scaled).
    int Dpi() const { return dpi_; }
    void SetDpi(int dpi) { dpi_ = dpi > 0 ? dpi : 96; }
    // A stored pixel value (an integer) at the reader's dots per inch.
    int Scaled(const FormValue& value) const { return ScaledForDpi(value.AsInt(), dpi_); }
    // Resolves a reference after every component is read; the callback gets null for "nil".
    void FixupReference(const FormValue& value, std::function<void(TComponent*)> assign);
    // The same for a reference that must name a component of class T. One of another class is
    // an EReadError "property: Name notKind", notKind saying what it is not ("ist kein Hauptmenü").
    template <class T>
    void FixupReference(const String& property, const FormValue& value, const String& notKind,
                        std::function<void(T*)> assign) {
        FixupReference(value, [property, notKind, assign = std::move(assign)](TComponent* c) {
            T* typed = dynamic_cast<T*>(c);
            if (c && !typed) throw EReadError(property + L": " + c->Name() + L" " + notKind);
            assign(typed);
        });
    }
    // Looks up an event handler of type Fn (a std::function) by the method name in value.
    template <class Fn>
    Fn Method(const FormValue& value) const {
        const std::any* m = methods_ ? methods_->Find(value.AsIdent()) : nullptr;
        if (!m) throw EFormDataError(L"Methode nicht gefunden: " + value.AsIdent());
        if (auto* fn = std::any_cast<Fn>(m)) return *fn;
        throw EFormDataError(L"Methode hat den falschen Typ: " + value.AsIdent());
    }

    // Reads the parsed object into root (whose class matches the outer object).
    void ReadRoot(const FormObject& object);

private:
    void ReadObject(TComponent* component, const FormObject& object, std::vector<TComponent*>& created);
    TComponent* root_;
    const TMethodTable* methods_;
    int dpi_ = 96;
    std::vector<std::pair<String, std::function<void(TComponent*)>>> fixups_;
};

// Parses and reads form-data text into root; a Scaled form is read for dpi.
void ReadFormData(TComponent* root, std::wstring_view text, const TMethodTable* methods, int dpi = 96);

}  // namespace fn
