// velt-headless: the converter's wizard run by a script; the transcript goes to standard
// output as JSON Lines.
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "frontends/headless/script.h"

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: velt-headless [SCRIPT]\n";
        return script::exitFailure;
    }
    const std::string path = argc == 2 ? argv[1] : "-";
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
