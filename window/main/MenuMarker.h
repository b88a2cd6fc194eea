#pragma once

class QAction;
class QMenu;
class QString;

// The selection marker of the choice submenus: the chosen item is the one marked default, drawn in bold.
// Marking an item clears the mark of its siblings.
void MarkDefault(QAction* item);
void UnmarkDefault(QAction* item);
bool IsMarkedDefault(const QAction* item);
// The first marked item of the submenu, or nullptr.
QAction* MarkedItem(const QMenu* submenu);
// The caption of the first marked item of the submenu, or the empty text.
QString MarkedItemCaption(const QMenu* submenu);
// Marks the first item whose caption equals the text exactly and runs its click handler; false when none matches.
bool SelectItemByCaption(QMenu* submenu, const QString& text);
// An item's caption without the accelerator marks Qt adds ("&").
QString ItemCaption(const QAction* item);
