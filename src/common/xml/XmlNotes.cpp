#include "common/xml/XmlNotes.h"

#include "common/xml/XmlEntities.h"

namespace cursorial::xml {

void ResultNotes::Add(const char* name, std::initializer_list<NoteAttr> attrs) {
    if (text_.size() > kCap)
        return;
    text_ += u'<';
    text_ += FromUtf8(name);
    for (const NoteAttr& attr : attrs) {
        text_ += u' ';
        text_ += FromUtf8(attr.name);
        text_ += u"=\"";
        text_ += EscapeAttribute(attr.value);
        text_ += u'"';
    }
    text_ += u"/>";
}

}  // namespace cursorial::xml
