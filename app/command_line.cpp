// The program's own answers on the command line, --help and --version, given before
// GLUT or a display is touched; every other argument is left to GLUT.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/game_state.h"
#include "app/keys.h"

#ifndef SLOT_VERSION
#error "SLOT_VERSION names the version; the build defines it"
#endif

static const int KeyNameColumn = 10;  // where --help starts the words after a key's name

CommandLineAnswer commandLineAnswer(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) return AnswerHelp;
        if (std::strcmp(argv[i], "--version") == 0) return AnswerVersion;
    }
    return AnswerNone;
}

static std::string helpText() {
    std::string text =
        "Usage: slot-machine [GLUT options]\n"
        "       slot-machine --help | --version\n"
        "A three-reel slot machine in 3D. Options such as -display NAME are GLUT's.\n"
        "\n"
        "Keys (letters in either case):\n";
    for (const KeyBinding& key : keyBindings) {
        std::string line = std::string("  ") + key.name;
        line.resize(std::max(line.size() + 1, static_cast<size_t>(KeyNameColumn)), ' ');
        text += line + key.helpWords + "\n";
    }
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
