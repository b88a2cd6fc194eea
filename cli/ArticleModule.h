#pragma once

#include <QString>

// What the module parlivo-article offers parlivo-cli: the article of a saved web page, read in the browser engine.
// parlivo-cli loads the module, and with it the engine, only for text --article, so its other commands start
// without it. The function gives the article's text, or false with the reason.
using ArticleTextFunction = bool (*)(const QString& path, QString* text, QString* failure);
inline constexpr char ArticleModuleName[] = "parlivo-article";
inline constexpr char ArticleTextSymbol[] = "ParlivoArticleText";
