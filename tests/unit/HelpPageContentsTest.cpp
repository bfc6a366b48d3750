// The help page against the program's own tables: every function type in the chooser's
// order with the field its editor asks for, every word a macro may use, and the
// sections the help buttons open. A type or a macro word added without its help fails
// here.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/FunCatalogue.h"
#include "catalogue/HelpTexts.h"
#include "dialogs/KeyEditor.h"
#include "macro/MacroListEditor.h"
#include "macro/MacroTokens.h"

namespace ostrel {
namespace {

// The page with every run of white space made one blank, so that a phrase may break
// across lines.
std::string ReadPage() {
  std::ifstream in(std::string(OSTREL_SOURCE_DIR) + "/resources/ostrel.htm", std::ios::binary);
  std::string page;
  bool blank = false;
  for (auto it = std::istreambuf_iterator<char>(in); it != std::istreambuf_iterator<char>(); ++it) {
    const bool space = *it == ' ' || *it == '\n' || *it == '\r' || *it == '\t';
    if (space && blank) continue;
    page += space ? ' ' : *it;
    blank = space;
  }
  return page;
}

// The part of the page from the section with this id to its end; empty without one.
std::string Section(const std::string& page, const std::string& id) {
  const std::size_t start = page.find("<section id=\"" + id + "\">");
  if (start == std::string::npos) return {};
  return page.substr(start, page.find("</section>", start) - start);
}

std::string Trimmed(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return std::string(s);
}

class HelpPageContents : public ::testing::Test {
 protected:
  std::string page = ReadPage();
};

TEST_F(HelpPageContents, ListsEveryFunctionTypeInTheChoosersOrderWithItsField) {
  const std::string functions = Section(page, "functions");
  ASSERT_FALSE(functions.empty()) << "no section \"functions\"";
  // Each term with its description, in page order.
  std::vector<std::string> terms, descriptions;
  for (std::size_t at = functions.find("<dt>"); at != std::string::npos;
       at = functions.find("<dt>", at + 1)) {
    const std::size_t end = functions.find("</dt>", at);
    const std::size_t next = functions.find("<dt>", end);
    terms.push_back(Trimmed(std::string_view(functions).substr(at + 4, end - at - 4)));
    descriptions.push_back(functions.substr(end, next == std::string::npos ? next : next - end));
  }
  std::vector<std::string> wanted;
  for (std::int32_t id : kChooserOrder) wanted.push_back(Trimmed(FindFunType(id)->displayName));
  ASSERT_EQ(terms, wanted);
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    const FunTypeInfo& type = *FindFunType(kChooserOrder[i]);
    if (type.targetLabel.empty()) continue;
    EXPECT_NE(descriptions[i].find("&quot;" + std::string(type.targetLabel) + "&quot;"),
              std::string::npos)
        << wanted[i] << " does not name its field " << type.targetLabel;
  }
}

TEST_F(HelpPageContents, DocumentsEveryMacroWord) {
  const std::string macros = Section(page, "macros");
  ASSERT_FALSE(macros.empty()) << "no section \"macros\"";
  // A word stands alone in its braces, or before the number it takes.
  auto documented = [&](const std::string& word) {
    return macros.find("<code>{" + word + "}</code>") != std::string::npos ||
           macros.find("<code>{" + word + " ") != std::string::npos;
  };
  ASSERT_FALSE(MacroKeyWords().empty());
  for (const MacroKeyWord& k : MacroKeyWords())
    EXPECT_TRUE(documented(std::string(k.word))) << "{" << k.word << "} is not on the page";
  EXPECT_TRUE(documented("F1"));
  EXPECT_TRUE(documented("F" + std::to_string(kMacroFunctionKeys)));
  EXPECT_TRUE(documented(std::string(kMacroUnicodePrefix) + "XXXX"));
}

TEST_F(HelpPageContents, HasTheSectionsTheHelpButtonsOpen) {
  for (int context : {kMainHelpContext, kMacroListHelpContext})
    EXPECT_FALSE(Section(page, "context-" + std::to_string(context)).empty()) << context;
}

}  // namespace
}  // namespace ostrel
