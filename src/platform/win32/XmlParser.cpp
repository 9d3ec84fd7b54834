#include "readers/XmlParser.h"

#include <windows.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <new>

// XmlLite, Windows' own XML reader (and Wine's), loaded from the system
// folder only when a file needs it: the plug-in's imports stay what they were.
// It parses the DTD that a DOCTYPE names only through a resolver, and the one
// given here answers every request with an empty stream, so nothing is
// fetched. Wine's XmlLite fails on an internal subset; Windows' reports it as
// the DOCTYPE's value, and the parse is stopped there, before any entity it
// declares is used. Wine leaves the value of the node before a DOCTYPE in
// place (white space, a comment), so what marks a subset is markup in the
// value: a declaration's '<' or a parameter entity's '%'.

namespace {

using CreateXmlReaderFunction = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

// The library, for as long as one parse needs it.
class CXmlLite {
public:
    CXmlLite() : m_module(LoadLibraryExW(L"xmllite.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}
    ~CXmlLite()
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    CXmlLite(const CXmlLite&) = delete;
    CXmlLite& operator=(const CXmlLite&) = delete;

    CreateXmlReaderFunction CreateReader() const
    {
        return m_module ? reinterpret_cast<CreateXmlReaderFunction>(
                              reinterpret_cast<void*>(GetProcAddress(m_module, "CreateXmlReader")))
                        : nullptr;
    }

private:
    HMODULE m_module;
};

// Owns one reference to a COM object.
template <typename Interface>
class CReference {
public:
    CReference() = default;
    ~CReference()
    {
        if (m_object)
            m_object->Release();
    }
    CReference(const CReference&) = delete;
    CReference& operator=(const CReference&) = delete;

    Interface* operator->() const { return m_object; }
    Interface* Get() const { return m_object; }
    Interface** Receive() { return &m_object; }
    void** ReceiveVoid() { return reinterpret_cast<void**>(&m_object); }

private:
    Interface* m_object = nullptr;
};

// Answers every external resource with an empty stream. It lives on the stack
// of one parse, longer than the reader that holds it. A COM object is never
// deleted through its interface, which has no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class CNothingResolver final : public IXmlResolver {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (id == __uuidof(IUnknown) || id == __uuidof(IXmlResolver)) {
            *object = static_cast<IXmlResolver*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE ResolveUri(LPCWSTR, LPCWSTR, LPCWSTR, IUnknown** input) override
    {
        *input = SHCreateMemStream(nullptr, 0);
        return *input ? S_OK : E_OUTOFMEMORY;
    }
};
#pragma GCC diagnostic pop

std::string Utf8Of(const WCHAR* text, UINT length)
{
    if (length == 0)
        return {};
    const int wide = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, wide, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, wide, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::string NameOf(IXmlReader& reader)
{
    const WCHAR* name = nullptr;
    UINT length = 0;
    reader.GetQualifiedName(&name, &length);
    return Utf8Of(name, length);
}

std::string ValueOf(IXmlReader& reader)
{
    const WCHAR* value = nullptr;
    UINT length = 0;
    reader.GetValue(&value, &length);
    return Utf8Of(value, length);
}

class CXmlLiteParse {
public:
    CXmlLiteParse(IXmlReader& reader, CXmlHandler& handler) : m_reader(reader), m_handler(handler) {}

    // False when the handler stopped the parse or the DOCTYPE was refused.
    bool Take(XmlNodeType type)
    {
        switch (type) {
        case XmlNodeType_Element:
            return TakeElement();
        case XmlNodeType_EndElement:
            return Handled(m_handler.EndElement(NameOf(m_reader)));
        case XmlNodeType_Text:
        case XmlNodeType_CDATA:
        case XmlNodeType_Whitespace:
            return Handled(m_handler.Text(ValueOf(m_reader)));
        case XmlNodeType_DocumentType:
            if (ValueOf(m_reader).find_first_of("<%") == std::string::npos)
                return true;
            m_outcome = XmlOutcome::DtdRefused;
            return false;
        default:
            return true;
        }
    }

    XmlOutcome Outcome() const { return m_outcome; }

private:
    bool TakeElement()
    {
        const std::string name = NameOf(m_reader);
        const bool empty = m_reader.IsEmptyElement() != FALSE;
        m_attributes.clear();
        for (HRESULT found = m_reader.MoveToFirstAttribute(); found == S_OK; found = m_reader.MoveToNextAttribute())
            m_attributes.emplace_back(NameOf(m_reader), ValueOf(m_reader));
        m_reader.MoveToElement();
        return Handled(m_handler.StartElement(name, m_attributes)) && (!empty || Handled(m_handler.EndElement(name)));
    }

    bool Handled(bool goOn)
    {
        if (!goOn)
            m_outcome = XmlOutcome::StoppedByHandler;
        return goOn;
    }

    IXmlReader& m_reader;
    CXmlHandler& m_handler;
    XmlAttributes m_attributes;
    XmlOutcome m_outcome = XmlOutcome::Parsed;
};

int LineOf(IXmlReader& reader)
{
    UINT line = 0;
    reader.GetLineNumber(&line);
    return static_cast<int>(line);
}

std::string HresultText(HRESULT result)
{
    char text[32];
    wsprintfA(text, "error 0x%08lX", static_cast<unsigned long>(result));
    return text;
}

} // namespace

XmlResult ParseXml(std::string_view document, CXmlHandler& handler)
{
    const CXmlLite library;
    const CreateXmlReaderFunction createReader = library.CreateReader();
    if (!createReader)
        return {XmlOutcome::NotWellFormed, 0, "XmlLite is missing"};
    if (document.size() > MAXDWORD)
        return {XmlOutcome::NotWellFormed, 0, "too long"};
    CReference<IStream> stream;
    *stream.Receive() = SHCreateMemStream(reinterpret_cast<const BYTE*>(document.data()),
                                          static_cast<UINT>(document.size()));
    CReference<IXmlReader> reader;
    if (!stream.Get() || FAILED(createReader(__uuidof(IXmlReader), reader.ReceiveVoid(), nullptr)))
        throw std::bad_alloc();
    CNothingResolver resolver;
    reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Parse);
    reader->SetProperty(XmlReaderProperty_XmlResolver, reinterpret_cast<LONG_PTR>(&resolver));
    if (FAILED(reader->SetInput(stream.Get())))
        throw std::bad_alloc();
    CXmlLiteParse parse(*reader.Get(), handler);
    XmlNodeType type = XmlNodeType_None;
    HRESULT result = S_OK;
    while ((result = reader->Read(&type)) == S_OK) {
        if (!parse.Take(type))
            return {parse.Outcome(), LineOf(*reader.Get()), {}};
    }
    if (SUCCEEDED(result))
        return {XmlOutcome::Parsed, LineOf(*reader.Get()), {}};
    // Wine's XmlLite does not implement internal subsets.
    const XmlOutcome outcome = result == E_NOTIMPL ? XmlOutcome::DtdRefused : XmlOutcome::NotWellFormed;
    return {outcome, LineOf(*reader.Get()), HresultText(result)};
}
