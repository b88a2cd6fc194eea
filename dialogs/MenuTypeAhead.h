#pragma once

class QAction;
class QMenu;
class QString;

// Lets a letter typed in the menu move to the next item whose caption starts with it (going round after the last),
// as lists do; the item is only highlighted, never chosen, and a submenu opens. Captions need no accelerator marks.
void EnableTypeAhead(QMenu* menu);
// Makes typing find the item by the first letter of any name from `first` to `last` (a submenu that gathers
// such a range), rather than by its caption.
void SetTypeAheadRange(QAction* item, const QString& first, const QString& last);
