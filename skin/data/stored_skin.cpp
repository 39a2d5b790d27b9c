#include "skin/data/stored_skin.h"

#include <algorithm>
#include <mutex>

#include "skin/data/skin_archive.h"
#include "skin/data/skin_ini.h"
#include "skin/data/zlib_streams.h"
#include "platform/core/files.h"
#include "platform/core/library_texts.h"

namespace fn {

TmnCompressedStoredSkin::TmnCompressedStoredSkin(TComponent* owner) : TComponent(owner) {}

bool TmnCompressedStoredSkin::LoadsNamedFiles() const { return IsDesigning() && !IsLoading(); }

void TmnCompressedStoredSkin::SetFileName(const String& value) {
    fileName_ = LoadsNamedFiles() ? ExtractFileName(value) : value;
    if (LoadsNamedFiles()) LoadFromSkinFile(value);
}

void TmnCompressedStoredSkin::SetCompressedFileName(const String& value) {
    compressedFileName_ = LoadsNamedFiles() ? ExtractFileName(value) : value;
    if (LoadsNamedFiles()) LoadFromCompressedFile(value);
}

namespace {

// Every window of a program carries the same packed skin, so the last one unpacked is kept:
// the next window reads it instead of inflating the same bytes again.
struct TLastUnpacked {
    std::mutex lock;
    std::vector<uint8_t> compressed;
    std::shared_ptr<const TMemoryStream> archive;
};

TLastUnpacked& LastUnpacked() {
    static TLastUnpacked last;
    return last;
}

}  // namespace

std::shared_ptr<const TMemoryStream> TmnCompressedStoredSkin::Unpacked() {
    TLastUnpacked& last = LastUnpacked();
    std::lock_guard guard(last.lock);
    const uint8_t* bytes = compressed_.Memory();
    const size_t size = compressed_.Length();
    if (last.archive && size == last.compressed.size() && std::equal(bytes, bytes + size, last.compressed.begin()))
        return last.archive;
    auto archive = std::make_shared<TMemoryStream>();
    DecompressStream(compressed_, *archive);  // a broken stream throws and replaces nothing
    last.compressed.assign(bytes, bytes + size);
    last.archive = archive;
    return archive;
}

void TmnCompressedStoredSkin::DecompressTo(TStream& target) {
    const std::shared_ptr<const TMemoryStream> archive = Unpacked();
    if (archive->Length() > 0) target.WriteBuffer(archive->Memory(), archive->Length());
}

void TmnCompressedStoredSkin::LoadFromSkinFile(const String& path) {
    // Steps 1 and 2 read the description before anything changes; a bitmap error after step 4
    // leaves the stream empty.
    TStringList lines;
    lines.LoadFromFile(path);
    TMemIniFile ini;
    ini.SetStrings(lines);
    if (!IsSkinDescription(ini)) return;
    compressed_.Clear();
    TMemoryStream archive;
    if (!BuildSkinArchive(path, archive)) return;
    CompressStream(archive, compressed_);
}

void TmnCompressedStoredSkin::LoadFromCompressedFile(const String& path) {
    compressed_.Clear();
    TFileStream f(path, FileMode::OpenRead);
    int version = f.ReadInt32();
    if (version > 3) return;
    int32_t length = f.ReadInt32();
    if (length <= 0) return;
    // Never more than the file holds: a short file is a read error, not an allocation.
    if (length > f.Size() - f.Position()) throw EReadError(texts::ReadError);
    compressed_.CopyFrom(f, length);
}

void TmnCompressedStoredSkin::SaveToCompressedFile(const String& path) { WriteCompressedSkinFile(path, compressed_); }

bool TmnCompressedStoredSkin::ReadProperty(const String& name, const FormValue& value, TReader& reader) {
    if (name == L"Description") SetDescription(value.AsString());
    else if (name == L"FileName") SetFileName(value.AsString());
    else if (name == L"CompressedFileName") SetCompressedFileName(value.AsString());
    else if (name == L"CompressedData") {
        if (value.kind != FormValue::Kind::Binary) throw EFormDataError(L"Binärdaten erwartet: CompressedData");
        compressed_.Clear();
        if (!value.bytes.empty()) compressed_.WriteBuffer(value.bytes.data(), value.bytes.size());
        compressed_.SetPosition(0);
    } else {
        return TComponent::ReadProperty(name, value, reader);
    }
    return true;
}

String FormDataString(const String& text) {
    String out = L"'";
    for (wchar_t c : text) {
        if (c == L'\'') out += L"''";
        else out += c;
    }
    out += L"'";
    return out;
}

String FormDataBinary(const std::vector<uint8_t>& bytes, const String& indent) {
    static const wchar_t* hex = L"0123456789ABCDEF";
    String out = L"{";
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0 && i % 32 == 0) {
            out += L"\r\n";
            out += indent;
            out += L"  ";
        }
        out += hex[bytes[i] >> 4];
        out += hex[bytes[i] & 15];
    }
    out += L"}";
    return out;
}

String TmnCompressedStoredSkin::WriteProperties(const String& indent) const {
    String out;
    if (!description_.empty()) out += indent + L"Description = " + FormDataString(description_) + L"\r\n";
    if (!fileName_.empty()) out += indent + L"FileName = " + FormDataString(fileName_) + L"\r\n";
    if (!compressedFileName_.empty())
        out += indent + L"CompressedFileName = " + FormDataString(compressedFileName_) + L"\r\n";
    out += indent + L"CompressedData = " + FormDataBinary(compressed_.Bytes(), indent) + L"\r\n";
    return out;
}

void TmnCompressedStoredSkin::Register() {
    RegisterComponentClass(L"TmnCompressedStoredSkin", [](TComponent* owner) { return new TmnCompressedStoredSkin(owner); });
}

}  // namespace fn
