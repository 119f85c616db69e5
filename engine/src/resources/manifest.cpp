// The requested execution level of a manifest, read and set in its text.
#include "manifest.h"

#include <algorithm>
#include <cstring>

#include "xml_outline.h"

namespace vantorel::engine {
namespace {

constexpr const char* kAssemblyNs = "urn:schemas-microsoft-com:asm.v1";
constexpr const char* kTrustNs = "urn:schemas-microsoft-com:asm.v3";
// Older manifests name the trust elements in the v2 namespace, which Windows
// reads alike.
constexpr const char* kTrustNsV2 = "urn:schemas-microsoft-com:asm.v2";
constexpr const char* kChain[] = {"trustInfo", "security", "requestedPrivileges", "requestedExecutionLevel"};

bool IsTrust(const XmlElement& e, const char* name) {
  return e.local_name == name && (e.ns == kTrustNs || e.ns == kTrustNsV2);
}

std::string Attribute(const XmlElement& e, const char* name) {
  for (const auto& [n, v] : e.attributes) {
    if (n == name) return v;
  }
  return {};
}

// Where a tag lies in the text, found after the library accepted the whole
// document: in well-formed XML a '<' outside comments, processing
// instructions and CDATA sections starts a tag, and a '>' outside an
// attribute's quotes ends it.
struct Tag {
  size_t begin = 0, name_end = 0, end = 0;  // end: the index of its '>'
  bool closing = false, empty = false;
  std::string name;
  size_t end_tag = 0;  // of a start tag that is not empty: where its end tag begins
};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool Tags(const std::string& t, std::vector<Tag>& tags) {
  std::vector<size_t> open;
  for (size_t at = t.find('<'); at != std::string::npos; at = t.find('<', at)) {
    auto skip = [&](const char* opening, const char* closing) {
      if (t.compare(at, std::strlen(opening), opening) != 0) return false;
      size_t end = t.find(closing, at + std::strlen(opening));
      at = end == std::string::npos ? t.size() : end + std::strlen(closing);
      return true;
    };
    if (skip("<!--", "-->") || skip("<![CDATA[", "]]>") || skip("<?", "?>")) continue;
    if (t.compare(at, 2, "<!") == 0) return false;  // a document type declaration
    Tag tag;
    tag.begin = at;
    tag.closing = t[at + 1] == '/';
    size_t i = at + (tag.closing ? 2 : 1);
    while (i < t.size() && !IsSpace(t[i]) && t[i] != '>' && t[i] != '/') ++i;
    tag.name = t.substr(at + (tag.closing ? 2 : 1), i - at - (tag.closing ? 2 : 1));
    tag.name_end = i;
    for (char quote = 0; i < t.size() && (quote || t[i] != '>'); ++i) {
      if (quote ? t[i] == quote : (t[i] == '"' || t[i] == '\'')) quote = quote ? 0 : t[i];
    }
    if (i == t.size()) return false;
    tag.end = i;
    tag.empty = !tag.closing && t[i - 1] == '/';
    at = i + 1;
    if (tag.closing) {
      if (open.empty()) return false;
      tags[open.back()].end_tag = tag.begin;
      open.pop_back();
      continue;
    }
    if (!tag.empty) open.push_back(tags.size());
    tags.push_back(tag);
  }
  return open.empty();
}

// The value of attribute `name` in a start tag: [begin, end) of its text
// between the quotes; nothing when the tag has none.
std::optional<std::pair<size_t, size_t>> AttributeValue(const std::string& t, const Tag& tag, const char* name) {
  size_t i = tag.name_end;
  while (true) {
    while (i < tag.end && IsSpace(t[i])) ++i;
    if (i >= tag.end || t[i] == '/') return std::nullopt;
    const size_t name_begin = i;
    while (t[i] != '=' && !IsSpace(t[i])) ++i;
    const std::string attribute = t.substr(name_begin, i - name_begin);
    while (t[i] != '"' && t[i] != '\'') ++i;
    const size_t value_end = t.find(t[i], i + 1);
    if (attribute == name) return std::make_pair(i + 1, value_end);
    i = value_end + 1;
  }
}

std::string Qualified(const XmlElement& e, const char* local) {
  return e.prefix.empty() ? local : e.prefix + ":" + local;
}

// The elements of the chain from `from` on, inside an element of prefix
// `parent`, down to the level.
std::string Chain(size_t from, const XmlElement* parent, const std::string& level) {
  std::string open, close;
  for (size_t k = from; k < std::size(kChain); ++k) {
    std::string name = parent ? Qualified(*parent, kChain[k]) : kChain[k];
    if (k + 1 == std::size(kChain)) {
      open += "<" + name + " level=\"" + level + "\" uiAccess=\"false\"/>";
      break;
    }
    open += "<" + name + (k == from && !parent ? std::string(" xmlns=\"") + kTrustNs + "\"" : "") + ">";
    close = "</" + name + ">" + close;
  }
  return open + close;
}

struct Outline {
  std::vector<XmlElement> elements;
  std::vector<Tag> tags;
};

// A document type declaration is refused before the library sees it: its
// entities could put elements where the text shows none, and the platforms'
// libraries differ on it (Wine's XmlLite reads none). Manifests carry none.
bool ReadOutline(const std::string& text, Outline& o, std::string& why) {
  if (text.find("<!DOCTYPE") != std::string::npos) {
    why = "it has a document type declaration, which a manifest does not take";
    return false;
  }
  std::vector<uint8_t> bytes(text.begin(), text.end());
  if (!ReadXmlOutline(bytes, o.elements, why)) return false;
  if (o.elements.empty() || o.elements[0].local_name != "assembly" || o.elements[0].ns != kAssemblyNs) {
    why = std::string("its root is not the assembly of the namespace ") + kAssemblyNs;
    return false;
  }
  return true;
}

}  // namespace

bool CheckManifest(const std::vector<uint8_t>& manifest, std::string& why) {
  Outline o;
  return ReadOutline(std::string(manifest.begin(), manifest.end()), o, why);
}

std::optional<std::string> ExecutionLevel(const std::vector<uint8_t>& manifest, std::string& why) {
  Outline o;
  if (!ReadOutline(std::string(manifest.begin(), manifest.end()), o, why)) return std::nullopt;
  for (const XmlElement& e : o.elements) {
    if (IsTrust(e, kChain[3])) return Attribute(e, "level");
  }
  return std::string();
}

bool SetExecutionLevel(std::vector<uint8_t>& manifest, const std::string& level, std::string& why) {
  std::string t(manifest.begin(), manifest.end());
  Outline o;
  if (!ReadOutline(t, o, why)) return false;
  // The text is changed at byte offsets; in UTF-16 they would not be the
  // library's.
  if (t.size() >= 2 && (t.compare(0, 2, "\xFF\xFE") == 0 || t.compare(0, 2, "\xFE\xFF") == 0 || t[0] == 0 || t[1] == 0)) {
    why = "it is not UTF-8 text, so its level cannot be set in place (give a whole manifest instead)";
    return false;
  }
  if (!Tags(t, o.tags) || o.tags.size() != o.elements.size()) {
    why = "its text does not show every element";
    return false;
  }
  for (size_t i = 0; i < o.tags.size(); ++i) {
    if (o.tags[i].name != Qualified(o.elements[i], o.elements[i].local_name.c_str())) {
      why = "its text does not match its elements";
      return false;
    }
  }
  // Changes from the end of the text backwards, so each offset still holds.
  std::vector<std::pair<size_t, std::pair<size_t, std::string>>> edits;  // at, (bytes replaced, text)
  bool any = false;
  for (size_t i = 0; i < o.elements.size(); ++i) {
    if (!IsTrust(o.elements[i], kChain[3])) continue;
    any = true;
    if (auto value = AttributeValue(t, o.tags[i], "level")) {
      edits.push_back({value->first, {value->second - value->first, level}});
    } else {
      edits.push_back({o.tags[i].name_end, {0, " level=\"" + level + "\""}});
    }
  }
  if (!any) {
    // The deepest element of the chain there is, in the root or in the one
    // before it; the rest of the chain goes at its end.
    size_t depth = 0, holder = 0;
    for (size_t i = 1; i < o.elements.size() && depth < std::size(kChain) - 1; ++i) {
      const XmlElement& e = o.elements[i];
      if (e.depth == static_cast<int>(depth) + 1 && IsTrust(e, kChain[depth]) &&
          (depth == 0 || i > holder)) {
        holder = i;
        ++depth;
      }
    }
    const Tag& tag = o.tags[holder];
    const std::string chain = Chain(depth, depth ? &o.elements[holder] : nullptr, level);
    if (tag.empty) {
      const size_t slash = t.rfind('/', tag.end);
      edits.push_back({slash, {tag.end + 1 - slash, ">" + chain + "</" + tag.name + ">"}});
    } else {
      edits.push_back({tag.end_tag, {0, chain}});
    }
  }
  std::sort(edits.begin(), edits.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (const auto& [at, change] : edits) t.replace(at, change.first, change.second);
  std::vector<uint8_t> changed(t.begin(), t.end());
  std::optional<std::string> check = ExecutionLevel(changed, why);
  if (!check || *check != level) {
    if (check) why = "the level could not be set in its text";
    return false;
  }
  manifest = std::move(changed);
  return true;
}

std::vector<uint8_t> NewManifest(const std::string& level) {
  const std::string text = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n") +
                           "<assembly xmlns=\"" + kAssemblyNs + "\" manifestVersion=\"1.0\">\r\n  " +
                           Chain(0, nullptr, level) + "\r\n</assembly>\r\n";
  return {text.begin(), text.end()};
}

}  // namespace vantorel::engine
