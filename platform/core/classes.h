#pragma once
// Components of the class-library layer (portable): ownership, creation order, removal
// notification, the loading/designing state that property setters ask, and string lists.
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

#include "platform/core/live_counts.h"
#include "platform/core/exceptions.h"

namespace fn {

class TReader;
struct FormValue;

enum class Operation { Insert, Remove };

class TComponent;

// A reference to a component held through an interface it implements. The component is kept
// beside the interface: when the notice of its destruction arrives, its interface parts are
// already gone, and only the component pointer can still be compared.
template <class T>
class TInterfaceRef {
public:
    T* Get() const { return ptr_; }
    operator T*() const { return ptr_; }
    T* operator->() const { return ptr_; }
    TComponent* Component() const { return component_; }

private:
    friend class TComponent;
    T* ptr_ = nullptr;
    TComponent* component_ = nullptr;
};

enum ComponentStateFlag : unsigned {
    csLoading = 1u << 0,     // properties are being read from form data
    csReading = 1u << 1,     // this component's own properties are being read
    csDesigning = 1u << 2,   // the component is being designed (authoring tools)
    csDestroying = 1u << 3,
};

// The root of objects an event can name as its sender without being components (a skinned
// menu's item drawing itself, say).
class TObject {
public:
    virtual ~TObject() = default;
};

class TComponent : public TObject {
    TLiveInstance<TLiveKind::Component> live_;  // counted while it lives (LiveCount)

public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const String& Name() const { return name_; }
    void SetName(const String& name) { name_ = name; }
    virtual const wchar_t* ClassName() const { return L"TComponent"; }

    // Owned components in creation order.
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_[static_cast<size_t>(index)]; }
    TComponent* FindComponent(std::wstring_view name) const;
    // The owned component of that name and class; EReadError when the form data lacks it.
    template <class T>
    T* Field(std::wstring_view name) const {
        auto* c = dynamic_cast<T*>(FindComponent(name));
        if (!c) throw EReadError(L"Komponente fehlt in den Formulardaten: " + String(name));
        return c;
    }

    unsigned ComponentState() const { return state_; }
    bool IsLoading() const { return state_ & csLoading; }
    bool IsDesigning() const { return state_ & csDesigning; }
    bool IsDestroying() const { return state_ & csDestroying; }
    // Designing is set by authoring tools (and tests) on a component and everything it owns.
    void SetDesigning(bool designing);

    // A link between this component and other: each hears (Notification with Remove) when the
    // other is destroyed. Links are counted: every FreeNotification stands for one reference and
    // is taken back by one RemoveFreeNotification, so a reference let go on one side leaves the
    // other side's in place. A component's destruction drops all its links.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);
    virtual void Notification(TComponent* component, Operation operation);
    // Points slot at value and moves the link along with it; ReleaseReference in Notification
    // clears the slot when its target goes.
    template <class T>
        requires std::is_base_of_v<TComponent, T>
    void SetReference(T*& slot, std::type_identity_t<T>* value) {
        if (slot == value) return;
        RemoveFreeNotification(slot);
        slot = value;
        FreeNotification(slot);
    }
    template <class T>
    void SetReference(TInterfaceRef<T>& slot, std::type_identity_t<T>* value) {
        if (slot.ptr_ == value) return;
        RemoveFreeNotification(slot.component_);
        slot.ptr_ = value;
        slot.component_ = dynamic_cast<TComponent*>(value);  // value is whole here
        FreeNotification(slot.component_);
    }
    // Clears slot when it refers to component (which is going); true when it did.
    template <class T>
        requires std::is_base_of_v<TComponent, T>
    static bool ReleaseReference(T*& slot, TComponent* component) {
        if (!slot || slot != component) return false;
        slot = nullptr;
        return true;
    }
    template <class T>
    static bool ReleaseReference(TInterfaceRef<T>& slot, TComponent* component) {
        if (!slot.ptr_ || slot.component_ != component) return false;
        slot.ptr_ = nullptr;
        slot.component_ = nullptr;
        return true;
    }

    // Form data: a property read for this component; returns false when the name is unknown.
    virtual bool ReadProperty(const String& name, const FormValue& value, TReader& reader);
    // A nested object of the form data was created inside this one (menu items, controls).
    virtual void ReadChild(TComponent* child);
    // Called on every component after the form data is read and references are resolved.
    virtual void Loaded();
    // The form moved to a screen of other dots per inch: lengths in pixels kept for fromDpi
    // are made lengths for dpi.
    virtual void ChangeScale(int dpi, int fromDpi) {}

    // Internal to the reader.
    void SetStateFlags(unsigned flags, bool on) { state_ = on ? state_ | flags : state_ & ~flags; }

private:
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);

    TComponent* owner_;
    String name_;
    unsigned state_ = 0;
    std::vector<TComponent*> components_;
    struct Link {
        TComponent* Other;
        int Count;
    };
    std::vector<Link> links_;
};

// Lines of text with the loading rules of the class library's string lists: a file is decoded
// (BOM, UTF-8 or Windows-1252) and split at CR LF, LF or CR.
class TStringList {
public:
    int Count() const { return static_cast<int>(lines_.size()); }
    const String& operator[](int index) const { return lines_[static_cast<size_t>(index)]; }
    String& operator[](int index) { return lines_[static_cast<size_t>(index)]; }
    void Add(const String& line) { lines_.push_back(line); }
    void Clear() { lines_.clear(); }
    const std::vector<String>& Lines() const { return lines_; }
    std::vector<String>& Lines() { return lines_; }

    String Text() const;  // every line followed by CR LF
    void SetText(std::wstring_view text);
    void LoadFromFile(const String& path);
    void SaveToFile(const String& path) const;  // UTF-8 without BOM

private:
    std::vector<String> lines_;
};

// Decodes a text file's bytes: UTF-8 and UTF-16 byte-order marks are honoured; otherwise valid
// UTF-8 is read as UTF-8 and anything else as Windows-1252.
String DecodeText(const uint8_t* data, size_t size);

}  // namespace fn
