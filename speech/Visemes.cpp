#include "speech/Visemes.h"

#include <utility>

namespace {

// espeak-ng's English phonemes, and the few other names whose first letter would mislead.
constexpr std::pair<std::string_view, int> Named[] = {
    {"@", VisemeAe},  {"@-", VisemeAe}, {"@2", VisemeAe}, {"@5", VisemeAe}, {"V", VisemeAe},   {"a", VisemeAe},
    {"a#", VisemeAe}, {"&", VisemeAe},  {"aa", VisemeAa}, {"A:", VisemeAa}, {"A@", VisemeAa},  {"A", VisemeAa},
    {"0", VisemeAo},  {"0#", VisemeAo}, {"O", VisemeAo},  {"O:", VisemeAo}, {"O@", VisemeAo},  {"o@", VisemeAo},
    {"eI", VisemeEy}, {"ei", VisemeEy}, {"EI", VisemeEy}, {"e", VisemeEy},  {"E", VisemeEy},   {"E2", VisemeEy},
    {"e@", VisemeEy}, {"U", VisemeEy},  {"U@", VisemeEy}, {"3:", VisemeEr}, {"3", VisemeEr},   {"@r", VisemeEr},
    {"i", VisemeY},   {"i:", VisemeY},  {"I", VisemeY},   {"I2", VisemeY},  {"I#", VisemeY},   {"i@", VisemeY},
    {"i@3", VisemeY}, {"j", VisemeY},   {"u:", VisemeW},  {"u", VisemeW},   {"w", VisemeW},    {"oU", VisemeOw},
    {"o", VisemeOw},  {"ou", VisemeOw}, {"aU", VisemeAw}, {"au", VisemeAw}, {"aU@", VisemeAw}, {"OI", VisemeOy},
    {"oi", VisemeOy}, {"OY", VisemeOy}, {"aI", VisemeAy}, {"ai", VisemeAy}, {"aI@", VisemeAy}, {"aI3", VisemeAy},
    {"h", VisemeH},   {"r", VisemeR},   {"r-", VisemeR},  {"l", VisemeL},   {"l/", VisemeL},   {"@L", VisemeL},
    {"s", VisemeS},   {"z", VisemeS},   {"ts", VisemeS},  {"dz", VisemeS},  {"S", VisemeSh},   {"Z", VisemeSh},
    {"tS", VisemeSh}, {"dZ", VisemeSh}, {"T", VisemeTh},  {"D", VisemeTh},  {"f", VisemeF},    {"v", VisemeF},
    {"t", VisemeD},   {"d", VisemeD},   {"n", VisemeD},   {"k", VisemeK},   {"g", VisemeK},    {"N", VisemeK},
};

int byFirstLetter(char c)
{
    switch (c) {
    case '_':
    case '|':
        return VisemeSilence;
    case 'a':
    case '&':
    case '@':
    case 'V':
        return VisemeAe;
    case 'A':
        return VisemeAa;
    case '0':
    case 'O':
        return VisemeAo;
    case 'e':
    case 'E':
    case 'U':
        return VisemeEy;
    case '3':
        return VisemeEr;
    case 'i':
    case 'I':
    case 'j':
        return VisemeY;
    case 'u':
    case 'y':
    case 'Y':
    case 'W':
    case 'w':
        return VisemeW;
    case 'o':
        return VisemeOw;
    case 'h':
    case 'H':
    case '?':
        return VisemeH;
    case 'r':
    case 'R':
        return VisemeR;
    case 'l':
    case 'L':
        return VisemeL;
    case 's':
    case 'z':
        return VisemeS;
    case 'S':
    case 'Z':
    case 'C':
        return VisemeSh;
    case 'T':
    case 'D':
        return VisemeTh;
    case 'f':
    case 'v':
        return VisemeF;
    case 't':
    case 'd':
    case 'n':
    case 'J':
    case '*':
        return VisemeD;
    case 'k':
    case 'g':
    case 'N':
    case 'x':
    case 'X':
    case 'q':
    case 'G':
    case 'Q':
    case 'c':
        return VisemeK;
    case 'p':
    case 'b':
    case 'm':
    case 'B':
        return VisemeP;
    default:
        return VisemeAe;
    }
}

int lookUp(std::string_view name)
{
    for (const auto& [mnemonic, viseme] : Named) {
        if (mnemonic == name)
            return viseme;
    }
    return -1;
}

} // namespace

int visemeForPhoneme(std::string_view mnemonic)
{
    if (mnemonic.empty() || mnemonic.front() == '(')
        return -1;
    if (mnemonic.front() == '_' || mnemonic.front() == '|')
        return VisemeSilence;
    if (const int viseme = lookUp(mnemonic); viseme >= 0)
        return viseme;
    // Length, stress, nasal and variant marks do not move the mouth.
    std::string_view stem = mnemonic;
    while (stem.size() > 1 && std::string_view(":;#-/~^'\",0123456789").find(stem.back()) != std::string_view::npos)
        stem.remove_suffix(1);
    if (const int viseme = lookUp(stem); viseme >= 0)
        return viseme;
    return byFirstLetter(stem.front());
}
