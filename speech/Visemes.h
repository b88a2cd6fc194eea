#pragma once

#include <string_view>

// The 22 mouth shapes a voice reports, numbered as speech services number them:
// 0 silence, 1 ae ax ah, 2 aa, 3 ao, 4 ey eh uh, 5 er, 6 y iy ih ix, 7 w uw, 8 ow, 9 aw, 10 oy, 11 ay, 12 h,
// 13 r, 14 l, 15 s z, 16 sh ch jh zh, 17 th dh, 18 f v, 19 d t n, 20 k g ng, 21 p b m.
enum Viseme
{
    VisemeSilence = 0,
    VisemeAe = 1,
    VisemeAa = 2,
    VisemeAo = 3,
    VisemeEy = 4,
    VisemeEr = 5,
    VisemeY = 6,
    VisemeW = 7,
    VisemeOw = 8,
    VisemeAw = 9,
    VisemeOy = 10,
    VisemeAy = 11,
    VisemeH = 12,
    VisemeR = 13,
    VisemeL = 14,
    VisemeS = 15,
    VisemeSh = 16,
    VisemeTh = 17,
    VisemeF = 18,
    VisemeD = 19,
    VisemeK = 20,
    VisemeP = 21,
};

// The mouth shape of an espeak-ng phoneme mnemonic ("p", "aI", "@L", "_:"), or -1 for what is no sound
// (a language switch such as "(en)"). Pauses are silence; phonemes of other languages are placed by their
// letters when the table does not name them.
int visemeForPhoneme(std::string_view mnemonic);
