#pragma once

#include "speech/TSpVoice.h"

#include <QList>
#include <functional>

class QAction;
class QMenu;
class QScreen;

// Places the voice items in the readers menu as ArrangeVoices groups them for `rows` lines, in place of the groups
// placed before. The items (children of `menu`, one for each voice, in the same order) stay as they are; the groups
// are new submenus of `menu`, part of its choice, each with a spoken name and type-ahead, and `prepare` is called on
// each. The marked voice stays marked, and its group is marked and names it.
void PlaceVoiceItems(QMenu* menu, const QList<QAction*>& items, const QList<VoiceToken>& voices, int rows,
                     const std::function<void(QMenu*)>& prepare = {});

// How many items a submenu of `menu` shows in one column on `screen`, in the style it is drawn with.
int MenuRowsOnScreen(QMenu* menu, const QScreen* screen);
