// The program's own answers on the command line, -h or --help and -v or --version, given
// before GLUT or a display is touched; every other argument is left to GLUT.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/game_state.h"
#include "app/keys.h"

#ifndef SLOT_VERSION
#error "SLOT_VERSION names the version; the build defines it"
#endif

static const int KeyNameColumn = 10;     // where --help starts the words after a key's name
static const int OptionNameColumn = 17;  // where --help starts the words after an option's names

struct ProgramOption {
    const char* shortName;
    const char* longName;
    CommandLineAnswer answer;
    const char* helpWords;
};

// In the order --help and the manual page list them.
static const ProgramOption programOptions[] = {
    {"-h", "--help", AnswerHelp, "print the usage, the keys and how to play, and exit"},
    {"-v", "--version", AnswerVersion, "print the name and the version, and exit"},
};

CommandLineAnswer commandLineAnswer(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i)
        for (const ProgramOption& option : programOptions)
            if (std::strcmp(argv[i], option.shortName) == 0 || std::strcmp(argv[i], option.longName) == 0)
                return option.answer;
    return AnswerNone;
}

// "name" padded with spaces to `column`, and at least one.
static std::string padded(std::string name, int column) {
    name.resize(std::max(name.size() + 1, static_cast<size_t>(column)), ' ');
    return name;
}

static std::string helpText() {
    std::string text = "Usage: slot-machine [GLUT options]\n       slot-machine";
    for (const ProgramOption& option : programOptions)
        text += std::string(&option == programOptions ? " " : " | ") + option.shortName + " | " + option.longName;
    text +=
        "\n"
        "A three-reel slot machine in 3D. Options such as -display NAME are GLUT's.\n"
        "\n"
        "Options:\n";
    for (const ProgramOption& option : programOptions)
        text += padded(std::string("  ") + option.shortName + ", " + option.longName, OptionNameColumn) +
                option.helpWords + "\n";
    text += "\nKeys (letters in either case):\n";
    for (const KeyBinding& key : keyBindings)
        text += padded(std::string("  ") + key.name, KeyNameColumn) + key.helpWords + "\n";
    text += "\nHow to play: you start with " + std::to_string(StartCredits) +
            " tokens. Click BET 1 or BET 5 to stake one or five\n"
            "tokens and spin; the lever or Space spins again at the last stake. A pair pays\n"
            "tickets, three of a kind tickets and tokens. Buy tokens at the token counter;\n"
            "with " +
            std::to_string(WinnerTickets) + " tickets the prize counter has a prize for you.\n";
    return text;
}

std::string answerText(CommandLineAnswer answer) {
    switch (answer) {
    case AnswerHelp: return helpText();
    case AnswerVersion: return std::string("slot-machine ") + SLOT_VERSION + "\n";
    case AnswerNone: break;
    }
    return "";
}
