#pragma once

#include <span>
#include <string_view>

// One named character reference of HTML: its name as written after "&" (with its closing ";", or without it for
// the older names that pages may end without one) and the one or two characters it stands for.
struct HtmlEntity
{
    std::string_view name;
    char32_t first;
    char32_t second; // 0 when the name stands for one character
};

// Every named reference of HTML, sorted by name.
std::span<const HtmlEntity> HtmlEntityTable();
