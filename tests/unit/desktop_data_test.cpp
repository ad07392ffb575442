// The desktop entry and the AppStream data describe the game alike: a software centre,
// which reads the AppStream data, finds it by the same keywords as a menu's search, and
// files it in the same categories.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string fileText(const std::string& path) {
    std::ifstream file(path);
    EXPECT_TRUE(file.good()) << "cannot read " << path;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The items of the entry's line "key=a;b;c;".
std::vector<std::string> entryList(const std::string& entry, const std::string& key) {
    std::vector<std::string> items;
    const size_t at = entry.find("\n" + key + "=");
    if (at == std::string::npos) return items;
    std::istringstream line(entry.substr(at + key.size() + 2, entry.find('\n', at + 1) - at - key.size() - 2));
    for (std::string item; std::getline(line, item, ';');)
        if (!item.empty()) items.push_back(item);
    return items;
}

// The texts of the <tag> elements inside the first <group> element.
std::vector<std::string> xmlList(const std::string& xml, const std::string& group, const std::string& tag) {
    std::vector<std::string> items;
    const size_t start = xml.find("<" + group + ">");
    const size_t end = xml.find("</" + group + ">", start);
    if (start == std::string::npos || end == std::string::npos) return items;
    const std::string open = "<" + tag + ">";
    for (size_t at = xml.find(open, start); at < end; at = xml.find(open, at)) {
        at += open.size();
        items.push_back(xml.substr(at, xml.find("</" + tag + ">", at) - at));
    }
    return items;
}

TEST(DesktopData, TheEntryAndTheAppStreamDataGiveTheSameKeywordsAndCategories) {
    const std::string entry = fileText(SLOT_SOURCE_DIR "/packaging/slot-machine.desktop");
    const std::string metainfo = fileText(SLOT_SOURCE_DIR "/packaging/slot-machine.metainfo.xml");
    const std::vector<std::string> keywords = entryList(entry, "Keywords");
    EXPECT_FALSE(keywords.empty()) << "the desktop entry's Keywords";
    EXPECT_EQ(xmlList(metainfo, "keywords", "keyword"), keywords);
    const std::vector<std::string> categories = entryList(entry, "Categories");
    EXPECT_FALSE(categories.empty()) << "the desktop entry's Categories";
    EXPECT_EQ(xmlList(metainfo, "categories", "category"), categories);
}

}  // namespace
