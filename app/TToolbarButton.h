#pragma once

#include <QToolButton>

class QMenu;

// A flat toolbar button whose caption is its whole face. With a drop-down menu it is a split button:
// the rightmost 22 pixels open the menu, the rest runs the command.
class TToolbarButton : public QToolButton
{
    Q_OBJECT
public:
    static constexpr int DropDownWidth = 22;

    explicit TToolbarButton(const QString& caption, QWidget* parent = nullptr);
    void setDropDownMenu(QMenu* menu);
    QMenu* dropDownMenu() const { return FDropDown; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QMenu* FDropDown = nullptr;
};
