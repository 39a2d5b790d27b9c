#pragma once
// The skin author's check (skinpack --check): reads a skin folder, a description file, an
// archive or a compressed skin and reports every problem with section, key and value.
// Portable; the packer itself is in skinpack_main.cpp.
#include <vector>

#include "platform/core/bitmap_data.h"
#include "platform/core/exceptions.h"
#include "platform/core/ini_file.h"

namespace fn {

struct TSkinProblem {
    String section;  // empty for problems of the files themselves
    String key;
    String value;
    String message;
    // "[SECTION] key=value: message", as printed by skinpack.
    String Text() const;
};

class TSkinChecker {
public:
    // A folder (its "skin.ini"), a description file, an uncompressed archive, a compressed
    // skin file or raw zlib data of an archive; the kind is told by the content.
    void CheckPath(const String& path);
    // A description with bitmaps from `folder` (names from "PICTURES").
    void CheckDescriptionFile(const String& iniPath);
    // An uncompressed archive: its pictures and its description.
    void CheckArchive(TStream& archive);

    const std::vector<TSkinProblem>& Problems() const { return problems_; }
    int PictureCount() const { return static_cast<int>(active_.size()); }

private:
    struct Picture {
        String name;
        bool present = false;  // read successfully
        int width = 0, height = 0;
    };
    void Problem(const String& section, const String& key, const String& value, const String& message);
    // Runs read; an exception it raises becomes a problem of the whole input (prefix, then the
    // exception's message) and the answer false.
    template <class Read>
    bool Readable(const Read& read, const String& prefix = L"") {
        try {
            read();
            return true;
        } catch (const Exception& e) {
            Problem(L"", L"", L"", prefix + e.Message());
            return false;
        }
    }
    void CheckDescription(const TMemIniFile& ini);
    void CheckRecordList(const TMemIniFile& ini, const wchar_t* list, bool objects);
    void CheckRecord(const TMemIniFile& ini, class TmnSkinRecord& record, int kind);
    static Picture Describe(const String& name, const TBitmapData& bmp);

    std::vector<TSkinProblem> problems_;
    Picture main_, inactive_, mask_;
    std::vector<Picture> active_;
};

}  // namespace fn
