// c8asm: CHIP-8 assembler command.  c8asm IN.asm -o OUT.ch8
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/c8asm/assembler.h"

static int usage()
{
    fprintf(stderr, "usage: c8asm IN.asm -o OUT.ch8\n");
    return 2;
}

static bool readfile(const char *name, std::string &text)
{
    FILE *f = fopen(name, "rb");
    if (!f) return false;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    bool ok = !ferror(f);
    fclose(f);
    return ok;
}

int main(int argc, char **argv)
{
    const char *in = nullptr, *out = nullptr;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "-o") == 0 && i + 1 < argc) out = argv[++i];
        else if (argv[i][0] == '-' || in) return usage();
        else in = argv[i];
    }
    if (!in || !out) return usage();

    std::string source;
    if (!readfile(in, source)) {
        fprintf(stderr, "c8asm: cannot read %s\n", in);
        return 1;
    }
    std::vector<unsigned char> image;
    std::vector<c8asm_error> errors;
    if (!c8asm_assemble(source, image, errors)) {
        for (const c8asm_error &e : errors) fprintf(stderr, "%s:%d: error: %s\n", in, e.line, e.message.c_str());
        fprintf(stderr, "c8asm: %zu error%s, nothing written\n", errors.size(), errors.size() == 1 ? "" : "s");
        return 1;
    }
    FILE *f = fopen(out, "wb");
    if (!f) {
        fprintf(stderr, "c8asm: cannot write %s\n", out);
        return 1;
    }
    bool ok = fwrite(image.data(), 1, image.size(), f) == image.size();
    ok = fclose(f) == 0 && ok;
    if (!ok) {
        fprintf(stderr, "c8asm: writing %s failed\n", out);
        remove(out);
        return 1;
    }
    return 0;
}
