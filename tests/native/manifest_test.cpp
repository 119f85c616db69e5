// The manifest's execution level set in its text, every other byte kept; a
// new manifest where there is none; what is not well-formed refused.
#include "resources/manifest.h"
#include "modes/resource_edit.h"
#include "test_support.h"

namespace vantorel::engine::test {
namespace {

constexpr uint32_t kManifestType = 24;

Bytes Of(const std::string& s) { return {s.begin(), s.end()}; }

const std::string kHead = "<?xml version='1.0' encoding='UTF-8'?>\r\n"
                          "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
                          "  <!-- <requestedExecutionLevel level=\"comment\"/> -->\r\n";

TEST(Manifest, TheLevelIsSetWhereverTheChainStops) {
  struct Case {
    const char* what;
    std::string body;     // between kHead and </assembly>
    std::string changed;  // the body after
  } cases[] = {
      {"the level attribute, in single quotes",
       "<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\"><security><requestedPrivileges>"
       "<requestedExecutionLevel uiAccess='false' level='asInvoker' /></requestedPrivileges></security></trustInfo>",
       "<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\"><security><requestedPrivileges>"
       "<requestedExecutionLevel uiAccess='false' level='requireAdministrator' /></requestedPrivileges></security></trustInfo>"},
      {"an element without the attribute, prefixed, in the v2 namespace",
       "<v2:trustInfo xmlns:v2=\"urn:schemas-microsoft-com:asm.v2\"><v2:security><v2:requestedPrivileges>"
       "<v2:requestedExecutionLevel/></v2:requestedPrivileges></v2:security></v2:trustInfo>",
       "<v2:trustInfo xmlns:v2=\"urn:schemas-microsoft-com:asm.v2\"><v2:security><v2:requestedPrivileges>"
       "<v2:requestedExecutionLevel level=\"requireAdministrator\"/></v2:requestedPrivileges></v2:security></v2:trustInfo>"},
      {"no trustInfo: added at the root's end", "<dependency/>\r\n",
       "<dependency/>\r\n<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\"><security><requestedPrivileges>"
       "<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/></requestedPrivileges></security>"
       "</trustInfo>"},
      {"trustInfo without security, as an empty element",
       "<t:trustInfo xmlns:t=\"urn:schemas-microsoft-com:asm.v3\"/>",
       "<t:trustInfo xmlns:t=\"urn:schemas-microsoft-com:asm.v3\"><t:security><t:requestedPrivileges>"
       "<t:requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/></t:requestedPrivileges>"
       "</t:security></t:trustInfo>"},
      {"a requestedExecutionLevel of another namespace is not the one",
       "<requestedExecutionLevel xmlns=\"urn:other\" level=\"x\"/>",
       "<requestedExecutionLevel xmlns=\"urn:other\" level=\"x\"/><trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">"
       "<security><requestedPrivileges><requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>"
       "</requestedPrivileges></security></trustInfo>"},
  };
  for (const Case& c : cases) {
    Bytes m = Of(kHead + c.body + "</assembly>\r\n");
    std::string why;
    ASSERT_TRUE(SetExecutionLevel(m, "requireAdministrator", why)) << c.what << ": " << why;
    EXPECT_EQ(std::string(m.begin(), m.end()), kHead + c.changed + "</assembly>\r\n") << c.what;
    std::optional<std::string> level = ExecutionLevel(m, why);
    EXPECT_EQ(level.value_or("?"), "requireAdministrator") << c.what;
  }
}

TEST(Manifest, RefusedWithTheReason) {
  struct Case {
    const char* what;
    std::string text;
    const char* why;
  } cases[] = {
      {"not well-formed", kHead + "<trustInfo></assembly>", "line"},
      {"not XML at all", "MZ\x90", ""},
      {"a root that is not an assembly", "<?xml version=\"1.0\"?><application/>", "root"},
      {"a DOCTYPE", "<?xml version=\"1.0\"?><!DOCTYPE assembly [<!ENTITY e \"<trustInfo/>\">]>"
                    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\">&e;</assembly>", "document type"},
      {"UTF-16", std::string("\xFF\xFE<\0a\0/\0>\0", 10), ""},
  };
  for (const Case& c : cases) {
    Bytes m = Of(c.text);
    std::string why;
    EXPECT_FALSE(SetExecutionLevel(m, "asInvoker", why)) << c.what;
    EXPECT_EQ(m, Of(c.text)) << c.what;
    EXPECT_NE(why.find(c.why), std::string::npos) << c.what << ": " << why;
  }
}

TEST(Manifest, ProgramsGetTheirManifestChangedOrMade) {
  const std::string bare = kHead + "</assembly>";
  const std::string admin = kHead +
                            "<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\"><security><requestedPrivileges>"
                            "<requestedExecutionLevel level=\"requireAdministrator\"/></requestedPrivileges></security>"
                            "</trustInfo></assembly>";
  struct Case {
    const char* what;
    std::optional<std::string> own;  // the program's manifest
    std::optional<std::string> given;
    std::string level;
    bool in_place;
    std::string expected_level;
  } cases[] = {
      {"a level added to a program's own manifest", bare, std::nullopt, "highestAvailable", false, "highestAvailable"},
      {"a shorter level, over the old text, padded with spaces", admin, std::nullopt, "asInvoker", true, "asInvoker"},
      {"a new manifest in a program without", std::nullopt, std::nullopt, "asInvoker", false, "asInvoker"},
      {"a whole manifest given", bare, bare, "", true, ""},
      {"a whole manifest given, and a level", std::nullopt, bare, "requireAdministrator", false,
       "requireAdministrator"},
  };
  for (const Case& c : cases) {
    PeOptions o = IconProgram({64});
    if (c.own) o.resources.push_back({kManifestType, 1, 1033, Of(*c.own)});
    const Bytes program = BuildPe(o).bytes;
    ResourceEdit edit;
    edit.execution_level = c.level;
    if (c.given) edit.manifest = Of(*c.given);
    edit.manifest_name = "given.manifest";
    MemoryFile file(program);
    ResourceEditReport report;
    std::string why;
    ASSERT_EQ(EditResourcesIn(file, edit, "app.exe", report, why, {}, false), kSuccess) << c.what << ": " << why;
    ASSERT_EQ(report.placements.size(), 1u) << c.what;
    EXPECT_EQ(report.placements[0].in_place, c.in_place) << c.what;
    EXPECT_EQ(file.bytes().size() == program.size(), c.in_place) << c.what;
    ProgramResources read;
    ASSERT_EQ(ReadResourcesIn(file, "app.exe", read, why, {}), kSuccess) << c.what << ": " << why;
    EXPECT_TRUE(read.has_manifest) << c.what;
    EXPECT_EQ(read.execution_level, c.expected_level) << c.what;
  }
  // A given manifest that is not well-formed is refused before any program is opened.
  std::string why;
  EXPECT_FALSE(CheckManifest(Of("<assembly"), why));
}

}  // namespace
}  // namespace vantorel::engine::test
