#pragma once

#include <array>

// Which picture of the reader's image list shows each mouth position the voice reports.

// The voice reports viseme identifiers 0 to 21 (silence, then one per group of sounds).
constexpr int VisemeCount = 22;

// Mouth image for each viseme identifier; 0 is the whole figure at rest, 13 the half-closed eyes.
constexpr std::array<unsigned char, VisemeCount> VisemeToImage = {
    0,  // silence
    11, // ae, ax, ah
    11, // aa
    11, // ao
    10, // ey, eh, uh
    11, // er
    9,  // y, iy, ih, ix
    2,  // w, uw
    13, // ow: only half-closes the eyes
    9,  // aw
    12, // oy
    11, // ay
    9,  // h
    3,  // r
    6,  // l
    7,  // s, z
    8,  // sh, ch, jh, zh
    5,  // th, dh
    4,  // f, v
    7,  // d, t, n
    9,  // k, g, ng
    1,  // p, b, m
};

// The image for a viseme identifier, or -1 for an identifier the voice never reports.
constexpr int VisemeImage(int visemeId)
{
    return visemeId >= 0 && visemeId < VisemeCount ? VisemeToImage[visemeId] : -1;
}

// The eye image drawn over mouth image i, or -1 for none: the rounded mouths (2 and 8) close the eyes.
// Mouths 5 and 11 ask for image 15, which the list does not hold, so they leave the eyes as they are.
constexpr int EyeOverlay(int image)
{
    if (image % 6 == 2)
        return 14;
    if (image % 6 == 5)
        return 15;
    return -1;
}
