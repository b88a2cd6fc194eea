#include "window/settings/AppearanceSettings.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <cmath>

qint32& AppearanceSettings::field(int n)
{
    Q_ASSERT(n >= 1 && n <= FieldCount);
    return (&ToolbarFColour)[n - 1];
}

qint32 AppearanceSettings::field(int n) const
{
    return const_cast<AppearanceSettings*>(this)->field(n);
}

const std::array<const char*, AppearanceSettings::FieldCount>& AppearanceSettings::keys()
{
    static const std::array<const char*, FieldCount> names = {
        "ToolbarFColour",   "ToolbarBColour",   "LocationFColour",  "LocationBColour",
        "TextAreaFColour",  "TextAreaBColour",  "SettingsFColour",  "SettingsBColour",
        "StatusBarFColour", "StatusBarBColour", "SeperatorFColour", "SeperatorBColour",
        "ReaderFColour",    "ReaderBColour",    "AppFontSize",      "TextFontSize"};
    return names;
}

namespace {
// The Windows system colour indices mapped onto the desktop palette.
QColor systemColour(int index)
{
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case 0:  // scrollbar
    case 15: // button face
    case 4:  // menu
    case 22: // 3D light
        return palette.color(QPalette::Button);
    case 1:  // desktop
    case 2:  // active caption
    case 13: // highlight
    case 26: // hot light
        return palette.color(QPalette::Highlight);
    case 3:  // inactive caption
    case 17: // grey text
        return palette.color(QPalette::Disabled, QPalette::WindowText);
    case 5: // window
        return palette.color(QPalette::Base);
    case 6:  // window frame
    case 21: // 3D dark shadow
        return palette.color(QPalette::Shadow);
    case 7:  // menu text
    case 8:  // window text
    case 9:  // caption text
    case 18: // button text
    case 19: // inactive caption text
        return palette.color(QPalette::WindowText);
    case 14: // highlight text
        return palette.color(QPalette::HighlightedText);
    case 16: // button shadow
        return palette.color(QPalette::Dark);
    case 20: // button highlight
        return palette.color(QPalette::Light);
    case 23: // info text
        return palette.color(QPalette::ToolTipText);
    case 24: // info background
        return palette.color(QPalette::ToolTipBase);
    default:
        return palette.color(QPalette::Window);
    }
}
} // namespace

QColor colourFromValue(qint32 value)
{
    const quint32 bits = static_cast<quint32>(value);
    if (bits & 0x80000000u)
        return systemColour(static_cast<int>(bits & 0xFFu));
    return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

qint32 valueFromColour(const QColor& colour)
{
    return qint32(quint32(colour.red()) | (quint32(colour.green()) << 8) | (quint32(colour.blue()) << 16));
}

namespace {
// Font sizes, in points, the window can be laid out in and read at.
constexpr int MinReadableSize = 8;
constexpr int MaxAppFontSize = 24;
constexpr int MaxTextFontSize = 72;
// Text against its background below this contrast ratio is hard to read for anyone (the least for large text).
constexpr double MinContrast = 3.0;

double luminance(const QColor& colour)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) + 0.0722 * channel(colour.blue());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
} // namespace

QStringList MakeReadable(AppearanceSettings& appearance, const std::function<bool(int field)>& given)
{
    QStringList changes;
    const auto change = [&](int field, qint32 to) {
        qint32& value = appearance.field(field);
        changes << QStringLiteral("%1=%2 \u2192 %3")
                       .arg(QLatin1String(AppearanceSettings::keys()[field - 1]))
                       .arg(value)
                       .arg(to);
        value = to;
    };
    for (const auto& [field, most] : {std::pair{15, MaxAppFontSize}, std::pair{16, MaxTextFontSize}}) {
        const qint32 size = appearance.field(field);
        if (given(field) && (size < MinReadableSize || size > most))
            change(field, std::clamp<qint32>(size, MinReadableSize, most));
    }
    // Text and background pairs: the toolbar, the reading area, the status bar.
    for (const int text : {1, 5, 9}) {
        if (!given(text) && !given(text + 1))
            continue;
        const QColor back = colourFromValue(appearance.field(text + 1));
        if (contrast(colourFromValue(appearance.field(text)), back) >= MinContrast)
            continue;
        const bool black = contrast(Qt::black, back) >= contrast(Qt::white, back);
        change(text, black ? 0x000000 : 0xFFFFFF);
    }
    return changes;
}
