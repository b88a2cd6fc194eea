#include "window/settings/SpinEdit.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
std::optional<int> number(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}
} // namespace

SpinEdit::SpinEdit(int minValue, int maxValue, QWidget* parent)
    : QWidget(parent), FMin(minValue), FMax(maxValue), FLastNumber(minValue)
{
    FEdit = new QLineEdit(this);
    // Digits only, and few of them: a font size never needs more, and no text can fail to be a number.
    FEdit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), FEdit));
    FEdit->installEventFilter(this);
    setFocusProxy(FEdit);

    auto arrow = [this](Qt::ArrowType type, int step) {
        auto* button = new QToolButton(this);
        button->setArrowType(type);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedWidth(16);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        connect(button, &QToolButton::clicked, this, [this, step] { stepBy(step); });
        return button;
    };
    FUp = arrow(Qt::UpArrow, 1);
    FDown = arrow(Qt::DownArrow, -1);

    auto* arrows = new QVBoxLayout;
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(FUp);
    arrows->addWidget(FDown);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FEdit);
    layout->addLayout(arrows);

    connect(FEdit, &QLineEdit::textChanged, this, [this] {
        remember();
        emit changed();
    });
}

QString SpinEdit::text() const
{
    return FEdit->text();
}

void SpinEdit::setText(const QString& text)
{
    FEdit->setText(text);
}

void SpinEdit::stepBy(int steps)
{
    const int current = number(text()).value_or(FMin);
    setText(QString::number(std::clamp(current + steps, FMin, FMax)));
}

void SpinEdit::remember()
{
    if (const auto value = number(text()))
        FLastNumber = std::clamp(*value, FMin, FMax);
}

void SpinEdit::settleInRange()
{
    const auto value = number(text());
    const int settled = value ? std::clamp(*value, FMin, FMax) : FLastNumber;
    if (!value || settled != *value)
        setText(QString::number(settled));
}

bool SpinEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FEdit) {
        if (event->type() == QEvent::FocusOut) {
            settleInRange();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                stepBy(key == Qt::Key_Up ? 1 : -1);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
