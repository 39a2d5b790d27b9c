#include "platform/core/rich_text_objects.h"

#include <cstring>

namespace fn {

namespace {
bool IsLetter(uint8_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }
// Parameters beyond this are clamped: "\bin" never skips more than a stream can hold.
constexpr int64_t kMaxParameter = int64_t{1} << 40;
}  // namespace

void TRichTextObjectCounter::EndWord() {
    auto is = [&](const char* name) { return !wordTooLong_ && std::strcmp(word_, name) == 0; };
    state_ = State::Text;
    if (is("bin") && hasParameter_ && !negative_ && parameter_ > 0) {
        binaryLeft_ = parameter_;
        state_ = State::Binary;
        return;
    }
    if (skipping_) return;
    if (is("pict")) {
        ++count_;
    } else if (is("object") || is("nonshppict")) {
        count_ += is("object") ? 1 : 0;
        skipping_ = true;
        skipDepth_ = depth_;
    }
}

void TRichTextObjectCounter::Feed(const uint8_t* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        const uint8_t c = data[i];
        switch (state_) {
            case State::Binary: {
                const int64_t take = static_cast<int64_t>(size - i) < binaryLeft_ ? static_cast<int64_t>(size - i) : binaryLeft_;
                binaryLeft_ -= take;
                i += static_cast<size_t>(take) - 1;
                if (binaryLeft_ == 0) state_ = State::Text;
                continue;
            }
            case State::Hex:
                if (--hexLeft_ == 0) state_ = State::Text;
                continue;
            case State::Escape:
                if (IsLetter(c)) {
                    state_ = State::Word;
                    wordLength_ = 0;
                    wordTooLong_ = false;
                    hasParameter_ = negative_ = false;
                    parameter_ = 0;
                    word_[wordLength_++] = static_cast<char>(c);
                    word_[wordLength_] = '\0';
                } else if (c == '\'') {
                    state_ = State::Hex;
                    hexLeft_ = 2;
                } else {
                    state_ = State::Text;  // a control symbol: "\\", "\{", "\}", "\*", ...
                }
                continue;
            case State::Word:
                if (IsLetter(c)) {
                    if (wordLength_ + 1 < static_cast<int>(sizeof word_)) {
                        word_[wordLength_++] = static_cast<char>(c);
                        word_[wordLength_] = '\0';
                    } else {
                        wordTooLong_ = true;
                    }
                    continue;
                }
                if (IsDigit(c) || c == '-') {
                    state_ = State::Parameter;
                    negative_ = c == '-';
                    hasParameter_ = IsDigit(c);
                    parameter_ = IsDigit(c) ? c - '0' : 0;
                    continue;
                }
                EndWord();
                if (c == ' ') continue;  // the word's delimiter belongs to it
                break;
            case State::Parameter:
                if (IsDigit(c)) {
                    hasParameter_ = true;
                    if (parameter_ < kMaxParameter) parameter_ = parameter_ * 10 + (c - '0');
                    continue;
                }
                EndWord();
                if (c == ' ') continue;
                break;
            case State::Text:
                break;
        }
        // Text, or the character that ended a control word.
        if (state_ == State::Binary) {
            --i;  // the binary data starts right here (wraps at 0 and comes back with ++i)
            continue;
        }
        if (c == '\\') {
            state_ = State::Escape;
        } else if (c == '{') {
            ++depth_;
        } else if (c == '}') {
            if (skipping_ && depth_ <= skipDepth_) skipping_ = false;
            --depth_;
        }
    }
}

}  // namespace fn
