#pragma once

class QAction;
class QMenu;
class QString;
class QVariant;

// The selection marker of the choice submenus: the chosen item is the one marked default, drawn in bold.
// Marking an item clears the mark of its siblings.
void MarkDefault(QAction* item);
void UnmarkDefault(QAction* item);
bool IsMarkedDefault(const QAction* item);
// The first marked item of the submenu, or nullptr.
QAction* MarkedItem(const QMenu* submenu);
// The caption of the first marked item of the submenu, or the empty text.
QString MarkedItemCaption(const QMenu* submenu);
// Draws a choice submenu from the value it shows: marks the items (in the submenu and the submenus under it) whose
// data equals `value` and clears the mark of the others. A null value marks nothing.
void MarkChoice(QMenu* submenu, const QVariant& value);
// An item's caption without the accelerator marks Qt adds ("&").
QString ItemCaption(const QAction* item);
