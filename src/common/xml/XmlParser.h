// The element index over a document text and the parser that builds it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/xml/XmlNotes.h"

namespace cursorial::xml {

// One element. Positions are indexes into ElementIndex; 0 is "none" (and, as a record, the
// document itself, whose firstChild/lastChild are the top-level elements).
struct ElementRecord {
    size_t start = 0;           // offset of '<'
    size_t length = 0;          // start tag through end tag
    size_t startTagLength = 0;  // '<' through '>' of the start tag
    size_t endTagLength = 0;    // 0 for empty-element tags and elements never closed
    uint32_t nameLength = 0;
    int parent = 0;
    int firstChild = 0;
    int lastChild = 0;
    int prev = 0;
    int next = 0;
    bool empty = false;      // written as an empty-element tag "<name .../>"
    bool illFormed = false;  // never closed, or a stray end tag inside it

    size_t End() const { return start + length; }
};

class ElementIndex {
public:
    ElementIndex() { Clear(); }

    // Leaves only the document record.
    void Clear();
    // Room for one more record, so that the following Insert cannot fail.
    void ReserveOneMore();
    size_t Capacity() const { return records_.capacity(); }
    // Creates a record linked into `parent`'s children after `prev` (0: as the first child).
    int Insert(int parent, int prev);

    ElementRecord& operator[](int pos) { return records_[static_cast<size_t>(pos)]; }
    const ElementRecord& operator[](int pos) const { return records_[static_cast<size_t>(pos)]; }
    int Size() const { return static_cast<int>(records_.size()); }

    int TopLevelCount() const { return topLevelCount_; }
    bool IllFormed() const { return records_[0].illFormed; }
    // Exactly one top-level element and no syntax fault.
    bool WellFormed() const { return !IllFormed() && topLevelCount_ == 1; }

    // Keeps the offsets right after `delta` characters were inserted (or, negative, removed) at
    // `pos` inside `container` (0: at the top level), which must be the innermost element
    // holding `pos` (between its children or inside its start tag): every element that starts
    // at or after `pos` moves, and `container` with all its ancestors grows.
    void Shift(size_t pos, std::ptrdiff_t delta, int container);

private:
    void ShiftSubtree(int root, std::ptrdiff_t delta);

    std::vector<ElementRecord> records_;
    int topLevelCount_ = 0;
};

// Scans `text` into `index` (cleared first), noting every fault in `notes`. The index holds one
// record per element found, whatever else the text holds; std::bad_alloc passes through. Comments,
// CDATA sections, processing instructions and the document type declaration are skipped; only
// elements are indexed. Runs in time linear in the text and without recursion, whatever the
// nesting depth or the faults in the input.
void Parse(std::u16string_view text, ElementIndex& index, ResultNotes& notes);

}  // namespace cursorial::xml
