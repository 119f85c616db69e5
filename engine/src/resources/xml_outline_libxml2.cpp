// The outline of a document through libxml2.
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>

#include "xml_outline.h"

namespace vantorel::engine {
namespace {

const char* Text(const xmlChar* s) { return s ? reinterpret_cast<const char*>(s) : ""; }

void Collect(xmlNodePtr node, int depth, std::vector<XmlElement>& out) {
  for (; node; node = node->next) {
    if (node->type != XML_ELEMENT_NODE) continue;
    XmlElement e;
    e.local_name = Text(node->name);
    e.ns = node->ns ? Text(node->ns->href) : "";
    e.prefix = node->ns ? Text(node->ns->prefix) : "";
    e.depth = depth;
    for (xmlAttrPtr a = node->properties; a; a = a->next) {
      std::unique_ptr<xmlChar, void (*)(void*)> value(xmlNodeListGetString(node->doc, a->children, 1), xmlFree);
      e.attributes.emplace_back(Text(a->name), Text(value.get()));
    }
    out.push_back(std::move(e));
    Collect(node->children, depth + 1, out);
  }
}

}  // namespace

bool ReadXmlOutline(const std::vector<uint8_t>& text, std::vector<XmlElement>& elements, std::string& why) {
  elements.clear();
  if (text.size() > INT32_MAX) {
    why = "it is too large";
    return false;
  }
  std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> ctxt(xmlNewParserCtxt(), xmlFreeParserCtxt);
  if (!ctxt) {
    why = "the XML parser could not be made";
    return false;
  }
  // Nothing fetched from the network, no entity substituted, nothing printed:
  // the complaint is taken from the context.
  const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
  std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc(
      xmlCtxtReadMemory(ctxt.get(), reinterpret_cast<const char*>(text.data()), static_cast<int>(text.size()),
                        nullptr, nullptr, options),
      xmlFreeDoc);
  if (!doc || !ctxt->wellFormed) {
    const xmlError* error = xmlCtxtGetLastError(ctxt.get());
    std::string message = error && error->message ? error->message : "it is not well-formed";
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
    why = message + (error && error->line > 0 ? " (line " + std::to_string(error->line) + ")" : "");
    return false;
  }
  Collect(doc->children, 0, elements);
  return true;
}

}  // namespace vantorel::engine
