// The one table of keys against everything that lists them for a player: --help, the
// README's Keys section and the manual page's KEYS section must name the same keys with
// the same words, in the same order; so must --help and the manual page's OPTIONS list
// the options; and what the command line answers by itself. The manual page's FILES
// must name the pictures of the table of pictures, in its order.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/game_state.h"
#include "app/keys.h"
#include "assets/assets.h"

namespace {

using KeyList = std::vector<std::pair<std::string, std::string>>;  // name, words

KeyList tableKeys() {
    KeyList keys;
    for (const KeyBinding& key : keyBindings) keys.emplace_back(key.name, key.helpWords);
    return keys;
}

std::vector<std::string> linesOf(const std::string& path) {
    std::ifstream file(path);
    EXPECT_TRUE(file.good()) << "cannot read " << path;
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The rows of the table under "## Keys": | name | words |, after the header and its rule.
KeyList readmeKeys(const std::vector<std::string>& lines) {
    KeyList keys;
    size_t i = 0;
    while (i < lines.size() && lines[i] != "## Keys") ++i;
    while (i < lines.size() && lines[i].rfind("| ---", 0) != 0) ++i;
    for (++i; i < lines.size() && lines[i].rfind("| ", 0) == 0; ++i) {
        const std::string& row = lines[i];
        const size_t bar = row.find('|', 1);
        const size_t end = row.rfind('|');
        if (bar == std::string::npos || end == bar) break;
        keys.emplace_back(trimmed(row.substr(1, bar - 1)), trimmed(row.substr(bar + 1, end - bar - 1)));
    }
    return keys;
}

// A macro's arguments as troff sets them, each quoted argument whole, "\\-" a hyphen:
// ".BR \\-h \", \" \\-\\-help" is "-h, --help".
std::string macroText(const std::string& line) {
    std::string text;
    bool quoted = false;
    for (size_t i = line.find(' '); i != std::string::npos && i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '\\' && i + 1 < line.size() && line[i + 1] == '-') {
            text += '-';
            ++i;
        } else if (c != ' ' || quoted) {
            text += c;
        }
    }
    return text;
}

// The entries of a section (".SH KEYS"): .TP, then .B or .BR with the name, then the
// words up to the next macro, as a sentence: the first letter in capitals and a full
// stop, "\\-" for each hyphen.
KeyList manualEntries(const std::vector<std::string>& lines, const std::string& section) {
    KeyList keys;
    size_t i = 0;
    while (i < lines.size() && lines[i] != ".SH " + section) ++i;
    for (++i; i < lines.size() && lines[i].rfind(".SH", 0) != 0; ++i) {
        if (lines[i] != ".TP" || i + 1 >= lines.size() || lines[i + 1].rfind(".B", 0) != 0) continue;
        std::string name = macroText(lines[i + 1]);
        std::string words;
        for (i += 2; i < lines.size() && lines[i].rfind('.', 0) != 0; ++i)
            words += (words.empty() ? "" : " ") + lines[i];
        --i;
        for (size_t at; (at = words.find("\\-")) != std::string::npos;) words.replace(at, 2, "-");
        if (!words.empty() && words.back() == '.') words.pop_back();
        if (!words.empty() && words[0] >= 'A' && words[0] <= 'Z') words[0] = static_cast<char>(words[0] - 'A' + 'a');
        keys.emplace_back(name, words);
    }
    return keys;
}

std::vector<std::string> helpLines() {
    std::istringstream help(answerText(AnswerHelp));
    std::vector<std::string> lines;
    for (std::string line; std::getline(help, line);) lines.push_back(line);
    return lines;
}

TEST(KeyTable, TheReadmeAndTheManualPageListItsKeysWithItsWords) {
    const KeyList keys = tableKeys();
    EXPECT_EQ(readmeKeys(linesOf(SLOT_SOURCE_DIR "/README.md")), keys) << "README.md, section Keys";
    EXPECT_EQ(manualEntries(linesOf(SLOT_SOURCE_DIR "/packaging/slot-machine.6"), "KEYS"), keys)
        << "packaging/slot-machine.6, section KEYS";
}

TEST(KeyTable, HelpListsEveryKeyWithItsWordsAndTheVersionNamesTheProgram) {
    const std::vector<std::string> lines = helpLines();
    KeyList listed;
    for (const std::string& line : lines) {
        for (const KeyBinding& key : keyBindings) {
            const std::string name = std::string("  ") + key.name + " ";
            if (line.rfind(name, 0) == 0) listed.emplace_back(key.name, trimmed(line.substr(name.size())));
        }
    }
    EXPECT_EQ(listed, tableKeys());
    EXPECT_EQ(lines.at(0).rfind("Usage: slot-machine ", 0), 0u);
    EXPECT_EQ(answerText(AnswerVersion), "slot-machine " SLOT_PROJECT_VERSION "\n");
    EXPECT_EQ(answerText(AnswerNone), "");
}

// --help's "Options:" lines, "  -h, --help     words", up to the blank line after them.
KeyList helpOptions(const std::vector<std::string>& lines) {
    KeyList options;
    size_t i = 0;
    while (i < lines.size() && lines[i] != "Options:") ++i;
    for (++i; i < lines.size() && lines[i].rfind("  ", 0) == 0; ++i) {
        const size_t gap = lines[i].find("  ", 2);
        if (gap == std::string::npos) break;
        options.emplace_back(lines[i].substr(2, gap - 2), trimmed(lines[i].substr(gap)));
    }
    return options;
}

TEST(KeyTable, HelpAndTheManualPageListTheSameOptionsWithTheSameWords) {
    const KeyList options = helpOptions(helpLines());
    EXPECT_FALSE(options.empty()) << answerText(AnswerHelp);
    EXPECT_EQ(manualEntries(linesOf(SLOT_SOURCE_DIR "/packaging/slot-machine.6"), "OPTIONS"), options)
        << "packaging/slot-machine.6, section OPTIONS";
}

// The pictures a section names: the first argument of each .I or .IR line that ends in
// ".bmp" (".IR coin.bmp ," is "coin.bmp").
std::vector<std::string> manualPictures(const std::vector<std::string>& lines, const std::string& section) {
    std::vector<std::string> files;
    size_t i = 0;
    while (i < lines.size() && lines[i] != ".SH " + section) ++i;
    for (++i; i < lines.size() && lines[i].rfind(".SH", 0) != 0; ++i) {
        std::istringstream words(lines[i]);
        std::string macro, name;
        words >> macro >> name;
        const bool italic = macro == ".I" || macro == ".IR";
        if (italic && name.size() > 4 && name.compare(name.size() - 4, 4, ".bmp") == 0) files.push_back(name);
    }
    return files;
}

TEST(PictureTable, TheManualPageNamesThePicturesInSlotOrder) {
    const std::vector<std::string> table(textureFiles + 1, textureFiles + 1 + PictureCount);
    EXPECT_EQ(manualPictures(linesOf(SLOT_SOURCE_DIR "/packaging/slot-machine.6"), "FILES"), table)
        << "packaging/slot-machine.6, section FILES";
}

TEST(KeyTable, OnlyHelpAndVersionAreTheProgramsAndTheFirstOfThemCounts) {
    auto asked = [](std::vector<const char*> argv) {
        return commandLineAnswer(static_cast<int>(argv.size()), argv.data());
    };
    EXPECT_EQ(asked({"slot-machine"}), AnswerNone);
    EXPECT_EQ(asked({"slot-machine", "--help"}), AnswerHelp);
    EXPECT_EQ(asked({"slot-machine", "-display", ":3", "--version", "--help"}), AnswerVersion);
    EXPECT_EQ(asked({"slot-machine", "-iconic", "-v", "-h"}), AnswerVersion);
    EXPECT_EQ(asked({"slot-machine", "-help", "--helper", "-version", "--Version", "help"}), AnswerNone);
    EXPECT_EQ(asked({"slot-machine", "-H", "-V", "-hv", "--h", "--v", "h", "-"}), AnswerNone);
    EXPECT_EQ(asked({"--help"}), AnswerNone);  // argv[0] is the program
}

}  // namespace
