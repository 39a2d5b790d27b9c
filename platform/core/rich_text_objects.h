#pragma once
// Counts the pictures and embedded objects a rich-text stream holds, fed in pieces as the
// stream is read: a picture group ("\pict", also the one inside "\shppict"), an object group
// ("\object", its result picture counted with it). The plain fallback picture of "\nonshppict"
// repeats one already counted and is skipped.
#include <cstddef>
#include <cstdint>

namespace fn {

class TRichTextObjectCounter {
public:
    void Feed(const uint8_t* data, size_t size);
    int Count() const { return count_; }

private:
    enum class State { Text, Escape, Word, Parameter, Hex, Binary };
    void EndWord();

    State state_ = State::Text;
    char word_[16]{};
    int wordLength_ = 0;
    bool wordTooLong_ = false;
    int64_t parameter_ = 0;
    bool hasParameter_ = false, negative_ = false;
    int hexLeft_ = 0;
    int64_t binaryLeft_ = 0;
    int64_t depth_ = 0;
    // While skipping, the depth of the group whose pictures are not counted (an object's or a
    // fallback's).
    bool skipping_ = false;
    int64_t skipDepth_ = 0;
    int count_ = 0;
};

}  // namespace fn
