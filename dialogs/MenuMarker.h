#pragma once

class QAction;
class QMenu;
class QString;

// The selection marker of the choice submenus: the chosen item is the one marked default, drawn in bold.
// Marking an item clears the mark of its siblings. A long choice may be grouped into submenus of its menu (the
// items keep that menu as their parent): then marking clears the marks of the whole choice, and the group that
// holds the chosen item is marked too; the functions below look into the groups.
void MarkAsChoiceGroup(QMenu* group);
void MarkDefault(QAction* item);
void UnmarkDefault(QAction* item);
bool IsMarkedDefault(const QAction* item);
// The first marked item of the submenu (never a group), or nullptr.
QAction* MarkedItem(const QMenu* submenu);
// The caption of the first marked item of the submenu, or the empty text.
QString MarkedItemCaption(const QMenu* submenu);
// Marks the first item whose caption equals the text exactly and runs its click handler; false when none matches.
bool SelectItemByCaption(QMenu* submenu, const QString& text);
// An item's caption without the accelerator marks Qt adds ("&").
QString ItemCaption(const QAction* item);
