#pragma once
// TmnCompressedStoredSkin: a component that keeps a skin archive zlib-compressed in
// the form data ("CompressedData"). Portable (the class library's TComponent and form data).
#include <memory>

#include "platform/core/classes.h"
#include "platform/core/form_data.h"
#include "platform/core/streams.h"

namespace fn {

class TmnCompressedStoredSkin : public TComponent {
public:
    explicit TmnCompressedStoredSkin(TComponent* owner);
    const wchar_t* ClassName() const override { return L"TmnCompressedStoredSkin"; }

    // Published properties.
    const String& Description() const { return description_; }
    void SetDescription(const String& value) { description_ = value; }
    const String& FileName() const { return fileName_; }
    // While designing and not loading: stores the file-name part and runs LoadFromSkinFile
    // with the full path; otherwise stores the value unchanged and loads nothing.
    void SetFileName(const String& value);
    const String& CompressedFileName() const { return compressedFileName_; }
    // The same rule with LoadFromCompressedFile.
    void SetCompressedFileName(const String& value);

    TMemoryStream& CompressedStream() { return compressed_; }
    const TMemoryStream& CompressedStream() const { return compressed_; }

    bool IsEmpty() const { return compressed_.Length() == 0; }
    // Decompresses CompressedStream from its start into target at target's position.
    void DecompressTo(TStream& target);
    // The decompressed archive, shared: the last one unpacked in the process is kept, so
    // windows carrying the same packed skin inflate it once.
    std::shared_ptr<const TMemoryStream> Unpacked();
    // Builds the archive from a description file and the bitmaps beside it; a file that is
    // not a skin description leaves the stored archive as it was.
    void LoadFromSkinFile(const String& path);
    // Takes the compressed data over from a compressed skin file (version 3 or less).
    void LoadFromCompressedFile(const String& path);
    // Writes the stored data as a compressed skin file.
    void SaveToCompressedFile(const String& path);

    // Form data: Description, FileName, CompressedFileName (strings) and the binary property
    // "CompressedData" (bytes; {hex} inline or @NAME for a resource).
    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
    // The properties as form-data lines, each starting with indent: the strings when not
    // empty, "CompressedData" always (also when empty).
    String WriteProperties(const String& indent) const;

    // Registers the class for form data ("TmnCompressedStoredSkin").
    static void Register();

private:
    // Whether setting a file name loads that file (while designing and not loading).
    bool LoadsNamedFiles() const;

    String description_, fileName_, compressedFileName_;
    TMemoryStream compressed_;
};

// Form-data text of a string ('...' with '' for a quote; long texts joined with +) and of a
// binary value ({hex} in lines of 64 digits, each continuation line starting with indent).
String FormDataString(const String& text);
String FormDataBinary(const std::vector<uint8_t>& bytes, const String& indent);

}  // namespace fn
