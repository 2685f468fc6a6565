// Result notes: a short diagnostic text that the document keeps about its last load, parse or
// save, one empty element per note, e.g. <lone_end_tag tagname="item" offset="120"/>. Nobody
// shows it to the user; it is there for diagnosis and tests.
#pragma once

#include <concepts>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/text/WideText.h"

namespace cursorial::xml {

struct NoteAttr {
    static constexpr size_t kMaxValue = 100;

    // Long texts (a hostile tag name) are cut: a note only has to point at the fault.
    NoteAttr(const char* attr, std::u16string_view text)
        : name(attr), value(text.substr(0, kMaxValue)) {}
    NoteAttr(const char* attr, const char* text) : name(attr), value(FromUtf8(text)) {}
    template <std::integral T>
    NoteAttr(const char* attr, T number)
        : name(attr), value(IntToText(static_cast<long long>(number))) {}

    const char* name;
    std::u16string value;
};

class ResultNotes {
public:
    // Once the text is longer than this, further notes are dropped: hostile input can produce a
    // note per tag, and the text must stay small.
    static constexpr size_t kCap = 999;

    void Clear() { text_.clear(); }
    void Add(const char* name, std::initializer_list<NoteAttr> attrs = {});
    const std::u16string& Text() const { return text_; }

private:
    std::u16string text_;
};

}  // namespace cursorial::xml
