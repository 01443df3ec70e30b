#pragma once
// XmlCheck: reads an XML document in pieces, as they come out of a zip, and proves it is
// well-formed — one root element, every tag closed in order, attributes quoted and not
// repeated, every reference known, nothing but blanks, comments and instructions outside the
// root — telling what it reads to an optional XmlEvents. A part that a full disk cut short
// fails here even when its zip entry is otherwise consistent. Document type declarations are
// refused: the parts of a workbook never have one.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace talvers {

struct XmlAttribute {
    std::string_view name;
    std::string_view value;  // references decoded
};

// What an XmlCheck reads, in order. The views live until the call returns.
class XmlEvents {
  public:
    virtual ~XmlEvents() = default;
    virtual void startElement(std::string_view name, std::span<const XmlAttribute> attributes) = 0;
    virtual void endElement(std::string_view name) = 0;
    // Character data inside the root, references decoded; one run of text may come in pieces.
    virtual void text(std::string_view text) = 0;
};

// Why a document is not well-formed: `cut` when it ended before it was complete.
struct XmlProblem {
    bool cut = false;
    std::string reason;
};

class XmlCheck {
  public:
    explicit XmlCheck(XmlEvents* events = nullptr) : events_(events) {}
    // Takes the next piece of the document. Throws XmlProblem; exceptions of the events pass.
    void feed(const char* data, std::size_t size);
    // The document has ended. Throws XmlProblem when it is not complete.
    void finish();

  private:
    size_t scan(const char* begin, const char* end);
    const char* markup(const char* p, const char* end);
    const char* startTag(const char* p, const char* end);
    const char* endTag(const char* p, const char* end);
    void characters(const char* p, const char* end);
    std::string_view decoded(std::string_view raw, std::string& into);

    XmlEvents* events_;
    std::string pending_;
    // The names of the open elements, one after another, and where each starts.
    std::string openNames_;
    std::vector<size_t> openStarts_;
    bool started_ = false;
    bool rootSeen_ = false;
    std::vector<XmlAttribute> attributes_;
    std::vector<std::string> attributeTexts_;
    std::string text_;
};

}  // namespace talvers
