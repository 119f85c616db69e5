// The outline of a document through XmlLite, the XML reader Windows (and
// Wine) ship. MinGW has its header but no import library: the reader is
// found in xmllite.dll at run time.
#include <windows.h>
#include <initguid.h>
#include <objidl.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <string>

#include "xml_outline.h"

namespace vantorel::engine {
namespace {

using CreateReader = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

template <typename T>
struct Released {
  T* p = nullptr;
  ~Released() {
    if (p) p->Release();
  }
};

std::string Utf8(const WCHAR* s, UINT length) {
  if (!s || !length) return {};
  int bytes = WideCharToMultiByte(CP_UTF8, 0, s, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s, static_cast<int>(length), out.data(), bytes, nullptr, nullptr);
  return out;
}

std::string Got(IXmlReader* r, HRESULT (STDMETHODCALLTYPE IXmlReader::*get)(LPCWSTR*, UINT*)) {
  LPCWSTR s = nullptr;
  UINT length = 0;
  return SUCCEEDED((r->*get)(&s, &length)) ? Utf8(s, length) : std::string();
}

bool Fail(std::string& why, const std::string& text) {
  why = text;
  return false;
}

}  // namespace

bool ReadXmlOutline(const std::vector<uint8_t>& text, std::vector<XmlElement>& elements, std::string& why) {
  elements.clear();
  static const CreateReader create = [] {
    HMODULE xmllite = LoadLibraryW(L"xmllite.dll");
    return xmllite ? reinterpret_cast<CreateReader>(reinterpret_cast<void*>(GetProcAddress(xmllite, "CreateXmlReader")))
                   : nullptr;
  }();
  if (!create) return Fail(why, "the system's XML reader (xmllite.dll) is not there");
  if (text.size() > UINT_MAX) return Fail(why, "it is too large");
  Released<IStream> stream{SHCreateMemStream(text.data(), static_cast<UINT>(text.size()))};
  Released<IXmlReader> reader;
  if (!stream.p || FAILED(create(IID_IXmlReader, reinterpret_cast<void**>(&reader.p), nullptr))) {
    return Fail(why, "the system's XML reader could not be made");
  }
  reader.p->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Parse);
  if (FAILED(reader.p->SetInput(stream.p))) return Fail(why, "the system's XML reader could not read it");
  XmlNodeType type;
  HRESULT hr;
  while ((hr = reader.p->Read(&type)) == S_OK) {
    if (type != XmlNodeType_Element) continue;
    XmlElement e;
    UINT depth = 0;
    reader.p->GetDepth(&depth);
    e.depth = static_cast<int>(depth);
    e.local_name = Got(reader.p, &IXmlReader::GetLocalName);
    e.ns = Got(reader.p, &IXmlReader::GetNamespaceUri);
    e.prefix = Got(reader.p, &IXmlReader::GetPrefix);
    for (HRESULT a = reader.p->MoveToFirstAttribute(); a == S_OK; a = reader.p->MoveToNextAttribute()) {
      if (reader.p->IsDefault()) continue;
      std::string prefix = Got(reader.p, &IXmlReader::GetPrefix), name = Got(reader.p, &IXmlReader::GetLocalName);
      if (prefix == "xmlns" || (prefix.empty() && name == "xmlns")) continue;  // libxml2 lists these apart too
      LPCWSTR value = nullptr;
      UINT length = 0;
      reader.p->GetValue(&value, &length);
      e.attributes.emplace_back(name, Utf8(value, length));
    }
    reader.p->MoveToElement();
    elements.push_back(std::move(e));
  }
  if (FAILED(hr)) {
    UINT line = 0;
    reader.p->GetLineNumber(&line);
    char code[16];
    wsprintfA(code, "0x%08lx", static_cast<unsigned long>(hr));
    return Fail(why, std::string("the XML reader stopped with error ") + code + " (line " + std::to_string(line) + ")");
  }
  if (elements.empty()) return Fail(why, "it has no root element");
  return true;
}

}  // namespace vantorel::engine
