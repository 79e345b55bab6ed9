// Bakes the default image font into a C++ source file (filled in with the platform layer).
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    std::FILE* out = std::fopen(argv[2], "w");
    if (!out)
        return 1;
    std::fputs("// default font: not yet baked\n", out);
    return std::fclose(out) == 0 ? 0 : 1;
}
