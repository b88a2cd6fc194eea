#pragma once

#include <QColor>
#include <QtGlobal>
#include <array>

// The window's colours and font sizes: sixteen signed 32-bit values in a fixed order, copied as one block
// between the main window, the customisation dialog and the spelling dialogs.
struct AppearanceSettings
{
    qint32 ToolbarFColour = 0;
    qint32 ToolbarBColour = 0;
    qint32 LocationFColour = 0;
    qint32 LocationBColour = 0;
    qint32 TextAreaFColour = 0;
    qint32 TextAreaBColour = 0;
    qint32 SettingsFColour = 0;
    qint32 SettingsBColour = 0;
    qint32 StatusBarFColour = 0;
    qint32 StatusBarBColour = 0;
    qint32 SeperatorFColour = 0;
    qint32 SeperatorBColour = 0;
    qint32 ReaderFColour = 0;
    qint32 ReaderBColour = 0;
    qint32 AppFontSize = 10;
    qint32 TextFontSize = 10;

    static constexpr int FieldCount = 16;
    // Field n (1 to 16) in record order; the settings keys bear the same names.
    qint32& field(int n);
    qint32 field(int n) const;
    static const std::array<const char*, FieldCount>& keys();

    bool operator==(const AppearanceSettings&) const = default;
};
static_assert(sizeof(AppearanceSettings) == 16 * sizeof(qint32));

// A colour value is 0x00BBGGRR, or 0x80000000 + n for the desktop's system colour n.
QColor colourFromValue(qint32 value);
qint32 valueFromColour(const QColor& colour);
