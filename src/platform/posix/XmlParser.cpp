#include "readers/XmlParser.h"

#include <expat.h>

#include <climits>
#include <memory>
#include <new>

// Expat fetches nothing by itself: external entities and the external DTD are
// only ever read through handlers, and none is set. What remains of a DTD is
// refused here: an internal subset as soon as its DOCTYPE starts, any entity
// declaration, and the references that expat, for a document with an
// external DTD it has not read, skips instead of calling them undefined.

namespace {

struct ExpatParse {
    XML_Parser parser;
    CXmlHandler& handler;
    XmlOutcome outcome = XmlOutcome::Parsed;
    XmlAttributes attributes;
};

ExpatParse& ParseOf(void* data)
{
    return *static_cast<ExpatParse*>(data);
}

// Expat may still report what it had already taken in after a stop.
bool Stopped(const ExpatParse& parse)
{
    return parse.outcome != XmlOutcome::Parsed;
}

void Stop(ExpatParse& parse, XmlOutcome outcome)
{
    if (Stopped(parse))
        return;
    parse.outcome = outcome;
    XML_StopParser(parse.parser, XML_FALSE);
}

void XMLCALL OnStartElement(void* data, const XML_Char* name, const XML_Char** attributes)
{
    ExpatParse& parse = ParseOf(data);
    if (Stopped(parse))
        return;
    parse.attributes.clear();
    for (const XML_Char** attribute = attributes; attribute[0]; attribute += 2)
        parse.attributes.emplace_back(attribute[0], attribute[1]);
    if (!parse.handler.StartElement(name, parse.attributes))
        Stop(parse, XmlOutcome::StoppedByHandler);
}

void XMLCALL OnEndElement(void* data, const XML_Char* name)
{
    ExpatParse& parse = ParseOf(data);
    if (!Stopped(parse) && !parse.handler.EndElement(name))
        Stop(parse, XmlOutcome::StoppedByHandler);
}

void XMLCALL OnText(void* data, const XML_Char* text, int length)
{
    ExpatParse& parse = ParseOf(data);
    if (!Stopped(parse) && !parse.handler.Text(std::string_view(text, static_cast<std::size_t>(length))))
        Stop(parse, XmlOutcome::StoppedByHandler);
}

void XMLCALL OnStartDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int hasInternalSubset)
{
    if (hasInternalSubset)
        Stop(ParseOf(data), XmlOutcome::DtdRefused);
}

void XMLCALL OnEntityDeclaration(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                                 const XML_Char*, const XML_Char*, const XML_Char*)
{
    Stop(ParseOf(data), XmlOutcome::DtdRefused);
}

void XMLCALL OnSkippedEntity(void* data, const XML_Char*, int)
{
    Stop(ParseOf(data), XmlOutcome::DtdRefused);
}

} // namespace

XmlResult ParseXml(std::string_view document, CXmlHandler& handler)
{
    if (document.size() > INT_MAX)
        return {XmlOutcome::NotWellFormed, 0, "too long"};
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate(nullptr),
                                                                               XML_ParserFree);
    if (!parser)
        throw std::bad_alloc();
    ExpatParse parse{parser.get(), handler, XmlOutcome::Parsed, {}};
    XML_SetUserData(parser.get(), &parse);
    XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
    XML_SetElementHandler(parser.get(), OnStartElement, OnEndElement);
    XML_SetCharacterDataHandler(parser.get(), OnText);
    XML_SetStartDoctypeDeclHandler(parser.get(), OnStartDoctype);
    XML_SetEntityDeclHandler(parser.get(), OnEntityDeclaration);
    XML_SetSkippedEntityHandler(parser.get(), OnSkippedEntity);
    const XML_Status status = XML_Parse(parser.get(), document.data(), static_cast<int>(document.size()), XML_TRUE);
    const int line = static_cast<int>(XML_GetCurrentLineNumber(parser.get()));
    if (Stopped(parse))
        return {parse.outcome, line, {}};
    if (status != XML_STATUS_OK)
        return {XmlOutcome::NotWellFormed, line, XML_ErrorString(XML_GetErrorCode(parser.get()))};
    return {XmlOutcome::Parsed, line, {}};
}
