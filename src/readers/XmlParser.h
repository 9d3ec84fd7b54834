#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The platform's XML parser behind one small interface: expat on Linux,
// XmlLite on Windows. Each platform holds its parser to the same rules: the
// document is parsed from memory and nothing is ever fetched; no entity is
// expanded but the five predefined ones and character references; no DTD is
// processed. A DOCTYPE that only names an external DTD, as every webpbn
// export does, is accepted and ignored. A DOCTYPE with an internal subset is
// refused, and so is a reference to any other entity, which only a DTD could
// define.

using XmlAttributes = std::vector<std::pair<std::string, std::string>>;

// What the parser tells its reader, in document order and in UTF-8. Each call
// returns false to stop the parse.
class CXmlHandler {
public:
    virtual ~CXmlHandler() = default;

    virtual bool StartElement(std::string_view name, const XmlAttributes& attributes) = 0;
    virtual bool EndElement(std::string_view name) = 0;
    // Character data of the element open at the time, in pieces of any size.
    virtual bool Text(std::string_view text) = 0;
};

enum class XmlOutcome {
    Parsed,
    StoppedByHandler,
    NotWellFormed,
    // An internal subset, or a reference to an entity that only a DTD could define.
    DtdRefused,
};

struct XmlResult {
    XmlOutcome outcome;
    // The line where the parse ended, from 1; 0 where the parser does not say.
    int line;
    // The parser's own words for what was not well-formed.
    std::string detail;
};

XmlResult ParseXml(std::string_view document, CXmlHandler& handler);
