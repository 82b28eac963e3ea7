// The tutorial pages in the program folder name the menus, buttons, dialog words
// and the tutor's question exactly as the program shows them in each language.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "ui/shell/texttables.h"

namespace {

std::string utf8(const char16_t* text) {
  std::string out;
  for (; *text; ++text) {
    char32_t c = *text;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string page(int language) {
  std::ifstream file(std::string("tutorial/Tutorial") + tutorialSuffix[language] + ".html");
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// A menu name is marked up as such: <span class="menu">Text</span>, <td class="menu">Text</td> ...
bool marksMenuName(const std::string& html, const std::string& name) {
  return html.find("class=\"menu\">" + name + "<") != std::string::npos ||
         html.find("class=\"menu\">" + name + ",") != std::string::npos;
}

TEST(Tutorial, EveryLanguageNamesTheProgramsOwnTexts) {
  for (int language = 0; language < LanguageCount; ++language) {
    const std::string html = page(language);
    ASSERT_FALSE(html.empty()) << "no tutorial for language " << language;
    SCOPED_TRACE("language " + std::to_string(language));
    for (const MenuText& item : menuTextTable) {
      EXPECT_TRUE(marksMenuName(html, utf8(item.text[language]))) << utf8(item.text[language]);
    }
    for (int caption = 0; caption < BarCaptionCount; ++caption) {
      EXPECT_TRUE(marksMenuName(html, utf8(barCaptionTable[language][caption])))
          << utf8(barCaptionTable[language][caption]);
    }
    // The level modes, the colour choice and the two dialog titles.
    for (int word = 0; word <= 6; ++word) {
      EXPECT_TRUE(marksMenuName(html, utf8(uiWordTable[language][word]))) << utf8(uiWordTable[language][word]);
    }
    EXPECT_NE(html.find(utf8(dialogTextTable[language].difficulty)), std::string::npos);
    EXPECT_NE(html.find(utf8(dialogTextTable[language].level)), std::string::npos);
    EXPECT_NE(html.find(utf8(dialogTextTable[language].white)), std::string::npos);
    EXPECT_NE(html.find(utf8(messageTable[language][0])), std::string::npos) << utf8(messageTable[language][0]);
    EXPECT_TRUE(marksMenuName(html, utf8(languageDialogTitle)));
  }
}

}  // namespace
