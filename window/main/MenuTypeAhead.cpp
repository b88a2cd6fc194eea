#include "window/main/MenuTypeAhead.h"

#include "window/main/MenuMarker.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>

#include <functional>

namespace {
constexpr char RangeFirst[] = "typeAheadFirst";
constexpr char RangeLast[] = "typeAheadLast";

// The first item after the one at `from` (going round) that can be highlighted and that `finds`, or nullptr.
QAction* nextItem(const QList<QAction*>& items, qsizetype from, const std::function<bool(const QAction*)>& finds)
{
    for (qsizetype step = 1; step <= items.size(); ++step) {
        QAction* item = items.at((from + step) % items.size());
        if (!item->isSeparator() && item->isVisible() && item->isEnabled() && finds(item))
            return item;
    }
    return nullptr;
}

// A submenu that gathers a range of names holds every name whose first letter lies in its range.
bool rangeHolds(const QAction* item, const QString& typed)
{
    if (!item->property(RangeFirst).isValid())
        return false;
    const QString letter = typed.toCaseFolded();
    return item->property(RangeFirst).toString().left(1).toCaseFolded() <= letter &&
           letter <= item->property(RangeLast).toString().left(1).toCaseFolded();
}

class TypeAhead : public QObject
{
public:
    explicit TypeAhead(QMenu* menu) : QObject(menu), mMenu(menu) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != mMenu || event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        if ((key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) || typed.size() != 1 ||
            !typed.front().isLetterOrNumber())
            return false;
        // Items whose caption starts with the letter come round in turn; only when there are none does a range that
        // holds the letter's names take the highlight.
        const QList<QAction*> items = mMenu->actions();
        const qsizetype from = items.indexOf(mMenu->activeAction());
        QAction* found = nextItem(items, from, [&typed](const QAction* item) {
            return !item->property(RangeFirst).isValid() && ItemCaption(item).startsWith(typed, Qt::CaseInsensitive);
        });
        if (!found)
            found = nextItem(items, from, [&typed](const QAction* item) { return rangeHolds(item, typed); });
        if (!found)
            return false;
        mMenu->setActiveAction(found);
        return true;
    }

private:
    QMenu* mMenu;
};
} // namespace

void EnableTypeAhead(QMenu* menu)
{
    menu->installEventFilter(new TypeAhead(menu));
}

void SetTypeAheadRange(QAction* item, const QString& first, const QString& last)
{
    item->setProperty(RangeFirst, first);
    item->setProperty(RangeLast, last);
}
