#pragma once

#include <QToolButton>

class QMenu;

// A flat toolbar button whose caption is its whole face. With a drop-down menu it is a split button:
// the rightmost 22 pixels open the menu, the rest runs the command. Tab reaches it (a click leaves the focus
// where it was), Space or Enter runs it, and a ring in its text colour marks the focus.
class ToolbarButton : public QToolButton
{
    Q_OBJECT
public:
    static constexpr int DropDownWidth = 22;

    explicit ToolbarButton(const QString& caption, QWidget* parent = nullptr);
    void setDropDownMenu(QMenu* menu);
    QMenu* dropDownMenu() const { return mDropDown; }
    // Opens the drop-down menu under the button with its first command highlighted, as a keyboard user
    // expects; false when the button has none or cannot be used now.
    bool PopupDropDown();
    // Where the caption is drawn, left of the drop-down arrow, and the type it is drawn in: the button's own, or
    // smaller when a caption (a longer language's, a large type's) would not fit it.
    QRect captionRect() const;
    QFont captionFont() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QMenu* mDropDown = nullptr;
};
