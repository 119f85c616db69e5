// The manifest's execution level set in its text, every other byte kept; a
// new manifest where there is none; what is not well-formed refused.
#include "manifest.h"
#include "resource_edit.h"
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
  const std::string existing = kHead + "</assembly>";
  struct Case {
    const char* what;
    bool has_manifest;
    std::optional<std::string> given;
    std::string level;
    int32_t result;
    std::string expected_level;
  } cases[] = {
      {"a level in a program's own manifest", true, std::nullopt, "highestAvailable", kSuccess, "highestAvailable"},
      {"a new manifest in a program without", false, std::nullopt, "asInvoker", kSuccess, "asInvoker"},
      {"a whole manifest given", true, kHead + "</assembly>", "", kSuccess, ""},
      {"a whole manifest given, and a level", false, kHead + "</assembly>", "requireAdministrator", kSuccess,
       "requireAdministrator"},
      {"a given manifest not well-formed", true, std::string("<assembly"), "", kManifestRefused, ""},
  };
  for (const Case& c : cases) {
    PeOptions o = IconProgram({64});
    if (c.has_manifest) o.resources.push_back({kManifestType, 1, 1033, Of(existing)});
    const Bytes program = BuildPe(o).bytes;
    ResourceEdit edit;
    edit.execution_level = c.level;
    if (c.given) edit.manifest = Of(*c.given);
    edit.manifest_name = "given.manifest";
    std::string why;
    if (c.given && !CheckManifest(*edit.manifest, why)) {
      EXPECT_EQ(c.result, kManifestRefused) << c.what;
      continue;
    }
    MemoryFile file(program);
    ResourceEditReport report;
    ASSERT_EQ(EditResourcesIn(file, edit, "app.exe", report, why, {}, false), c.result) << c.what << ": " << why;
    ProgramResources read;
    ASSERT_EQ(ReadResourcesIn(file, "app.exe", read, why, {}), kSuccess) << why;
    EXPECT_TRUE(read.has_manifest) << c.what;
    EXPECT_EQ(read.execution_level, c.expected_level) << c.what;
  }
}

}  // namespace
}  // namespace vantorel::engine::test
