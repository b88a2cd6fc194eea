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
    : QWidget(parent), mMin(minValue), mMax(maxValue), mLastNumber(minValue)
{
    mEdit = new QLineEdit(this);
    // Digits only, and few of them: a font size never needs more, and no text can fail to be a number.
    mEdit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), mEdit));
    mEdit->installEventFilter(this);
    setFocusProxy(mEdit);

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
    mUp = arrow(Qt::UpArrow, 1);
    mDown = arrow(Qt::DownArrow, -1);

    auto* arrows = new QVBoxLayout;
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(mUp);
    arrows->addWidget(mDown);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(mEdit);
    layout->addLayout(arrows);

    connect(mEdit, &QLineEdit::textChanged, this, [this] {
        remember();
        emit changed();
    });
}

QString SpinEdit::text() const
{
    return mEdit->text();
}

void SpinEdit::setText(const QString& text)
{
    mEdit->setText(text);
}

void SpinEdit::stepBy(int steps)
{
    const int current = number(text()).value_or(mMin);
    setText(QString::number(std::clamp(current + steps, mMin, mMax)));
}

void SpinEdit::remember()
{
    if (const auto value = number(text()))
        mLastNumber = std::clamp(*value, mMin, mMax);
}

void SpinEdit::settleInRange()
{
    const auto value = number(text());
    const int settled = value ? std::clamp(*value, mMin, mMax) : mLastNumber;
    if (!value || settled != *value)
        setText(QString::number(settled));
}

bool SpinEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mEdit) {
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
