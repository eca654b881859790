// Stand-in for the setup medium's menu program. It takes "min" or "max" and
// the menu's argument, and does nothing else than note the call in the file
// named by HOLLIN_RECORD, when that is set.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2 || (std::strcmp(argv[1], "min") != 0 && std::strcmp(argv[1], "max") != 0)) {
        std::fprintf(stderr, "usage: Hollin min|max [menu argument]\n");
        return 2;
    }
    if (const char* record = std::getenv("HOLLIN_RECORD")) {
        std::string line;
        for (int i = 1; i < argc; ++i) {
            if (i > 1) line += ' ';
            line += '[';
            line += argv[i];
            line += ']';
        }
        if (std::FILE* f = std::fopen(record, "a")) {
            std::fprintf(f, "%s\n", line.c_str());
            std::fclose(f);
        }
    }
    return 0;
}
