// velt-headless: the converter's wizard run by a script; the transcript goes to standard
// output as JSON Lines.
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "frontends/headless/script.h"
#include "state/identity.h"

namespace {

constexpr int exitUsage = 2;

void printUsage(std::ostream& out) {
    out << "usage: velt-headless [SCRIPT]\n"
           "       velt-headless --help | --version\n"
           "\n"
           "Runs the VELT Database Media Converter's wizard under SCRIPT (standard input without\n"
           "it, or with -) and writes what it shows as JSON Lines on standard output.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "  -v, --version  show the version and exit\n"
           "  --             the next argument is the SCRIPT, even when it starts with -\n";
}

int usageError(const std::string& problem) {
    std::cerr << "velt-headless: " << problem << "\n";
    printUsage(std::cerr);
    return exitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    std::string path = "-";
    bool havePath = false;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (!optionsEnd && word == "--") {
            optionsEnd = true;
        } else if (!optionsEnd && (word == "--help" || word == "-h")) {
            printUsage(std::cout);
            return script::exitDone;
        } else if (!optionsEnd && (word == "--version" || word == "-v")) {
            std::cout << "velt-headless " << app::versionText() << "\n";
            return script::exitDone;
        } else if (!optionsEnd && word.size() > 1 && word[0] == '-') {
            return usageError("unknown option " + word);
        } else if (havePath) {
            return usageError("one SCRIPT at most: " + path + " and " + word);
        } else {
            path = word;
            havePath = true;
        }
    }
    try {
        if (path == "-")
            return script::runScript(std::cin, std::cout, std::cerr);
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            std::cerr << "velt-headless: cannot open " << path << ": " << std::strerror(errno)
                      << "\n";
            return script::exitFailure;
        }
        return script::runScript(file, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "velt-headless: " << e.what() << "\n";
        return script::exitFailure;
    }
}
